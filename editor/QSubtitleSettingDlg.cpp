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
    TextStyleFields f;
    f.fontName = s.fontName;
    f.fontSize = s.fontSize;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strikeout = s.strikeout;
    f.color = s.color;
    f.shadowColor = s.shadowColor;
    f.outlineColor = s.outlineColor;
    f.shadowOffset = s.shadowOffset;
    f.outlineSize = s.outlineSize;
    f.spacingH = s.spacingH;
    f.spacingV = s.spacingV;
    return f;
}

void QSubtitleSettingDlg::writeStyle(const TextStyleFields &f)
{
    // The rest of the style (alpha, scale, delay, alignment, margins) passes through unchanged.
    VESubtitleSettings s;
    editSettings()->getSubtitleSettings(s);
    s.fontName = f.fontName;
    s.fontSize = f.fontSize;
    s.bold = f.bold;
    s.italic = f.italic;
    s.underline = f.underline;
    s.strikeout = f.strikeout;
    s.color = f.color;
    s.shadowColor = f.shadowColor;
    s.outlineColor = f.outlineColor;
    s.shadowOffset = f.shadowOffset;
    s.outlineSize = f.outlineSize;
    s.spacingH = f.spacingH;
    s.spacingV = f.spacingV;
    editSettings()->setSubtitleSettings(s);
}
