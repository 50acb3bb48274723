#pragma once
// Push button painted from a four-frame image strip (normal, hover, pressed, disabled), with an optional
// caption and an optional animated GIF shown over it.

#include "StripButtonState.h"

#include <QImage>
#include <QPushButton>
#include <QRect>
#include <memory>

class QLabel;
class QMovie;

class QImageButton : public QPushButton
{
    Q_OBJECT
public:
    explicit QImageButton(QWidget *parent = nullptr);
    ~QImageButton() override;

    // False when the strip does not load; the previous strip and size stay.
    bool setBtnImage(const QString &path);
    void setBtnanimation(int x, int y, const QString &path);
    void setAnimationStart(bool on);
    bool getAnimationState() const { return m_animation; }
    void setBtnText(const QRect &rect, const QString &text, bool show);
    void setShowBtnText(bool show) { m_showText = show; }
    void setFontSize(int size) { m_fontSize = size; }
    void setOverState(bool over) { m_look.setOverState(over); }
    void setBtnState(int state) { m_look.setState(state); }
    int btnState() const { return m_look.state(); }

signals:
    void mouseMove(QMouseEvent *e, int x);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    int m_pressX = 0;
    QImage m_strip;
    QLabel *m_animationLabel = nullptr;
    std::unique_ptr<QMovie> m_movie;
    bool m_animation = false;
    QRect m_textRect;
    bool m_showText = false;
    QString m_text;
    StripButtonState m_look;
    int m_fontSize = 9;
};
