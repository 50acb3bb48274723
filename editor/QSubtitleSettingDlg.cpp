#include "QSubtitleSettingDlg.h"

#include "QVideoEditingSettings.h"

QSubtitleSettingDlg::QSubtitleSettingDlg(QWidget *parent) : QTextStyleDlg(parent)
{
    setupUi(this);
    bindControls(TextStyleControls::of(static_cast<Ui::QSubtitleSettingDlg *>(this)), Look());
}

TextStyleFields QSubtitleSettingDlg::readStyle() const
{
    VESubtitleSettings s;
    editSettings()->getSubtitleSettings(s);
    return TextStyleFields::from(s);
}

void QSubtitleSettingDlg::writeStyle(const TextStyleFields &f)
{
    // The rest of the style (alpha, scale, delay, alignment, margins) passes through unchanged.
    VESubtitleSettings s;
    editSettings()->getSubtitleSettings(s);
    f.copyTo(s);
    editSettings()->setSubtitleSettings(s);
}
