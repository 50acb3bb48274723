#pragma once
// Integer field on the image field base with its own up and down image buttons.

#include "QCustomImageWidget.h"
#include "QTextImageButton.h"

class QLineEdit;

class QCustomSpinButton : public QTextImageButton
{
    Q_OBJECT
public:
    explicit QCustomSpinButton(QWidget *parent = nullptr) : QTextImageButton(parent) {}
};

class QCustomSpinBox : public QCustomImageWidget
{
    Q_OBJECT
public:
    explicit QCustomSpinBox(QWidget *parent = nullptr);

    bool setUpAndDownBtnImage(const QString &up, const QString &down);
    // Values run from minimum to upperBound - 1.
    void setRange(int minimum, int upperBound);
    void setValue(int value);
    int getValue() const { return m_value; }
    void setEditColor(const QColor &enabled, const QColor &disabled);
    void SetEditText(int value);
    QLineEdit *lineEdit() const { return m_edit; }
    QCustomSpinButton *upButton() const { return m_up; }
    QCustomSpinButton *downButton() const { return m_down; }

public slots:
    void OnBtnUp();
    void OnBtnDown();
    void editTextChange(const QString &str);

protected:
    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    int clamped(int value) const;
    void applyTextColour();
    void layoutChildren();

    QLineEdit *m_edit = nullptr;
    QCustomSpinButton *m_up = nullptr;
    QCustomSpinButton *m_down = nullptr;
    int m_value = 0;
    int m_minimum = 0;
    int m_upperBound = 100;
    QColor m_enabledColor = QColor(69, 69, 69);
    QColor m_disabledColor = QColor(98, 120, 120);
};
