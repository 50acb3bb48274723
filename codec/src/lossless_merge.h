#pragma once
// Lossless joining: every packet of every clip is copied unchanged; only the timestamps are rebased so the
// output time line is continuous and strictly increasing across the joins. Clips whose streams differ from
// the output's (codec, picture, sound format, private data) are refused before anything is written.

#include "decode_input.h"
#include "job_engine.h"
#include "lossless_timing.h"
#include "mux_output.h"

#include <memory>

namespace rsc::job {

// The n-th subtitle stream of a source (0-based, counting subtitle streams only) when a lossless join
// into `muxer` carries it as a stream: the container must hold its format (SubRip or ASS in Matroska,
// mov_text in MP4/MOV). Null otherwise. The join and rsc_job_lossless_carries_subtitle both ask this.
AVStream *carriedSubtitle(AVFormatContext *source, int n, const AVOutputFormat *muxer);

class LosslessMerger : public MergeEngine
{
public:
    ~LosslessMerger() override;
    bool open(const std::string &path, const std::string &container, const rsc::edit::EditConfig &cfg,
              std::string *error) override;
    bool prepare(const TaskSpec &task, std::string *error) override;
    bool run(Progress &progress, const std::atomic<bool> &stop, std::string *error) override;
    bool finish(bool complete, std::string *error) override;

    // Whether the task's clip, copied as a join copies it, can be written into the container at all: the
    // join's own steps (streams, header, the first packets, trailer) on an output that writes nowhere.
    static bool canWrite(const std::string &container, const TaskSpec &task, std::string *error);

private:
    struct Track
    {
        AVStream *out = nullptr;
        AVCodecParameters *params = nullptr; // the first clip's, for the join checks
        int input = -1;                      // stream index in the prepared clip
        int64_t lastDts = AV_NOPTS_VALUE;    // output time base
        int64_t end = AV_NOPTS_VALUE;        // output time base: pts + duration of the latest packet
        int64_t offset = 0;                  // added to the clip's timestamps (output time base)
        bool offsetSet = false;
        bool timingChecked = false; // the clip's first packet of the stream was seen
        bool deriveDts = false;     // the clip's container stores presentation times only
        DtsFromPts dtsFromPts;
        bool done = false;
    };

    bool createStreams(const InputClip &clip, const AVBSFContext *byteStream, std::string *error);
    bool toByteStream(AVPacket *pkt, AVBSFContext *filter, bool firstOfClip);
    bool canJoin(const AVCodecParameters *ref, const AVCodecParameters *par, std::string *error) const;
    int64_t positionUs() const;
    // The clip's chapters once it is joined: it spans [fromUs, toUs) of clip time, from outputStartUs on.
    void addChapters(InputClip &clip, int64_t fromUs, int64_t toUs, int64_t outputStartUs);

    OutputFile m_output;
    Track m_video;
    Track m_audio;
    Track m_subtitle; // the chosen subtitle stream, where the container holds its format
    std::unique_ptr<InputClip> m_clip;
    BsfPtr m_byteStream; // the prepared clip's pictures into the byte-stream form the container stores
    TaskSpec m_task;
    int m_trialPackets = 0; // canWrite(): the packets a trial writes
    int m_videoRotation = 0;
    bool m_picturesCounted = false; // AVI: a picture's place is its number, not a time
    bool m_broken = false;
};

} // namespace rsc::job
