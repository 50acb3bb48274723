#pragma once
// Demuxing and decoding for the player: one media file, its video stream and one chosen audio stream.
// Used only on the player's own thread. Times are microseconds from the start of the media.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern "C" {
struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;
}

#include "audio_edit.h"
#include "info_raw_index.h"

namespace rsc {

class AudioFifo;

class PlayerSource
{
public:
    PlayerSource();
    ~PlayerSource();
    PlayerSource(const PlayerSource &) = delete;
    PlayerSource &operator=(const PlayerSource &) = delete;

    // `abort`, when given, is polled during blocking reads: set, they give up (so a close is prompt).
    // `program` and `video` choose the program (0-based; one the file lacks: refused) and the video stream
    // (0-based among that program's video streams, or the file's when it has no programs).
    bool open(const std::string &path, const std::atomic<bool> *abort = nullptr, int program = 0, int video = 0);
    void close();
    bool isOpen() const { return m_fmt != nullptr; }

    bool hasVideo() const { return m_video != nullptr; }
    bool hasAudio() const { return m_audio != nullptr; }
    int width() const;
    int height() const;
    // Display aspect (x, y); 0, 0 when the file gives none.
    void displayAspect(int *x, int *y) const;
    // Clockwise turn the file asks for on display: 0, 90, 180 or 270.
    int displayRotation() const;
    // Sample (pixel) aspect; 0, 1 for square pixels.
    void sampleAspect(int *num, int *den) const;
    int64_t durationUs() const { return m_durationUs; }
    int64_t frameDurationUs() const { return m_frameUs; }
    int audioStreamCount() const;
    bool selectAudio(int index); // 0-based among the audio streams
    int outputSampleRate() const { return m_outRate; }
    int outputChannels() const { return m_outChannels; }
    AVFormatContext *format() const { return m_fmt; }
    int videoStreamIndex() const { return m_videoIndex; }

    // The sound edits to apply to what is decoded from now on.
    // True when the sound edits changed.
    bool setAudioEdits(const edit::EditConfig &cfg, uint64_t generation)
    {
        return m_audioEdit.setEdits(cfg, generation);
    }

    // A file without sound under a background sound: silence stands for its sound, so that the background is
    // heard as over a silent sound track (as the jobs mix it).
    bool playsSilence() const { return !m_audio && m_video && m_audioEdit.hasBackground(); }
    // That silence through the sound edits into `fifo`, on from where it was given last, up to `untilUs` (media
    // time; the end of the media at most). Given nothing yet since a seek, or fallen behind `fromUs`, it starts
    // at `fromUs`, where the background is placed anew.
    void pumpSilence(AudioFifo &fifo, int64_t fromUs, int64_t untilUs);

    // Positions both decoders on the key frame at or before mediaUs (at or after it with `after`);
    // flushes everything.
    bool seek(int64_t mediaUs, bool after = false);

    // True when reaching the picture at mediaUs (ahead) by decoding on costs no more than a seek: the key
    // frame a seek would start from has been read already. Needs the file's index; false without one.
    bool reachesByDecoding(int64_t mediaUs) const;

    // Decodes until one video frame is produced (returned, owned by the caller, pts in microseconds in
    // frame->pts) or the end. Audio met on the way goes into `fifo` at or after `audioFromUs`.
    // Answers nullptr at the end of the media or on a read error.
    AVFrame *nextVideo(AudioFifo &fifo, int64_t audioFromUs);
    // An exact seek needs only the picture showing at its target: pictures nothing refers to that have left
    // the screen well before `mediaUs` are not decoded, nor sound that ends well before it. INT64_MIN
    // decodes everything again.
    void skipUnreferencedBefore(int64_t mediaUs);
    // While set, an exact seek to mediaUs is running: once every picture up to it has been sent, the video
    // decoder is drained instead of being fed the pictures after it (frame threads hold each picture back
    // until several more are sent). The pictures after the target then need the decoder brought back to
    // where it stopped: the next pump() calls do that once this is cleared (INT64_MIN).
    void drainAfter(int64_t mediaUs) { m_drainAfterUs = mediaUs; }
    // True while the decoder has to be brought back after a drain (pump() does it, a packet at a time).
    bool resyncPending() const { return m_drained; }
    // Decodes one more packet's worth; false at the end. Video frames go to the queued list.
    bool pump(AudioFifo &fifo, int64_t audioFromUs);
    // Puts a frame taken with nextVideo() back in front of the queue.
    void unget(AVFrame *frame) { m_ready.push_front(frame); }
    bool atEnd() const { return m_eof && m_flushed && m_ready.empty(); }
    size_t queuedVideo() const { return m_ready.size(); }

private:
    bool openDecoder(int streamIndex, AVCodecContext **ctx);
    void receiveVideo();
    void receiveAudio(AudioFifo &fifo, int64_t fromUs);
    int64_t toMediaUs(int64_t pts, int streamIndex) const;
    bool soundLongBefore(const AVPacket *packet, int64_t mediaUs) const;
    // True for a packet of sound read before, met again while the decoder is brought back.
    bool soundRead(const AVPacket *packet);
    bool positionDemuxer(int64_t mediaUs, bool after);
    void drainVideo();
    bool startResync();
    int64_t m_skipBeforeUs = INT64_MIN;
    int64_t m_lastVideoDts = INT64_MIN; // of the last video packet read since the seek, stream time base
    // Draining at an exact seek and bringing the decoder back afterwards.
    int64_t m_seekUs = 0;
    bool m_seekAfter = false;
    int64_t m_drainAfterUs = INT64_MIN;
    bool m_drained = false;
    bool m_resyncing = false;
    bool m_seekOk = false;              // the decoder can be brought back: the demuxer seeks
    int64_t m_drainAt = 0;              // decoding time of the packet the drain stopped at
    int64_t m_producedUs = INT64_MIN;   // the last picture produced
    int64_t m_dropUpToUs = INT64_MIN;   // pictures up to this were produced before the drain
    int64_t m_lastAudioPts = INT64_MIN; // of the last sound packet read, stream time base
    static constexpr int kNoSuchChoice = -2;
    int chooseVideo(int program, int video) const; // a stream index, -1 for none, or kNoSuchChoice
    void resetAudioConverter();
    // The next picture's time when the decoder gives none.
    int64_t untimedPictureUs();

    // A raw elementary stream (see info_raw_index.h): pictures are numbered from the clean start a seek
    // lands on; the index of clean starts is read by a thread of its own, which a seek waits for.
    void startRawIndex(const std::string &path);
    void stopRawIndex();
    bool m_raw = false;
    AVRational m_rawRate{0, 1};
    int64_t m_rawNext = 0; // number of the next picture the decoder hands out
    int64_t m_rawSent = 0; // number of the next packet sent to it
    std::shared_ptr<RawFrameIndex> m_rawIndex;
    std::thread m_rawScan;
    std::atomic<bool> m_rawStop{false};
    const std::atomic<bool> *m_abort = nullptr;

    AVFormatContext *m_fmt = nullptr;
    AVCodecContext *m_video = nullptr;
    AVCodecContext *m_audio = nullptr;
    SwrContext *m_swr = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_frame = nullptr;
    int m_videoIndex = -1;
    int m_audioIndex = -1;
    int64_t m_startUs = 0;
    int64_t m_durationUs = 0;
    int64_t m_frameUs = 40000;
    int m_outRate = 0;
    int m_outChannels = 0;
    bool m_eof = false;
    bool m_flushed = false;
    std::deque<AVFrame *> m_ready;
    // Resampled sound of one decoded frame; kept so that each frame does not allocate it again.
    std::vector<int16_t> m_converted;
    AudioEdit m_audioEdit;
    // The silence of a file without sound: where it started and how many samples it has given since.
    int64_t m_silenceFromUs = INT64_MIN;
    int64_t m_silentSamples = 0;
    AVFrame *m_silence = nullptr;
};

} // namespace rsc
