#pragma once
// The dark skin of the clip editor, one control per call; typed controls, a null control is ignored.

#include <QColor>
#include <QPalette>
#include <QString>

class QCheckboxCombobox;
class QLabel;
class QWidget;
class QZTBaseButton;
class QZTBaseSlider;
class QZTButtonExtend;
class QZTCheckBox;
class QZTComboBox;
class QZTDoubleSpinBox;
class QZTLineEdit;
class QZTRadioButton;
class QZTScrollBar;

class QVEInitCtrlStyle
{
public:
    QVEInitCtrlStyle() {}

    static void SetFont(QWidget *widget, int pixelSize);
    static void SetFontFamily(QWidget *widget, const QString &family, int pixelSize);
    // Sets the role in every colour group (the disabled window text included).
    static void SetPalette(QWidget *widget, QPalette::ColorRole role, const QColor &colour);
    static void SetLabel(QLabel *label, const QString &text, int pixelSize);
    static void SetLabel2(QLabel *label, const QString &text, int pixelSize);

    static void SetZTButton(QZTBaseButton *button, int width, int height);
    static void SetZTButtonEx(QZTButtonExtend *button, int width, int height);
    static void SetQZTLineEdit(QZTLineEdit *edit);
    static void SetQZTSlider(QZTBaseSlider *slider);
    static void SetRadioButton(QZTRadioButton *radio);
    static void SetCheckBox(QZTCheckBox *box);
    static void SetQZTScrollBar(QZTScrollBar *bar);
    static void SetQZTComboBox(QZTComboBox *combo);
    static void SetQZTDoubleSpinBox(QZTDoubleSpinBox *spin);
    static void InitZTCheckCombox(QCheckboxCombobox *combo);
};
