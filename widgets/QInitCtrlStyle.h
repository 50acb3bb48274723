#pragma once
// The light skin of the main window and its shared dialogs, one control per call. Every routine takes
// the control's own type, so the frameless-window and button-drawing parts are reached by the compiler,
// never through an untyped pointer; a null control is ignored.

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;
class QZTBaseButton;
class QZTCheckBox;
class QZTComboBox;
class QZTDialog;
class QZTLineEdit;
class QZTMainWindow;
class QZTMenu;
class QZTRadioButton;
class QZTScrollBar;
class QZTBaseSlider;
class QZTSpinBox;
class QZTTextEdit;
class QZTWidget;

// Frameless, translucent dialog look with a centred title, white text, a 30-pixel move band, no edge
// resizing, "Tahoma" 12 and 80-pixel corners.
void InitDlg(QZTDialog *window);
void InitDlg(QZTMainWindow *window);
void InitDlg(QZTWidget *window);

class QInitCtrlStyle
{
public:
    QInitCtrlStyle() {}

    static void InitFont(QWidget *widget, int pixelSize);
    // Sets the role in every colour group, then the disabled window text to the light skin's grey.
    static void InitPalette(QWidget *widget, QPalette::ColorRole role, const QColor &colour);

    static void InitBg1(QZTDialog *window);
    static void InitBg1(QZTMainWindow *window);
    static void InitBg1(QZTWidget *window);
    static void InitBg2(QZTDialog *window);
    static void InitBg2(QZTMainWindow *window);
    static void InitBg2(QZTWidget *window);
    static void InitBg3(QZTDialog *window);
    static void InitBg3(QZTMainWindow *window);
    static void InitBg3(QZTWidget *window);
    static void InitBg4(QZTDialog *window);
    static void InitBg4(QZTMainWindow *window);
    static void InitBg4(QZTWidget *window);

    static void InitZtMenu(QZTMenu *menu);
    static void InitZTButton(QZTBaseButton *button, int width, int height);
    static void InitZTButton1(QZTBaseButton *button, int width, int height);
    static void InitTabBtn(QZTBaseButton *button);
    static void InitCheckBox(QZTCheckBox *box);
    static void InitRadio(QZTRadioButton *radio);
    static void InitLineEdit(QZTLineEdit *edit, int width, int height);
    static void InitEdit(QZTLineEdit *edit);
    static void InitTextEdit(QZTTextEdit *edit);
    static void InitSpinbox(QZTSpinBox *spin);
    static void InitZTCombox(QZTComboBox *combo, int width, int height);
    static void InitZTCombox1(QZTComboBox *combo, int width, int height, const QString &image);
    static void InitZTSlider(QZTBaseSlider *slider);
    static void InitZtScrollBar(QZTScrollBar *bar);
};
