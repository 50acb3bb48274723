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
    const VEWatermarkTextSettings &s = w.text;
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

void QWatermartTextSettingDlg::writeStyle(const TextStyleFields &f)
{
    // Text, position, size, transparency, show times and the picture part pass through unchanged; the
    // preview then measures the text box anew.
    VEWatermarkSettings w;
    editSettings()->getWatermarkSettings(w);
    VEWatermarkTextSettings &s = w.text;
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
    editSettings()->setWatermarkSettings(w, true, false);
}
