#pragma once
// The thumbnail at the left of a media list row: a background picture, the clip's image cropped to fill
// the widget, and optionally a corner icon or a state overlay; it follows hover and press and can spin the
// image as a busy sign. Presses and releases go on to the row underneath.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class MouseImageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit MouseImageWidget(QWidget *parent = nullptr);
    ~MouseImageWidget() override;

    // The image pointer is not owned (the clip owns it); null allowed. Empty paths keep what is there
    // (background) or clear (state image).
    void setAllImage(const QString &background, QImage *image, const QString &stateImage);
    void setBackgroundImage(const QString &path);
    void setBackgroundImage(QPixmap *pixmap, bool copy);
    void setVideoImage(const QString &path);
    void ResetVideoImage();
    void setStateImage(const QString &path);
    void setMAX(bool full);
    void showPlayBtn(bool show);
    void setBgColor(const QColor &color);
    void setIcon(const QString &path);
    void setIconShow(bool show);
    const QImage *videoImage() const { return m_image; }
    int hoverState() const { return m_hover; }
    bool isRotating() const { return m_timerId != -1; }

signals:
    void emitMouseRelease();
    void emitEnterEvent();
    void emitleaveEvent();

public slots:
    void startRotate();
    void stopRotate();
    void setAnimationDelay(int delay);

protected:
    void timerEvent(QTimerEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void dropBackground();
    void dropOwnImage();
    void resizeToBackground();

    QPixmap *m_background = nullptr;
    bool m_ownBackground = false;
    QImage *m_image = nullptr;
    bool m_ownImage = false;
    QPixmap *m_stateImage = nullptr;
    QPixmap m_icon;
    int m_hover = 0;
    bool m_full = true;
    bool m_overlay = false;
    QColor m_bgColor = QColor(255, 255, 255, 1);
    bool m_iconShown = false;
    int m_angle = 0;
    int m_timerId = -1;
    int m_delay = 100;
};
