// Track records, the audio choice list and the subtitle sources of a clip.

#include "ZtVideoConvertItem.h"

#include "LanguageTable.h"
#include "rscodec.h"

#include <QFile>
#include <QFileInfo>

namespace {

rsc_info *I(void *handle)
{
    return static_cast<rsc_info *>(handle);
}

QByteArray text(const char *s)
{
    return s ? QByteArray(s) : QByteArray();
}

struct StreamTexts
{
    QByteArray title;
    QByteArray format;
    QByteArray languageCode;
    QString languagePart; // the name of the code, or the code itself; empty without a code
};

StreamTexts streamTexts(rsc_info *info, int kind)
{
    StreamTexts t;
    t.title = text(rsc_info_stream_title(info, kind));
    t.format = text(rsc_info_stream_format(info, kind));
    t.languageCode = text(rsc_info_stream_language(info, kind));
    t.languagePart = LanguageTable::languagePart(t.languageCode.constData());
    return t;
}

quint32 v32(rsc_info *info, int kind, int n)
{
    return quint32(rsc_info_stream_value(info, kind, n));
}

template <typename Record> void takePrivateData(rsc_info *info, int kind, Record &record)
{
    const unsigned char *data = rsc_info_stream_private_data(info, kind);
    const quint32 size = rsc_info_stream_private_size(info, kind);
    if (data && size)
        record.assign(data, int(size));
}

// "title (language)" of a video or audio track; the format stands in for a missing title.
QByteArray trackLabel(const StreamTexts &t)
{
    QString label = QString::fromUtf8(!t.title.isEmpty() ? t.title : t.format) + QLatin1Char(' ');
    if (!t.languageCode.isEmpty())
        label += QLatin1Char('(') + t.languagePart + QLatin1Char(')');
    return label.toUtf8();
}

QString withoutParentheses(QString s)
{
    return s.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
}

// The texts a video and an audio track record share.
template <typename Record> void takeTrackTexts(const StreamTexts &t, int index, Record &r)
{
    r.label = trackLabel(t);
    r.index = index;
    r.title = t.title;
    r.formatName = t.format;
    r.language = t.languageCode.isEmpty() ? QByteArray() : withoutParentheses(t.languagePart).toUtf8();
}

} // namespace

void ZtVideoConvertItem::getMediaTrackInfo(void *handle)
{
    rsc_info *info = I(handle);
    if (!info || (!rsc_info_has_video(info) && !rsc_info_has_audio(info)))
        return;

    const int videoCount = int(rsc_info_video_count(info));
    m_videoTracks.clear();
    for (int n = 0; n < videoCount; ++n) {
        rsc_info_set_video_index(info, quint32(n));
        const StreamTexts t = streamTexts(info, RSC_STREAM_VIDEO);
        VideoTrackInfo r;
        takeTrackTexts(t, n, r);
        r.value1 = v32(info, RSC_STREAM_VIDEO, 1);
        r.width = rsc_info_video_width(info);
        r.height = rsc_info_video_height(info);
        r.value2 = v32(info, RSC_STREAM_VIDEO, 2);
        r.value3 = v32(info, RSC_STREAM_VIDEO, 3);
        r.value4 = rsc_info_stream_value(info, RSC_STREAM_VIDEO, 4);
        r.aspectX = rsc_info_video_aspect_x(info);
        r.aspectY = rsc_info_video_aspect_y(info);
        r.value5 = v32(info, RSC_STREAM_VIDEO, 5);
        r.value6 = v32(info, RSC_STREAM_VIDEO, 6);
        r.value7 = v32(info, RSC_STREAM_VIDEO, 7);
        takePrivateData(info, RSC_STREAM_VIDEO, r);
        m_videoTracks.append(r);
    }

    const int audioCount = int(rsc_info_audio_count(info));
    m_audioTracks.clear();
    for (int n = 0; n < audioCount; ++n) {
        rsc_info_set_audio_index(info, quint32(n));
        const StreamTexts t = streamTexts(info, RSC_STREAM_AUDIO);
        AudioTrackInfo r;
        takeTrackTexts(t, n, r);
        r.value2 = v32(info, RSC_STREAM_AUDIO, 2);
        r.value3 = v32(info, RSC_STREAM_AUDIO, 3);
        r.value4 = v32(info, RSC_STREAM_AUDIO, 4);
        r.value5 = v32(info, RSC_STREAM_AUDIO, 5);
        r.value6 = v32(info, RSC_STREAM_AUDIO, 6);
        r.value7 = rsc_info_stream_value(info, RSC_STREAM_AUDIO, 7);
        takePrivateData(info, RSC_STREAM_AUDIO, r);
        m_audioTracks.append(r);
    }

    const int subtitleCount = int(rsc_info_subtitle_count(info));
    m_subtitleTracks.clear();
    for (int n = 0; n < subtitleCount; ++n) {
        rsc_info_set_subtitle_index(info, quint32(n));
        const StreamTexts t = streamTexts(info, RSC_STREAM_SUBTITLE);
        SubtitleTrackInfo r;
        QString label;
        if (!t.languageCode.isEmpty())
            label += t.languagePart + QLatin1Char(' ');
        if (!t.title.isEmpty())
            label += QLatin1Char('(') + QString::fromUtf8(t.title) + QLatin1Char(')');
        if (!t.format.isEmpty())
            label += QLatin1Char('[') + QString::fromUtf8(t.format) + QLatin1Char(']');
        r.label = label.toUtf8();
        r.source = "Embedded";
        r.index = n;
        r.title = t.title;
        r.formatName = t.format;
        r.spare = "";
        QString language = t.languageCode.isEmpty() ? QString() : t.languagePart + QLatin1Char(' ');
        r.language = language.remove(QLatin1Char(' ')).toUtf8();
        r.value2 = rsc_info_stream_value(info, RSC_STREAM_SUBTITLE, 2);
        takePrivateData(info, RSC_STREAM_SUBTITLE, r);
        m_subtitleTracks.append(r);
    }
}

void ZtVideoConvertItem::getAudioList(void *handle, QStringList &list)
{
    rsc_info *info = I(handle);
    if (!info)
        return;
    const quint32 count = rsc_info_audio_count(info);
    for (quint32 n = 0; n < count; ++n) {
        rsc_info_set_audio_index(info, n);
        const StreamTexts t = streamTexts(info, RSC_STREAM_AUDIO);
        list.append(t.languagePart + QLatin1Char('(') + QString::fromUtf8(!t.title.isEmpty() ? t.title : t.format) +
                    QLatin1Char(')'));
    }
}

void ZtVideoConvertItem::getSubltList(void *handle, QList<subltItemInfo *> &list, QString path)
{
    rsc_info *info = I(handle);
    if (!info)
        return;
    list.append(new subltItemInfo{QObject::tr("No Subtitle"), QByteArray()});

    const quint32 count = rsc_info_subtitle_count(info);
    for (quint32 n = 0; n < count; ++n) {
        rsc_info_set_subtitle_index(info, n);
        const StreamTexts t = streamTexts(info, RSC_STREAM_SUBTITLE);
        QString label;
        if (!t.languageCode.isEmpty())
            label += t.languagePart + QLatin1Char(' ');
        if (!t.title.isEmpty())
            label += QLatin1Char('(') + QString::fromUtf8(t.title) + QLatin1Char(')');
        if (!t.format.isEmpty())
            label += QLatin1Char('(') + QString::fromUtf8(t.format) + QLatin1Char(')');
        list.append(new subltItemInfo{label, QByteArray()});
    }
    list.append(new subltItemInfo{QStringLiteral("Video Internal CC"), QByteArray()});

    // Subtitle files beside the video share its base name. The base comes from the file name: a "." in
    // a folder name must not cut the path.
    const QFileInfo fi(path);
    const QString fileName = fi.fileName();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString dir = path.left(path.length() - fileName.length());
    const QString base = dir + (dot < 0 ? fileName : fileName.left(dot)) + QLatin1Char('.');
    static const char *const kinds[][2] = {{"ass", "ASS"},    {"ssa", "SSA"}, {"srt", "SRT"},   {"idx", "VOBSUB"},
                                           {"sub", "SUB"},    {"smi", "SMI"}, {"sami", "SAMI"}, {"sup", "SUP"},
                                           {"vtt", "WEBVTT"}, {"lrc", "LRC"}};
    for (const auto &kind : kinds) {
        const QString candidate = base + QLatin1String(kind[0]);
        if (!QFile::exists(candidate))
            continue;
        list.append(
            new subltItemInfo{QStringLiteral("(%1)[%2]").arg(QFileInfo(candidate).baseName(), QLatin1String(kind[1])),
                              candidate.toUtf8()});
    }
}
