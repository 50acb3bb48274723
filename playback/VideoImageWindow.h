#pragma once
// The main window's preview surface: a black frameless window with the video host letterboxed inside,
// full-screen toggle on double click, and mouse signals for the player's controls.

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <memory>

class QMouseEvent;
class VideoFrameSink;
class QVideoShowWidget;

namespace Ui {
class VideoImageWindow;
} // namespace Ui

class VideoImageWindow : public QWidget
{
    Q_OBJECT

public:
    // Rows at the bottom of the full-screen window that bring the controls up.
    static constexpr int kControlBand = 80;

    explicit VideoImageWindow(QWidget *parent = nullptr);
    ~VideoImageWindow() override;

    // The video host from the form.
    QVideoShowWidget *imageWidget() const { return m_ImageWidget; }

    void setVideoScale(int width, int height);
    void setVideoSize(int width, int height);
    void showNormal();
    void showFullScreen();

    void SetOpenGl(bool openGl);
    void reshape();
    bool showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride);
    bool showYUVImage(unsigned char **planes, int width, int height, int *strides);
    std::shared_ptr<VideoFrameSink> frameSink() const;

    QRect getVideoRect() const;
    WId getWId() const;
    void refresh();
    void SetImgBorderRect(QRect rect);
    void ShowImageBorder(bool show);

signals:
    void emitFullScreen();
    void emitShowBtn(bool show);
    void emitPlayOrPause();
    void emitMouseMove(QMouseEvent *event);
    void emitMouseDown(QMouseEvent *event);
    void emitMouseUp(QMouseEvent *event);
    void emitMouseLeave();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void letterbox();

    std::unique_ptr<Ui::VideoImageWindow> m_ui;
    QVideoShowWidget *m_ImageWidget = nullptr;

    int m_videoWidth = 0;
    int m_videoHeight = 0;
    QPoint m_pressPos;
    QRect m_imgBorderRect;
};
