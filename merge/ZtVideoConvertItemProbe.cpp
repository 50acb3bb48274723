// The clip probe: turns a freshly constructed clip into a described clip.

#include "ZtVideoConvertItem.h"

#include "ZTAVCodecAnalysis.h"
#include "rscodec.h"

#include <memory>

namespace {

struct InfoCloser
{
    void operator()(rsc_info *info) const
    {
        rsc_info_close(info);
        rsc_info_release(info);
    }
};
using InfoHandle = std::unique_ptr<rsc_info, InfoCloser>;

QByteArray metaText(rsc_info *info, const char *key)
{
    const void *v = rsc_info_get_metadata(info, key);
    return v ? QByteArray(static_cast<const char *>(v)) : QByteArray();
}

// A still image as the library returns it: a BMP file whose size stands at byte offset 2.
int bmpSize(rsc_info *info, const unsigned char *image)
{
    const quint32 fromLibrary = rsc_info_get_video_image_size(info, image);
    if (fromLibrary)
        return int(fromLibrary);
    return int(quint32(image[2]) | quint32(image[3]) << 8 | quint32(image[4]) << 16 | quint32(image[5]) << 24);
}

} // namespace

bool ZtVideoConvertItem::loadCoverFromLibraryStream(const unsigned char *bytes, int size)
{
    InfoHandle second(rsc_info_create(RSC_CREATE_DEFAULT));
    if (!second)
        return false;
    rsc_memstream *stream = rsc_memstream_create(bytes, quint32(size), 0);
    bool loaded = false;
    if (stream && rsc_info_open_stream(second.get(), stream) == 1) {
        unsigned char *image = rsc_info_get_video_image(second.get(), 0, 1, 0, 0, 0);
        if (image) {
            const int n = bmpSize(second.get(), image);
            if (!m_pCoverImage)
                m_pCoverImage = new QImage;
            if (m_pCoverImage->loadFromData(image, n)) {
                setCoverBytes(reinterpret_cast<const char *>(image), n);
                loaded = true;
            }
        }
        rsc_info_free_video_image(second.get(), image);
    }
    second.reset();
    rsc_memstream_release(stream);
    return loaded;
}

bool ZtVideoConvertItem::openSource(void *handle, const QByteArray &utf8Path, bool dvd, int program)
{
    auto *info = static_cast<rsc_info *>(handle);
    if (!dvd)
        return rsc_info_open_file(info, utf8Path.constData()) != 0;
    if (rsc_info_open_dvd(info, utf8Path.constData()) == 0)
        return false;
    rsc_info_set_program_index(info, quint32(program));
    return true;
}

bool ZtVideoConvertItem::setVideoPath(QString path, int program)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    InfoHandle info(rsc_info_create(RSC_CREATE_DEFAULT));
    if (!info || !openSource(info.get(), path.toUtf8(), m_bDVD, program))
        return false;

    // Protected audio books (brands "aa", "aax ") cannot be read.
    const QByteArray brand = metaText(info.get(), "major_brand");
    QByteArray ident = brand;
    if (ident.isEmpty()) {
        const char *id = rsc_info_format_id(info.get());
        ident = id ? QByteArray(id) : QByteArray();
    }
    ident = ident.toLower();
    if (ident == "aa" || ident == "aax ")
        return false;

    const int slash = path.lastIndexOf(QLatin1Char('/'));
    m_strFileName = slash < 0 ? path : path.mid(slash + 1);
    const int dot = m_strFileName.lastIndexOf(QLatin1Char('.'));
    m_strExtend = dot < 0 ? QStringLiteral("mp4") : m_strFileName.mid(dot + 1);

    const QByteArray ffFormat = metaText(info.get(), "ffmpeg_format");
    m_strFormatName =
        QString::fromUtf8(ZTAVCodecAnalysis::formatForFormatName(ffFormat.toStdString(), brand.toStdString()).c_str());
    m_strFilePath = path;
    m_nDVDProgram = program;

    m_bHasVideo = rsc_info_has_video(info.get()) != 0;
    m_bHasAudio = rsc_info_has_audio(info.get()) != 0;
    m_nDuration = rsc_info_duration(info.get());
    m_nWidth = rsc_info_video_width(info.get());
    m_nHeight = rsc_info_video_height(info.get());
    m_nRotation = int(rsc_info_stream_value(info.get(), RSC_STREAM_VIDEO, 7));
    m_nAspectX = rsc_info_video_aspect_x(info.get());
    m_nAspectY = rsc_info_video_aspect_y(info.get());

    clearCover();
    const unsigned char *coverData = rsc_info_get_metadata_data(info.get(), "cover_image");
    const int coverCount = int(rsc_info_get_metadata_size(info.get(), "cover_image"));
    auto loadCover = [&]() {
        if (!coverData || coverCount <= 0)
            return;
        m_pCoverImage = new QImage;
        if (m_pCoverImage->loadFromData(coverData, coverCount))
            setCoverBytes(reinterpret_cast<const char *>(coverData), coverCount);
        else
            loadCoverFromLibraryStream(coverData, coverCount);
    };
    if (m_nWidth != 0 && m_nHeight != 0 && m_bHasVideo) {
        loadCover();
        // The box has the shape of the picture as shown: a phone clip's stored size lies on its side.
        const QSize shown = shownVideoSize();
        unsigned boxW = 120;
        unsigned boxH = 120;
        if (shown.width() > shown.height())
            boxH = qMax(1u, unsigned(qint64(shown.height()) * 120 / shown.width()));
        else
            boxW = qMax(1u, unsigned(qint64(shown.width()) * 120 / shown.height()));
        if (!m_pCoverImage || m_pCoverImage->isNull()) {
            unsigned char *image = rsc_info_get_video_image(info.get(), m_nDuration / 3, 1, boxW, boxH, 0);
            if (image) {
                const int n = bmpSize(info.get(), image);
                if (!m_pCoverImage)
                    m_pCoverImage = new QImage;
                if (m_pCoverImage->loadFromData(image, n))
                    setCoverBytes(reinterpret_cast<const char *>(image), n);
            }
            rsc_info_free_video_image(info.get(), image);
        }
    } else if (!m_bHasVideo && m_bHasAudio) {
        loadCover();
    }
    if (m_pCoverImage && m_pCoverImage->isNull()) {
        // Nothing decoded: the clip has no cover rather than an empty one.
        delete m_pCoverImage;
        m_pCoverImage = nullptr;
        setCoverBytes(nullptr, 0);
    }

    m_splitInfo.nMode = 0;
    m_splitInfo.nEvery = 1;
    m_splitInfo.bMinutes = false;
    m_splitInfo.nParts = 1;
    m_splitInfo.nChapters = int(rsc_info_chapter_count(info.get()));

    m_nSubtitleStreamCount = int(rsc_info_subtitle_count(info.get()));
    getAudioList(info.get(), m_audioList);
    m_nSubtitleSel[1] = 0;
    getSubltList(info.get(), m_subltList, m_strFilePath);
    m_nSubtitleSel[2] = 0;

    m_editConfig.audioList = m_audioList;
    m_editConfig.subtitleValue.audioIndex = 0;
    m_editConfig.subtitleValue.subtitleRow = 0;
    m_editConfig.subtitleValue.subtitleCount = m_nSubtitleStreamCount;
    for (const subltItemInfo *s : qAsConst(m_subltList))
        m_editConfig.subtitleItems.append(VESubltItemInfo{s->label.toUtf8(), s->filePath});

    resetOlderSettings();
    clearSplitList();

    getMediaTrackInfo(info.get());
    return true;
}
