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
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <cstdio>

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
    const QByteArray path = QFile::encodeName(m_copy);
    TagLib::FileRef ref(path.constData(), true, TagLib::AudioProperties::Fast);
    // A file that merely carries the right suffix has no audio stream: adding tags to it would only
    // damage it further.
    if (ref.isNull() || !ref.file() || !ref.file()->isValid() || !ref.audioProperties() ||
        ref.audioProperties()->sampleRate() <= 0) {
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
