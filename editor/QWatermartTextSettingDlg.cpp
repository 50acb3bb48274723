#include "QWatermartTextSettingDlg.h"

#include "QVideoEditingSettings.h"

#include <QCloseEvent>

QWatermartTextSettingDlg::QWatermartTextSettingDlg(QWidget *parent) : QTextStyleDlg(parent)
{
    setupUi(this);
    Look look;
    look.okWidth = 64;
    look.okAccepts = false;
    look.translateOk = false;
    look.leftGap = 9;
    look.rightGap = 10;
    bindControls(TextStyleControls::of(static_cast<Ui::QWatermartTextSettingDlg *>(this)), look);
}

void QWatermartTextSettingDlg::closeEvent(QCloseEvent *event)
{
    emit emitDlgClose();
    QTextStyleDlg::closeEvent(event);
}

TextStyleFields QWatermartTextSettingDlg::readStyle() const
{
    VEWatermarkSettings w;
    editSettings()->getWatermarkSettings(w);
    return TextStyleFields::from(w.text);
}

void QWatermartTextSettingDlg::writeStyle(const TextStyleFields &f)
{
    // Text, position, size, transparency, show times and the picture part pass through unchanged; the
    // preview then measures the text box anew.
    VEWatermarkSettings w;
    editSettings()->getWatermarkSettings(w);
    f.copyTo(w.text);
    editSettings()->setWatermarkSettings(w, true, false);
}
