#include "ZTInfoManager.h"

#include "AudioTagWriter.h"
#include "UserPicture.h"
#include "ZTInfoClass.h"
#include "rscodec.h"

#include <QFile>
#include <QVector>

#include <cmath>

ZTInfoManager::ZTInfoManager(QObject *parent) : QObject(parent) {}

ZTInfoManager::~ZTInfoManager()
{
    delete m_pInfoClass;
    m_pInfoClass = nullptr;
}

bool ZTInfoManager::hasHandle() const
{
    return m_pInfoClass && m_pInfoClass->IsCreateInfo();
}

void ZTInfoManager::createrPlayer()
{
    if (hasHandle())
        return;
    delete m_pInfoClass;
    m_pInfoClass = new ZTInfoClass(this);
    m_pInfoClass->Create_Info();
}

bool ZTInfoManager::setMediaFile(QString path)
{
    m_strMediaPath = path;
    if (!QFile::exists(path) || !hasHandle())
        return false;
    return m_pInfoClass->Open_Info(path.toUtf8().constData());
}

bool ZTInfoManager::setPlayer(void *player)
{
    return hasHandle() && m_pInfoClass->OpenWithPlayer_Info(player);
}

QImage ZTInfoManager::scaleImage(QImage image, int size)
{
    if (image.isNull())
        return QImage();
    const int w = image.width();
    const int h = image.height();
    const int shorter = qMin(w, h);
    if (shorter <= size || size <= 0)
        return image;
    int tw = 0;
    int th = 0;
    if (h > w) {
        tw = size;
        th = int(std::trunc(double(size) * h / w));
    } else {
        tw = int(std::trunc(double(size) * w / h));
        th = size;
    }
    if (shorter > 4 * size) {
        // Two passes: the smooth filter then works on at most four times the target.
        image = image.scaled(tw * 4, th * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return image.scaled(tw, th, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage ZTInfoManager::scaleImageFromChar(const char *cover, int size)
{
    const auto *record = reinterpret_cast<const rsc_cover_image *>(cover);
    if (!record || !record->data || record->size <= 0)
        return QImage();
    // An embedded cover is the file's own claim: its declared size is checked before it is decoded.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(record->data), record->size);
    return scaleImage(UserPicture::fromData(bytes, QSize(size, size), Qt::KeepAspectRatioByExpanding), size);
}

QImage ZTInfoManager::scaleImageFromUChar(const unsigned char *image, int size)
{
    // The length is read from a BMP header: anything else has none to trust.
    if (!image || image[0] != 'B' || image[1] != 'M')
        return QImage();
    const quint32 length =
        quint32(image[2]) | quint32(image[3]) << 8 | quint32(image[4]) << 16 | quint32(image[5]) << 24;
    QImage loaded;
    loaded.loadFromData(image, int(length));
    return scaleImage(loaded, size);
}

QImage ZTInfoManager::getThumbnail(int size)
{
    QImage result;
    if (!hasHandle())
        return result;
    if (const void *cover = m_pInfoClass->GetMetaData_Info("cover_image"))
        result = scaleImageFromChar(static_cast<const char *>(cover), size);
    if (result.isNull() && m_pInfoClass->HasVideo_Info()) {
        if (unsigned char *image = m_pInfoClass->GetVideoImage_Info(0, 0, 0, 0, 0)) {
            result = scaleImageFromUChar(image, size);
            m_pInfoClass->FreeVideoImage_Info(image);
        }
    }
    return result;
}

QString ZTInfoManager::timeToString(unsigned long long us)
{
    const unsigned long long ms = (unsigned long long)std::trunc(double(us) / 1000.0);
    const unsigned long long hours = ms / 3600000;
    const unsigned long long minutes = (ms / 60000) % 60;
    const unsigned long long seconds = (ms / 1000) % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

QList<VEChapterInfo> ZTInfoManager::getChapterInfo()
{
    QList<VEChapterInfo> list;
    if (!hasHandle())
        return list;
    const unsigned int count = m_pInfoClass->GetChapterCount_Info();
    if (count == 0)
        return list;

    VEChapterInfo whole;
    whole.nIndex = 0;
    whole.nStartTime = 0;
    whole.nDuration = m_pInfoClass->GetDuration_Info();
    whole.nEndTime = whole.nDuration;
    const QString current = QObject::tr("Current");
    whole.strChapterTitle = current.toUtf8();
    whole.strShowText =
        QStringLiteral("%1, %2-%3").arg(current, timeToString(0), timeToString(whole.nEndTime)).toUtf8();
    list.append(whole);

    for (unsigned int i = 0; i < count; ++i) {
        VEChapterInfo c;
        c.nIndex = int(i) + 1;
        c.nStartTime = m_pInfoClass->GetChapterStartTime_Info(i);
        c.nDuration = m_pInfoClass->GetChapterDuration_Info(i);
        c.nEndTime = c.nStartTime + c.nDuration;
        c.strChapterTitle = QByteArray(m_pInfoClass->GetChapterTitle_Info(i));
        const QString number =
            c.nIndex < 10 ? QStringLiteral("  %1").arg(c.nIndex) : QStringLiteral("%1").arg(c.nIndex);
        c.strShowText =
            QStringLiteral("%1, %2-%3 (%4)")
                .arg(number, timeToString(c.nStartTime), timeToString(c.nEndTime), QString::fromUtf8(c.strChapterTitle))
                .toUtf8();
        list.append(c);
    }
    return list;
}

VEAudioTagInfo ZTInfoManager::getAudioTagInfo()
{
    VEAudioTagInfo info;
    if (!hasHandle())
        return info;
    auto text = [this](const char *key) {
        const void *v = m_pInfoClass->GetMetaData_Info(key);
        return v ? QByteArray(static_cast<const char *>(v)) : QByteArray();
    };
    info.title = text("title");
    info.artist = text("artist");
    info.albumArtist = text("album_artist");
    info.composer = text("composer");
    info.album = text("album");
    info.genre = text("genre");
    info.disc = text("disc");
    info.track = text("track");
    info.year = text("year");
    info.date = text("date");
    info.grouping = text("grouping");
    info.comment = text("comment");
    info.copyright = text("copyright");
    if (const auto *cover = static_cast<const rsc_cover_image *>(m_pInfoClass->GetMetaData_Info("cover_image"))) {
        if (cover->data && cover->size > 0) {
            info.coverImage = QByteArray(reinterpret_cast<const char *>(cover->data), cover->size);
            info.coverSize = quint32(cover->size);
        }
    }
    if (info.year.isEmpty())
        info.year = info.date;
    if (info.date.isEmpty())
        info.date = info.year;
    return info;
}

bool ZTInfoManager::setAudioTag(VEAudioTagInfo info)
{
    return setAudioTag(info, m_strMediaPath);
}

bool ZTInfoManager::setAudioTag(VEAudioTagInfo info, QString path)
{
    AudioTagWriter *writer = AudioTagWriter::Create();
    QVector<uint> utf32Path = path.toUcs4();
    utf32Path.append(0);
    bool ok = false;
    if (writer->Open(utf32Path.constData()) == 0) {
        writer->Prepare();
        const QByteArray *texts[14] = {&info.title,       &info.artist,   &info.album,     &info.genre, &info.year,
                                       &info.track,       &info.comment,  &info.copyright, nullptr,     nullptr,
                                       &info.albumArtist, &info.composer, &info.grouping,  &info.disc};
        for (int id = 0; id <= 13; ++id) {
            AudioTagWriter::Field field;
            field.id = id;
            if (id == AudioTagWriter::Cover) {
                if (info.coverSize == 0)
                    continue;
                field.kind = AudioTagWriter::KindPicture;
                field.length = qMin<quint32>(info.coverSize, quint32(info.coverImage.size()));
                field.data = info.coverImage.constData();
                writer->SetField(field);
                continue;
            }
            const QByteArray *tag = texts[id];
            if (!tag || tag->isEmpty())
                continue;
            const QVector<uint> utf32 = QString::fromUtf8(*tag).toUcs4();
            if (utf32.isEmpty())
                continue;
            field.kind = AudioTagWriter::KindText;
            field.length = quint32(utf32.size()) * 4;
            field.data = utf32.constData();
            writer->SetField(field);
        }
        writer->Save();
        ok = writer->Close() == 0;
    }
    AudioTagWriter::Release(writer);
    return ok;
}
