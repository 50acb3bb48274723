#include "VideoUploadGate.h"

#include <QtGlobal>

bool VideoUploadGate::admit(bool clearing, const char *entry)
{
    int pending = m_pending.load();
    for (;;) {
        if (!clearing && pending >= kMaxPending) {
            m_dropped.fetch_add(1);
            // Once per run of drops: a blocked GUI thread would otherwise flood the log at the frame rate.
            if (!m_dropping.exchange(true))
                qInfo("%s too slow...", entry);
            return false;
        }
        if (m_pending.compare_exchange_weak(pending, pending + 1)) {
            m_dropping.store(false);
            return true;
        }
    }
}

void VideoUploadGate::cancel()
{
    m_pending.fetch_sub(1);
}
