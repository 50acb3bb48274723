#include "QInitCtrlStyle.h"

#include "QBaseDrawWidget.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "QZTCheckBox.h"
#include "QZTComboBox.h"
#include "QZTDialog.h"
#include "QZTLineEdit.h"
#include "QZTMainWindow.h"
#include "QZTMenu.h"
#include "QZTRadioButton.h"
#include "QZTScrollBar.h"
#include "QZTSpinBox.h"
#include "QZTTextEdit.h"
#include "QZTWidget.h"
#include "SkinStyleHelpers.h"

#include <QTextEdit>

using namespace SkinStyleHelpers;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kDisabledText(167, 167, 167);
// The light skin's fields and popup rows are light greys, so their text is dark: white would not show.
const QColor kFieldText(53, 53, 53);
const QColor kRowText(68, 68, 68);

void setWindowText(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void applyTitleBand(QWidget *host, QBaseDrawWidget *draw)
{
    host->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    draw->setTitleRect(QRect(0, 8, 0, 0));
    draw->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    setWindowText(host, kWhite);
}

void initDlg(QWidget *host, QBaseDrawWidget *draw)
{
    host->setAttribute(Qt::WA_TranslucentBackground, true);
    applyTitleBand(host, draw);
    draw->setMoveTopHeight(30);
    draw->setStretchPolicy(0);
    host->setFont(tahoma(host->font(), 12));
    const rectSize corner(80, 80);
    draw->setGridViewInfo(corner, corner, corner, corner);
}

void initBg(QWidget *host, QBaseDrawWidget *draw, const char *image)
{
    draw->setBackgroundImage(res(image), true);
    initDlg(host, draw);
}

void initBg3(QWidget *host, QBaseDrawWidget *draw)
{
    draw->setBackgroundImage(res("/image/PlayerImage/play_dlg.png"), true);
    host->setAttribute(Qt::WA_TranslucentBackground, false);
    applyTitleBand(host, draw);
    draw->setMoveTopHeight(22);
    host->setFont(tahoma(host->font(), 12));
    const rectSize corner(50, 50);
    draw->setGridViewInfo(corner, corner, corner, corner);
}

void initCombo(QZTComboBox *combo, int width, int height, const QColor &selected, const QMargins &textMargins,
               int rowHeight)
{
    QFont rowFont = combo->font();
    rowFont.setPixelSize(12);
    combo->setItemFont(rowFont);
    combo->setFont(tahoma(combo->font(), 12));
    combo->setTextColor(kFieldText);
    combo->setItemBorder(1, QColor(213, 214, 215));
    combo->setItemBgColor(QColor(242, 242, 242));
    combo->setItemSelectedColor(selected);
    // Rows are grey 242; a hovered or current row takes the selected colour, and on a dark one (53) its
    // text turns white.
    const QColor onSelected = selected.lightness() < 128 ? kWhite : kRowText;
    combo->setItemTextColor(kRowText, onSelected, onSelected, kDisabledText);
    QInitCtrlStyle::InitPalette(combo, QPalette::WindowText, kFieldText);
    combo->setBtnMode(true);
    combo->setBtnMargins(width - 13, -1, 0, 0);
    combo->setDrawTextMargins(textMargins);
    combo->resize(width, height);
    combo->setItemHeight(rowHeight);
}

} // namespace

void InitDlg(QZTDialog *window)
{
    if (window)
        initDlg(window, window);
}

void InitDlg(QZTMainWindow *window)
{
    if (window)
        initDlg(window, window);
}

void InitDlg(QZTWidget *window)
{
    if (window)
        initDlg(window, window);
}

void QInitCtrlStyle::InitFont(QWidget *widget, int pixelSize)
{
    if (widget)
        widget->setFont(tahoma(widget->font(), pixelSize));
}

void QInitCtrlStyle::InitPalette(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::All, role, colour);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledText);
    widget->setPalette(palette);
}

#define RS_BG_OVERLOADS(Name, Body)                                                                                    \
    void QInitCtrlStyle::Name(QZTDialog *window)                                                                       \
    {                                                                                                                  \
        if (window)                                                                                                    \
            Body;                                                                                                      \
    }                                                                                                                  \
    void QInitCtrlStyle::Name(QZTMainWindow *window)                                                                   \
    {                                                                                                                  \
        if (window)                                                                                                    \
            Body;                                                                                                      \
    }                                                                                                                  \
    void QInitCtrlStyle::Name(QZTWidget *window)                                                                       \
    {                                                                                                                  \
        if (window)                                                                                                    \
            Body;                                                                                                      \
    }

RS_BG_OVERLOADS(InitBg1, initBg(window, window, "/image/Common_bg/bg_1.png"))
RS_BG_OVERLOADS(InitBg2, initBg(window, window, "/image/Common_bg/bg_2.png"))
RS_BG_OVERLOADS(InitBg4, initBg(window, window, "/image/Common_bg/bg_3.png"))
RS_BG_OVERLOADS(InitBg3, initBg3(window, window))
#undef RS_BG_OVERLOADS

void QInitCtrlStyle::InitZtMenu(QZTMenu *menu)
{
    if (!menu)
        return;
    InitFont(menu, 12);
    menu->setFrameColor(QColor(213, 214, 215));
    menu->setAreaColor(QColor(242, 242, 242));
    menu->setItemColor(QColor(242, 242, 242));
    menu->setItemTextColor(QColor(68, 68, 68));
    menu->setItemSelectColor(QColor(255, 218, 43));
    menu->setItemTextSelectColor(QColor(68, 68, 68));
    menu->setItemTextEabledColor(kDisabledText);
    menu->setItemEabledColor(QColor(242, 242, 242));
    menu->setSeparatorColor(QColor(215, 63, 63));
    menu->setFrameWidth(1);
}

void QInitCtrlStyle::InitZTButton(QZTBaseButton *button, int width, int height)
{
    if (!button)
        return;
    button->setButtonImage(res("/image/Common_bg/btn_common.png"), true);
    InitFont(button, 12);
    button->setTextColor(kWhite, kWhite, kWhite, QColor(111, 111, 111));
    button->resize(width, height);
}

void QInitCtrlStyle::InitZTButton1(QZTBaseButton *button, int width, int height)
{
    if (!button)
        return;
    button->setButtonImage(res("/image/Common_bg/btn_common1.png"), true);
    InitFont(button, 12);
    button->setTextColor(kWhite, kWhite, kWhite, QColor(111, 111, 111));
    if (width > 0)
        button->resize(width, height);
}

void QInitCtrlStyle::InitTabBtn(QZTBaseButton *button)
{
    if (!button)
        return;
    button->setButtonImage(res("/image/Common_bg/btn_prefer.png"), true);
    InitFont(button, 12);
    button->setTextColor(kWhite, kWhite, kWhite, kDisabledText);
    button->setTextRect(QRect(0, 0, 0, 13));
    button->setCheckable(true);
}

void QInitCtrlStyle::InitCheckBox(QZTCheckBox *box)
{
    if (!box)
        return;
    box->setCheckImage(res("/image/Common_bg/btn_check_on.png"), res("/image/Common_bg/btn_check_off.png"), QString(),
                       false);
    InitFont(box, 12);
    setBoxTextColours(box, QColor(53, 53, 53), kDisabledText);
}

void QInitCtrlStyle::InitRadio(QZTRadioButton *radio)
{
    if (!radio)
        return;
    radio->setCheckImage(res("/image/Common_bg/Edit_selections_yes.png"),
                         res("/image/Common_bg/Edit_selections_no.png"), false, false);
    InitFont(radio, 12);
    setBoxTextColours(radio, QColor(53, 53, 53), kDisabledText);
}

void QInitCtrlStyle::InitLineEdit(QZTLineEdit *edit, int width, int height)
{
    if (!edit)
        return;
    edit->setBackgroundImage(res("/image/Common_bg/edit.png"));
    InitFont(edit, 11);
    InitPalette(edit, QPalette::Text, kFieldText);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, kDisabledText);
    edit->setPalette(palette);
    edit->resize(width, height);
    edit->setTextMargins(4, 0, 0, 0);
}

void QInitCtrlStyle::InitEdit(QZTLineEdit *edit)
{
    if (!edit)
        return;
    edit->setBackgroundImage(res("/image/Common_bg/edit.png"));
    InitFont(edit, 11);
    InitPalette(edit, QPalette::Text, kFieldText);
    edit->setTextMargins(3, 0, 0, 0);
    edit->resize(175, 20);
}

void QInitCtrlStyle::InitTextEdit(QZTTextEdit *edit)
{
    if (!edit)
        return;
    edit->setBackgroundImage(res("/image/Common_bg/edit.png"));
    InitFont(edit->textEdit(), 11);
    InitPalette(edit->textEdit(), QPalette::Text, kFieldText);
    edit->setEditMargins(3, 0, 0, 0);
}

void QInitCtrlStyle::InitSpinbox(QZTSpinBox *spin)
{
    if (!spin)
        return;
    spin->setBackgroundImage(res("/image/Common_bg/spin_rect.png"));
    spin->setUpAndDownBtnImage(res("/image/Common_bg/btn_up.png"), res("/image/Common_bg/btn_down.png"), true);
    InitFont(spin, 11);
    InitPalette(spin, QPalette::Text, kFieldText);
    spin->setTextMargins(2, 0, 0, 0);
}

void QInitCtrlStyle::InitZTCombox(QZTComboBox *combo, int width, int height)
{
    if (!combo)
        return;
    combo->setBackgroundImage(res("/image/Common_bg/cmb_common.png"));
    initCombo(combo, width, height, QColor(53, 53, 53), QMargins(2, 0, 17, 1), 20);
}

void QInitCtrlStyle::InitZTCombox1(QZTComboBox *combo, int width, int height, const QString &image)
{
    if (!combo)
        return;
    combo->setBackgroundImage(image.isEmpty() ? res("/image/Common_bg/cmb_common.png") : image);
    combo->setButtonImage(res("/image/Common_bg/btn_arrow.png"), true);
    initCombo(combo, width, height, QColor(255, 218, 43), QMargins(5, 0, 17, 1), 22);
}

void QInitCtrlStyle::InitZTSlider(QZTBaseSlider *slider)
{
    if (!slider)
        return;
    slider->setBottomImage(res("/image/Common_bg/slider_bottom.png"));
    slider->setTopImage(res("/image/Common_bg/slider_top.png"));
    slider->setBtnImage(res("/image/Common_bg/slider_arrow.png"));
    slider->setCircle(true);
    slider->setCircleLenght(1);
    slider->setOffset(7, 7);
    slider->setFormat(QString());
}

void QInitCtrlStyle::InitZtScrollBar(QZTScrollBar *bar)
{
    if (!bar)
        return;
    QZTScrollBarStyleAttribute attribute;
    attribute.grooveColor = QColor(240, 240, 240);
    attribute.trackColor = QColor(240, 240, 240);
    attribute.trackAlwaysShown = true;
    attribute.arrowColors[0] = QColor(214, 214, 214);
    attribute.arrowColors[1] = QColor(240, 240, 240);
    attribute.normalColor = QColor(214, 214, 214);
    attribute.pressedColor = QColor(214, 214, 214);
    attribute.hoverColor = QColor(214, 214, 214);
    bar->setStyleAttribute(attribute);
}
