// Files a user can hand the preview and the edit pipeline: raw elementary streams to play, seek and show as
// a strip, and hostile edit files (named pipes, subtitle files beyond every bound, tiny files declaring giant
// pictures). Each hostile case runs in a child process of this test, so a hang is a killed child and its
// peak memory is the kernel's own count.
#include "MediaFixtures.h"
#include "PreviewThumbnails.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr uint64_t kFrameUs = 40000;        // 25 frames a second
constexpr long kMemoryBoundKb = 300 * 1024; // what a preview or join may take, whatever the edit files

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

// A clip with sound for the edits.
QString clipWithSound()
{
    return rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
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

// What a child of this test does with one edit file: "preview" plays a clip with it, "join" adds the clip
// with it to an encoding join. The exit code says whether the file was taken (1) or refused (0); the reason
// of a refusal goes to the standard output.
int childScenario(const char *mode, const char *use, const char *file, const char *clip, const char *good)
{
    const bool swap = std::strcmp(good, "-") != 0; // take a good file, then put `file` in its place
    const char *path = swap ? good : file;
    int taken = 0;
    if (std::strcmp(mode, "join") == 0) {
        rsc_edit *edit = rsc_edit_create();
        rsc_edit_enable_video_edits(edit, 1);
        rsc_edit_enable_audio_edits(edit, 1);
        if (!std::strcmp(use, "subtitle"))
            rsc_edit_set_subtitle_file(edit, path);
        else if (!std::strcmp(use, "background"))
            rsc_edit_set_audio_background_file(edit, path);
        else
            rsc_edit_set_watermark_image_file(edit, path);
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        const std::string out = std::string(clip) + ".out.mp4";
        rsc_job_open_output(job, out.c_str(), "mp4", nullptr);
        rsc_job_start(job);
        taken = rsc_job_add_task(job, clip, 0, 0, edit);
        std::printf("%s\n", rsc_job_error(job));
        while (taken && !rsc_job_wait(job, 100)) {
        }
        rsc_job_close(job);
        rsc_job_release(job);
        rsc_edit_release(edit);
        return taken;
    }
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    LastFrame edited;
    rsc_player_set_video_frame_handler(player, &LastFrame::handler, &edited);
    if (rsc_player_open(player, clip, 160, 120, 0, 0) != 1)
        return 2;
    if (!std::strcmp(use, "subtitle")) {
        taken = rsc_player_set_subtitle_file(player, path);
    } else if (!std::strcmp(use, "background")) {
        taken = rsc_player_set_audio_background_file(player, path);
    } else if (!std::strcmp(use, "font")) {
        rsc_player_set_watermark_text(player, "Font");
        taken = rsc_player_set_watermark_text_font_file(player, path);
    } else if (!std::strcmp(use, "subtitle font")) {
        taken = rsc_player_set_subtitle_file(player, good) && rsc_player_set_subtitle_font_file(player, file);
    } else if (!std::strcmp(use, "mask")) {
        rsc_player_set_watermark_image_file(player, good);
        taken = rsc_player_set_watermark_image_mask_file(player, path);
    } else {
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
    rsc_player_seek(player, 200000);
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
        const QString hugePicture = rstest::MediaFixtures::badFile(QStringLiteral("huge_16000.png"));
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
            // Within the bounds, near those on a cue's text and on cues at once: taken, in bounded memory. The
            // crowd shows for a few frames only (at the preview's first seek), so drawing it stays short.
            row(QStringLiteral("a large file within the bounds"), QStringLiteral("subtitle"),
                file(mode + QStringLiteral("-large.srt"), srt(1, QByteArray(60 << 10, 'y'), 0, 200, 1000) +
                                                              srt(1900, "ab", 0, 200, 1000) +
                                                              srt(20000, QByteArray(120, 'c'), 40, 40, 2000)),
                QStringLiteral("-"), true);
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
        QVERIFY(QFile::copy(clipWithSound(), clip));
        // A file taken is played or joined in full, which takes longer on a busy machine than a refusal.
        const ChildRun run = runInChild({mode, use, file, clip, good}, rstest::kHangBoundMs * (taken ? 3 : 1));
        qDebug("child: %lld ms, peak %ld kB, exit %d", run.ms, run.maxRssKb, run.exitCode);
        QVERIFY2(run.finished, qPrintable(QStringLiteral("no end after %1 ms").arg(run.ms)));
        QVERIFY2(run.maxRssKb < kMemoryBoundKb, qPrintable(QStringLiteral("%1 kB").arg(run.maxRssKb)));
        QCOMPARE(run.exitCode, taken ? 1 : 0);
    }

    // The reason of a refusal names the file and the bound it passed.
    void refusalSaysWhy()
    {
        const QString dir = rstest::scratchDir(QStringLiteral("why"));
        const QString line = dir + QStringLiteral("/line.srt");
        writeFile(line, srt(1, QByteArray(100 << 10, 'x'), 0, 1000));
        const QString many = dir + QStringLiteral("/many.srt");
        writeFile(many, srt(3000, "ab", 0, 4000));
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        QCOMPARE(rsc_player_open(player, clipWithSound().toUtf8().constData(), 0, 0, 0, 0), 1);
        for (const auto &c :
             {std::make_pair(line, QStringLiteral("64 KiB")), std::make_pair(many, QStringLiteral("2000"))}) {
            QCOMPARE(rsc_player_set_subtitle_file(player, c.first.toUtf8().constData()), 0);
            const QString why = QString::fromUtf8(rsc_player_error(player));
            QVERIFY2(why.contains(c.first) && why.contains(c.second), qPrintable(why));
        }
        QCOMPARE(rsc_player_set_subtitle_file(player, nullptr), 1);
        QCOMPARE(QString::fromUtf8(rsc_player_error(player)), QString());
        rsc_player_release(player);
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
