#pragma once
// Helpers of the picture edit tests: a conversion of a clip with an edit, pictures to lay over it, and the
// colour classes the checks read in the output.
#include "tst_job_helpers.h"

#include <QColor>
#include <QImage>
#include <functional>

namespace edittest {

// 320x240 quadrants: top left green, top right blue, bottom left red, bottom right yellow.
inline QString quadrants()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("edit_quadrants.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=red:s=320x240:r=25:d=2 -f lavfi -i "
                             "sine=frequency=440:sample_rate=44100:duration=2 -vf "
                             "drawbox=x=0:y=0:w=160:h=120:color=0x00FF00:t=fill,"
                             "drawbox=x=160:y=0:w=160:h=120:color=0x0000FF:t=fill,"
                             "drawbox=x=160:y=120:w=160:h=120:color=0xFFFF00:t=fill "
                             "-c:v libx264 -preset ultrafast -qp 10 -pix_fmt yuv420p -c:a aac -ac 2")
             .split(QLatin1Char(' '))});
}

enum Colour { Red, Green, Blue, Yellow, Black, White, Grey };

inline Colour classify(QRgb p)
{
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    if (r > 200 && g > 200 && b > 200)
        return White;
    if (r < 50 && g < 50 && b < 50)
        return Black;
    if (r > 180 && g > 180 && b < 80)
        return Yellow;
    if (r > 180 && g < 80 && b < 80)
        return Red;
    if (g > 180 && r < 80 && b < 80)
        return Green;
    if (b > 180 && r < 80 && g < 80)
        return Blue;
    return Grey;
}

// Runs a conversion of the quadrant clip with the edit and answers the output path.
inline QString convert(const QString &name, const std::function<void(rsc_edit *)> &setUp, int width = 0, int height = 0,
                       QString source = QString())
{
    const QString out = rstest::scratchDir(QStringLiteral("edit-") + name) + QStringLiteral("/out.mp4");
    rsc_edit *e = rsc_edit_create();
    rsc_edit_enable_video_edits(e, 1);
    rsc_edit_enable_audio_edits(e, 1);
    rsc_edit_set_encoder_options(e, "preset=ultrafast:qp=10");
    if (width)
        rsc_edit_set_video_size(e, width, height);
    setUp(e);
    if (source.isEmpty())
        source = quadrants();
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    const bool started = rsc_job_open_file(job, source.toUtf8().constData(), out.toUtf8().constData(), "mp4", e) == 1 &&
                         rsc_job_start(job) == 1;
    rsc_edit_release(e);
    QElapsedTimer t;
    t.start();
    while (started && !rsc_job_is_finished(job) && t.elapsed() < 60000)
        QThread::msleep(5);
    const bool ok = started && rsc_job_is_finished(job) && !rsc_job_is_failed(job);
    if (!ok)
        qWarning() << "conversion failed:" << rsc_job_error(job);
    rsc_job_close(job);
    rsc_job_release(job);
    return ok ? out : QString();
}

// The player's current edited frame, as the snapshot takes it; null when it gave none.
inline QImage captured(rsc_player *player)
{
    QImage img;
    if (unsigned char *bmp = rsc_player_capture_video_image(player, 0, 0, 0)) {
        img.loadFromData(bmp, int(rsc_player_get_buffer_size(player, bmp)), "BMP");
        rsc_player_free_video_image(player, bmp);
    }
    return img;
}

inline QString writePng(const QString &name, const QSize &size, QColor colour)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    const QString path = rstest::scratchDir(QStringLiteral("pictures")) + QLatin1Char('/') + name;
    img.save(path, "PNG");
    return path;
}

} // namespace edittest
