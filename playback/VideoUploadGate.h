#pragma once
// Admission and hand-over of copied frames from a delivering thread to the GUI thread, shared by the
// OpenGL and the bitmap view. At most kMaxPending uploads wait in the GUI thread's queue; further frames
// are dropped (a clearing frame is always admitted). Every admitted frame is counted down exactly once:
// either when its upload runs, or at once when it could not be copied or posted. An upload queued before
// invalidate() is counted down but not applied, and uploads never outlive the view that owns the gate:
// they are posted to the view itself, so Qt discards them together with the view.

#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <utility>

class VideoUploadGate
{
public:
    static constexpr int kMaxPending = 9;

    // Any thread. `entry` names the caller in the drop message.
    bool admit(bool clearing, const char *entry);
    // Any thread: an admitted frame that will not be posted after all.
    void cancel();

    // Any thread: runs `apply` on `context`'s thread unless the gate was invalidated in between. The gate
    // must be a member of `context`.
    template <class Apply> bool post(QObject *context, Apply apply)
    {
        const quint64 generation = m_generation.load();
        const bool posted = QMetaObject::invokeMethod(
            context,
            [this, generation, apply = std::move(apply)]() mutable {
                m_pending.fetch_sub(1);
                if (generation == m_generation.load())
                    apply();
            },
            Qt::QueuedConnection);
        if (!posted)
            cancel();
        return posted;
    }

    // GUI thread: uploads already queued are still counted down, but no longer applied.
    void invalidate() { m_generation.fetch_add(1); }

    int pending() const { return m_pending.load(); }
    quint64 dropped() const { return m_dropped.load(); }

private:
    std::atomic<int> m_pending{0};
    std::atomic<quint64> m_generation{0};
    std::atomic<quint64> m_dropped{0};
    std::atomic<bool> m_dropping{false};
};
