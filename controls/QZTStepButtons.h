#pragma once
// The two image step buttons of the skinned spin boxes and date edits and their hold-to-repeat: one
// 100 ms timer at a time, counting six ticks before it steps, stopped on release, hide, disable and focus
// loss of the host (so a step never runs on without a held button).

#include <QMargins>
#include <QObject>
#include <QTimer>

class QAbstractSpinBox;
class QZTBaseButton;

class QZTStepButtons : public QObject
{
    Q_OBJECT
public:
    explicit QZTStepButtons(QAbstractSpinBox *host);
    ~QZTStepButtons() override;

    // Replaces both buttons; false (and no buttons: the host keeps Qt's arrows) when the up file is missing.
    bool setImages(const QString &up, const QString &down, bool keepSize);
    // Margins are kept as 16-bit values; the host repaints and updates its size hint.
    void setMargins(int left, int top, int right, int bottom);
    QMargins margins() const { return m_margins; }
    QZTBaseButton *upButton() const { return m_up; }
    QZTBaseButton *downButton() const { return m_down; }
    void place();
    bool isRepeating() const { return m_timer.isActive(); }
    int tickCount() const { return m_ticks; }

public slots:
    void press(bool up);
    void release();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tick();
    void deleteButtons();

    QAbstractSpinBox *m_host = nullptr;
    QZTBaseButton *m_up = nullptr;
    QZTBaseButton *m_down = nullptr;
    QMargins m_margins = QMargins(-1, 0, 0, 0);
    bool m_keepSize = true;
    QTimer m_timer;
    bool m_stepUp = true;
    int m_ticks = 0;
};
