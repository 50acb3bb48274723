#include "QVEInitCtrlStyle.h"

#include "QCheckboxCombobox.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "QZTButtonExtend.h"
#include "QZTCheckBox.h"
#include "QZTComboBox.h"
#include "QZTLineEdit.h"
#include "QZTRadioButton.h"
#include "QZTScrollBar.h"
#include "QZTSpinBox.h"
#include "SkinStyleHelpers.h"

#include <QLabel>
#include <QLineEdit>

using namespace SkinStyleHelpers;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kDark(37, 37, 37);
const QColor kPanel(53, 53, 53);
const QColor kDisabledText(101, 101, 101);

void setRows(QZTComboBox *combo)
{
    combo->setTextColor(kWhite);
    combo->setItemBorder(1, kPanel);
    combo->setItemBgColor(kDark);
    combo->setItemSelectedColor(kPanel);
    combo->setItemTextColor(kWhite);
}

} // namespace

void QVEInitCtrlStyle::SetFont(QWidget *widget, int pixelSize)
{
    if (widget)
        widget->setFont(tahoma(widget->font(), pixelSize));
}

void QVEInitCtrlStyle::SetFontFamily(QWidget *widget, const QString &family, int pixelSize)
{
    if (!widget)
        return;
    QFont font = widget->font();
    font.setFamily(family);
    font.setPixelSize(pixelSize);
    widget->setFont(font);
}

void QVEInitCtrlStyle::SetPalette(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::All, role, colour);
    widget->setPalette(palette);
}

void QVEInitCtrlStyle::SetLabel(QLabel *label, const QString &text, int pixelSize)
{
    if (!label)
        return;
    SetFont(label, pixelSize);
    label->resize(QFontMetrics(label->font()).horizontalAdvance(text), label->height());
    label->setText(text);
    SetPalette(label, QPalette::WindowText, kWhite);
}

void QVEInitCtrlStyle::SetLabel2(QLabel *label, const QString &text, int pixelSize)
{
    if (!label)
        return;
    SetFont(label, pixelSize);
    label->setText(text);
    SetPalette(label, QPalette::WindowText, kWhite);
}

void QVEInitCtrlStyle::SetZTButton(QZTBaseButton *button, int width, int height)
{
    if (!button)
        return;
    button->setButtonImage(res("/VEditSource/btn_common.png"), true);
    SetFont(button, 12);
    button->setTextColor(kWhite, kWhite, kWhite, kDisabledText);
    button->resize(width, height);
}

void QVEInitCtrlStyle::SetZTButtonEx(QZTButtonExtend *button, int width, int height)
{
    if (!button)
        return;
    SetZTButton(button, width, height);
    button->setIconColorRect(QRect(5, 3, 16, 16));
    button->setTextRect(QRect(26, 0, 43, 22));
}

void QVEInitCtrlStyle::SetQZTLineEdit(QZTLineEdit *edit)
{
    if (!edit)
        return;
    edit->setBackgroundImage(res("/VEditSource/edit_background.png"));
    SetFont(edit, 12);
    SetPalette(edit, QPalette::Text, kWhite);
    edit->onlyInputNumber();
    edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void QVEInitCtrlStyle::SetQZTSlider(QZTBaseSlider *slider)
{
    if (!slider)
        return;
    slider->setProgressPolicy(QZTBaseProgress::Horizontal);
    slider->setBottomImage(res("/VEditSource/slider_bottom.png"));
    slider->setTopImage(res("/VEditSource/slider_top.png"));
    slider->setBtnImage(res("/VEditSource/slider_image.png"));
    slider->setOffset(0, 0);
    slider->setBtnOffset(-4);
    slider->setFormat(QString());
}

void QVEInitCtrlStyle::SetRadioButton(QZTRadioButton *radio)
{
    if (!radio)
        return;
    radio->setCheckImage(res("/VEditSource/Edit_selections_yes.png"), res("/VEditSource/Edit_selections_no.png"), false,
                         false);
    SetFont(radio, 12);
    setBoxTextColours(radio, kWhite, kDisabledText);
}

void QVEInitCtrlStyle::SetCheckBox(QZTCheckBox *box)
{
    if (!box)
        return;
    box->setCheckImage(res("/VEditSource/btn_check_on.png"), res("/VEditSource/btn_check_off.png"), QString(), false);
    SetFont(box, 12);
    setBoxTextColours(box, kWhite, kDisabledText);
}

void QVEInitCtrlStyle::SetQZTScrollBar(QZTScrollBar *bar)
{
    if (!bar)
        return;
    // Start from the bar's own attribute so that fields set earlier (its width, say) survive.
    QZTScrollBarStyleAttribute attribute = bar->styleAttribute();
    attribute.grooveColor = kDark;
    attribute.trackColor = kDark;
    attribute.trackAlwaysShown = true;
    attribute.arrowColors[0] = kDark;
    attribute.arrowColors[1] = kPanel;
    attribute.arrowColors[2] = kPanel;
    attribute.arrowColors[3] = QColor(69, 68, 68);
    attribute.normalColor = kPanel;
    attribute.pressedColor = kPanel;
    attribute.hoverColor = kPanel;
    attribute.handleInset = 1;
    bar->setStyleAttribute(attribute);
}

void QVEInitCtrlStyle::SetQZTComboBox(QZTComboBox *combo)
{
    if (!combo)
        return;
    combo->setBackgroundImage(res("/VEditSource/edit_background.png"));
    combo->setButtonImage(res("/VEditSource/cbb_trigonometric.png"), true);
    combo->setFont(tahoma(combo->font(), 11));
    setRows(combo);
    combo->setDrawTextMargins(5, 0, 22, 0);
    combo->setMaxVisibleItems(16);
    combo->setItemTextMargins(5, 0, 0, 0);
}

void QVEInitCtrlStyle::SetQZTDoubleSpinBox(QZTDoubleSpinBox *spin)
{
    if (!spin)
        return;
    spin->setBackgroundImage(res("/VEditSource/spinBox_bg.png"));
    spin->setUpAndDownBtnImage(res("/VEditSource/spinBox_up.png"), res("/VEditSource/spinBox_down.png"), true);
    SetPalette(spin, QPalette::Text, kWhite);
    // The editor's fields all show Tahoma 12; the inner edit's text starts 3 pixels in, not on the border.
    SetFont(spin, 12);
    spin->resize(78, 22);
    spin->setDrawTextMargins(3, 0, 0, 0);
    if (auto *edit = spin->findChild<QLineEdit *>())
        edit->setTextMargins(3, 0, 0, 0);
}

void QVEInitCtrlStyle::InitZTCheckCombox(QCheckboxCombobox *combo)
{
    if (!combo)
        return;
    combo->setBackgroundImage(res("/VEditSource/edit_background.png"));
    combo->setButtonImage(res("/VEditSource/cbb_trigonometric.png"), true);
    combo->setItemHoverColor(QColor(105, 105, 105));
    combo->setItemSelectedColor(kPanel);
    combo->setCheckImage(res("/VEditSource/btn_check_on.png"), res("/VEditSource/btn_check_off.png"));
    combo->setIconBtnMode(true);
    combo->setDrawTextMargins(5, 0, 22, 0);
    setRows(combo);
    combo->setFont(tahoma(combo->font(), 11));
    combo->setCheckboxPos(QPoint(2, -1));
    combo->setItemTextMargins(18, 1, 1, 1);
    combo->setMaxVisibleItems(20);
    combo->setSeparatorColor(kPanel);
    combo->setTextColor(kWhite, kWhite, kWhite, QColor(89, 104, 130));
}
