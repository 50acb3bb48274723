#pragma once
// A transparent layer lying exactly over one video pane of the editor preview. It shows dashed boxes it is
// given (the crop box, or the two watermark boxes) in the pane's coordinates and turns every mouse event it
// receives into a signal for the preview controller, which does the dragging.
//
// It is either a translucent, frameless, top-most window of its own, or (`inParent`) a plain child laid
// over the pane inside its parent. The editor preview uses the child form: our video panes are Qt widgets
// that compose with children above them, while a translucent window needs a compositing manager (without
// one the pane under it shows black).

#include "QZTDialog.h"

#include <QList>
#include <QRect>

class QMediaDashedFrame;

class QMediaBorderFrame : public QZTDialog
{
    Q_OBJECT
public:
    explicit QMediaBorderFrame(QWidget *parent = nullptr, bool inParent = false);
    ~QMediaBorderFrame() override;

    void setDashedFrame(QRect rect, bool isVideoFrame);
    void setVideoDashedFrame(QRect rect) { m_videoDashedFrame = rect; }
    QRect getVideoDashedFrame() const { return m_videoDashedFrame; }
    void addDashFrameItem(QRect rect);
    void setDashFrameItemForList(QRect rect, int index);
    void setDashFrameItemShow(int index, bool show);
    bool isValid(int index) const { return index >= 0 && index < m_items.size(); }
    void setDashedFrameRect(QMediaDashedFrame *frame, QRect rect);
    void setVisible(bool visible) override;

    QMediaDashedFrame *dashedFrame() const { return m_dashedFrame; }
    QMediaDashedFrame *item(int index) const { return isValid(index) ? m_items[index] : nullptr; }
    int itemCount() const { return m_items.size(); }

signals:
    void emitMouseMoveEvent(QMouseEvent *event);
    void emitMousePressEvent(QMouseEvent *event);
    void emitMouseReleaseEvent(QMouseEvent *event);
    void emitWindowsActivate(bool active);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString borderImagePath() const;

    QMediaDashedFrame *m_dashedFrame = nullptr;
    QRect m_videoDashedFrame;
    QList<QMediaDashedFrame *> m_items;
};
