#pragma once
// The track-wise job: an output written from elementary-stream packets the caller hands to its tracks,
// copied as they are (no decoding). A track queues packets (µs timestamps) until the job's thread takes
// them; the job writes them interleaved by decoding time and ends when every track has ended.

#include "job_engine.h"
#include "job_ffmpeg.h"
#include "mux_output.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace rsc::job {

class PacketTrack
{
public:
    explicit PacketTrack(int kind) : m_kind(kind) {}
    int kind() const { return m_kind; }

    // Settings: refused (false) once a job has taken the track, or for values that make no sense.
    bool setFormat(uint32_t codecId);
    bool setVideoSize(uint32_t width, uint32_t height);
    bool setFrameRate(uint32_t rate, uint32_t scale);
    bool setDisplayAspect(uint32_t x, uint32_t y);
    bool setAudioFormat(uint32_t sampleRate, uint32_t channels);
    bool setTimeBase(uint32_t num, uint32_t den);
    bool setPrivateData(const unsigned char *data, uint32_t size);

    // Takes the track for a job: fills the output stream. False when the track lacks what its kind needs.
    bool attach(AVStream *stream, std::string *error);
    // Gives the track back after a refused open, for another try.
    void detach();

    // Producer side. A null, empty packet ends the track. Packets whose decoding time does not increase,
    // whose presentation time precedes it, or that come after the end are refused.
    bool add(int64_t ptsUs, int64_t dtsUs, int64_t durationUs, bool key, const unsigned char *data, uint32_t size);
    void end();

    // Consumer side (the job's thread).
    enum class State { Packet, Empty, Ended };
    State front(int64_t *dtsUs);
    PacketPtr take();
    void waitForPacket(int ms);
    void noteWritten(int64_t endUs);
    uint64_t writtenEndUs() const { return uint64_t(std::max<int64_t>(0, m_writtenEnd.load())); }

private:
    const int m_kind;
    mutable std::mutex m_lock;
    std::condition_variable m_arrived;
    bool m_attached = false;
    bool m_ended = false;
    AVCodecID m_codec = AV_CODEC_ID_NONE;
    uint32_t m_width = 0, m_height = 0;
    AVRational m_frameRate{0, 1};
    AVRational m_aspect{0, 1};
    uint32_t m_sampleRate = 0, m_channels = 0;
    AVRational m_timeBase{0, 1};
    std::vector<unsigned char> m_private;
    int64_t m_lastDts = INT64_MIN;
    std::deque<PacketPtr> m_queue;
    std::atomic<int64_t> m_writtenEnd{0};
};

class TrackMuxer : public MergeEngine
{
public:
    explicit TrackMuxer(std::vector<std::shared_ptr<PacketTrack>> tracks) : m_tracks(std::move(tracks)) {}
    ~TrackMuxer() override;
    bool open(const std::string &path, const std::string &container, const rsc::edit::EditConfig &cfg,
              std::string *error) override;
    // The task names no source: the packets come from the tracks. Creates the file.
    bool prepare(const TaskSpec &task, std::string *error) override;
    bool run(Progress &progress, const std::atomic<bool> &stop, std::string *error) override;
    bool finish(bool complete, std::string *error) override;

private:
    std::vector<std::shared_ptr<PacketTrack>> m_tracks;
    std::vector<AVStream *> m_streams;          // one per attached track, in order
    std::vector<rsc::edit::Chapter> m_chapters; // the caller's, placed once the output's length is known
    OutputFile m_output;
};

} // namespace rsc::job
