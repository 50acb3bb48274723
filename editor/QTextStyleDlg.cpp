#include "QTextStyleDlg.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "QZTBaseButton.h"
#include "QZTButtonExtend.h"
#include "QZTSpinBox.h"
#include "SkinStyleHelpers.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>

#include <cmath>

namespace {
constexpr int kWidth = 516;
constexpr int kHeight = 348;
// Changes this small are the spin box's own rounding, not the user's.
constexpr double kTolerance = 0.01;

QTextStyleDlg::FontPicker &fontPicker()
{
    static QTextStyleDlg::FontPicker picker;
    return picker;
}

QTextStyleDlg::ColorPicker &colorPicker()
{
    static QTextStyleDlg::ColorPicker picker;
    return picker;
}

using SkinStyleHelpers::res;

bool differs(double a, double b)
{
    return a != b && std::fabs(a - b) > kTolerance;
}
} // namespace

QTextStyleDlg::QTextStyleDlg(QWidget *parent) : QZTDialog(parent, 1) {}

void QTextStyleDlg::setFontPickerForTesting(FontPicker picker)
{
    fontPicker() = std::move(picker);
}

void QTextStyleDlg::setColorPickerForTesting(ColorPicker picker)
{
    colorPicker() = std::move(picker);
}

QColor QTextStyleDlg::colorOf(quint32 argb)
{
    return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
}

quint32 QTextStyleDlg::argbOf(const QColor &c)
{
    return quint32(c.alpha() & 0xFF) << 24 | quint32(c.red() & 0xFF) << 16 | quint32(c.green() & 0xFF) << 8 |
           quint32(c.blue() & 0xFF);
}

// ------------------------------------------------------------------------------------------ set-up

void QTextStyleDlg::bindControls(const TextStyleControls &controls, const Look &look)
{
    m_c = controls;
    m_look = look;
    initFrame();
    initControls();
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);
    setGridViewInfo(rectSize(60, 60), rectSize(60, 60), rectSize(60, 60), rectSize(60, 60));
}

void QTextStyleDlg::initFrame()
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setDlgTitle(QObject::tr("Font"));
    setWindowTitle(QObject::tr("Font"));
    setTitleRect(QRect(0, 8, 0, 0));
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QVEInitCtrlStyle::SetPalette(this, QPalette::WindowText, QColor(255, 255, 255));
    setMoveTopHeight(30);
    setStretchWidth(6);
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    setFont(f);
    setBackgroundImage(res("/VEditSource/bg_3.png"), false);
}

void QTextStyleDlg::initControls()
{
    for (QZTBaseButton *b : {m_c.btnClose, m_c.btnMin, m_c.btnMax})
        b->setText(QString()); // image buttons: the form's placeholder text never shows
    m_c.btnClose->setButtonImage(res("/VEditSource/btn_close.png"), true);
    m_c.btnMin->setButtonImage(res("/VEditSource/btn_min.png"), true);
    m_c.btnMax->setButtonImage(res("/VEditSource/btn_max.png"), true);
    m_c.btnMin->setEnabled(false);
    m_c.btnMax->setEnabled(false);
    connect(m_c.btnClose, &QPushButton::clicked, this, &QWidget::close);

    m_c.btnOK->setText(m_look.translateOk ? QObject::tr("OK") : QStringLiteral("OK"));
    m_c.btnCancel->setText(m_look.translateOk ? QObject::tr("Cancel") : QStringLiteral("Cancel"));
    QVEInitCtrlStyle::SetZTButton(m_c.btnOK, m_look.okWidth, 28);
    QVEInitCtrlStyle::SetZTButton(m_c.btnCancel, m_look.okWidth, 28);
    if (m_look.okAccepts)
        connect(m_c.btnOK, &QPushButton::clicked, this, &QDialog::accept);
    else
        connect(m_c.btnOK, &QPushButton::clicked, this, &QWidget::close);
    connect(m_c.btnCancel, &QPushButton::clicked, this, &QWidget::close);

    const struct
    {
        QLabel *label;
        const char *text;
    } labels[] = {{m_c.lblFontColor, "Font Color:"},        {m_c.lblFontName, "Font Name:"},
                  {m_c.lblShadow, "Shadow Color:"},         {m_c.lblShadowOff, "Shadow Offset:"},
                  {m_c.lblOutline, "Outline Color:"},       {m_c.lblOutlineSize, "Outline Size:"},
                  {m_c.lblSpacingH, "Horizontal Spacing:"}, {m_c.lblSpacingV, "Vertical Spacing:"}};
    for (const auto &l : labels) {
        l.label->resize(130, 22);
        QVEInitCtrlStyle::SetLabel2(l.label, QObject::tr(l.text), 12);
        l.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    m_c.btnFont->setText(QObject::tr("Default"));
    QVEInitCtrlStyle::SetZTButton(m_c.btnFont, 78, 22);
    m_c.btnReset->setText(QObject::tr("Reset"));
    QVEInitCtrlStyle::SetZTButton(m_c.btnReset, 78, 22);
    for (QZTButtonExtend *b : {m_c.btnTextColor, m_c.btnShadowColor, m_c.btnOutlineColor}) {
        b->setText(QObject::tr("Color"));
        QVEInitCtrlStyle::SetZTButtonEx(b, 78, 22);
        connect(b, &QPushButton::clicked, this, &QTextStyleDlg::onColor);
    }
    const struct
    {
        QZTDoubleSpinBox *spin;
        double minimum;
    } spins[] = {
        {m_c.dspShadowOff, -100.0}, {m_c.dspOutlineSize, 0.0}, {m_c.dspSpacingH, -100.0}, {m_c.dspSpacingV, -100.0}};
    for (const auto &s : spins) {
        QVEInitCtrlStyle::SetQZTDoubleSpinBox(s.spin);
        s.spin->setDecimals(2);
        s.spin->setRange(s.minimum, 100.0);
        s.spin->setSingleStep(0.1);
        connect(s.spin, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &QTextStyleDlg::valueChanged);
    }
    // Return commits a typed value; it must not press a button and end the dialog.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(m_c.btnFont, &QPushButton::clicked, this, &QTextStyleDlg::onFont);
    connect(m_c.btnReset, &QPushButton::clicked, this, &QTextStyleDlg::onReset);
}

// ------------------------------------------------------------------------------------------ loading

void QTextStyleDlg::showEvent(QShowEvent *event)
{
    QZTDialog::showEvent(event);
    if (m_bLoaded)
        return;
    m_bLoaded = true;
    loadingSetting();
}

void QTextStyleDlg::loadingSetting()
{
    if (!m_settings)
        return;
    TextStyleFields f = readStyle();
    // The boxes are filled without storing anything; a stored value a box had to clamp into its range is
    // then written back, all of them in one write, and only when there is one.
    m_bLoading = true;
    m_c.dspShadowOff->setValue(f.shadowOffset);
    m_c.dspOutlineSize->setValue(f.outlineSize);
    m_c.dspSpacingH->setValue(f.spacingH);
    m_c.dspSpacingV->setValue(f.spacingV);
    m_bLoading = false;
    bool clamped = false;
    for (QZTDoubleSpinBox *spin : {m_c.dspShadowOff, m_c.dspOutlineSize, m_c.dspSpacingH, m_c.dspSpacingV}) {
        double *field = fieldOf(f, spin);
        if (field && differs(*field, spin->value())) {
            *field = spin->value();
            clamped = true;
        }
    }
    if (clamped)
        writeStyle(f);
    m_c.btnTextColor->setIconColor(colorOf(f.color));
    m_c.btnOutlineColor->setIconColor(colorOf(f.outlineColor));
    m_c.btnShadowColor->setIconColor(colorOf(f.shadowColor));
    showFontName(f.fontName);
}

void QTextStyleDlg::showFontName(const QByteArray &name)
{
    const QString family = QString::fromUtf8(name);
    if (!family.isEmpty()) {
        m_c.btnFont->setText(family);
        QVEInitCtrlStyle::SetFontFamily(m_c.btnFont, family, 12);
    } else {
        m_c.btnFont->setText(QObject::tr("Default"));
        QVEInitCtrlStyle::SetFontFamily(m_c.btnFont, QStringLiteral("Tahoma"), 12);
    }
}

double *QTextStyleDlg::fieldOf(TextStyleFields &f, QObject *spin) const
{
    if (spin == m_c.dspShadowOff)
        return &f.shadowOffset;
    if (spin == m_c.dspOutlineSize)
        return &f.outlineSize;
    if (spin == m_c.dspSpacingH)
        return &f.spacingH;
    if (spin == m_c.dspSpacingV)
        return &f.spacingV;
    return nullptr;
}

quint32 *QTextStyleDlg::colorFieldOf(TextStyleFields &f, QObject *button) const
{
    if (button == m_c.btnTextColor)
        return &f.color;
    if (button == m_c.btnOutlineColor)
        return &f.outlineColor;
    if (button == m_c.btnShadowColor)
        return &f.shadowColor;
    return nullptr;
}

// ------------------------------------------------------------------------------------------ user changes

void QTextStyleDlg::onFont()
{
    if (!m_settings)
        return;
    TextStyleFields f = readStyle();
    QFont initial = QApplication::font();
    initial.setFamily(QString::fromUtf8(f.fontName));
    initial.setWeight(f.bold ? QFont::Bold : QFont::Normal);
    if (f.fontSize > 0)
        initial.setPointSize(int(std::min<quint32>(f.fontSize, 1000)));
    initial.setStyle(f.italic ? QFont::StyleItalic : QFont::StyleNormal);
    initial.setUnderline(f.underline != 0);
    initial.setStrikeOut(f.strikeout != 0);
    QFont chosen;
    bool ok = false;
    if (fontPicker())
        ok = fontPicker()(initial, this, &chosen);
    else
        chosen = QFontDialog::getFont(&ok, initial, this, QString());
    if (!ok)
        return;
    f.fontName = chosen.family().toUtf8();
    f.bold = chosen.weight() > QFont::Medium ? 1 : 0;
    f.fontSize = chosen.pointSize() > 0 ? quint32(chosen.pointSize()) : f.fontSize;
    f.italic = chosen.style() != QFont::StyleNormal ? 1 : 0;
    f.underline = chosen.underline() ? 1 : 0;
    f.strikeout = chosen.strikeOut() ? 1 : 0;
    writeStyle(f);
    showFontName(f.fontName);
}

void QTextStyleDlg::onColor()
{
    if (!m_settings)
        return;
    auto *button = qobject_cast<QZTButtonExtend *>(sender());
    TextStyleFields f = readStyle();
    quint32 *field = colorFieldOf(f, button);
    if (!field)
        return;
    const QColor initial = colorOf(*field);
    const QColor chosen =
        colorPicker() ? colorPicker()(initial, this)
                      : QColorDialog::getColor(initial, this, QString(),
                                               QColorDialog::ShowAlphaChannel | QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return;
    *field = argbOf(chosen);
    writeStyle(f);
    button->setIconColor(chosen);
}

void QTextStyleDlg::valueChanged(double value)
{
    if (m_bLoading || !m_settings)
        return;
    TextStyleFields f = readStyle();
    double *field = fieldOf(f, sender());
    if (!field || !differs(*field, value))
        return;
    *field = value;
    writeStyle(f);
}

void QTextStyleDlg::onReset()
{
    if (!m_settings)
        return;
    TextStyleFields f = readStyle();
    f.shadowOffset = 0.5;
    f.outlineSize = 1.0;
    f.shadowColor = 0x80000000u;
    f.color = 0xFFFFFFFFu;
    f.outlineColor = 0xFF000000u;
    f.spacingH = 0.05;
    f.spacingV = 0.05;
    f.fontName.clear();
    writeStyle(f);
    loadingSetting();
}

// ------------------------------------------------------------------------------------------ layout

void QTextStyleDlg::resizeEvent(QResizeEvent *event)
{
    QZTDialog::resizeEvent(event);
    if (!m_c.btnClose)
        return;
    const int W = width(), H = height();
    const auto bottom = [](QWidget *w) { return w->y() + w->height() - 1; };
    m_c.btnClose->move(13, 13);
    // The smaller window buttons sit on the close button's middle line.
    const int beside = 13 + (m_c.btnClose->height() - m_c.btnMin->height()) / 2;
    m_c.btnMin->move(m_c.btnClose->x() + m_c.btnClose->width() + 8, beside);
    m_c.btnMax->move(m_c.btnMin->x() + m_c.btnMin->width() + 8, beside);

    m_c.lblFontColor->move(38, 57);
    m_c.lblShadow->move(38, bottom(m_c.lblFontColor) + 24);
    m_c.lblOutline->move(38, bottom(m_c.lblShadow) + 24);
    m_c.lblSpacingH->move(38, bottom(m_c.lblOutline) + 29);

    const int leftX = m_c.lblFontColor->x() + m_c.lblFontColor->width() + m_look.leftGap;
    m_c.btnTextColor->move(leftX, 57);
    m_c.btnShadowColor->move(leftX, bottom(m_c.btnTextColor) + 24);
    m_c.btnOutlineColor->move(leftX, bottom(m_c.btnShadowColor) + 24);
    m_c.dspSpacingH->move(leftX, bottom(m_c.btnOutlineColor) + 29);

    const int rightX = W - 48 - m_c.dspShadowOff->width();
    m_c.btnFont->move(rightX, m_c.btnTextColor->y());
    m_c.dspShadowOff->move(rightX, m_c.btnShadowColor->y());
    m_c.dspOutlineSize->move(rightX, m_c.btnOutlineColor->y());
    m_c.dspSpacingV->move(rightX, m_c.dspSpacingH->y());

    const int labelX = m_c.dspOutlineSize->x() - m_look.rightGap - m_c.lblOutlineSize->width();
    m_c.lblFontName->move(labelX, m_c.btnFont->y());
    m_c.lblShadowOff->move(labelX, m_c.dspShadowOff->y());
    m_c.lblOutlineSize->move(labelX, m_c.dspOutlineSize->y());
    m_c.lblSpacingV->move(labelX, m_c.dspSpacingV->y());

    m_c.btnReset->move(W - 48 - m_c.btnReset->width(), bottom(m_c.dspSpacingV) + 24);
    m_c.btnOK->move(W - 28 - m_c.btnOK->width(), H - 58 + (50 - m_c.btnOK->height()) / 2);
    m_c.btnCancel->move(m_c.btnOK->x() - 20 - m_c.btnCancel->width(), H - 58 + (50 - m_c.btnCancel->height()) / 2);
}
