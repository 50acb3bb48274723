#pragma once
// Re-encoding join: the output takes the first clip's parameters (or the caller's); every clip is decoded,
// run through its edit pipeline, fitted to the output's picture and sound format and encoded on one
// continuous time line. At each join the clip's sound is padded with silence or cut to its picture, so audio
// and video never drift apart however many clips are joined.

#include "decode_input.h"
#include "encode_output.h"
#include "filter_graph.h"
#include "filter_video.h"
#include "job_engine.h"
#include "mux_output.h"

#include <memory>

namespace rsc::job {

class ReencodeMerger : public MergeEngine
{
public:
    ~ReencodeMerger() override;
    bool open(const std::string &path, const std::string &container, const rsc::edit::EditConfig &cfg,
              std::string *error) override;
    bool prepare(const TaskSpec &task, std::string *error) override;
    bool run(Progress &progress, const std::atomic<bool> &stop, std::string *error) override;
    bool finish(bool complete, std::string *error) override;

private:
    struct ClipState;
    static bool filesReadable(const rsc::edit::EditConfig &edit, std::string *error);
    bool openVideoGraph(ClipState &st, const AVFrame *first, std::string *error);
    bool openAudioGraph(ClipState &st, const AVFrame *first, std::string *error);
    bool decodeAndFilter(ClipState &st, AVCodecContext *dec, AVPacket *pkt, bool video, std::string *error);
    bool drainVideo(ClipState &st);
    bool drainAudio(ClipState &st);
    // Silence in the clip's sound format from where its sound given to the sound graph ends up to `untilUs`
    // (clip time from the trim start): it fills the gaps of the clip's sound and, under a background, stands
    // for the sound of a clip that has none, so the background is mixed in as over a silent sound track.
    bool fillSound(ClipState &st, int64_t untilUs, std::string *error);
    bool writeBlackUpTo(ClipState &st, int64_t frames);
    bool padAudioTo(const ClipState &st, int64_t totalSamples);
    bool endClip(ClipState &st);
    // Moves the progress to the output written so far; false once a stop is asked for. Every loop that repeats
    // pictures or makes silence looks here for each frame or piece it writes.
    bool keepGoing(const ClipState &st);
    // Output time written so far: the pictures' when there are pictures, else the sound's.
    int64_t outputPositionUs() const;

    OutputFile m_output;
    Encoders m_encoders;
    rsc::edit::CodecValues m_values;
    std::unique_ptr<InputClip> m_clip;
    TaskSpec m_task;
    FramePtr m_lastPicture; // the latest picture written, repeated where a clip's picture ends early
    FramePtr m_black;
    bool m_broken = false;
    const std::atomic<bool> *m_stop = nullptr; // the running task's stop and progress
    Progress *m_progress = nullptr;
};

} // namespace rsc::job
