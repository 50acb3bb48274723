#pragma once
// The scroll area that holds the media list's rows: a press on empty space starts a selection by
// dragging, the list scrolls by itself while the pointer is held near its top or bottom edge, and the
// dragged span is reported as two points in content coordinates. It knows nothing of clips.

#include <QPoint>
#include <QScrollArea>

class QTimer;

class QScrollAreaFrameSelection : public QScrollArea
{
    Q_OBJECT
public:
    explicit QScrollAreaFrameSelection(QWidget *parent = nullptr);

    bool isSelecting() const { return m_selecting; }
    void sendSelectChangePt();

signals:
    void emitSelectPtChange(QPoint startPt, QPoint endPt);
    void emitScrollBarShow(bool bShow);

public slots:
    void itemPressStart();
    void itemRelease();
    void mouseChangeSliderTimer();

protected:
    bool event(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void startAt(const QPoint &p);

    bool m_selecting = false;
    QTimer *m_timer = nullptr;
    bool m_up = true;
    QPoint m_start;
    QPoint m_current;
    int m_lastY = -1;
    bool m_barShown = false;
};
