#include "mux_output.h"

#include "edit_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/opt.h>
}

namespace rsc::job {

namespace {

// Container names that are file extensions and would pick the wrong muxer by name: "m4v" names FFmpeg's
// raw MPEG-4 video muxer (no sound), "m4r" no muxer at all; both are MPEG-4 files of the iPod kind.
const char *muxerNameFor(const std::string &container)
{
    static const struct
    {
        const char *name;
        const char *muxer;
    } aliases[] = {{"m4v", "ipod"}, {"m4r", "ipod"}, {"m4a", "ipod"}};
    for (const auto &a : aliases) {
        if (container == a.name)
            return a.muxer;
    }
    return container.c_str();
}

} // namespace

OutputFile::~OutputFile()
{
    finish(false);
}

bool OutputFile::createTrial(const std::string &container, std::string *error)
{
    const AVOutputFormat *fmt = muxerFor(container);
    if (!fmt) {
        if (error)
            *error = "unknown container " + container;
        return false;
    }
    if (avformat_alloc_output_context2(&m_format, fmt, nullptr, nullptr) < 0 || !m_format) {
        if (error)
            *error = "out of memory";
        return false;
    }
    m_trial = true;
    return true;
}

bool OutputFile::openTrialIO()
{
    auto *buffer = static_cast<unsigned char *>(av_malloc(64 << 10));
    m_trialIO = buffer ? avio_alloc_context(buffer, 64 << 10, 1, this, nullptr, &OutputFile::discardWrite,
                                            &OutputFile::discardSeek)
                       : nullptr;
    if (!m_trialIO) {
        av_free(buffer);
        return false;
    }
    m_format->pb = m_trialIO;
    m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    return true;
}

int OutputFile::discardWrite(void *opaque, uint8_t *, int size)
{
    auto *self = static_cast<OutputFile *>(opaque);
    self->m_trialPos += size;
    self->m_trialEnd = std::max(self->m_trialEnd, self->m_trialPos);
    return size;
}

int64_t OutputFile::discardSeek(void *opaque, int64_t offset, int whence)
{
    auto *self = static_cast<OutputFile *>(opaque);
    if (whence & AVSEEK_SIZE)
        return self->m_trialEnd;
    const int w = whence & ~AVSEEK_FORCE;
    const int64_t base = w == SEEK_CUR ? self->m_trialPos : w == SEEK_END ? self->m_trialEnd : 0;
    if (base + offset < 0)
        return AVERROR(EINVAL);
    self->m_trialPos = base + offset;
    return self->m_trialPos;
}

std::string OutputFile::problem() const
{
    if (!m_placeError.empty())
        return m_placeError;
    const std::string why = m_io.writeProblem();
    if (!why.empty())
        return "cannot write the output: " + why;
    return m_muxError.empty() ? std::string("cannot write the output") : "cannot write the output: " + m_muxError;
}

bool OutputFile::create(const std::string &path, const std::string &container, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    const AVOutputFormat *fmt = muxerFor(container);
    if (!fmt)
        fmt = av_guess_format(nullptr, path.c_str(), nullptr);
    if (!fmt)
        return fail("unknown container " + container);
    if (avformat_alloc_output_context2(&m_format, fmt, nullptr, path.c_str()) < 0 || !m_format)
        return fail("out of memory");
    // The file itself is created with the header, once the first clip is known: a source given as the
    // output by mistake is refused before anything overwrites it.
    std::string dir = path.substr(0, path.find_last_of('/') + 1);
    if (dir.empty())
        dir = ".";
    if (::access(dir.c_str(), W_OK) != 0)
        return fail("cannot write into " + dir);
    if (!PartialFile::holdOld(path, &m_held))
        return fail(path + " is not a regular file");
    m_path = path;
    PartialFile::removeAbandoned(path);
    return true;
}

bool OutputFile::holdsOneClip(const std::string &container)
{
    const AVOutputFormat *fmt = muxerFor(container);
    return fmt && std::string(fmt->name) == "flac";
}

const AVOutputFormat *OutputFile::muxerFor(const std::string &container)
{
    return av_guess_format(muxerNameFor(container), nullptr, nullptr);
}

bool OutputFile::holdsCodec(const AVOutputFormat *muxer, AVCodecID codec)
{
    // Only a plain yes counts: a muxer without tables answers "not known" for anything but its defaults.
    return muxer && codec != AV_CODEC_ID_NONE && avformat_query_codec(muxer, codec, FF_COMPLIANCE_NORMAL) == 1;
}

bool OutputFile::isFile(const std::string &other) const
{
    struct stat b;
    if (m_path.empty() || ::stat(other.c_str(), &b) != 0)
        return false;
    struct stat a;
    if (::stat(m_path.c_str(), &a) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino)
        return true;
    return m_partial.is(b);
}

AVStream *OutputFile::addStream()
{
    return m_format ? avformat_new_stream(m_format, nullptr) : nullptr;
}

bool OutputFile::writeHeader(std::string *error)
{
    if (!m_format || m_headerWritten)
        return m_headerWritten;
    if (m_trial && !(m_format->oformat->flags & AVFMT_NOFILE) && !m_format->pb && !openTrialIO()) {
        m_failed = true;
        if (error)
            *error = "out of memory";
        return false;
    }
    if (!(m_format->oformat->flags & AVFMT_NOFILE) && !m_format->pb) {
        if (!m_partial.create(m_path, m_held) || !m_io.openWrite(m_partial.duplicate())) {
            const std::string why = std::strerror(errno);
            m_failed = true;
            m_partial.discard();
            if (error)
                *error = "cannot create a file beside " + m_path + ": " + why;
            return false;
        }
        m_format->pb = m_io.context();
        m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    // A file, not a live stream: packets gather in the large write buffer instead of one write each.
    m_format->flush_packets = 0;
    // Matroska's CRC-32 elements are optional and no reader needs them; computing them took over 40% of a
    // high-speed join into Matroska. Other muxers have no such option.
    if (m_format->priv_data && m_format->oformat->priv_class)
        av_opt_set(m_format->priv_data, "write_crc32", "0", 0);
    const int err = avformat_write_header(m_format, nullptr);
    if (err < 0) {
        m_failed = true;
        if (error)
            *error = "cannot write the header: " + (m_io.writeProblem().empty() ? errorText(err) : m_io.writeProblem());
        return false;
    }
    m_headerWritten = true;
    return true;
}

bool OutputFile::write(AVPacket *packet)
{
    if (!m_headerWritten || m_failed)
        return false;
    if (const int err = av_interleaved_write_frame(m_format, packet); err < 0) {
        m_failed = true;
        m_muxError = errorText(err);
        return false;
    }
    return true;
}

void OutputFile::addChapter(const rsc::edit::Chapter &chapter)
{
    // Matroska counts chapter time in nanoseconds on 64 bits: a time beyond wraps to a negative one there.
    // No chapter starts beyond that, and none runs past it.
    constexpr uint64_t kLastUs = uint64_t(INT64_MAX) / 1000;
    if (!m_format || chapter.durationUs == 0 || chapter.startUs >= kLastUs)
        return;
    const uint64_t endUs = chapter.startUs + std::min(chapter.durationUs, kLastUs - chapter.startUs);
    const unsigned n = m_format->nb_chapters;
    auto **list = static_cast<AVChapter **>(av_realloc_array(m_format->chapters, n + 1, sizeof(AVChapter *)));
    if (!list)
        return;
    m_format->chapters = list;
    auto *ch = static_cast<AVChapter *>(av_mallocz(sizeof(AVChapter)));
    if (!ch)
        return;
    ch->id = n + 1;
    ch->time_base = AVRational{1, 1000000};
    ch->start = static_cast<int64_t>(chapter.startUs);
    ch->end = static_cast<int64_t>(endUs);
    if (!chapter.title.empty())
        av_dict_set(&ch->metadata, "title", chapter.title.c_str(), 0);
    list[n] = ch;
    m_format->nb_chapters = n + 1;
}

bool OutputFile::finish(bool keep)
{
    if (m_finished)
        return !m_failed;
    m_finished = true;
    if (m_held >= 0) // the partial file holds its own
        ::close(m_held);
    m_held = -1;
    if (!m_format)
        return false;
    bool ok = !m_failed;
    if (m_headerWritten) {
        if (keep) {
            if (const int err = av_write_trailer(m_format); err < 0) {
                m_muxError = errorText(err);
                ok = false;
            }
        }
    } else {
        ok = false;
    }
    m_format->pb = nullptr;
    if (m_trial) {
        if (m_trialIO)
            av_freep(&m_trialIO->buffer);
        avio_context_free(&m_trialIO);
        avformat_free_context(m_format);
        m_format = nullptr;
        m_failed = !ok;
        return ok;
    }
    // Every block is written when the file closes; the commit syncs the data before it replaces an old file.
    if (!m_io.close())
        ok = false;
    avformat_free_context(m_format);
    m_format = nullptr;
    if (ok && keep && m_partial.isOpen() && !m_partial.commit()) {
        if (errno == EEXIST)
            m_placeError = "cannot save the output: " + m_path +
                           " was made by something else while the output was written, and is left as it is" +
                           (m_partial.setAside().empty()
                                ? std::string()
                                : "; a file saved there at the same instant is kept as " + m_partial.setAside());
        else
            m_muxError = std::strerror(errno);
        ok = false;
    }
    m_partial.discard();
    m_failed = !(ok && keep);
    return ok && keep;
}

std::string outputClash(const OutputFile &output, const std::string &source, const rsc::edit::EditConfig &edit)
{
    if (output.isFile(source))
        return source + " is the output itself";
    // Edits that a lossless join leaves unapplied count too: the file is the user's either way.
    for (const std::string &file : rsc::edit::namedFiles(edit)) {
        if (output.isFile(file))
            return file + " is the output itself, and the edits of " + source + " use it";
    }
    return std::string();
}

} // namespace rsc::job
