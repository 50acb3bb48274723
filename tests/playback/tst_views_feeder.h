#pragma once
// Workers that hand frames to a video view, or to its host's sink, from outside the GUI thread, as the
// codec library's frame handler does.

#include "VideoFrameSink.h"
#include "tst_views_frames.h"

#include <atomic>
#include <memory>
#include <thread>

namespace viewtest {

// Offers the frame `count` times from a worker while the GUI thread runs no event loop; how many the view
// accepted.
template <typename View> int acceptFromWorker(View &view, const PlanarFrame &frame, int count)
{
    std::atomic<int> accepted{0};
    std::thread worker([&] {
        for (int i = 0; i < count; ++i)
            accepted += view.acceptFrame(frame.desc()) ? 1 : 0;
    });
    worker.join();
    return accepted.load();
}

// Delivers the frame through the sink over and over until stopped (at the latest when destroyed), counting
// the deliveries the sink took.
class SinkFeeder
{
public:
    SinkFeeder(std::shared_ptr<VideoFrameSink> sink, const PlanarFrame &frame)
        : m_thread([this, sink, &frame] {
              while (!m_stop.load()) {
                  if (sink->deliver(frame.desc()))
                      ++m_delivered;
                  else
                      std::this_thread::yield();
              }
          })
    {}
    ~SinkFeeder() { stop(); }
    SinkFeeder(const SinkFeeder &) = delete;
    SinkFeeder &operator=(const SinkFeeder &) = delete;

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    int delivered() const { return m_delivered.load(); }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_delivered{0};
    std::thread m_thread; // last, so that it starts after the flags exist
};

} // namespace viewtest
