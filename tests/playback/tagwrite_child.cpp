// Writes a title and a large cover into one audio file with the tag writer, under a file-size limit of
// its own (as a full disk would stop it): `tagwrite_child <file> <limit bytes, 0 = none>`. Exit code 0
// when the writer reported success.
#include "AudioTagWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    const long long limit = std::atoll(argv[2]);
    if (limit > 0) {
        // Writes beyond the limit fail with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit l{rlim_t(limit), rlim_t(limit)};
        if (setrlimit(RLIMIT_FSIZE, &l) != 0)
            return 3;
    }
    QVector<uint> path = QString::fromLocal8Bit(argv[1]).toUcs4();
    path.append(0);
    AudioTagWriter *w = AudioTagWriter::Create();
    int rc = w->Open(path.constData());
    if (rc == 0)
        rc = w->Prepare();
    const QVector<uint> title = QStringLiteral("Full disk").toUcs4();
    AudioTagWriter::Field text;
    text.id = AudioTagWriter::Title;
    text.length = uint32_t(title.size() * 4);
    text.data = title.constData();
    // A real picture of noise: its PNG file is about 270 KiB.
    QImage noise(300, 300, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, seed >> 8);
        }
    }
    QByteArray cover;
    QBuffer buffer(&cover);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "PNG");
    AudioTagWriter::Field picture;
    picture.id = AudioTagWriter::Cover;
    picture.kind = AudioTagWriter::KindPicture;
    picture.length = uint32_t(cover.size());
    picture.data = cover.constData();
    if (rc == 0)
        rc = w->SetField(text) | w->SetField(picture);
    if (rc == 0)
        rc = w->Save();
    const int closed = w->Close();
    AudioTagWriter::Release(w);
    return rc == 0 && closed == 0 ? 0 : 1;
}
