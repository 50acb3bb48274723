#include "AudioTagWriter.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *propertyKey(int id)
{
    switch (id) {
    case AudioTagWriter::Title:
        return "TITLE";
    case AudioTagWriter::Artist:
        return "ARTIST";
    case AudioTagWriter::Album:
        return "ALBUM";
    case AudioTagWriter::Genre:
        return "GENRE";
    case AudioTagWriter::Year:
        return "DATE";
    case AudioTagWriter::Track:
        return "TRACKNUMBER";
    case AudioTagWriter::Comment:
        return "COMMENT";
    case AudioTagWriter::Copyright:
        return "COPYRIGHT";
    case AudioTagWriter::AlbumArtist:
        return "ALBUMARTIST";
    case AudioTagWriter::Composer:
        return "COMPOSER";
    case AudioTagWriter::Grouping:
        return "GROUPING";
    case AudioTagWriter::Disc:
        return "DISCNUMBER";
    default:
        return nullptr;
    }
}

TagLib::String toTag(const QString &s)
{
    return TagLib::String(s.toUtf8().constData(), TagLib::String::UTF8);
}

QString mimeOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG"))
        return QStringLiteral("image/png");
    if (bytes.startsWith("BM"))
        return QStringLiteral("image/bmp");
    return QStringLiteral("image/jpeg");
}

TagLib::FLAC::Picture *flacPicture(const QByteArray &cover)
{
    auto *pic = new TagLib::FLAC::Picture;
    pic->setType(TagLib::FLAC::Picture::FrontCover);
    pic->setMimeType(toTag(mimeOf(cover)));
    pic->setData(TagLib::ByteVector(cover.constData(), unsigned(cover.size())));
    return pic;
}

void setId3Cover(TagLib::ID3v2::Tag *tag, const QByteArray &cover)
{
    if (!tag)
        return;
    tag->removeFrames("APIC");
    auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setMimeType(toTag(mimeOf(cover)));
    frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    frame->setPicture(TagLib::ByteVector(cover.constData(), unsigned(cover.size())));
    tag->addFrame(frame);
}

void setXiphCover(TagLib::Ogg::XiphComment *comment, const QByteArray &cover)
{
    if (!comment)
        return;
    comment->removeAllPictures();
    comment->addPicture(flacPicture(cover));
}

// The cover has no generic form in this TagLib: each container keeps it its own way.
bool writeCover(TagLib::File *file, const QByteArray &cover)
{
    if (auto *mp3 = dynamic_cast<TagLib::MPEG::File *>(file)) {
        setId3Cover(mp3->ID3v2Tag(true), cover);
        return true;
    }
    if (auto *mp4 = dynamic_cast<TagLib::MP4::File *>(file)) {
        if (!mp4->tag())
            return false;
        const auto format =
            mimeOf(cover) == QLatin1String("image/png") ? TagLib::MP4::CoverArt::PNG : TagLib::MP4::CoverArt::JPEG;
        TagLib::MP4::CoverArtList list;
        list.append(TagLib::MP4::CoverArt(format, TagLib::ByteVector(cover.constData(), unsigned(cover.size()))));
        mp4->tag()->setItem("covr", TagLib::MP4::Item(list));
        return true;
    }
    if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(file)) {
        flac->removePictures();
        flac->addPicture(flacPicture(cover));
        return true;
    }
    if (auto *vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File *>(file)) {
        setXiphCover(vorbis->tag(), cover);
        return true;
    }
    if (auto *opus = dynamic_cast<TagLib::Ogg::Opus::File *>(file)) {
        setXiphCover(opus->tag(), cover);
        return true;
    }
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(file)) {
        setId3Cover(wav->ID3v2Tag(), cover);
        return true;
    }
    return false;
}

// Tags are written in memory: files beyond this are refused rather than loaded.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

struct AudioShape
{
    int sampleRate = 0;
    int channels = 0;
    int lengthMs = 0;
    bool operator==(const AudioShape &o) const
    {
        return sampleRate == o.sampleRate && channels == o.channels && lengthMs == o.lengthMs;
    }
};

AudioShape shapeOf(const TagLib::FileRef &ref)
{
    const TagLib::AudioProperties *p = ref.isNull() ? nullptr : ref.audioProperties();
    if (!p || !ref.file()->isValid())
        return AudioShape();
    return AudioShape{p->sampleRate(), p->channels(), p->lengthInMilliseconds()};
}

// Every byte written and on the disk, or false.
bool writeFully(const QString &path, const TagLib::ByteVector &data)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    bool ok = true;
    const char *p = data.data();
    size_t left = data.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else {
            p += n;
            left -= size_t(n);
        }
    }
    ok = ::fdatasync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    struct stat st;
    return ok && ::stat(QFile::encodeName(path).constData(), &st) == 0 && st.st_size == off_t(data.size());
}

// The copy holds exactly the bytes meant, and its audio opens with the original's rate, channels and length.
bool readsBack(const QString &path, const TagLib::ByteVector &expected, const AudioShape &shape)
{
    QFile copy(path);
    if (!copy.open(QIODevice::ReadOnly) || copy.size() != qint64(expected.size()))
        return false;
    if (copy.readAll() != QByteArray::fromRawData(expected.data(), int(expected.size())))
        return false;
    copy.close();
    const QByteArray name = QFile::encodeName(path);
    const TagLib::FileRef again(name.constData(), true, TagLib::AudioProperties::Fast);
    return shapeOf(again) == shape;
}

} // namespace

AudioTagWriter *AudioTagWriter::Create()
{
    return new AudioTagWriter;
}

void AudioTagWriter::Release(AudioTagWriter *writer)
{
    delete writer;
}

AudioTagWriter::~AudioTagWriter()
{
    discardCopy();
}

void AudioTagWriter::discardCopy()
{
    if (!m_copy.isEmpty())
        QFile::remove(m_copy);
    m_copy.clear();
}

int AudioTagWriter::Open(const uint32_t *utf32Path)
{
    discardCopy();
    m_texts.clear();
    m_cover.clear();
    m_saved = false;
    m_committed = false;
    if (!utf32Path)
        return -1;
    m_target = QString::fromUcs4(reinterpret_cast<const char32_t *>(utf32Path));
    if (m_target.isEmpty())
        return -1;
    // The rename at the end would put a plain file in place of a link: write to what the link names.
    if (QFileInfo(m_target).isSymLink())
        m_target = QFileInfo(m_target).canonicalFilePath();
    const QFileInfo info(m_target);
    if (m_target.isEmpty() || !info.isFile() || !info.isReadable())
        return -1;
    // The copy lives beside the original so that the final rename stays on one file system.
    QTemporaryFile tmp(info.absolutePath() + QLatin1String("/.") + info.completeBaseName() + QLatin1String(".XXXXXX.") +
                       info.suffix());
    tmp.setAutoRemove(false);
    if (!tmp.open())
        return -2;
    m_copy = tmp.fileName();
    tmp.close();
    QFile::remove(m_copy);
    if (!QFile::copy(m_target, m_copy)) {
        m_copy.clear();
        return -3;
    }
    QFile(m_copy).setPermissions(QFile(m_target).permissions());
    return 0;
}

int AudioTagWriter::Prepare()
{
    return m_copy.isEmpty() ? -1 : 0;
}

int AudioTagWriter::SetField(const Field &field)
{
    if (m_copy.isEmpty() || !field.data)
        return -1;
    if (field.kind == KindPicture && field.id == Cover) {
        m_cover = QByteArray(static_cast<const char *>(field.data), int(field.length));
        return 0;
    }
    if (field.kind != KindText || !propertyKey(field.id))
        return -1;
    const QString text =
        QString::fromUcs4(static_cast<const char32_t *>(field.data), int(field.length / sizeof(char32_t)));
    m_texts.insert(field.id, text);
    return 0;
}

int AudioTagWriter::Save()
{
    m_saved = false;
    if (m_copy.isEmpty())
        return -1;
    // TagLib answers true although its writes failed (a full disk, a size limit), so it edits a copy in
    // memory; the bytes reach the disk through checked writes and are read back before Close() renames.
    QFile original(m_target);
    if (!original.open(QIODevice::ReadOnly) || original.size() > kMaxFileBytes)
        return -2;
    const QByteArray bytes = original.readAll();
    if (bytes.size() != original.size())
        return -2;
    original.close();
    TagLib::ByteVectorStream stream(TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())));
    TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Fast);
    // A file that merely carries the right suffix has no audio stream: adding tags to it would only
    // damage it further.
    const AudioShape shape = shapeOf(ref);
    if (shape.sampleRate <= 0) {
        qWarning() << "AudioTagWriter: not a file with tags" << m_target;
        return -2;
    }
    TagLib::File *file = ref.file();
    // WAV keeps its tags in an ID3v2 chunk; make sure one exists before properties are set.
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(file))
        wav->ID3v2Tag();
    TagLib::PropertyMap props = file->properties();
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        props.replace(propertyKey(it.key()), TagLib::StringList(toTag(it.value())));
    file->setProperties(props);
    if (!m_cover.isEmpty() && !writeCover(file, m_cover))
        qWarning() << "AudioTagWriter: this container keeps no cover picture" << m_target;
    if (!file->save())
        return -3;
    const TagLib::ByteVector &tagged = *stream.data();
    if (!writeFully(m_copy, tagged)) {
        qWarning() << "AudioTagWriter: cannot write the tagged copy of" << m_target;
        return -4;
    }
    if (!readsBack(m_copy, tagged, shape)) {
        qWarning() << "AudioTagWriter: the tagged copy does not read back:" << m_target;
        return -5;
    }
    m_saved = true;
    return 0;
}

int AudioTagWriter::Close()
{
    m_committed = false;
    if (m_copy.isEmpty())
        return -1;
    if (!m_saved) {
        discardCopy();
        return -2;
    }
    // rename(2) replaces the original in one step: a reader sees either the old or the new file.
    if (std::rename(QFile::encodeName(m_copy).constData(), QFile::encodeName(m_target).constData()) != 0) {
        discardCopy();
        return -3;
    }
    m_copy.clear();
    m_committed = true;
    return 0;
}
