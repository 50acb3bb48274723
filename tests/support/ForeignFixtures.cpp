// Clips made by other muxers and encoders than ffmpeg (GStreamer, mkvmerge, x264, lame, flac, oggenc,
// opusenc, sox), as users' files are made. Each name ending in "_a" or "_b" is one of a pair made the same
// way with different picture, tone and length, so the two can be joined without re-encoding.
#include "MediaFixtures.h"

#include <QDebug>

namespace rstest {

namespace {

struct Variant
{
    int frames; // 25 a second
    const char *pattern;
    int freq;
};

QString gstVideo(const Variant &v)
{
    return QStringLiteral("videotestsrc num-buffers=%1 pattern=%2 ! video/x-raw,width=320,height=240,framerate=25/1")
        .arg(v.frames)
        .arg(QLatin1String(v.pattern));
}

// 40 ms of sound per buffer: as long as the picture.
QString gstAudio(const Variant &v)
{
    return QStringLiteral("audiotestsrc num-buffers=%1 samplesperbuffer=1764 freq=%2 ! "
                          "audio/x-raw,rate=44100,channels=2 ! audioconvert")
        .arg(v.frames)
        .arg(v.freq);
}

const QString kX264 = QStringLiteral("x264enc bframes=2 key-int-max=25 speed-preset=superfast ! h264parse");

QString gstMux(const Variant &v, const QString &video, const QString &audio, const QString &mux)
{
    return QStringLiteral("gst-launch-1.0 -q -e %1 ! %2 ! %3 name=m ! filesink location=\"$OUT\" %4 ! %5 ! m.")
        .arg(gstVideo(v), video, mux, gstAudio(v), audio);
}

QString soxTone(const Variant &v)
{
    return QStringLiteral("sox -n -r 44100 -c 2 -b 16 tone.wav synth %1 sine %2")
        .arg(double(v.frames) / 25.0)
        .arg(v.freq);
}

// The command that makes `kind` (the name without its variant and suffix).
QString commandFor(const QString &kind, const Variant &v)
{
    const QString aac = QStringLiteral("avenc_aac ! aacparse");
    const QString mp3 = QStringLiteral("lamemp3enc ! mpegaudioparse");
    if (kind == QLatin1String("gst_h264_aac.mp4"))
        return gstMux(v, kX264, aac, QStringLiteral("mp4mux"));
    if (kind == QLatin1String("gst_h264_aac.mov"))
        return gstMux(v, kX264, aac, QStringLiteral("qtmux"));
    if (kind == QLatin1String("gst_h264_aac.mkv"))
        return gstMux(v, kX264, aac, QStringLiteral("matroskamux"));
    if (kind == QLatin1String("gst_h264_aac.ts"))
        return gstMux(v, kX264, aac, QStringLiteral("mpegtsmux"));
    if (kind == QLatin1String("gst_h264_mp3.flv"))
        return gstMux(v, kX264, mp3, QStringLiteral("flvmux"));
    if (kind == QLatin1String("gst_mpeg4_mp3.avi"))
        return gstMux(v, QStringLiteral("avenc_mpeg4 ! mpeg4videoparse"), mp3, QStringLiteral("avimux"));
    if (kind == QLatin1String("gst_vp8_vorbis.webm"))
        return gstMux(v, QStringLiteral("vp8enc deadline=1"), QStringLiteral("vorbisenc"), QStringLiteral("webmmux"));
    if (kind == QLatin1String("gst_aac.m4a"))
        return QStringLiteral("gst-launch-1.0 -q -e %1 ! %2 ! mp4mux ! filesink location=\"$OUT\"")
            .arg(gstAudio(v), aac);
    // x264's raw stream with B-frames in Matroska by mkvmerge: its packets carry no decoding times.
    if (kind == QLatin1String("mkvmerge_x264_mp3.mkv"))
        return QStringLiteral("gst-launch-1.0 -q -e %1 ! y4menc ! filesink location=in.y4m; "
                              "x264 --quiet --bframes 3 --keyint 25 -o v.h264 in.y4m; %2; "
                              "lame --quiet -b 128 tone.wav a.mp3; "
                              "mkvmerge -q -o \"$OUT\" --default-duration 0:25fps v.h264 a.mp3")
            .arg(gstVideo(v), soxTone(v));
    // The same with two chapters and a SubRip track.
    if (kind == QLatin1String("mkvmerge_subs_chapters.mkv"))
        return QStringLiteral("gst-launch-1.0 -q -e %1 ! y4menc ! filesink location=in.y4m; "
                              "x264 --quiet --bframes 3 --keyint 25 -o v.h264 in.y4m; %2; "
                              "lame --quiet -b 128 tone.wav a.mp3; "
                              "printf 'CHAPTER01=00:00:00.000\\nCHAPTER01NAME=Start\\n"
                              "CHAPTER02=00:00:00.500\\nCHAPTER02NAME=Middle\\n' > ch.txt; "
                              "printf '1\\n00:00:00,100 --> 00:00:00,400\\nFirst\\n\\n"
                              "2\\n00:00:00,600 --> 00:00:00,900\\nSecond\\n' > s.srt; "
                              "mkvmerge -q -o \"$OUT\" --chapters ch.txt --default-duration 0:25fps v.h264 a.mp3 s.srt")
            .arg(gstVideo(v), soxTone(v));
    if (kind == QLatin1String("x264.h264"))
        return QStringLiteral("gst-launch-1.0 -q -e %1 ! y4menc ! filesink location=in.y4m; "
                              "x264 --quiet --bframes 3 --keyint 25 -o \"$OUT\" in.y4m")
            .arg(gstVideo(v));
    if (kind == QLatin1String("lame.mp3"))
        return soxTone(v) + QStringLiteral("; lame --quiet -b 128 tone.wav \"$OUT\"");
    if (kind == QLatin1String("oggenc.ogg"))
        return soxTone(v) + QStringLiteral("; oggenc -Q -o \"$OUT\" tone.wav");
    if (kind == QLatin1String("opusenc.opus"))
        return soxTone(v) + QStringLiteral("; opusenc --quiet tone.wav \"$OUT\"");
    if (kind == QLatin1String("flac.flac"))
        return soxTone(v) + QStringLiteral("; flac -s -o \"$OUT\" tone.wav");
    if (kind == QLatin1String("sox.wav"))
        return soxTone(v) + QStringLiteral("; cp tone.wav \"$OUT\"");
    return QString();
}

} // namespace

QString MediaFixtures::foreign(const QString &name)
{
    // "<kind without suffix>_<a|b>.<suffix>", or the kind itself for variant a.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    QString base = name.left(dot);
    const QString suffix = name.mid(dot);
    Variant v{25, "ball", 440};
    if (base.endsWith(QLatin1String("_b"))) {
        v = Variant{38, "smpte", 660};
        base.chop(2);
    } else if (base.endsWith(QLatin1String("_a"))) {
        base.chop(2);
    }
    const QString command = commandFor(base + suffix, v);
    if (command.isEmpty()) {
        qWarning() << "unknown foreign fixture" << name;
        return fixtureDir() + QLatin1Char('/') + name;
    }
    return makeByCommand(QStringLiteral("foreign/") + name, command);
}

QString MediaFixtures::foreignSubtitled(const QString &format)
{
    const QString srt = foreign(QStringLiteral("mkvmerge_subs_chapters_a.mkv"));
    if (format == QLatin1String("srt"))
        return srt;
    const QString name = format == QLatin1String("mov_text")
                             ? QStringLiteral("foreign/mkvmerge_subs_movtext.mp4")
                             : QStringLiteral("foreign/mkvmerge_subs_") + format + QStringLiteral(".mkv");
    return make({name,
                 {QStringLiteral("-i"), srt, QStringLiteral("-map"), QStringLiteral("0"), QStringLiteral("-c"),
                  QStringLiteral("copy"), QStringLiteral("-c:s"), format}});
}

QStringList MediaFixtures::foreignNames()
{
    return {QStringLiteral("gst_h264_aac.mp4"),
            QStringLiteral("gst_h264_aac.mov"),
            QStringLiteral("gst_h264_aac.mkv"),
            QStringLiteral("gst_h264_aac.ts"),
            QStringLiteral("gst_h264_mp3.flv"),
            QStringLiteral("gst_mpeg4_mp3.avi"),
            QStringLiteral("gst_vp8_vorbis.webm"),
            QStringLiteral("gst_aac.m4a"),
            QStringLiteral("mkvmerge_x264_mp3.mkv"),
            QStringLiteral("mkvmerge_subs_chapters.mkv"),
            QStringLiteral("x264.h264"),
            QStringLiteral("lame.mp3"),
            QStringLiteral("oggenc.ogg"),
            QStringLiteral("opusenc.opus"),
            QStringLiteral("flac.flac"),
            QStringLiteral("sox.wav")};
}

QStringList MediaFixtures::foreignTools()
{
    return {QStringLiteral("gst-launch-1.0"), QStringLiteral("mkvmerge"), QStringLiteral("x264"),
            QStringLiteral("lame"),           QStringLiteral("flac"),     QStringLiteral("oggenc"),
            QStringLiteral("opusenc"),        QStringLiteral("sox")};
}

} // namespace rstest
