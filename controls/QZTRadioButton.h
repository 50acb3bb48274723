#pragma once
// A QRadioButton painted from check images, or in button mode as a 4-frame image button that toggles
// on press.

#include "QZTBaseBoxDraw.h"
#include "QZTBaseButtonDraw.h"

#include <QRadioButton>

class QZTRadioButton : public QRadioButton, public QZTBaseBoxDraw, public QZTBaseButtonDraw
{
    Q_OBJECT
public:
    explicit QZTRadioButton(QWidget *parent = nullptr);

    bool setCheckImage(const QString &checked, const QString &unchecked, bool buttonMode, bool twoFrames);
    bool setBtnIcon(const QString &path);
    void setIconRect(const QRect &rect);
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    void setTextRect(const QRect &rect);
    bool isButtonMode() const { return m_buttonMode; }
    void adjustSize();
    void seedClick() { click(); }

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    bool m_buttonMode = false;
};
