#pragma once
// The four-state look shared by the image-strip controls: normal 0, hover 1, pressed 2, disabled 3, the
// frame each state shows, and the text colour of each state.

#include <QColor>

class StripButtonState
{
public:
    int state() const { return m_state; }
    void setState(int state) { m_state = state; }
    void setOverState(bool over) { m_overState = over; }

    // Each transition returns true when the state changed and the control should repaint at once. A
    // disabled control always goes to (and stays in) the disabled state without a repaint.
    bool enter(bool enabled) { return moveTo(enabled, 1, m_state != 1); }
    bool leave(bool enabled) { return moveTo(enabled, 0, m_state == 1); }
    bool press(bool enabled) { return moveTo(enabled, 2, m_state != 2); }
    bool release(bool enabled) { return moveTo(enabled, 0, m_state == 2); }
    void enabledChanged(bool enabled) { m_state = enabled ? 0 : 3; }

    // Strip frame of the current state (the disabled state shows the pressed frame with the over-state
    // flag); -1 for a state value outside 0..3.
    int frameIndex() const
    {
        switch (m_state) {
        case 0:
        case 1:
        case 2:
            return m_state;
        case 3:
            return m_overState ? 2 : 3;
        default:
            return -1;
        }
    }

private:
    bool moveTo(bool enabled, int target, bool when)
    {
        if (!enabled) {
            m_state = 3;
            return false;
        }
        if (!when)
            return false;
        m_state = target;
        return true;
    }

    int m_state = 0;
    bool m_overState = false;
};

// Text colour per state, and the colour the last paint used.
struct StripTextColours
{
    QColor normal = QColor(0, 0, 0);
    QColor hover = QColor(0, 0, 0);
    QColor pressed = QColor(0, 0, 0);
    QColor disabled = QColor(0, 0, 0);
    QColor current = QColor(0, 0, 0);

    void setAll(const QColor &c) { normal = hover = pressed = disabled = current = c; }
    void set(const QColor &n, const QColor &h, const QColor &p, const QColor &d)
    {
        normal = n;
        hover = h;
        pressed = p;
        disabled = d;
    }
    // Colour of a state 0..3 (unchanged current colour for anything else).
    QColor forState(int state) const
    {
        switch (state) {
        case 0:
            return normal;
        case 1:
            return hover;
        case 2:
            return pressed;
        case 3:
            return disabled;
        default:
            return current;
        }
    }
};
