#pragma once
// Horizontal bar drawn from a track and a fill image that grows with the value, with an optional
// draggable handle and percentage text; a vertical mode paints plain colour fills.

#include <QPixmap>
#include <QWidget>

class QSliderCtrlBtn;

class qSliderCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit qSliderCtrl(QWidget *parent = nullptr);

    void setCircle(bool on) { m_circle = on; }
    void setCircleLenght(int length) { m_endLength = length; }
    void setEnabledPull(bool on) { m_drag = on; }
    void setShowValue(bool on) { m_showValue = on; }
    void SetVerticalMode(bool on);
    void setBtnHide();
    void setWidth(int w);
    // The image setters report false and keep the previous image when the file does not load.
    bool setBottomImage(const QString &path);
    bool setTopImage(const QString &path);
    bool setBtnImage(const QString &path);
    void setValue(float v);
    void setValueRange(long long minimum, long long maximum);
    float getValue() const;
    void resizeWidth();

    float position() const { return m_position; }
    float percent() const { return m_percent; }
    QSliderCtrlBtn *handle() const { return m_handle; }

signals:
    void sendProgressValue(double fraction);

public slots:
    void btnMouseMove(QMouseEvent *e, int x);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    int usable() const { return width() - m_handleWidth; }
    double fraction() const;
    void placeHandle(int x);
    void paintRounded(QPainter &p);
    void paintPercentText(QPainter &p);

    QPixmap m_handleImage;
    QPixmap m_track;
    QPixmap m_fill;
    int m_trackWidth = 0;
    int m_trackHeight = 0;
    QSliderCtrlBtn *m_handle = nullptr;
    float m_position = 0;
    long long m_minimum = 0;
    long long m_maximum = 100;
    float m_percent = 0;
    int m_handleTop = 0;
    int m_handleWidth = 0;
    bool m_hideHandle = false;
    bool m_circle = false;
    int m_endLength = 5;
    bool m_drag = true;
    bool m_showValue = false;
    bool m_vertical = false;
};
