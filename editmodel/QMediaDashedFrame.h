#pragma once
// One dashed box of the preview overlays (the crop box or a watermark box): handle pictures at the corners
// and edge middles, optionally a centre handle, joined by dotted white lines. Each showing paints its
// border only after a short delay, so that the box does not flash at a stale place while the overlay
// window moves into position.

#include "CropDragGeometry.h"

#include <QImage>
#include <QWidget>

class QTimer;

class QMediaDashedFrame : public QWidget
{
    Q_OBJECT
public:
    // The side of the square handles drawn inside the box's corners and edge middles: the one the preview
    // controller allows for when it decides where a small box is grabbed.
    static constexpr int kHandleSize = CropDragGeometry::kHandleSize;

    explicit QMediaDashedFrame(QWidget *parent = nullptr);
    ~QMediaDashedFrame() override;

    void setImage(const QString &path);
    void showCenterImage(bool show) { m_showCenter = show; }
    void setVisible(bool visible) override;
    int paintCount() const { return m_paintCount; }

    static void paintDashedBorderAngle(QPainter &painter, const QImage &image, int boxWidth, int boxHeight,
                                       bool showCenter);

public slots:
    void UpdateTimer();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage *m_image = nullptr;
    bool m_showCenter = true;
    int m_paintCount = 0;
    QTimer *m_timer = nullptr;
};
