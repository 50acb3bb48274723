#pragma once
// rsc_info: one opened media source (file, memory stream) and the current stream of each kind.

#include "ffmpeg_raii.h"
#include "info_raw_index.h"
#include "memstream_reader.h"
#include "rscodec.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct rsc_info
{
    rsc::InputFormatPtr ctx;
    rsc::IOContextPtr io; // custom I/O of a memory stream; freed after ctx
    rsc::MemReader reader;

    // Stream numbers of the current program, by kind (attached pictures are not video).
    std::vector<int> video, audio, subtitle;
    int program = 0;
    int currentVideo = 0, currentAudio = 0;
    int currentSubtitle = 0; // -1 = none

    // An external subtitle file chosen as the subtitle source.
    rsc::InputFormatPtr subtitleFile;
    int subtitleFileStream = 0;
    bool closedCaption = false;

    rsc_cover_image cover{nullptr, 0};
    int64_t estimatedDurationUs = 0;              // raw elementary streams state no length: counted or estimated
    std::unique_ptr<rsc::RawFrameIndex> rawIndex; // such a stream's clean starts, learnt as images are taken
    std::string formatNames;
    std::string formatId;
    std::string brand;                // a Matroska file's DocType, answered as its major brand
    std::set<unsigned char *> images; // still images handed out and not yet freed
    // UTF-8 copies of texts the file stores in Latin-1, by their stored form; stable until the close.
    std::map<std::string, std::string> convertedTexts;

    ~rsc_info();
};

namespace rsc {

// Opens a file by path; answers false for anything that is not a readable media file (`why`, when given,
// then says what was wrong with it when it could be read).
bool infoOpenFile(rsc_info *info, const char *path, std::string *why = nullptr);
bool infoOpenStream(rsc_info *info, rsc_memstream *stream);
void infoClose(rsc_info *info);

// Fills the stream lists for the given program (0 when the file has none). False when out of range.
bool infoSelectProgram(rsc_info *info, int program);

// The current AVStream of a kind, or null.
AVStream *infoCurrentStream(rsc_info *info, int kind);

} // namespace rsc
