#pragma once
// Plain widget painted from a 2x image as a nine-grid with equal corners, or filled with a colour; can be
// dragged when grabbing is on.

#include "NineGridDraw.h"
#include "QBaseDrawWidget.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <optional>

class QImageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit QImageWidget(QWidget *parent = nullptr);
    ~QImageWidget() override;

    // Both loaders report false and keep the previous image and size when the file does not load.
    bool SetImageBackgroud(const QString &path, bool fixedSize);
    bool setBackgroundImage(const QString &path, bool resizable);
    void setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight);
    void setBackgroundColor(int r, int g, int b);
    void SetGrabEnable(bool on) { m_grab = on; }
    bool GetGrabEnable() const { return m_grab; }
    void imageDrawRect(QPainter &p, const QRect &rect, const QImage &image);
    static QString GetApplicationPath() { return s_applicationPath; }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QImage m_background;
    bool m_pressed = false;
    bool m_grab = false;
    std::optional<QColor> m_color;
    NineGridDraw::Corners m_corners;
    static QString s_applicationPath;
};
