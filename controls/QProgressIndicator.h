#pragma once
// A small spinning busy indicator: twelve spokes fading around the centre, turned by 30 degrees per tick.

#include <QColor>
#include <QWidget>

class QProgressIndicator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int delay READ animationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool displayedWhenStopped READ isDisplayedWhenStopped WRITE setDisplayedWhenStopped)
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    enum IndicatorPolicy { Bars = 1, Dots = 2 };

    explicit QProgressIndicator(QWidget *parent = nullptr);

    int animationDelay() const { return m_delay; }
    bool isAnimated() const { return m_timerId != -1; }
    bool isDisplayedWhenStopped() const { return m_displayedWhenStopped; }
    const QColor &color() const { return m_color; }
    int angle() const { return m_angle; }
    void setIndicatorPolicy(IndicatorPolicy policy) { m_policy = policy; }
    QSize sizeHint() const override { return QSize(20, 20); }
    int heightForWidth(int w) const override { return w; }

public slots:
    void startAnimation();
    void stopAnimation();
    void setAnimationDelay(int delay);
    void setDisplayedWhenStopped(bool state);
    void setColor(const QColor &color);

protected:
    virtual void DrawAnimation(QPainter &painter);
    void timerEvent(QTimerEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    int m_angle = 0;
    int m_timerId = -1;
    int m_delay = 40;
    bool m_displayedWhenStopped = false;
    QColor m_color = Qt::black;
    IndicatorPolicy m_policy = Bars;
};
