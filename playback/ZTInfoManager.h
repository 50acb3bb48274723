#pragma once
// The clip editor's window on one media file's descriptive information: a thumbnail (the embedded cover,
// else the first video frame), the chapter list, the audio tags, and writing tags back through the tag
// writer.

#include "VEEditConfig.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

class ZTInfoClass;

class ZTInfoManager : public QObject
{
    Q_OBJECT
public:
    explicit ZTInfoManager(QObject *parent = nullptr);
    ~ZTInfoManager() override;

    void createrPlayer();
    bool setMediaFile(QString path);
    bool setPlayer(void *player);
    QImage getThumbnail(int size);
    QList<VEChapterInfo> getChapterInfo();
    static QString timeToString(unsigned long long us);
    ZTInfoClass *getInfoClass() const { return m_pInfoClass; }
    VEAudioTagInfo getAudioTagInfo();

    // Writes the tags into the file; false when the file could not be opened or written (the file is
    // then unchanged).
    bool setAudioTag(VEAudioTagInfo info);
    bool setAudioTag(VEAudioTagInfo info, QString path);

    static QImage scaleImageFromChar(const char *cover, int size);
    static QImage scaleImageFromUChar(const unsigned char *image, int size);
    static QImage scaleImage(QImage image, int size);

private:
    bool hasHandle() const;

    ZTInfoClass *m_pInfoClass = nullptr;
    QString m_strMediaPath;
};
