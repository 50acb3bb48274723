#include "MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace rstest {

namespace {

// A picture source with visible motion and a sine tone; sizes and rates are kept small so the whole set
// generates in a few seconds.
QStringList av(const QString &size, const QString &rate, double seconds, int sampleRate = 44100, int channels = 2)
{
    const QString dur = QString::number(seconds);
    return {
        QStringLiteral("-f"),  QStringLiteral("lavfi"),
        QStringLiteral("-i"),  QStringLiteral("testsrc2=size=%1:rate=%2:duration=%3").arg(size, rate, dur),
        QStringLiteral("-f"),  QStringLiteral("lavfi"),
        QStringLiteral("-i"),  QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(sampleRate).arg(dur),
        QStringLiteral("-ac"), QString::number(channels)};
}

QStringList audioOnly(double seconds, int sampleRate = 44100)
{
    return {QStringLiteral("-f"),
            QStringLiteral("lavfi"),
            QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(sampleRate).arg(seconds),
            QStringLiteral("-ac"),
            QStringLiteral("2")};
}

QStringList operator+(QStringList a, const char *opts)
{
    a += QString::fromLatin1(opts).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return a;
}

const QList<MediaRecipe> &standardRecipes()
{
    static const QList<MediaRecipe> recipes = [] {
        QList<MediaRecipe> r;
        const char *x264 = "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k";
        r << MediaRecipe{QStringLiteral("h264_aac.mp4"), av("320x240", "25", 2) + x264 + "-movflags +faststart"};
        r << MediaRecipe{QStringLiteral("h264_aac_b.mp4"), av("320x240", "25", 3) + x264};
        r << MediaRecipe{QStringLiteral("h264_aac_c.mp4"), av("320x240", "25", 1.5) + x264};
        r << MediaRecipe{QStringLiteral("h264_aac_640x360_30.mp4"), av("640x360", "30", 2, 48000, 1) + x264};
        r << MediaRecipe{QStringLiteral("h264_aac.mov"), av("320x240", "25", 2) + x264};
        r << MediaRecipe{QStringLiteral("h264_aac.ts"), av("320x240", "25", 2) + x264 + "-f mpegts"};
        r << MediaRecipe{QStringLiteral("vp9_opus.webm"),
                         av("320x240", "25", 2, 48000) +
                             "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 300k -c:a libopus"};
        r << MediaRecipe{QStringLiteral("mpeg4_mp3.avi"), av("320x240", "25", 2) + "-c:v mpeg4 -q:v 5 -c:a libmp3lame"};
        r << MediaRecipe{QStringLiteral("flv1_mp3.flv"),
                         av("320x240", "25", 2) + "-c:v flv -q:v 5 -c:a libmp3lame -ar 44100"};
        r << MediaRecipe{QStringLiteral("h263_aac.3gp"),
                         av("176x144", "15", 2, 8000, 1) + "-c:v h263 -q:v 5 -c:a aac -b:a 32k"};
        r << MediaRecipe{QStringLiteral("theora_vorbis.ogv"),
                         av("320x240", "25", 2) + "-c:v libtheora -q:v 5 -c:a libvorbis"};
        r << MediaRecipe{QStringLiteral("video_only.mp4"),
                         QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                     QStringLiteral("testsrc2=size=320x240:rate=25:duration=2")} +
                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25"};
        r << MediaRecipe{QStringLiteral("odd_size.mkv"),
                         av("320x240", "25", 1) + "-vf scale=321:241,format=yuv420p -c:v mpeg4 -q:v 5 -c:a libvorbis"};
        r << MediaRecipe{QStringLiteral("audio.mp3"), audioOnly(2) + "-c:a libmp3lame -b:a 128k"};
        r << MediaRecipe{QStringLiteral("audio.m4a"), audioOnly(2) + "-c:a aac -b:a 128k"};
        r << MediaRecipe{QStringLiteral("audio.flac"), audioOnly(2) + "-c:a flac"};
        r << MediaRecipe{QStringLiteral("audio.wav"), audioOnly(2) + "-c:a pcm_s16le"};
        r << MediaRecipe{QStringLiteral("audio.ogg"), audioOnly(2) + "-c:a libvorbis"};
        return r;
    }();
    return recipes;
}

bool generate(const QString &target, const std::function<bool(const QString &)> &produce)
{
    if (QFileInfo::exists(target))
        return true;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QLockFile lock(target + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(120000))
        return false;
    if (QFileInfo::exists(target))
        return true;
    const QFileInfo info(target);
    const QString partial =
        info.absolutePath() + QStringLiteral("/.partial-") + info.completeBaseName() + QLatin1Char('.') + info.suffix();
    QFile::remove(partial);
    if (!produce(partial)) {
        QFile::remove(partial);
        return false;
    }
    return QFile::rename(partial, target);
}

// Extra recipes that need more than one ffmpeg call or side files.
bool produceSpecial(const QString &name, const QString &out)
{
    const QString dir = MediaFixtures::fixtureDir();
    if (name == QLatin1String("mkv_subs_chapters_2audio.mkv")) {
        const QString srt = dir + QStringLiteral("/subtitle_en.srt");
        QFile f(srt);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        f.write(
            "1\n00:00:00,200 --> 00:00:01,500\nHello subtitle\n\n2\n00:00:02,000 --> 00:00:03,500\nSecond line\n\n");
        f.close();
        const QString meta = dir + QStringLiteral("/chapters.ffmeta");
        QFile m(meta);
        if (!m.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        m.write(";FFMETADATA1\ntitle=Chaptered clip\n\n"
                "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=2000\ntitle=Opening\n\n"
                "[CHAPTER]\nTIMEBASE=1/1000\nSTART=2000\nEND=4000\ntitle=Closing\n");
        m.close();
        QStringList args = av("320x240", "25", 4);
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=880:sample_rate=48000:duration=4") << QStringLiteral("-i") << srt
             << QStringLiteral("-i") << meta;
        args += QStringLiteral("-map 0:v -map 1:a -map 2:a -map 3:s -map_metadata 4 -map_chapters 4 "
                               "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a:0 aac -c:a:1 ac3 "
                               "-c:s srt -metadata:s:a:0 language=eng -metadata:s:a:0 title=Main "
                               "-metadata:s:a:1 language=fra -metadata:s:a:1 title=Commentary "
                               "-metadata:s:s:0 language=eng")
                    .split(QLatin1Char(' '));
        return MediaFixtures::runFfmpeg(args << out);
    }
    if (name == QLatin1String("cover_art.mp3")) {
        const QString png = dir + QStringLiteral("/cover.png");
        if (!QFileInfo::exists(png) &&
            !MediaFixtures::runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                       QStringLiteral("testsrc2=size=64x64:duration=1"), QStringLiteral("-frames:v"),
                                       QStringLiteral("1"), png}))
            return false;
        QStringList args = audioOnly(2);
        args << QStringLiteral("-i") << png;
        args += QStringLiteral("-map 0:a -map 1:v -c:a libmp3lame -c:v png -disposition:v attached_pic "
                               "-metadata title=Fixture -metadata artist=Tester -metadata album=Fixtures "
                               "-id3v2_version 3")
                    .split(QLatin1Char(' '));
        return MediaFixtures::runFfmpeg(args << out);
    }
    if (name == QLatin1String("rotated90.mp4")) {
        const QString plain = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
        return MediaFixtures::runFfmpeg({QStringLiteral("-i"), plain, QStringLiteral("-c"), QStringLiteral("copy"),
                                         QStringLiteral("-metadata:s:v:0"), QStringLiteral("rotate=90"), out});
    }
    return false;
}

const QStringList &specialNames()
{
    static const QStringList names{QStringLiteral("mkv_subs_chapters_2audio.mkv"), QStringLiteral("cover_art.mp3"),
                                   QStringLiteral("rotated90.mp4")};
    return names;
}

} // namespace

QString MediaFixtures::fixtureDir()
{
    return QString::fromUtf8(RS_FIXTURE_DIR);
}

bool MediaFixtures::runFfmpeg(const QStringList &args, QString *errorText)
{
    QProcess p;
    QStringList all{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"), QStringLiteral("-v"),
                    QStringLiteral("error"), QStringLiteral("-y")};
    all += args;
    p.start(QStringLiteral("ffmpeg"), all);
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        if (errorText)
            *errorText = QStringLiteral("ffmpeg timed out");
        return false;
    }
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (errorText)
        *errorText = err;
    const bool ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        qWarning().noquote() << "ffmpeg" << all.join(QLatin1Char(' ')) << "failed:" << err;
    return ok;
}

QStringList MediaFixtures::standardNames()
{
    QStringList names;
    for (const MediaRecipe &r : standardRecipes())
        names << r.name;
    return names + specialNames();
}

QString MediaFixtures::standard(const QString &name)
{
    const QString target = fixtureDir() + QLatin1Char('/') + name;
    for (const MediaRecipe &r : standardRecipes()) {
        if (r.name == name)
            return make(r);
    }
    if (specialNames().contains(name)) {
        if (!generate(target, [&](const QString &out) { return produceSpecial(name, out); }))
            qWarning() << "could not generate fixture" << name;
        return target;
    }
    qWarning() << "unknown fixture" << name;
    return target;
}

QString MediaFixtures::fullHd(int seconds)
{
    const QString length = QString::number(seconds);
    return make({QStringLiteral("fullhd_25fps_%1s.mp4").arg(length),
                 {"-f",   "lavfi",   "-i",       "testsrc2=size=1920x1080:rate=25:duration=" + length,
                  "-f",   "lavfi",   "-i",       "sine=frequency=440:sample_rate=44100:duration=" + length,
                  "-c:v", "libx264", "-preset",  "ultrafast",
                  "-b:v", "300k",    "-pix_fmt", "yuv420p",
                  "-c:a", "aac",     "-b:a",     "64k"}});
}

QString MediaFixtures::make(const MediaRecipe &recipe)
{
    const QString target = fixtureDir() + QLatin1Char('/') + recipe.name;
    const bool ok = generate(target, [&](const QString &out) {
        QStringList args = recipe.args;
        return runFfmpeg(args << out);
    });
    if (!ok)
        qWarning() << "could not generate fixture" << recipe.name;
    return target;
}

QString MediaFixtures::makeByCommand(const QString &name, const QString &command)
{
    const QString target = fixtureDir() + QLatin1Char('/') + name;
    const bool ok = generate(target, [&](const QString &out) {
        QTemporaryDir work(fixtureDir() + QStringLiteral("/.work-XXXXXX"));
        if (!work.isValid())
            return false;
        QProcess p;
        p.setWorkingDirectory(work.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("OUT"), out);
        env.insert(QStringLiteral("FIXTURES"), fixtureDir());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-ec"), command});
        if (!p.waitForFinished(300000)) {
            p.kill();
            p.waitForFinished();
            return false;
        }
        const bool done = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && QFileInfo(out).size() > 0;
        if (!done)
            qWarning().noquote() << "fixture command for" << name << "failed:" << command
                                 << QString::fromUtf8(p.readAllStandardError());
        return done;
    });
    if (!ok)
        qWarning() << "could not generate fixture" << name;
    return target;
}

bool MediaFixtures::haveTools(const QStringList &programs, QString *missing)
{
    for (const QString &program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            if (missing)
                *missing = program;
            return false;
        }
    }
    return true;
}

namespace {

quint32 crc32OfPng(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

QByteArray bigEndian32(quint32 v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(b, 4);
}

// A file of a few bytes whose header declares a square picture of `side` pixels.
QByteArray hugePicture(const QString &suffix, int side)
{
    if (suffix == QLatin1String("png")) {
        auto chunk = [](const QByteArray &type, const QByteArray &data) {
            return bigEndian32(quint32(data.size())) + type + data + bigEndian32(crc32OfPng(type + data));
        };
        const QByteArray ihdr =
            bigEndian32(quint32(side)) + bigEndian32(quint32(side)) + QByteArray("\x08\x02\0\0\0", 5);
        return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) +
               chunk("IDAT", qCompress(QByteArray(64, 0)).mid(4)) + chunk("IEND", QByteArray());
    }
    return QStringLiteral("YUV4MPEG2 W%1 H%1 F25:1 Ip A1:1 C420jpeg\nFRAME\n").arg(side).toLatin1() +
           QByteArray(4096, char(0x80));
}

} // namespace

QString MediaFixtures::badFile(const QString &name)
{
    const QString target = fixtureDir() + QStringLiteral("/bad/") + name;
    generate(target, [&](const QString &out) {
        QFile f(out);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        if (name.startsWith(QLatin1String("huge_")))
            f.write(hugePicture(QFileInfo(name).suffix(), QFileInfo(name).baseName().mid(5).toInt()));
        else if (name.startsWith(QLatin1String("text")))
            f.write("This is not a media file, only some text that happens to end in a media suffix.\n");
        else if (name.startsWith(QLatin1String("truncated"))) {
            QFile src(standard(QStringLiteral("h264_aac.mp4")));
            if (!src.open(QIODevice::ReadOnly))
                return false;
            f.write(src.read(4096));
        }
        return true;
    });
    return target;
}

} // namespace rstest
