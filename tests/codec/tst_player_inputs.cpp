// Files a user can hand the preview and the edit pipeline: raw elementary streams to play, seek and show as
// a strip, and hostile edit files (named pipes, subtitle files beyond every bound, tiny files declaring giant
// pictures). Each hostile case runs in a child process of this test, so a hang is a killed child and its
// peak memory is the kernel's own count. So do clips whose sample aspect widens them far beyond any picture.
#include "FFprobe.h"
#include "MediaFixtures.h"
#include "PreviewThumbnails.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr uint64_t kFrameUs = 40000;        // 25 frames a second
constexpr long kMemoryBoundKb = 300 * 1024; // what a preview or join may take, whatever the edit files
// What previewing or joining a 2160p clip widened beyond any picture may take (about 720 / 800 MB).
constexpr long kLargeClipMemoryBoundKb = 1024 * 1024;

// Four seconds whose frame N is a flat grey of luma 16 + 2N, with B-frames, as a raw H.264 stream.
QString numberedRawStream(bool byX264)
{
    const QString picture = QStringLiteral("-f lavfi -i color=c=black:s=160x120:r=25:d=4 "
                                           "-vf format=yuv420p,geq=lum=16+2*N:cb=128:cr=128");
    if (!byX264)
        return rstest::MediaFixtures::make(
            {QStringLiteral("inputs_numbered_ffmpeg.h264"),
             (picture + QStringLiteral(" -c:v libx264 -preset fast -qp 4 -x264-params bframes=3:b-adapt=0 -g 25"))
                 .split(QLatin1Char(' '))});
    // x264's own defaults otherwise: one IDR picture for the whole clip, B-pyramid.
    return rstest::MediaFixtures::makeByCommand(
        QStringLiteral("inputs_numbered_x264.h264"),
        QStringLiteral("ffmpeg -loglevel error -y %1 -f yuv4mpegpipe in.y4m && x264 --quiet --qp 4 -o \"$OUT\" in.y4m")
            .arg(picture));
}

// A second of `size` pictures stating the sample aspect `sar` (e.g. "100/1"), with sound, in MP4 (H.264 states
// at most 65535:1) or NUT (its header states any).
QString clipWithSampleAspect(const QString &size, const QString &sar, const QString &suffix)
{
    const QString video = suffix == QLatin1String("nut") ? QStringLiteral("ffv1")
                                                         : QStringLiteral("libx264 -preset ultrafast -pix_fmt yuv420p");
    return rstest::MediaFixtures::make(
        {QStringLiteral("inputs_%1_sar_%2.%3")
             .arg(size, QString(sar).replace(QLatin1Char('/'), QLatin1Char('_')), suffix),
         QStringLiteral("-f lavfi -i testsrc2=s=%1:r=25:d=1 -f lavfi -i sine=d=1 -vf setsar=sar=%2:max=%3 -c:v %4 "
                        "-c:a aac")
             .arg(size, sar,
                  QString::number(qMax(sar.section(QLatin1Char('/'), 0, 0).toLongLong(),
                                       sar.section(QLatin1Char('/'), 1, 1).toLongLong())),
                  video)
             .split(QLatin1Char(' '))});
}

// A clip with sound for the edits.
QString clipWithSound()
{
    return rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
}

QString longClipWithSound()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("inputs_20s.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=s=160x120:r=25:d=20 -f lavfi -i sine=f=220:r=44100:d=20 -c:v "
                             "libx264 -preset ultrafast -c:a aac")
             .split(QLatin1Char(' '))});
}

int frameOfLuma(int luma)
{
    return (luma - 16 + 1) / 2;
}

struct LastFrame
{
    std::atomic<int> number{-1};
    std::atomic<int> calls{0};
    static unsigned int handler(void *user, void *frame)
    {
        auto *self = static_cast<LastFrame *>(user);
        rsc_frame *f = rsc_frame_reference(frame);
        if (!f)
            return 0;
        if (rsc_frame_format(f) == RSC_FRAME_YUV420P) {
            const uint32_t w = rsc_frame_width(f), h = rsc_frame_height(f);
            self->number = frameOfLuma(rsc_frame_data(f, 0)[(h / 2) * rsc_frame_stride(f, 0) + w / 2]);
        }
        rsc_frame_release(f);
        ++self->calls;
        return 1;
    }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

QByteArray srtTime(qint64 ms)
{
    return QString::asprintf("%02lld:%02lld:%02lld,%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000)
        .toLatin1();
}

// `count` cues of `text` and their number (the demuxer drops repeated cues) from `startMs` on, each
// `spacingMs` after the last and showing for `lengthMs`.
QByteArray srt(int count, const QByteArray &text, int spacingMs, int lengthMs, int startMs = 0)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const qint64 at = startMs + qint64(i) * spacingMs;
        out += QByteArray::number(i + 1) + '\n' + srtTime(at) + " --> " + srtTime(at + lengthMs) + '\n' + text + ' ' +
               QByteArray::number(i) + "\n\n";
    }
    return out;
}

// An ASS event showing `text` from `startCs` (hundredths of a second) to 3 s.
QByteArray assEvent(const QByteArray &text, int startCs = 0)
{
    return "Dialogue: 0,0:00:00." + QByteArray::number(startCs).rightJustified(2, '0') +
           ",0:00:03.00,Default,,0,0,0,," + text + '\n';
}

// An ASS script whose [Script Info] section holds the lines `info`, with the events `events`.
QByteArray assScriptWith(const QByteArray &info, const QByteArray &events)
{
    return "[Script Info]\n" + info +
           "\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n" + events;
}

// An ASS script of `lines` lines (PlayResY) showing `count` events of `text` from 0 to 3 s.
QByteArray assScript(const QByteArray &text, int lines = 288, int count = 1)
{
    return assScriptWith("PlayResY: " + QByteArray::number(lines) + '\n', assEvent(text).repeated(count));
}

// A clip whose own subtitle stream (SubRip in Matroska) holds `subtitles`.
QString clipWithSubtitleStream(const QString &name, const QByteArray &subtitles)
{
    const QString input = rstest::scratchDir(QStringLiteral("stream-") + name) + QStringLiteral("/in.srt");
    writeFile(input, subtitles);
    return rstest::MediaFixtures::make(
        {name, QStringLiteral("-f lavfi -i color=c=blue:s=160x120:r=25:d=2 -i %1 -map 0 -map 1 -c:v libx264 "
                              "-preset ultrafast -c:s copy")
                   .arg(input)
                   .split(QLatin1Char(' '))});
}

QByteArray littleEndian(quint32 v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * i));
    return out;
}

// A PNG whose header states width x height (8-bit RGB, or 16-bit RGBA when `deep`) and whose data hold a few
// bytes.
QByteArray statedPng(quint32 width, quint32 height, bool deep = false)
{
    auto bigEndian = [](quint32 v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    auto chunk = [&](const QByteArray &type, const QByteArray &data) {
        quint32 crc = 0xFFFFFFFFu;
        for (char c : type + data) {
            crc ^= quint8(c);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return bigEndian(quint32(data.size())) + type + data + bigEndian(~crc);
    };
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR",
                 bigEndian(width) + bigEndian(height) + QByteArray(deep ? "\x10\x06\0\0\0" : "\x08\x02\0\0\0", 5)) +
           chunk("IDAT", qCompress(QByteArray(64, 0)).mid(4)) + chunk("IEND", QByteArray());
}

// An 8-bit run-length BMP of width x height of about 1 KB: its data end at once, the rest is colour 0.
QByteArray runLengthBmp(quint32 width, quint32 height)
{
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette += QByteArray(3, char(i)) + '\0';
    const QByteArray data("\0\1", 2); // end of picture
    const quint32 offset = 14 + 40 + quint32(palette.size());
    return "BM" + littleEndian(offset + 2, 4) + littleEndian(0, 4) + littleEndian(offset, 4) + littleEndian(40, 4) +
           littleEndian(width, 4) + littleEndian(height, 4) + littleEndian(1, 2) + littleEndian(8, 2) +
           littleEndian(1, 4) + littleEndian(2, 4) + littleEndian(2835, 4) + littleEndian(2835, 4) +
           littleEndian(256, 4) + littleEndian(0, 4) + palette + data;
}

// A WAV file's header without samples, as an aborted recording leaves it: a sound stream that gives no sound.
QByteArray wavHeaderOnly()
{
    return "RIFF" + littleEndian(36, 4) + "WAVEfmt " + littleEndian(16, 4) + littleEndian(1, 2) + littleEndian(2, 2) +
           littleEndian(44100, 4) + littleEndian(44100 * 4, 4) + littleEndian(4, 2) + littleEndian(16, 2) + "data" +
           littleEndian(0, 4);
}

// What a child of this test does with one edit file: "preview" plays a clip with it, "join" adds the clip
// with it to an encoding join. The exit code says whether the file was taken (1) or refused (0); the reason
// of a refusal goes to the standard output; 4 says a join took the file and then failed. For the use
// "stream" the file is a clip whose own subtitle stream is drawn; for "own size" it is a clip previewed at its
// own size (its capture written to <clip>.bmp, the exit code saying whether there was one) or joined at the
// output size "Auto". For "background cut" (looped) and "background cut once" the file is a background sound
// that is cut in place to a header without samples once it is taken, while it plays or is joined.
int childScenario(const char *mode, const char *use, const char *file, const char *clip, const char *good)
{
    const bool swap = std::strcmp(good, "-") != 0; // take a good file, then put `file` in its place
    const char *path = swap ? good : file;
    const bool stream = std::strcmp(use, "stream") == 0;
    const bool ownSize = std::strcmp(use, "own size") == 0;
    const bool cut = std::strncmp(use, "background cut", 14) == 0;
    const bool loop = std::strcmp(use, "background cut once") != 0;
    if (stream || ownSize)
        clip = file;
    if (cut)
        use = "background";
    const auto cutNow = [&] { return !cut || ::truncate(file, 44) == 0; };
    int taken = 0;
    if (std::strcmp(mode, "join") == 0) {
        rsc_edit *edit = rsc_edit_create();
        rsc_edit_enable_video_edits(edit, 1);
        rsc_edit_enable_audio_edits(edit, 1);
        if (!std::strcmp(use, "subtitle"))
            rsc_edit_set_subtitle_file(edit, path);
        else if (!std::strcmp(use, "background"))
            rsc_edit_set_audio_background_file(edit, path);
        else if (stream)
            rsc_edit_set_subtitle_stream(edit, 0);
        else if (!ownSize)
            rsc_edit_set_watermark_image_file(edit, path);
        if (!std::strcmp(use, "mask"))
            rsc_edit_set_watermark_image_mask_file(edit, path);
        rsc_edit_set_audio_background_loop(edit, loop);
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        const std::string out = std::string(clip) + ".out.mp4";
        rsc_job_open_output(job, out.c_str(), "mp4", nullptr);
        rsc_job_start(job);
        taken = rsc_job_add_task(job, clip, 0, 0, edit);
        std::printf("%s\n", rsc_job_error(job));
        if (taken && !cutNow())
            return 3;
        while (taken && !rsc_job_wait(job, 100)) {
        }
        if (taken && (rsc_job_is_failed(job) || rsc_job_close(job) != 1))
            taken = 4; // taken, and then the join failed
        rsc_job_close(job);
        rsc_job_release(job);
        rsc_edit_release(edit);
        return taken;
    }
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    LastFrame edited;
    rsc_player_set_video_frame_handler(player, &LastFrame::handler, &edited);
    if (rsc_player_open(player, clip, ownSize ? 0 : 160, ownSize ? 0 : 120, 0, 0) != 1)
        return 2;
    if (!std::strcmp(use, "subtitle")) {
        taken = rsc_player_set_subtitle_file(player, path);
    } else if (!std::strcmp(use, "background")) {
        taken =
            rsc_player_set_audio_background_file(player, path) && rsc_player_set_audio_background_loop(player, loop);
    } else if (!std::strcmp(use, "font")) {
        rsc_player_set_watermark_text(player, "Font");
        taken = rsc_player_set_watermark_text_font_file(player, path);
    } else if (!std::strcmp(use, "subtitle font")) {
        taken = rsc_player_set_subtitle_file(player, good) && rsc_player_set_subtitle_font_file(player, file);
    } else if (!std::strcmp(use, "mask")) {
        rsc_player_set_watermark_image_file(player, path);
        taken = rsc_player_set_watermark_image_mask_file(player, path);
    } else if (stream) {
        taken = rsc_player_set_subtitle_index(player, 0);
    } else if (!ownSize) {
        taken = rsc_player_set_watermark_image_file(player, path);
    }
    std::printf("%s\n", rsc_player_error(player));
    if (swap && std::strcmp(use, "subtitle font") != 0 && std::rename(file, good) != 0)
        return 3;
    // Seeks both ways and a moment of play build the graphs anew.
    rsc_player_seek(player, 1000000);
    rsc_player_play(player);
    QElapsedTimer t;
    t.start();
    while (edited.calls < 10 && t.elapsed() < 3000)
        QThread::msleep(10);
    if (!cutNow())
        return 3;
    for (int i = 0; i < (cut ? 4 : 1); ++i) {
        rsc_player_seek(player, 200000 + 300000 * i);
        rsc_player_play(player);
    }
    rsc_player_seek(player, 200000);
    if (ownSize) {
        unsigned char *bmp = rsc_player_capture_video_image(player, 0, 0, 0);
        QFile image(QString::fromUtf8(clip) + QStringLiteral(".bmp"));
        taken = bmp && image.open(QIODevice::WriteOnly) &&
                image.write(reinterpret_cast<const char *>(bmp), rsc_player_get_buffer_size(player, bmp)) > 0;
        rsc_player_free_video_image(player, bmp);
    }
    rsc_player_close(player);
    rsc_player_release(player);
    return taken;
}

// The child's peak memory since its exec (VmHWM; the rusage of a child also counts the parent's size at the
// spawn) goes to <clip>.peak.
int runChild(const char *mode, const char *use, const char *file, const char *clip, const char *good)
{
    const int taken = childScenario(mode, use, file, clip, good);
    QFile status(QStringLiteral("/proc/self/status"));
    QFile peak(QString::fromUtf8(clip) + QStringLiteral(".peak"));
    if (status.open(QIODevice::ReadOnly) && peak.open(QIODevice::WriteOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                peak.write(line.mid(6).trimmed());
    }
    return taken;
}

struct ChildRun
{
    bool finished = false;
    int exitCode = -1;
    int signal = 0; // the signal that ended the child
    long maxRssKb = 0;
    qint64 ms = 0;
};

ChildRun runInChild(const QStringList &args, int boundMs)
{
    QList<QByteArray> bytes{QFile::encodeName(QCoreApplication::applicationFilePath()), QByteArray("--child")};
    for (const QString &a : args)
        bytes << a.toUtf8();
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    ChildRun run;
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (t.elapsed() > boundMs) {
            ::kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.ms = t.elapsed();
            return run;
        }
        QThread::msleep(20);
    }
    run.ms = t.elapsed();
    run.finished = WIFEXITED(status);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    QFile peak(args.at(3) + QStringLiteral(".peak"));
    if (peak.open(QIODevice::ReadOnly))
        run.maxRssKb = peak.readAll().split(' ').first().toLong(); // "<n> kB"
    return run;
}

} // namespace

class TestPlayerInputs : public QObject
{
    Q_OBJECT
private slots:
    void rawStream_data()
    {
        QTest::addColumn<bool>("byX264");
        QTest::newRow("ffmpeg") << false;
        QTest::newRow("x264") << true;
    }

    // A raw H.264 stream plays, seeks exactly both ways, steps, and gives the preview strip its ten pictures.
    void rawStream()
    {
        QFETCH(bool, byX264);
        const QString path = numberedRawStream(byX264);
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        LastFrame original;
        rsc_player_set_original_video_frame_handler(player, &LastFrame::handler, &original);
        QCOMPARE(rsc_player_open(player, path.toUtf8().constData(), 0, 0, 0, 0), 1);
        QCOMPARE(rsc_player_duration(player), 100 * kFrameUs);
        // Forward and back, across the groups of pictures, onto their first frames and mid-group.
        for (int frame : {60, 13, 99, 0, 37, 26, 25, 24, 74, 51}) {
            QVERIFY(rsc_player_seek(player, frame * kFrameUs + kFrameUs / 2));
            QCOMPARE(original.number.load(), frame);
            QCOMPARE(rsc_player_video_time(player), frame * kFrameUs);
        }
        QVERIFY(rsc_player_frame_step(player, -1));
        QCOMPARE(original.number.load(), 50);
        QVERIFY(rsc_player_frame_step(player, 1));
        QCOMPARE(original.number.load(), 51);
        // A drag shows pictures near each time, and its end the frame exactly.
        QVERIFY(rsc_player_begin_async_seek(player, 2000000));
        QVERIFY(rsc_player_seek(player, 3000000));
        QVERIFY(rsc_player_seek(player, 1000000));
        QVERIFY(rsc_player_end_async_seek(player));
        QCOMPARE(original.number.load(), 25);
        // Played to its end from near it, the pictures run on to the last.
        QVERIFY(rsc_player_seek(player, 90 * kFrameUs));
        QVERIFY(rsc_player_play(player));
        QTRY_VERIFY_WITH_TIMEOUT(rsc_player_is_completed(player), rstest::kHangBoundMs);
        QCOMPARE(original.number.load(), 99);
        rsc_player_release(player);

        // The strip, as the preview pane takes it.
        std::atomic<bool> cancel{false};
        const QList<QImage> strip = PreviewThumbnails::extract(path, 100 * kFrameUs, cancel, {});
        QCOMPARE(strip.size(), PreviewThumbnails::kCount);
        for (int i = 0; i < strip.size(); ++i) {
            const QImage &image = strip.at(i);
            const int grey = qRed(image.pixel(image.width() / 2, image.height() / 2));
            QCOMPARE(frameOfLuma(16 + qRound(grey * 219.0 / 255.0)), i * 10);
        }
    }

    void hostileEditFiles_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("use");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("good"); // taken first and then replaced by the file; "-" for none
        QTest::addColumn<bool>("taken");
        const QString dir = rstest::scratchDir(QStringLiteral("hostile"));
        auto pipe = [&](const QString &name) {
            const QString path = dir + QLatin1Char('/') + name;
            if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
                qWarning("mkfifo %s failed", qPrintable(path));
            return path;
        };
        auto file = [&](const QString &name, const QByteArray &bytes) {
            const QString path = dir + QLatin1Char('/') + name;
            writeFile(path, bytes);
            return path;
        };
        auto copy = [&](const QString &from, const QString &name) {
            const QString path = dir + QLatin1Char('/') + name;
            QFile::copy(from, path);
            return path;
        };
        const QByteArray subtitleText = srt(3, "A subtitle", 1000, 900);
        const QString picture = rstest::MediaFixtures::make(
            {QStringLiteral("inputs_red.png"),
             QString::fromLatin1("-f lavfi -i color=c=red:s=32x32 -frames:v 1").split(QLatin1Char(' '))});
        const QString sound = rstest::MediaFixtures::standard(QStringLiteral("audio.mp3"));
        const QString noisyTail = file(QStringLiteral("noisy-tail.mp3"), [] {
            QFile frame(rstest::MediaFixtures::make(
                {QStringLiteral("inputs_one_frame.mp3"),
                 QString::fromLatin1("-f lavfi -i sine=f=440:d=0.02 -ac 2 -c:a libmp3lame").split(QLatin1Char(' '))}));
            QByteArray bytes = frame.open(QIODevice::ReadOnly) ? frame.readAll() : QByteArray();
            QByteArray noise(20 << 20, '\0');
            QRandomGenerator(20).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
            return bytes + noise;
        }());
        const QString longSound = rstest::MediaFixtures::make(
            {QStringLiteral("inputs_tone_20s.wav"),
             QString::fromLatin1("-f lavfi -i sine=f=440:r=44100:d=20 -ac 2 -fflags +bitexact")
                 .split(QLatin1Char(' '))});
        const QString hugePicture = rstest::MediaFixtures::badFile(QStringLiteral("huge_16000.png"));
        const QString bigPicture = file(QStringLiteral("big.bmp"), runLengthBmp(8192, 8192));
        const QString emptyPicture = file(QStringLiteral("empty.png"), statedPng(16384, 4096));
        const QString longLineClip = clipWithSubtitleStream(QStringLiteral("inputs_stream_1mb_line.mkv"),
                                                            srt(1, QByteArray(1 << 20, 'x'), 1000, 3000));
        const QString animation = rstest::MediaFixtures::make(
            {QStringLiteral("inputs_anim.gif"),
             QString::fromLatin1("-f lavfi -i testsrc=s=32x32:r=10:d=0.3 -loop 0").split(QLatin1Char(' '))});
        const QString rgbaPicture = rstest::MediaFixtures::make(
            {QStringLiteral("inputs_6000_rgba.png"),
             QString::fromLatin1("-f lavfi -i color=c=white:s=6000x6000 -frames:v 1 -pix_fmt rgba")
                 .split(QLatin1Char(' '))});
        // A font beside a named pipe in its folder: libass reads every file of the folder it is given.
        const QString fonts = dir + QStringLiteral("/fonts");
        QDir().mkpath(fonts);
        const QString font = copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
                                  QStringLiteral("fonts/DejaVuSans.ttf"));
        pipe(QStringLiteral("fonts/zz.ttf"));

        for (const QString &mode : {QStringLiteral("preview"), QStringLiteral("join")}) {
            auto row = [&](const QString &what, const QString &use, const QString &path, const QString &good,
                           bool taken) {
                QTest::newRow(qPrintable(mode + QStringLiteral(": ") + what)) << mode << use << path << good << taken;
            };
            row(QStringLiteral("subtitle pipe"), QStringLiteral("subtitle"), pipe(mode + QStringLiteral(".srt")),
                QStringLiteral("-"), false);
            row(QStringLiteral("picture pipe"), QStringLiteral("picture"), pipe(mode + QStringLiteral(".png")),
                QStringLiteral("-"), false);
            row(QStringLiteral("background pipe"), QStringLiteral("background"), pipe(mode + QStringLiteral(".mp3")),
                QStringLiteral("-"), false);
            if (mode == QLatin1String("preview")) // jobs take no font files
                row(QStringLiteral("font beside a pipe"), QStringLiteral("font"), font, QStringLiteral("-"), true);
            row(QStringLiteral("huge picture as background"), QStringLiteral("background"), hugePicture,
                QStringLiteral("-"), false);
            // A sound stream without samples is refused as no sound at all; one that is cut to that while it is
            // read ends its background (looped or not) instead of reading it round for ever.
            row(QStringLiteral("a sound header without samples"), QStringLiteral("background"),
                file(mode + QStringLiteral("-header.wav"), wavHeaderOnly()), QStringLiteral("-"), false);
            row(QStringLiteral("a background cut to its header, looped"), QStringLiteral("background cut"),
                copy(longSound, mode + QStringLiteral("-cut.wav")), QStringLiteral("-"), true);
            row(QStringLiteral("a background cut to its header, once"), QStringLiteral("background cut once"),
                copy(longSound, mode + QStringLiteral("-cut-once.wav")), QStringLiteral("-"), true);
            // A frame of sound and 20 MB that does not decode, looped: each wrap reads the sound, not the rest.
            row(QStringLiteral("a looped background of one frame and 20 MB of noise"), QStringLiteral("background"),
                noisyTail, QStringLiteral("-"), true);
            row(QStringLiteral("huge picture as watermark"), QStringLiteral("picture"), hugePicture,
                QStringLiteral("-"), false);
            row(QStringLiteral("a 1 MB line"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-line.srt"), srt(1, QByteArray(1 << 20, 'x'), 1000, 3000)),
                QStringLiteral("-"), false);
            row(QStringLiteral("9 MB of cues"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-big.srt"), srt(9 << 20 >> 6, QByteArray(40, 'a'), 50, 50)),
                QStringLiteral("-"), false);
            row(QStringLiteral("60000 cues"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-many.srt"), srt(60000, "ab", 10, 10)), QStringLiteral("-"), false);
            row(QStringLiteral("3000 cues at once"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-once.srt"), srt(3000, "ab", 0, 4000)), QStringLiteral("-"), false);
            row(QStringLiteral("96 KB of text at once"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-crowd.srt"), srt(3, QByteArray(32000, 'w'), 0, 3000)), QStringLiteral("-"),
                false);
            // Within the bounds, near those on a cue's text and on cues at once: taken, in bounded memory. The
            // crowd shows for a few frames only (at the preview's first seek), so drawing it stays short.
            row(QStringLiteral("a large file within the bounds"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-large.srt"), srt(1, QByteArray(60 << 10, 'y'), 0, 200, 1000) +
                                                              srt(1900, "ab", 0, 200, 1200) +
                                                              srt(20000, QByteArray(120, 'c'), 40, 40, 2000)),
                QStringLiteral("-"), true);
            // The clip's own subtitle stream is held to the same bounds: the preview leaves it out, the join
            // refuses the clip.
            row(QStringLiteral("a 1 MB line in the clip's stream"), QStringLiteral("stream"), longLineClip,
                QStringLiteral("-"), mode == QLatin1String("preview"));
            // Pictures at the size bounds: decoded once and cut to what the frame shows.
            row(QStringLiteral("an 8192x8192 picture"), QStringLiteral("picture"), bigPicture, QStringLiteral("-"),
                true);
            row(QStringLiteral("an 8192x8192 picture and mask"), QStringLiteral("mask"), bigPicture,
                QStringLiteral("-"), true);
            row(QStringLiteral("a 16384x4096 picture without its data"), QStringLiteral("picture"), emptyPicture,
                QStringLiteral("-"), false);
            // 144 MB decoded, as picture and as mask: the piece the frame shows does not keep the picture.
            row(QStringLiteral("a 6000x6000 RGBA picture and mask"), QStringLiteral("mask"), rgbaPicture,
                QStringLiteral("-"), true);
            // An animation loops for as long as the clip plays.
            row(QStringLiteral("a looped animation"), QStringLiteral("picture"), animation, QStringLiteral("-"), true);
            // Override tags asking libass for glyphs larger than any style draws: a few bytes, gigabytes.
            row(QStringLiteral("tags asking for giant glyphs"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-giant.ass"), assScript("{\\fscx100000\\fscy100000}WWWW")),
                QStringLiteral("-"), false);
            // libass reads the integer before the exponent: a canvas of 1 line, each glyph 200 times the frame.
            row(QStringLiteral("a canvas of 1e6 lines"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-exponent.ass"), assScriptWith("PlayResY: 1e6\n", assEvent("{\\fs200}WW"))),
                QStringLiteral("-"), false);
            // libass takes the integer modulo 2^32: a canvas of 1 line, each glyph of size 40 forty times the frame.
            row(QStringLiteral("a canvas that wraps to 1 line"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-wrap.ass"),
                     assScriptWith("PlayResY: 18446744073709551617\n", assEvent("{\\fs40}A subtitle"))),
                QStringLiteral("-"), false);
        }
        // Files taken and then replaced by a pipe: the graphs built afterwards must not open it.
        auto swapRow = [&](const QString &use, const QString &suffix, const QString &good) {
            QTest::newRow(qPrintable(QStringLiteral("preview: %1 replaced by a pipe").arg(use)))
                << QStringLiteral("preview") << use << pipe(QStringLiteral("swap-") + use + suffix)
                << copy(good, QStringLiteral("good-") + use + suffix) << true;
        };
        swapRow(QStringLiteral("subtitle"), QStringLiteral(".srt"), file(QStringLiteral("plain.srt"), subtitleText));
        swapRow(QStringLiteral("picture"), QStringLiteral(".png"), picture);
        swapRow(QStringLiteral("mask"), QStringLiteral(".png"), picture);
        swapRow(QStringLiteral("background"), QStringLiteral(".mp3"), sound);
        QTest::newRow("preview: background replaced by a header without samples")
            << QStringLiteral("preview") << QStringLiteral("background")
            << file(QStringLiteral("swap-header.wav"), wavHeaderOnly())
            << copy(sound, QStringLiteral("good-header.mp3")) << true;
        QTest::newRow("preview: subtitle font that is a pipe")
            << QStringLiteral("preview") << QStringLiteral("subtitle font") << pipe(QStringLiteral("font.ttf"))
            << copy(dir + QStringLiteral("/plain.srt"), QStringLiteral("font.srt")) << true;
    }

    // An edit file that would block the pipeline or cost it gigabytes is refused with its reason (or, once
    // taken, left out of the graphs): the preview and the join end within the bound, in bounded memory.
    void hostileEditFiles()
    {
        QFETCH(QString, mode);
        QFETCH(QString, use);
        QFETCH(QString, file);
        QFETCH(QString, good);
        QFETCH(bool, taken);
        const QString clip = rstest::scratchDir(QStringLiteral("clip-") + mode) + QStringLiteral("/clip.mp4");
        // A background taken into a join is read for a while: the join lasts 20 s (a cut falls in it).
        const bool longJoin = use.startsWith(QLatin1String("background")) && taken && mode == QLatin1String("join");
        QVERIFY(QFile::copy(longJoin ? longClipWithSound() : clipWithSound(), clip));
        // A file taken is played or joined in full, which takes longer on a busy machine than a refusal.
        const ChildRun run = runInChild({mode, use, file, clip, good}, rstest::kHangBoundMs * (taken ? 3 : 1));
        qDebug("child: %lld ms, peak %ld kB, exit %d", run.ms, run.maxRssKb, run.exitCode);
        QVERIFY2(run.finished, qPrintable(QStringLiteral("no end after %1 ms").arg(run.ms)));
        QVERIFY2(run.maxRssKb < kMemoryBoundKb, qPrintable(QStringLiteral("%1 kB").arg(run.maxRssKb)));
        QCOMPARE(run.exitCode, taken ? 1 : 0);
    }

    void clipWiderThanAnyPicture_data()
    {
        QTest::addColumn<QString>("mode"); // "preview" at the clip's own size, or "join" at the output size "Auto"
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("sar");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QSize>("frame"); // the preview's capture, or the joined picture
        auto row = [](const QString &mode, const QString &size, const QString &sar, const QString &suffix,
                      const QSize &frame) {
            QTest::newRow(qPrintable(QStringLiteral("%1: %2 at %3 in %4").arg(mode, size, sar, suffix)))
                << mode << size << sar << suffix << frame;
        };
        for (const QString &mode : {QStringLiteral("preview"), QStringLiteral("join")}) {
            // Widened to 384000x2160 and 192000x1080, gigabytes a frame: fitted into 16384 pixels a side.
            row(mode, QStringLiteral("3840x2160"), QStringLiteral("100/1"), QStringLiteral("mp4"), QSize(16384, 92));
            row(mode, QStringLiteral("1920x1080"), QStringLiteral("100/1"), QStringLiteral("mp4"), QSize(16384, 92));
            // An anamorphic DVD is widened as ever.
            row(mode, QStringLiteral("720x576"), QStringLiteral("16/15"), QStringLiteral("mp4"), QSize(768, 576));
        }
        // Too many pixels though within 16384 a side: both sides shrunk alike, and even (4719x14216 were not). The
        // preview alone: a join at the pixel bound takes gigabytes in the encoder.
        row(QStringLiteral("preview"), QStringLiteral("4720x180"), QStringLiteral("1/79"), QStringLiteral("mp4"),
            QSize(4718, 14214));
        // 2.56 billion pixels wide, beyond the range of int (the join takes the sample aspect its decoder states).
        row(QStringLiteral("preview"), QStringLiteral("640x360"), QStringLiteral("4000000/1"), QStringLiteral("nut"),
            QSize(16384, 2));
    }

    // A clip whose sample aspect widens it beyond any picture is previewed at its own size and captured, and
    // joined at the size "Auto", keeping its display aspect in bounded memory, without a crash.
    void clipWiderThanAnyPicture()
    {
        QFETCH(QString, mode);
        QFETCH(QString, size);
        QFETCH(QString, sar);
        QFETCH(QString, suffix);
        QFETCH(QSize, frame);
        const QString source = clipWithSampleAspect(size, sar, suffix);
        const QJsonArray stated = rstest::FFprobe::streams(source, QStringLiteral("video"));
        QVERIFY(!stated.isEmpty());
        QCOMPARE(stated.first().toObject().value(QStringLiteral("sample_aspect_ratio")).toString(),
                 QString(sar).replace(QLatin1Char('/'), QLatin1Char(':')));
        const QString clip = rstest::scratchDir(QStringLiteral("own-size-") + mode) + QStringLiteral("/clip.") + suffix;
        QVERIFY(QFile::copy(source, clip));
        const ChildRun run =
            runInChild({mode, QStringLiteral("own size"), clip, clip, QStringLiteral("-")}, rstest::kHangBoundMs * 3);
        qDebug("child: %lld ms, peak %ld kB, exit %d", run.ms, run.maxRssKb, run.exitCode);
        QVERIFY2(run.finished, qPrintable(run.signal ? QStringLiteral("the child died of signal %1").arg(run.signal)
                                                     : QStringLiteral("no end after %1 ms").arg(run.ms)));
        QVERIFY2(run.maxRssKb < kLargeClipMemoryBoundKb, qPrintable(QStringLiteral("%1 kB").arg(run.maxRssKb)));
        QCOMPARE(run.exitCode, 1);
        if (mode == QLatin1String("preview")) {
            const QImage image(clip + QStringLiteral(".bmp"));
            QCOMPARE(image.size(), frame);
            return;
        }
        const QString out = clip + QStringLiteral(".out.mp4");
        const QJsonArray video = rstest::FFprobe::streams(out, QStringLiteral("video"));
        QVERIFY(!video.isEmpty());
        const QJsonObject joined = video.first().toObject();
        QCOMPARE(QSize(joined.value(QStringLiteral("width")).toInt(), joined.value(QStringLiteral("height")).toInt()),
                 frame);
        QCOMPARE(rstest::FFprobe::decodeErrors(out), QString());
    }

    void refusalSaysWhy_data()
    {
        QTest::addColumn<QString>("use"); // "subtitle", "picture", or "stream" (the file is a clip, joined)
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("why"); // what the reason says besides the file; empty = taken
        const QString dir = rstest::scratchDir(QStringLiteral("why"));
        auto file = [&](const QString &name, const QByteArray &bytes) {
            writeFile(dir + QLatin1Char('/') + name, bytes);
            return dir + QLatin1Char('/') + name;
        };
        const QString subtitle = QStringLiteral("subtitle");
        QTest::newRow("a long line") << subtitle
                                     << file(QStringLiteral("line.srt"), srt(1, QByteArray(100 << 10, 'x'), 0, 1000))
                                     << QStringLiteral("64 KiB");
        // The text demuxer breaks the line every 4 KiB as it reads it; the cue is still 64 KiB of text.
        QTest::newRow("a line of exactly 64 KiB")
            << subtitle << file(QStringLiteral("exact.srt"), srt(1, QByteArray((64 << 10) - 2, 'x'), 0, 1000))
            << QString();
        QTest::newRow("cues at once") << subtitle << file(QStringLiteral("many.srt"), srt(3000, "ab", 0, 4000))
                                      << QStringLiteral("2000");
        QTest::newRow("text at once") << subtitle
                                      << file(QStringLiteral("crowd.srt"), srt(3, QByteArray(32000, 'w'), 0, 1000))
                                      << QStringLiteral("64 KiB of text at once");
        QTest::newRow("a picture beyond the bounds")
            << QStringLiteral("picture") << rstest::MediaFixtures::badFile(QStringLiteral("huge_16000.png"))
            << QStringLiteral("16000x16000");
        QTest::newRow("a picture without its data")
            << QStringLiteral("picture") << file(QStringLiteral("empty.png"), statedPng(16384, 4096))
            << QStringLiteral("16384x4096");
        // Override tags: two glyphs of the largest font size (2000 in a script of 576 lines) are taken; blurred
        // cues crowding the screen are not.
        QTest::newRow("two glyphs of the largest size")
            << subtitle << file(QStringLiteral("glyph.ass"), assScript("{\\fs2000}WW", 576)) << QString();
        QTest::newRow("blurred cues at once")
            << subtitle << file(QStringLiteral("blur.ass"), assScript("{\\blur20}a", 288, 300))
            << QStringLiteral("font size 1000");
        // The canvas is read as libass reads it: a PlayResY in a comment or the title, or one that libass reads
        // as 1 line, makes no glyph smaller.
        const QByteArray giant = assEvent("{\\fscx100000\\fscy100000}WWWW");
        QTest::newRow("a canvas named in a comment")
            << subtitle
            << file(QStringLiteral("comment.ass"), assScriptWith("; PlayResY: 1000000\nPlayResY: 288\n", giant))
            << QStringLiteral("font size 1000");
        QTest::newRow("a canvas named in the title")
            << subtitle << file(QStringLiteral("title.ass"), assScriptWith("Title: PlayResY: 1000000\n", giant))
            << QStringLiteral("font size 1000");
        QTest::newRow("a canvas of 1e6 lines, which libass reads as 1")
            << subtitle
            << file(QStringLiteral("exponent.ass"), assScriptWith("PlayResY: 1e6\n", assEvent("{\\fs10}WW")))
            << QStringLiteral("font size 1000");
        // A cue of tags alone asking for an infinite size must not stop the count: ten cues of two glyphs of
        // the largest size each follow it on screen.
        QTest::newRow("cues after one of infinite size")
            << subtitle
            << file(QStringLiteral("infinite.ass"),
                    assScriptWith("PlayResY: 288\n",
                                  assEvent("{\\fs1e308\\fscx1e308}") + assEvent("{\\fs1000}WW", 50).repeated(10)))
            << QStringLiteral("font size 1000");
        // A drawing is drawn whole, as large as its points, scale and outline make it: a mask over the whole
        // picture is taken, a small square scaled a hundredfold is not.
        QTest::newRow("a drawing over the whole picture")
            << subtitle << file(QStringLiteral("mask.ass"), assScript("{\\p1}m 0 0 l 384 0 384 288 0 288", 288, 10))
            << QString();
        QTest::newRow("a drawing scaled far beyond the frame")
            << subtitle
            << file(QStringLiteral("drawing.ass"),
                    assScript("{\\bord20\\blur20\\fscx10000\\fscy10000\\p1}m 0 0 l 100 0 100 100 0 100{\\p0}"))
            << QStringLiteral("font size 1000");
        // A descriptor of this process names no file the pipeline made for it.
        const QString listed = file(QStringLiteral("listed.srt"), srt(1, "A subtitle", 0, 1000));
        static const int opened = ::open(QFile::encodeName(listed).constData(), O_RDONLY);
        QTest::newRow("a descriptor of the process")
            << subtitle << QStringLiteral("/proc/self/fd/%1").arg(opened) << QStringLiteral("cannot read");
        QTest::newRow("a 16-bit picture at the pixel bound")
            << QStringLiteral("picture") << file(QStringLiteral("deep.png"), statedPng(8192, 8192, true))
            << QStringLiteral("256 MiB");
        QTest::newRow("text at once in the clip's stream")
            << QStringLiteral("stream")
            << clipWithSubtitleStream(QStringLiteral("inputs_stream_crowd.mkv"),
                                      srt(3, QByteArray(32000, 'w'), 0, 1000))
            << QStringLiteral("64 KiB of text at once");
    }

    // The reason of a refusal names the file (or the clip) and the bound it passed.
    void refusalSaysWhy()
    {
        QFETCH(QString, use);
        QFETCH(QString, file);
        QFETCH(QString, why);
        const QByteArray path = file.toUtf8();
        QString reason;
        bool taken = false;
        if (use == QLatin1String("stream")) {
            rsc_edit *edit = rsc_edit_create();
            rsc_edit_enable_video_edits(edit, 1);
            rsc_edit_set_subtitle_stream(edit, 0);
            rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
            const QString out = rstest::scratchDir(QStringLiteral("why-join")) + QStringLiteral("/out.mp4");
            QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
            taken = rsc_job_add_task(job, path.constData(), 0, 0, edit) == 1;
            reason = QString::fromUtf8(rsc_job_error(job));
            rsc_job_discard(job);
            rsc_job_release(job);
            rsc_edit_release(edit);
        } else {
            rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
            QCOMPARE(rsc_player_open(player, clipWithSound().toUtf8().constData(), 0, 0, 0, 0), 1);
            taken = (use == QLatin1String("picture") ? rsc_player_set_watermark_image_file(player, path.constData())
                                                     : rsc_player_set_subtitle_file(player, path.constData())) == 1;
            reason = QString::fromUtf8(rsc_player_error(player));
            // Taking no file clears the reason.
            QCOMPARE(rsc_player_set_subtitle_file(player, nullptr), 1);
            QCOMPARE(QString::fromUtf8(rsc_player_error(player)), QString());
            rsc_player_release(player);
        }
        QCOMPARE(taken, why.isEmpty());
        QVERIFY2(why.isEmpty() || (reason.contains(file) && reason.contains(why)), qPrintable(reason));
    }

    // The subtitle style sizes every glyph it draws: a larger style may draw less text at once, and no line
    // taller than the picture. The join refuses such subtitles at its add, naming the file and the style.
    void styleBoundsTheTextDrawn_data()
    {
        QTest::addColumn<QByteArray>("subtitles");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("outline");
        QTest::addColumn<QString>("why"); // empty = taken
        const QByteArray film = srt(3, "This is a fairly ordinary subtitle line\nand its second line", 1000, 950);
        const QByteArray crowd = srt(1, QByteArray(10000, 'w'), 0, 3000);
        QTest::newRow("a film's cue in the default style") << film << "srt" << 18 << 1.0 << QString();
        QTest::newRow("a film's cue at size 1000") << film << "srt" << 1000 << 1.0 << "taller than the picture";
        QTest::newRow("10 KB at once in the default style") << crowd << "srt" << 18 << 1.0 << QString();
        QTest::newRow("10 KB at once at size 100") << crowd << "srt" << 100 << 1.0 << "more text at once";
        QTest::newRow("10 KB at once with outline 100") << crowd << "srt" << 18 << 100.0 << "more text at once";
        // The style's size is in the script's own lines: 1000 of 1080 lines is a glyph shorter than the picture.
        QTest::newRow("size 1000 in a script of 1080 lines")
            << assScript("WW", 1080) << "ass" << 1000 << 1.0 << QString();
        // Only the ASS decoders hand a track's header to libass: a SubRip track's header naming a canvas of
        // 100000 lines makes no glyph smaller (mkvmerge keeps a WebVTT file's head as its track's header;
        // renamed, the track is SubRip).
        QFile named(rstest::MediaFixtures::makeByCommand(
            QStringLiteral("inputs_srt_header_canvas.mkv"),
            QStringLiteral("printf 'WEBVTT\\n\\nNOTE\\n[Script Info]\\nPlayResY: 100000\\n\\n00:00.000 --> 00:03.000\\n"
                           "A subtitle\\n' > in.vtt && mkvmerge -q -o in.mkv in.vtt && "
                           "perl -0777 -pe 's{S_TEXT/WEBVTT}{S_TEXT/UTF8\\0\\0}' in.mkv > \"$OUT\"")));
        QVERIFY(named.open(QIODevice::ReadOnly));
        QTest::newRow("size 1000 in a SubRip track whose header names a canvas")
            << named.readAll() << "mkv" << 1000 << 1.0 << "taller than the picture";
    }

    void styleBoundsTheTextDrawn()
    {
        QFETCH(QByteArray, subtitles);
        QFETCH(QString, suffix);
        QFETCH(int, size);
        QFETCH(double, outline);
        QFETCH(QString, why);
        const QString dir = rstest::scratchDir(QStringLiteral("styled"));
        const QString file = dir + QStringLiteral("/%1.%2").arg(QTest::currentDataTag()).arg(suffix);
        writeFile(file, subtitles);
        rsc_edit *edit = rsc_edit_create();
        rsc_edit_enable_video_edits(edit, 1);
        rsc_edit_set_subtitle_file(edit, file.toUtf8().constData());
        rsc_edit_set_subtitle_size(edit, uint32_t(size));
        rsc_edit_set_subtitle_outline_size(edit, outline);
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_output(job, (dir + QStringLiteral("/out.mp4")).toUtf8().constData(), "mp4", nullptr), 1);
        const bool taken = rsc_job_add_task(job, clipWithSound().toUtf8().constData(), 0, 0, edit) == 1;
        const QString reason = QString::fromUtf8(rsc_job_error(job));
        rsc_job_discard(job);
        rsc_job_release(job);
        rsc_edit_release(edit);
        QCOMPARE(taken, why.isEmpty());
        QVERIFY2(why.isEmpty() || (reason.contains(file) && reason.contains(why)), qPrintable(reason));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 7 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv[2], argv[3], argv[4], argv[5], argv[6]);
    rstest::prepareEnvironment();
    QApplication app(argc, argv);
    TestPlayerInputs tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_player_inputs.moc"
