#pragma once
// The preview's thumbnail strip: a time scale, a row of thumbnails of the clip, two trim handles that
// bound the selected range and a play cursor. Dragging a handle or the range changes the trim (reported
// on release as a TrimInfo); clicking or dragging on the thumbnails moves the play position (reported as
// a fraction of the clip). It never talks to the player or the clip itself.

#include "TrimInfo.h"
#include "TrimStripMath.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QMargins>
#include <QWidget>

class QImageDualSlider : public QWidget
{
    Q_OBJECT
public:
    // Which part the pointer is on or drags.
    enum Part { PartPosition = 0, PartStart = 1, PartEnd = 2, PartRange = 3, PartNone = 4 };

    explicit QImageDualSlider(QWidget *parent = nullptr);

    void SetStartImage(const QString &path);
    void SetEndImage(const QString &path);
    void SetSliderImage(const QString &path);
    void SetImageSize(QSize size);
    void SetTimeAxisHeight(int height);
    void reheight();
    void SetSliderSize(QSize size);
    void SetMargins(QMargins margins);
    QMargins GetMargins() const { return m_margins; }
    void SetPaintImageCount(int count);
    void SetImageList(const QList<QImage> &images);
    void AddImage(const QImage &image);
    void clearImageList();
    TrimInfo GetTrimInfo() const { return m_trim; }
    TrimInfo trimInfo() const;
    double GetProgressValue() const { return m_progress; }
    double progressValue() const;
    void reset();

    int imageCount() const { return m_images.size(); }
    bool isEmptyStrip() const { return m_empty; }
    uint64_t minorTickStep() const { return m_minorStep; }
    // Where the parts stand now, in widget coordinates (for tests and the pane's layout).
    QRect startHandleRect() const { return m_startRect; }
    QRect endHandleRect() const { return m_endRect; }
    QRect cursorHeadRect() const { return m_headRect; }
    QRect imageAreaRect() const { return m_imageArea; }
    int activePart() const { return m_activePart; }

signals:
    void emitProgressValueChanged(double value);
    void emitTrimInfoChanged(TrimInfo info);
    void sendPressEvent(QMouseEvent *event);
    void sendReleseEvent(QMouseEvent *event);

public slots:
    void SetProgressValue(double value);
    void SetTrimInfo(TrimInfo info);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    TrimStrip::Layout layout() const;
    void calcGeometry();
    // The part of each picture a cell shows; pictures arriving never move the handles a user may be holding.
    void calcSourceRect();
    void placeCursor();
    void centreCursorAt(int x);
    void showTimeTip(QMouseEvent *event, uint64_t time);
    void paintTimeScale(QPainter &painter);
    void paintPerforations(QPainter &painter, int topOffset);
    void paintShowImage(QPainter &painter);
    void paintStartEndImage(QPainter &painter);
    void paintsliderImage(QPainter &painter);

    int m_activePart = PartNone;
    int m_handleState = 0;
    QImage m_startImage;
    QImage m_endImage;
    QSize m_imageSize{9, 66};
    QImage m_cursorImage;
    QSize m_cursorSize{11, 10};
    int m_axisHeight = 23;
    QRect m_axisRect;
    QRect m_headRect;
    QRect m_lineRect;
    QRect m_stripRect;
    QRect m_contentRect;
    QMargins m_margins{0, 0, 0, 6};
    QColor m_rangeColor{255, 250, 112};
    QColor m_shadeColor{0, 0, 0, 128};
    QColor m_labelColor{181, 181, 181};
    QColor m_tickColor{119, 119, 119};
    QColor m_backgroundColor{25, 25, 25};
    QRect m_startRect;
    QRect m_endRect;
    QRect m_rangeRect;
    QRect m_startRectPress;
    QRect m_endRectPress;
    QRect m_rangeRectPress;
    QRect m_imageArea;
    QSize m_cellSize;
    QRect m_sourceRect;
    int m_imageInset = 4;
    uint64_t m_minorStep = 0;
    int m_paintImageCount = 10;
    QList<QImage> m_images;
    TrimInfo m_trim;
    double m_progress = 0.0;
    QPoint m_pressPoint;
    bool m_pressed = false;
    QFont m_labelFont;
    bool m_empty = true;
};
