#include "mux_output.h"

extern "C" {
#include <libavutil/dict.h>
}

namespace rsc::job {

OutputFile::~OutputFile()
{
    finish();
}

bool OutputFile::create(const std::string &path, const std::string &container, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    const AVOutputFormat *fmt = av_guess_format(container.c_str(), nullptr, nullptr);
    if (!fmt)
        fmt = av_guess_format(nullptr, path.c_str(), nullptr);
    if (!fmt)
        return fail("unknown container " + container);
    if (avformat_alloc_output_context2(&m_format, fmt, nullptr, path.c_str()) < 0 || !m_format)
        return fail("out of memory");
    if (!(fmt->flags & AVFMT_NOFILE)) {
        if (!m_io.openWrite(path))
            return fail("cannot create " + path);
        m_format->pb = m_io.context();
        m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    return true;
}

AVStream *OutputFile::addStream()
{
    return m_format ? avformat_new_stream(m_format, nullptr) : nullptr;
}

bool OutputFile::writeHeader(std::string *error)
{
    if (!m_format || m_headerWritten)
        return m_headerWritten;
    const int err = avformat_write_header(m_format, nullptr);
    if (err < 0) {
        m_failed = true;
        if (error)
            *error = "cannot write the header: " + errorText(err);
        return false;
    }
    m_headerWritten = true;
    return true;
}

bool OutputFile::write(AVPacket *packet)
{
    if (!m_headerWritten || m_failed)
        return false;
    if (av_interleaved_write_frame(m_format, packet) < 0) {
        m_failed = true;
        return false;
    }
    return true;
}

void OutputFile::addChapter(const rsc::edit::Chapter &chapter)
{
    if (!m_format || chapter.durationUs == 0)
        return;
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
    ch->end = static_cast<int64_t>(chapter.startUs + chapter.durationUs);
    if (!chapter.title.empty())
        av_dict_set(&ch->metadata, "title", chapter.title.c_str(), 0);
    list[n] = ch;
    m_format->nb_chapters = n + 1;
}

bool OutputFile::finish()
{
    if (m_finished)
        return !m_failed;
    m_finished = true;
    if (!m_format)
        return false;
    bool ok = !m_failed;
    if (m_headerWritten) {
        if (av_write_trailer(m_format) < 0)
            ok = false;
    } else {
        ok = false;
    }
    m_format->pb = nullptr;
    if (!m_io.close())
        ok = false;
    avformat_free_context(m_format);
    m_format = nullptr;
    m_failed = !ok;
    return ok;
}

} // namespace rsc::job
