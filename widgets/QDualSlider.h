#pragma once
// Image-drawn horizontal slider with a start and an end handle bracketing a range and a play handle
// marking a position; in plain mode a one-value progress slider with an optional "%1%" text.

#include <QPixmap>
#include <QWidget>

class QSliderCtrlBtn;

class QDualSlider : public QWidget
{
    Q_OBJECT
public:
    explicit QDualSlider(QWidget *parent = nullptr);

    void setCircle(bool on) { m_capped = on; }
    void setCircleLenght(int length) { m_capLength = length; }
    void setEnabledPull(bool on) { m_dragging = on; }
    void setValueRange(long long minimum, long long maximum);
    void showPlayBtn(bool show);
    void setBtnHide();
    void setWidth(int w);
    // The image setters report false and keep what was there when the file does not load.
    bool setBottomImage(const QString &path);
    bool setTopImage(const QString &path);
    bool setBtnBgImage(const QString &path);
    bool setStartBtnImage(const QString &path, int y);
    bool setEndBtnImage(const QString &path);
    bool setProgressBtnImage(const QString &path, int y);
    void setStartBtnToolTip(const QString &tip);
    void setEndBtnToolTip(const QString &tip);
    double getStartValue() const { return toFraction(m_ps); }
    double getEndValue() const { return toFraction(m_pe); }
    double getPlayValue() const { return toFraction(m_pp); }
    float getValue() const;
    bool GetFocusInStartBtn() const { return m_focusInStart; }
    void SetFocusInStartBtn(bool on) { m_focusInStart = on; }
    void setStartValue(float percent);
    void setEndValue(float percent);
    void setPlayValue(float percent, bool notify);
    void resetStartEndValue();

    float startPos() const { return m_ps; }
    float endPos() const { return m_pe; }
    float playPos() const { return m_pp; }
    float value() const { return m_value; }
    QSliderCtrlBtn *startHandle() const { return m_start; }
    QSliderCtrlBtn *endHandle() const { return m_end; }
    QSliderCtrlBtn *playHandle() const { return m_play; }

signals:
    void sendProgressValue(double fraction);
    void sendEndProgressValue(double fraction);
    void sendPlayProValue(double fraction);
    void emitPreviousFrame();
    void emitNextFrame();
    void emitMousePress();
    void emitmouseRelease();

public slots:
    void btnMouseMove(QMouseEvent *e, int x);
    void btnEndMouseMove(QMouseEvent *e, int x);
    void btnProMouseMove(QMouseEvent *e, int x);
    void btnMousePress(QMouseEvent *e, int x);
    void btnMouseRelease(QMouseEvent *e, int x);
    void setValue(float Value);
    void setShowValue(bool flag) { m_showValue = flag; }

protected:
    // A new handle button; a slider family with its own handle class makes its handles here.
    virtual QSliderCtrlBtn *createHandle();
    // A press on the slider itself writes a line to the debug stream, unless a slider family turns it off.
    void setPressLogged(bool on) { m_logPress = on; }
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    // Length that positions are reported against; fractions are 0 while it is not positive.
    int span() const { return width() - 2 * m_sw; }
    double toFraction(float p) const { return span() > 0 ? double(p) / span() : 0.0; }
    QSliderCtrlBtn *makeHandle(QSliderCtrlBtn *existing, const QString &path, bool &ok);
    int globalX(QMouseEvent *e) const;
    void movePlayFromSlider(int c, bool isPress);
    void paintCapped(QPainter &p);
    void setHandleTip(QSliderCtrlBtn *handle, const QString &tip);

    QPixmap m_bottom;
    QPixmap m_top;
    QPixmap m_handleBg;
    int m_bw = 0;
    int m_bh = 0;
    QSliderCtrlBtn *m_start = nullptr;
    QSliderCtrlBtn *m_end = nullptr;
    QSliderCtrlBtn *m_play = nullptr;
    float m_ps = 0;
    float m_pe = 0;
    float m_pp = 0;
    long long m_minimum = 0;
    long long m_maximum = 100;
    float m_value = 0;
    int m_rowY = 0;
    int m_sw = 0;
    int m_ew = 0;
    int m_pw = 0;
    int m_playY = 0;
    bool m_hoverShow = false;
    bool m_capped = false;
    int m_capLength = 5;
    bool m_dragging = true;
    bool m_showValue = false;
    bool m_focusInStart = true;
    bool m_hovered = false;
    bool m_logPress = true;
};
