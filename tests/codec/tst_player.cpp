#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <QVector>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>

namespace {

constexpr uint64_t kFrameUs = 40000; // the clips below run at 25 frames a second

// The steady clock, in microseconds.
qint64 nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A player time read between two wall-clock readings (microseconds since play) lies between them, give or
// take the tolerance: reading both clocks around the player call keeps a preempted test thread from
// counting its own delay against the player. A machine too busy to decode in time holds the clock for the
// frames, so it may lag a further 15%; it never runs ahead.
bool within(qint64 played, qint64 wallBefore, qint64 wallAfter, qint64 tolerance)
{
    return played >= wallBefore - tolerance - wallBefore * 15 / 100 && played <= wallAfter + tolerance;
}

QByteArray clocks(qint64 played, qint64 wallBefore, qint64 wallAfter)
{
    return QStringLiteral("played %1 us between %2 and %3 us").arg(played).arg(wallBefore).arg(wallAfter).toLatin1();
}

// Four seconds whose frame N is a flat grey of luma 16 + 2N (losslessly coded, with B-frames), so the
// frame a handler gets can be read back exactly; a sine tone beside it, for `toneSeconds` (silence after).
QString numberedClip(int toneSeconds = 4)
{
    return rstest::MediaFixtures::make(
        {toneSeconds < 4 ? QStringLiteral("player_numbered_tone%1s.mp4").arg(toneSeconds)
                         : QStringLiteral("player_numbered.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=black:s=160x120:r=25:d=4 "
                             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=%1 %2"
                             "-vf format=yuv420p,geq=lum=16+2*N:cb=128:cr=128 "
                             "-c:v libx264 -preset fast -qp 0 -bf 2 -g 25 -pix_fmt yuv420p -c:a aac -shortest")
             .arg(qMin(toneSeconds, 4))
             .arg(toneSeconds < 4 ? QStringLiteral("-af apad=whole_dur=4 ") : QString())
             .split(QLatin1Char(' '))});
}

// The same numbered frames in groups of three B-frames that no other frame refers to (I B B B P B B B P ...):
// the kind of picture an exact seek skips on its way, unless it is the one asked for (lossless x264 makes no
// B-frames; flat pictures keep their level at this quality).
QString numberedBFramesClip(const QString &container = QStringLiteral("mp4"))
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("player_numbered_bframes_qp4.") + container,
         QString::fromLatin1(
             "-f lavfi -i color=c=black:s=160x120:r=25:d=4 "
             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
             "-vf format=yuv420p,geq=lum=16+2*N:cb=128:cr=128 -c:v libx264 -preset fast -qp 4 "
             "-x264-params bframes=3:b-adapt=0:b-pyramid=none -g 25 -pix_fmt yuv420p -c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

// Left half white, right half black: crop and rotation are visible in where the white ends up.
QString halvesClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("player_halves.mp4"),
         {QStringLiteral("-filter_complex"),
          QStringLiteral("color=c=white:s=80x120:r=25:d=2[l];color=c=black:s=80x120:r=25:d=2[r];[l][r]hstack,"
                         "format=yuv420p"),
          QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"), QStringLiteral("ultrafast"),
          QStringLiteral("-qp"), QStringLiteral("0")}});
}

QString redPicture()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("player_red.png"),
         QString::fromLatin1("-f lavfi -i color=c=red:s=32x32 -frames:v 1").split(QLatin1Char(' '))});
}

struct Seen
{
    int width = 0, height = 0;
    uint32_t format = RSC_FRAME_NONE;
    QByteArray y; // the luma plane, rows packed
    int frameNumber = -1;
    qint64 atUs = 0; // when the handler got it (nowUs)
};

// Records what a frame handler is given; the handler runs on the player's thread.
class Recorder
{
public:
    static unsigned int handler(void *user, void *frame) { return static_cast<Recorder *>(user)->take(frame); }

    unsigned int take(void *frame)
    {
        rsc_frame *f = rsc_frame_reference(frame);
        if (!f)
            return 0;
        Seen s;
        s.atUs = nowUs();
        s.format = rsc_frame_format(f);
        s.width = int(rsc_frame_width(f));
        s.height = int(rsc_frame_height(f));
        if (s.format == RSC_FRAME_YUV420P) {
            const uint32_t stride = rsc_frame_stride(f, 0);
            const unsigned char *p = rsc_frame_data(f, 0);
            for (int r = 0; r < s.height; ++r)
                s.y.append(reinterpret_cast<const char *>(p + r * stride), s.width);
            const int centre = static_cast<unsigned char>(s.y.at((s.height / 2) * s.width + s.width / 2));
            s.frameNumber = (centre - 16 + 1) / 2;
        }
        rsc_frame_release(f);
        if (m_sleepMs > 0)
            QThread::msleep(m_sleepMs);
        QMutexLocker lock(&m_mutex);
        m_seen.append(s);
        ++m_calls;
        return 1;
    }

    QList<Seen> seen() const
    {
        QMutexLocker lock(&m_mutex);
        return m_seen;
    }
    Seen last() const
    {
        QMutexLocker lock(&m_mutex);
        return m_seen.isEmpty() ? Seen{} : m_seen.last();
    }
    int calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_seen.clear();
        m_calls = 0;
    }
    int m_sleepMs = 0;

private:
    mutable QMutex m_mutex;
    QList<Seen> m_seen;
    int m_calls = 0;
};

// Frames played on from `shown` (on screen when play began at position `fromUs`, at nowUs() `playedAt`) follow
// one another. A frame well behind the clock is dropped to catch up (a busy machine); the clock runs from the play
// position and never ahead of the wall clock, so the frame after the last dropped one came well after that one's
// time: a gap without that is a fault. Empty when they follow on, else what came instead.
QString playedGap(const QList<Seen> &played, int shown, qint64 fromUs, qint64 playedAt)
{
    int previous = shown;
    for (const Seen &s : played) {
        const qint64 droppedDueUs = qint64(s.frameNumber - 1) * qint64(kFrameUs) - fromUs;
        if (s.frameNumber <= previous || (s.frameNumber > previous + 1 && s.atUs - playedAt <= droppedDueUs + 80000))
            return QStringLiteral("%1 after %2, %3 us after play")
                .arg(s.frameNumber)
                .arg(previous)
                .arg(s.atUs - playedAt);
        previous = s.frameNumber;
    }
    return QString();
}

uint32_t le32(const unsigned char *p, int offset)
{
    return uint32_t(p[offset]) | uint32_t(p[offset + 1]) << 8 | uint32_t(p[offset + 2]) << 16 |
           uint32_t(p[offset + 3]) << 24;
}

// The largest sample of a wave block's 16-bit samples; 0 without one.
int wavePeak(const unsigned char *wav)
{
    int peak = 0;
    for (uint32_t i = 0; wav && i < le32(wav, 40) / 2; ++i)
        peak = qMax(peak, qAbs(int(int16_t(wav[44 + 2 * i] | wav[45 + 2 * i] << 8))));
    return peak;
}

int lumaAt(const Seen &s, double fx, double fy)
{
    const int x = qBound(0, int(fx * s.width), s.width - 1);
    const int y = qBound(0, int(fy * s.height), s.height - 1);
    return static_cast<unsigned char>(s.y.at(y * s.width + x));
}

// The level data once the player has played to `us` and has a window of at least 20 ms to show (the player's
// thread hands the played sound over in its own time); null when that did not come within the hang bound.
unsigned char *waveAfter(rsc_player *player, uint64_t us, uint32_t mono)
{
    unsigned char *played = nullptr;
    (void)QTest::qWaitFor(
        [&] {
            if (rsc_player_play_time(player) < us)
                return false;
            if (unsigned char *wav = rsc_player_get_audio_wave_data(player, mono)) {
                if (le32(wav, 40) >= le32(wav, 24) / 50 * 2 * wav[22])
                    played = wav;
                else
                    rsc_player_free_audio_wave_data(player, wav);
            }
            return played != nullptr;
        },
        rstest::kHangBoundMs);
    return played;
}

// A silent player (the test machines have no sound device), with both handlers recording.
struct Session
{
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    Recorder original, edited;
    Session()
    {
        rsc_player_set_original_video_frame_handler(player, &Recorder::handler, &original);
        rsc_player_set_video_frame_handler(player, &Recorder::handler, &edited);
    }
    ~Session() { rsc_player_release(player); }
    bool open(const QString &path, uint32_t w = 0, uint32_t h = 0)
    {
        return rsc_player_open(player, path.toUtf8().constData(), w, h, 0, 0) == 1;
    }
};

} // namespace

class TestPlayer : public QObject
{
    Q_OBJECT
private slots:
    void refusesFilesItCannotPlay_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << rstest::MediaFixtures::badFile(QStringLiteral("empty.mp4"));
        QTest::newRow("text") << rstest::MediaFixtures::badFile(QStringLiteral("text.mp4"));
        QTest::newRow("truncated") << rstest::MediaFixtures::badFile(QStringLiteral("truncated.mp4"));
        QTest::newRow("missing") << rstest::scratchDir(QStringLiteral("none")) + QStringLiteral("/missing.mp4");
    }
    void refusesFilesItCannotPlay()
    {
        QFETCH(QString, path);
        Session s;
        QVERIFY(!s.open(path));
        QCOMPARE(rsc_player_has_video(s.player), 0);
        QCOMPARE(rsc_player_duration(s.player), uint64_t(0));
        QCOMPARE(rsc_player_play(s.player), 0);
        QCOMPARE(rsc_player_seek(s.player, 1000000), 0);
        QVERIFY(!rsc_player_capture_video_image(s.player, 0, 0, 0));
        // The handle stays usable for a good file.
        QVERIFY(s.open(numberedClip()));
    }

    // Every container and codec the program takes in plays, seeks and steps.
    void playsEveryKindOfClip_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n : {"h264_aac.mov", "h264_aac.ts", "vp9_opus.webm", "mpeg4_mp3.avi", "flv1_mp3.flv",
                              "h263_aac.3gp", "theora_vorbis.ogv", "odd_size.mkv", "video_only.mp4", "audio.mp3",
                              "audio.m4a", "audio.flac", "audio.ogg"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void playsEveryKindOfClip()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, name);
        Session s;
        QVERIFY(s.open(rstest::MediaFixtures::standard(name), 160, 90));
        const bool video = rsc_player_has_video(s.player) == 1;
        QVERIFY(rsc_player_duration(s.player) > 900000);
        QElapsedTimer wall;
        QVERIFY(rsc_player_play(s.player));
        wall.start();
        QThread::msleep(300); // a span to measure the pace over, against the time that really passed
        // A starved machine may decode fewer frames in that time: playing on until four came is bounded.
        if (video)
            QTRY_VERIFY_WITH_TIMEOUT(s.original.calls() >= 4 && s.edited.calls() >= 4, rstest::kHangBoundMs);
        const qint64 before = wall.nsecsElapsed() / 1000;
        QVERIFY(rsc_player_pause(s.player));
        const qint64 after = wall.nsecsElapsed() / 1000;
        const qint64 at = qint64(rsc_player_play_time(s.player));
        QVERIFY2(within(at, before, after, 60000), clocks(at, before, after).constData());
        QVERIFY(rsc_player_seek(s.player, 700000));
        if (video) {
            QVERIFY(s.original.calls() >= 5);
            QVERIFY(s.edited.calls() >= 5);
            // The edited frame is the picture fitted into the preview size, as the getter tells.
            uint32_t w = 0, h = 0;
            QCOMPARE(rsc_player_get_preview_size(s.player, &w, &h), 1);
            QCOMPARE(s.edited.last().width, int(w));
            QCOMPARE(s.edited.last().height, int(h));
            QVERIFY((w == 160 && h <= 90) || (h == 90 && w <= 160));
            const uint64_t shown = rsc_player_video_time(s.player);
            QVERIFY(shown <= 700000 && shown + 100000 > 700000);
            QVERIFY(rsc_player_frame_step(s.player, 1));
            QVERIFY(rsc_player_video_time(s.player) > shown);
        } else {
            uint32_t w = 7, h = 7;
            QCOMPARE(rsc_player_get_preview_size(s.player, &w, &h), 0);
            QCOMPARE(w + h, 14u);
        }
    }

    // A file that asks to be shown turned is shown upright, untouched and edited, and sized so.
    void turnedFilesShowUpright()
    {
        Session s;
        QVERIFY(s.open(rstest::MediaFixtures::standard(QStringLiteral("rotated90.mp4"))));
        QCOMPARE(rsc_player_video_width(s.player), 240u);
        QCOMPARE(rsc_player_video_height(s.player), 320u);
        QVERIFY(rsc_player_seek(s.player, 500000));
        QCOMPARE(s.original.last().width, 240);
        QCOMPARE(s.original.last().height, 320);
        QCOMPARE(s.edited.last().width, 240);
        QCOMPARE(s.edited.last().height, 320);
        // A step back (a new time order) still turns.
        QVERIFY(rsc_player_frame_step(s.player, -1));
        QCOMPARE(s.original.last().width, 240);
    }

    void refusesPreviewSizesNoScreenHas()
    {
        Session s;
        QCOMPARE(rsc_player_open(s.player, numberedClip().toUtf8().constData(), 100000, 100, 0, 0), 0);
        QCOMPARE(rsc_player_open(s.player, numberedClip().toUtf8().constData(), 100, 0xFFFFFFFFu, 0, 0), 0);
        QCOMPARE(rsc_player_open(s.player, nullptr, 100, 100, 0, 0), 0);
        QVERIFY(s.open(numberedClip(), 3840, 2160));
    }

    void describesTheOpenMedia()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        QCOMPARE(rsc_player_has_video(s.player), 1);
        QCOMPARE(rsc_player_has_audio(s.player), 1);
        QCOMPARE(rsc_player_video_width(s.player), 160u);
        QCOMPARE(rsc_player_video_height(s.player), 120u);
        QVERIFY(qAbs(qint64(rsc_player_duration(s.player)) - 4000000) < 100000);
        QCOMPARE(rsc_player_is_stopped(s.player), 1);
    }

    void playingOneSecondAdvancesOneSecond()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_play(s.player));
        QElapsedTimer clock;
        clock.start();
        QThread::msleep(1000); // a span to measure the pace over, against the time that really passed
        const qint64 before = clock.nsecsElapsed() / 1000;
        const qint64 played = qint64(rsc_player_play_time(s.player));
        const qint64 after = clock.nsecsElapsed() / 1000;
        QCOMPARE(rsc_player_is_running(s.player), 1);
        QVERIFY2(within(played, before, after, 60000), clocks(played, before, after).constData());
        QVERIFY(rsc_player_pause(s.player));
        const qint64 wall = clock.nsecsElapsed() / 1000;
        // Frames came in order, about one per 40 ms played (a starved machine drops late ones), none twice
        // and none ahead of the clock.
        const QList<Seen> frames = s.original.seen();
        QVERIFY2(frames.size() >= int(played / kFrameUs) / 2 && frames.size() <= int(wall / kFrameUs) + 3,
                 qPrintable(QString::number(frames.size())));
        for (int i = 1; i < frames.size(); ++i)
            QVERIFY2(
                frames[i].frameNumber > frames[i - 1].frameNumber,
                qPrintable(QStringLiteral("%1 after %2").arg(frames[i].frameNumber).arg(frames[i - 1].frameNumber)));
        // Paused: the position stands still.
        const uint64_t paused = rsc_player_play_time(s.player);
        // No state to wait for: a slow machine only shortens the look.
        QThread::msleep(200);
        QCOMPARE(rsc_player_play_time(s.player), paused);
        QCOMPARE(rsc_player_is_paused(s.player), 1);
    }

    // With a sound device the clock is the device's. SDL's dummy driver consumes sound in real time without
    // hardware, so the device path runs here too.
    void soundDeviceKeepsTheTime_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("rate"); // the pace is speed x rate / 100
        QTest::newRow("normal") << 100 << 100;
        QTest::newRow("double") << 200 << 100;
        QTest::newRow("half") << 50 << 100;
        QTest::newRow("rate 200") << 100 << 200;
        QTest::newRow("rate 50 at double speed") << 200 << 50;
        QTest::newRow("rate 10 at a tenth of the speed: held at a tenth") << 10 << 10;
    }
    void soundDeviceKeepsTheTime()
    {
        RS_SHARD_UNIT();
        QFETCH(int, speed);
        QFETCH(int, rate);
        qputenv("SDL_AUDIODRIVER", "dummy");
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
        Recorder frames;
        rsc_player_set_original_video_frame_handler(player, &Recorder::handler, &frames);
        QVERIFY(rsc_player_set_audio_device(player, "no such device")); // falls back to the default
        QVERIFY(rsc_player_open(player, numberedClip().toUtf8().constData(), 0, 0, 0, 0));
        QVERIFY(rsc_player_change_speed(player, speed));
        QVERIFY(rsc_player_set_audio_rate(player, uint64_t(rate)));
        const int pace = qBound(10, speed * rate / 100, 1000); // held as a job holds it
        QElapsedTimer clock;
        QVERIFY(rsc_player_play(player));
        clock.start();
        // The device starts some tens of milliseconds after play (its first buffer), later on a busy machine:
        // the pace is measured once its clock runs.
        QTRY_VERIFY_WITH_TIMEOUT(rsc_player_play_time(player) >= 100000, rstest::kHangBoundMs);
        // SDL's dummy device is paced by a sleeping thread, which a busy machine oversleeps or starves: its
        // clock then lags the wall clock, never runs ahead of it. So the pace is the best of three spans of the
        // time that really passed. The speeds differ by a factor of two, so a band of +-40% still tells a wrong
        // pace (or a clock that is not the device's) from a right one.
        qint64 played = qint64(rsc_player_play_time(player)), wallUs = clock.nsecsElapsed() / 1000;
        QVector<double> paces; // media time over wall time, per span, in units of the pace
        for (int span = 0; span < 3; ++span) {
            const qint64 played0 = played, wall0 = wallUs;
            QThread::msleep(pace < 100 ? 600 : 300); // the span measured
            played = qint64(rsc_player_play_time(player));
            wallUs = clock.nsecsElapsed() / 1000;
            paces << double(played - played0) * 100.0 / double((wallUs - wall0) * pace);
        }
        rsc_player_release(player);
        const QByteArray shown =
            QStringLiteral("paces %1, %2, %3").arg(paces[0]).arg(paces[1]).arg(paces[2]).toLatin1();
        QVERIFY2(*std::max_element(paces.begin(), paces.end()) > 0.6, shown.constData());
        QVERIFY2(*std::max_element(paces.begin(), paces.end()) < 1.4, shown.constData());
        QVERIFY2(played < wallUs * pace / 100 * 14 / 10 + 120000,
                 qPrintable(QStringLiteral("%1 for %2").arg(played).arg(wallUs * pace / 100)));
        // Frames follow the device's clock: in order and none twice; a starved machine may drop late ones.
        const QList<Seen> seen = frames.seen();
        QVERIFY2(seen.size() >= int(played / kFrameUs) / 2, qPrintable(QString::number(seen.size())));
        for (int i = 1; i < seen.size(); ++i)
            QVERIFY2(seen[i].frameNumber > seen[i - 1].frameNumber,
                     qPrintable(QStringLiteral("%1 after %2").arg(seen[i].frameNumber).arg(seen[i - 1].frameNumber)));
    }

    void speedChangesThePace_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("rate"); // sets the pace as speed does, the two multiplied
        QTest::newRow("double") << 200 << 100;
        QTest::newRow("half") << 50 << 100;
        QTest::newRow("rate 200") << 100 << 200;
        QTest::newRow("rate 50") << 100 << 50;
        QTest::newRow("rate 200 at half speed") << 50 << 200;
        QTest::newRow("rate 20 at a fifth of the speed: held at a tenth") << 20 << 20;
    }
    void speedChangesThePace()
    {
        RS_SHARD_UNIT();
        QFETCH(int, speed);
        QFETCH(int, rate);
        const int percent = qBound(10, speed * rate / 100, 1000); // held as a job holds it
        Session s;
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_enable_audio_wave_data(s.player, 1));
        QVERIFY(rsc_player_change_speed(s.player, speed));
        QVERIFY(rsc_player_set_audio_rate(s.player, uint64_t(rate)));
        QElapsedTimer clock;
        QVERIFY(rsc_player_play(s.player));
        clock.start();
        QThread::msleep(600); // the span measured
        // The time actually slept, read on both sides of the pause: a loaded machine oversleeps.
        const qint64 before = clock.nsecsElapsed() / 1000;
        QVERIFY(rsc_player_pause(s.player));
        const qint64 after = clock.nsecsElapsed() / 1000;
        const qint64 played = qint64(rsc_player_play_time(s.player));
        // A machine too busy to decode at the new pace holds the clock for the frames: a band of +-40% still
        // tells double and half speed from normal speed.
        const qint64 expected = before * percent / 100;
        QVERIFY2(played >= expected * 6 / 10 && played <= after * percent / 100 + expected * 4 / 10,
                 clocks(played, expected, after * percent / 100).constData());
        // Frames show in order, none twice (a starved machine drops late ones); the sound plays on at the new
        // tempo.
        const QList<Seen> frames = s.original.seen();
        for (int i = 1; i < frames.size(); ++i)
            QVERIFY2(
                frames[i].frameNumber > frames[i - 1].frameNumber,
                qPrintable(QStringLiteral("%1 after %2").arg(frames[i].frameNumber).arg(frames[i - 1].frameNumber)));
        unsigned char *wav = rsc_player_get_audio_wave_data(s.player, 1);
        QVERIFY(wav);
        const int peak = wavePeak(wav);
        rsc_player_free_audio_wave_data(s.player, wav);
        QVERIFY2(peak > 1000, qPrintable(QString::number(peak)));
    }

    // The picture keeps with the sound at any speed and rate: the tone ends where frame 50 (2 s) begins, so the
    // sound played last before a pause is the tone while the frame shown is before it, silence after it.
    void soundStaysWithThePicture_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("rate");
        QTest::newRow("rate 150") << 100 << 150;
        QTest::newRow("rate 70") << 100 << 70;
        QTest::newRow("rate 150 at half speed") << 50 << 150;
    }
    void soundStaysWithThePicture()
    {
        RS_SHARD_UNIT();
        QFETCH(int, speed);
        QFETCH(int, rate);
        Session s;
        QVERIFY(s.open(numberedClip(2)));
        QVERIFY(rsc_player_enable_audio_wave_data(s.player, 1));
        QVERIFY(rsc_player_change_speed(s.player, speed));
        QVERIFY(rsc_player_set_audio_rate(s.player, uint64_t(rate)));
        for (const uint64_t at : {1600000ull, 2500000ull}) {
            QVERIFY(rsc_player_play(s.player));
            unsigned char *wav = waveAfter(s.player, at, 1);
            QVERIFY(rsc_player_pause(s.player));
            rsc_player_free_audio_wave_data(s.player, wav);
            wav = rsc_player_get_audio_wave_data(s.player, 1); // what played up to the pause
            QVERIFY(wav);
            const int peak = wavePeak(wav);
            rsc_player_free_audio_wave_data(s.player, wav);
            const int frame = s.original.last().frameNumber;
            const QByteArray shown = QStringLiteral("peak %1 at frame %2").arg(peak).arg(frame).toLatin1();
            if (frame < 49)
                QVERIFY2(peak > 1000, shown.constData());
            else if (frame > 51)
                QVERIFY2(peak < 100, shown.constData());
        }
    }

    void seekShowsTheFrameAtThatTime_data()
    {
        QTest::addColumn<bool>("bframes");
        QTest::addColumn<qint64>("target");
        QTest::addColumn<int>("frame");
        QTest::newRow("start") << false << qint64(0) << 0;
        QTest::newRow("key frame") << false << qint64(1000000) << 25;
        QTest::newRow("between key frames") << false << qint64(1520000) << 38;
        QTest::newRow("inside a frame") << false << qint64(2019999) << 50;
        QTest::newRow("backwards after forwards") << false << qint64(360000) << 9;
        QTest::newRow("last frame") << false << qint64(3990000) << 99;
        QTest::newRow("b-frame") << true << qint64(1520000) << 38;
        QTest::newRow("b-frame, inside it") << true << qint64(2535000) << 63;
        QTest::newRow("b-frame before a reference") << true << qint64(440000) << 11;
        QTest::newRow("reference after b-frames") << true << qint64(480000) << 12;
    }
    void seekShowsTheFrameAtThatTime()
    {
        QFETCH(bool, bframes);
        QFETCH(qint64, target);
        QFETCH(int, frame);
        Session s;
        QVERIFY(s.open(bframes ? numberedBFramesClip() : numberedClip()));
        QVERIFY(rsc_player_seek(s.player, 3000000));
        QVERIFY(rsc_player_seek(s.player, uint64_t(target)));
        QCOMPARE(s.original.last().frameNumber, frame);
        QCOMPARE(s.edited.last().frameNumber, frame);
        QCOMPARE(rsc_player_video_time(s.player), uint64_t(frame) * kFrameUs);
        QCOMPARE(rsc_player_play_time(s.player), uint64_t(target));
        // Playing on from there continues with the next frames.
        s.original.clear();
        const qint64 playedAt = nowUs();
        QVERIFY(rsc_player_play(s.player));
        QTRY_VERIFY_WITH_TIMEOUT(s.original.calls() >= 2 || frame == 99, rstest::kHangBoundMs);
        rsc_player_pause(s.player);
        const QString gap = playedGap(s.original.seen().mid(0, 1), frame, target, playedAt);
        QVERIFY2(gap.isEmpty(), qPrintable(gap));
    }

    // A seek a little ahead decodes on from the frame shown instead of from the key frame again; it lands on
    // the same frame a seek from afar does, and playing goes on from there.
    void seekAheadShowsTheFrameAtThatTime_data()
    {
        QTest::addColumn<bool>("bframes");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("target");
        QTest::addColumn<int>("frame");
        QTest::newRow("same group") << false << qint64(1040000) << qint64(1520000) << 38;
        QTest::newRow("the next frame") << false << qint64(1000000) << qint64(1040000) << 26;
        QTest::newRow("the same frame") << false << qint64(1520000) << qint64(1559999) << 38;
        QTest::newRow("past a key frame") << false << qint64(1520000) << qint64(2100000) << 52;
        QTest::newRow("b-frames, same group") << true << qint64(1080000) << qint64(1640000) << 41;
        QTest::newRow("b-frames, onto a reference") << true << qint64(1000000) << qint64(1160000) << 29;
        QTest::newRow("b-frames, to the last frame") << true << qint64(3100000) << qint64(3990000) << 99;
    }
    void seekAheadShowsTheFrameAtThatTime()
    {
        QFETCH(bool, bframes);
        QFETCH(qint64, from);
        QFETCH(qint64, target);
        QFETCH(int, frame);
        Session s;
        QVERIFY(s.open(bframes ? numberedBFramesClip() : numberedClip()));
        QVERIFY(rsc_player_seek(s.player, uint64_t(from)));
        QCOMPARE(s.original.last().frameNumber, int(from / kFrameUs));
        QVERIFY(rsc_player_seek(s.player, uint64_t(target)));
        QCOMPARE(s.original.last().frameNumber, frame);
        QCOMPARE(s.edited.last().frameNumber, frame);
        QCOMPARE(rsc_player_video_time(s.player), uint64_t(frame) * kFrameUs);
        QCOMPARE(rsc_player_play_time(s.player), uint64_t(target));
        s.original.clear();
        if (frame < 99) {
            QVERIFY(rsc_player_frame_step(s.player, 1));
            QCOMPARE(s.original.last().frameNumber, frame + 1);
        }
        const qint64 playFrom = qint64(rsc_player_play_time(s.player)), playedAt = nowUs();
        QVERIFY(rsc_player_play(s.player));
        QTRY_VERIFY_WITH_TIMEOUT(s.original.calls() >= 3 || frame == 99, rstest::kHangBoundMs);
        rsc_player_pause(s.player);
        const int stepped = frame < 99 ? 1 : 0;
        const QString gap = playedGap(s.original.seen().mid(stepped), frame + stepped, playFrom, playedAt);
        QVERIFY2(gap.isEmpty(), qPrintable(gap));
    }

    // Paused, a seek in a run of seeks shows its frame without decoding the frames after it; they are
    // decoded again later, in the quiet after the run or when asked for, and follow on without a gap or a
    // repeat.
    void framesAfterAPausedSeekFollowOn_data()
    {
        QTest::addColumn<QString>("container"); // of the clip with B-frames; empty: the clip without
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<bool>("play");
        QTest::newRow("step at once") << QString() << 0 << false;
        QTest::newRow("step after a pause") << QString() << 400 << false;
        QTest::newRow("play after a pause") << QString() << 400 << true;
        QTest::newRow("b-frames, step at once") << QStringLiteral("mp4") << 0 << false;
        QTest::newRow("b-frames, step after a pause") << QStringLiteral("mp4") << 400 << false;
        QTest::newRow("b-frames, play at once") << QStringLiteral("mp4") << 0 << true;
        QTest::newRow("matroska, step at once") << QStringLiteral("mkv") << 0 << false;
        QTest::newRow("matroska, play after a pause") << QStringLiteral("mkv") << 400 << true;
        QTest::newRow("mpeg-ts, step at once") << QStringLiteral("ts") << 0 << false;
        QTest::newRow("mpeg-ts, step after a pause") << QStringLiteral("ts") << 400 << false;
    }
    void framesAfterAPausedSeekFollowOn()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, container);
        QFETCH(int, waitMs);
        QFETCH(bool, play);
        Session s;
        QVERIFY(s.open(container.isEmpty() ? numberedClip() : numberedBFramesClip(container)));
        for (int frame : {83, 38, 61}) {
            QVERIFY(rsc_player_seek(s.player, uint64_t(frame + 7) * kFrameUs));
            // Into the frame past the start some containers give the pictures (the sound starts first).
            QVERIFY(rsc_player_seek(s.player, uint64_t(frame) * kFrameUs + 30000));
            QCOMPARE(s.original.last().frameNumber, frame);
            QThread::msleep(uint32_t(waitMs)); // the quiet after the run may decode on: the frames follow either way
            s.original.clear();
            const qint64 playedAt = nowUs();
            if (play) {
                QVERIFY(rsc_player_play(s.player));
                QTRY_VERIFY_WITH_TIMEOUT(s.original.calls() >= 6, rstest::kHangBoundMs);
                rsc_player_pause(s.player);
            } else {
                for (int i = 0; i < 6; ++i)
                    QVERIFY(rsc_player_frame_step(s.player, 1));
            }
            const QList<Seen> seen = s.original.seen();
            if (play) {
                const QString gap = playedGap(seen, frame, qint64(frame) * qint64(kFrameUs) + 30000, playedAt);
                QVERIFY2(gap.isEmpty(), qPrintable(gap));
            } else {
                for (int i = 0; i < seen.size(); ++i)
                    QCOMPARE(seen.at(i).frameNumber, frame + 1 + i);
            }
        }
    }

    void frameStepsMoveExactlyOneFrame()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_seek(s.player, 1000000));
        const int steps[] = {+1, +1, -1, -1, -1, +1};
        const int expected[] = {26, 27, 26, 25, 24, 25};
        for (int i = 0; i < 6; ++i) {
            QVERIFY(rsc_player_frame_step(s.player, steps[i]));
            QCOMPARE(s.original.last().frameNumber, expected[i]);
            QCOMPARE(rsc_player_video_time(s.player), uint64_t(expected[i]) * kFrameUs);
        }
        // A step while playing pauses first.
        const int shownBefore = s.original.calls();
        QVERIFY(rsc_player_play(s.player));
        QTRY_VERIFY_WITH_TIMEOUT(s.original.calls() > shownBefore, rstest::kHangBoundMs);
        QVERIFY(rsc_player_frame_step(s.player, 1));
        QCOMPARE(rsc_player_is_paused(s.player), 1);
        const int at = s.original.last().frameNumber;
        QVERIFY(rsc_player_frame_step(s.player, -1));
        QCOMPARE(s.original.last().frameNumber, at - 1);
        // Nothing before the first frame.
        QVERIFY(rsc_player_seek(s.player, 0));
        QCOMPARE(rsc_player_frame_step(s.player, -1), 0);
        QCOMPARE(s.original.last().frameNumber, 0);
    }

    void fastSeeksLandOnKeyFrames_data()
    {
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("frame");
        QTest::newRow("before") << 0 << 25;
        QTest::newRow("after") << 1 << 50;
    }
    void fastSeeksLandOnKeyFrames()
    {
        QFETCH(int, after);
        QFETCH(int, frame);
        Session s;
        QVERIFY(s.open(numberedClip())); // key frames every 25 frames
        QVERIFY(rsc_player_fast_seek(s.player, 1520000, after));
        QCOMPARE(s.original.last().frameNumber, frame);
    }

    void draggingShowsFramesWithinTheLag()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_begin_async_seek(s.player, 200000));
        QVERIFY(rsc_player_seek(s.player, 1520000));
        QTRY_VERIFY(s.original.calls() >= 1);
        const int shown = s.original.last().frameNumber;
        QVERIFY2(shown >= 33 && shown <= 38, qPrintable(QString::number(shown)));
        QVERIFY(rsc_player_end_async_seek(s.player));
        QCOMPARE(s.original.last().frameNumber, 38);
    }

    void draggingShowsNearbyFramesAndLandsExactly()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_begin_async_seek(s.player, 2000000));
        for (uint64_t t : {500000ull, 1300000ull, 2600000ull, 1880000ull})
            QVERIFY(rsc_player_seek(s.player, t));
        QCOMPARE(rsc_player_play_time(s.player), uint64_t(1880000));
        QVERIFY(rsc_player_end_async_seek(s.player));
        QCOMPARE(s.original.last().frameNumber, 47);
        QCOMPARE(rsc_player_video_time(s.player), uint64_t(47) * kFrameUs);
    }

    void playsToTheEndAndReportsCompletion()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_seek(s.player, 3600000));
        QVERIFY(rsc_player_play(s.player));
        QTRY_COMPARE_WITH_TIMEOUT(rsc_player_is_completed(s.player), 1, rstest::kHangBoundMs);
        QCOMPARE(s.original.last().frameNumber, 99);
        QCOMPARE(rsc_player_play_time(s.player), rsc_player_duration(s.player));
        // Stop rewinds; playing again starts over.
        QVERIFY(rsc_player_stop(s.player));
        QCOMPARE(rsc_player_is_stopped(s.player), 1);
        QCOMPARE(rsc_player_play_time(s.player), uint64_t(0));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QCOMPARE(s.original.last().frameNumber, 0);
    }

    // A section end polled every 100 ms, as the preview does: seeking back to the end time and pausing
    // leaves the picture on the section's last frame.
    void sectionPlayEndsOnTheSectionEnd()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        const uint64_t sectionEnd = 1400000;
        QVERIFY(rsc_player_seek(s.player, 1000000));
        QVERIFY(rsc_player_play(s.player));
        QElapsedTimer guard;
        guard.start();
        while (rsc_player_play_time(s.player) <= sectionEnd && guard.elapsed() < rstest::kHangBoundMs)
            QThread::msleep(100);
        QVERIFY(rsc_player_play_time(s.player) > sectionEnd);
        QVERIFY(rsc_player_seek(s.player, sectionEnd));
        QVERIFY(rsc_player_pause(s.player));
        QCOMPARE(s.original.last().frameNumber, 35);
        QVERIFY(qAbs(qint64(rsc_player_play_time(s.player)) - qint64(sectionEnd)) < 20000);
    }

    void editedFramesShowTheEdits_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<double>("probeX");
        QTest::addColumn<double>("probeY");
        QTest::addColumn<bool>("white");
        QTest::newRow("no edit: left white") << QString() << 0.25 << 0.5 << true;
        QTest::newRow("no edit: right black") << QString() << 0.75 << 0.5 << false;
        QTest::newRow("crop right half: left now black") << QStringLiteral("crop") << 0.25 << 0.5 << false;
        QTest::newRow("rotate 90: top white") << QStringLiteral("rotate") << 0.5 << 0.25 << true;
        QTest::newRow("rotate 90: bottom black") << QStringLiteral("rotate") << 0.5 << 0.75 << false;
        QTest::newRow("mirror: right white") << QStringLiteral("mirror") << 0.75 << 0.5 << true;
    }
    void editedFramesShowTheEdits()
    {
        QFETCH(QString, edit);
        QFETCH(double, probeX);
        QFETCH(double, probeY);
        QFETCH(bool, white);
        Session s;
        QVERIFY(s.open(halvesClip(), 160, 120));
        rsc_player_set_video_pad_and_color(s.player, 0, 0xFF000000);
        if (edit == QLatin1String("crop"))
            QVERIFY(rsc_player_set_video_crop(s.player, 0.5, 0.0, 0.5, 1.0));
        else if (edit == QLatin1String("rotate"))
            QVERIFY(rsc_player_set_video_rotate(s.player, 90));
        else if (edit == QLatin1String("mirror"))
            QVERIFY(rsc_player_set_video_mirror(s.player, 1));
        QVERIFY(rsc_player_seek(s.player, 400000));
        const Seen e = s.edited.last();
        QCOMPARE(e.format, RSC_FRAME_YUV420P);
        QCOMPARE(e.width, 160);
        QCOMPARE(e.height, 120);
        const int y = lumaAt(e, probeX, probeY);
        QVERIFY2(white ? y > 200 : y < 40, qPrintable(QString::number(y)));
        // The untouched frame is never edited.
        QVERIFY(lumaAt(s.original.last(), 0.25, 0.5) > 200);
    }

    // A seek back renders its frame with graphs made ahead while it decodes: they must carry the edits
    // in force when the frame is shown, also when the edits changed since the frame before.
    void seekBackKeepsTheEdits_data()
    {
        QTest::addColumn<bool>("mirrorFirst");
        QTest::addColumn<bool>("mirrorThen");
        QTest::newRow("mirror kept") << true << true;
        QTest::newRow("mirror turned off") << true << false;
        QTest::newRow("mirror turned on") << false << true;
    }
    void seekBackKeepsTheEdits()
    {
        QFETCH(bool, mirrorFirst);
        QFETCH(bool, mirrorThen);
        Session s;
        QVERIFY(s.open(halvesClip(), 160, 120));
        rsc_player_set_video_pad_and_color(s.player, 0, 0xFF000000);
        QVERIFY(rsc_player_set_video_mirror(s.player, mirrorFirst ? 1 : 0));
        for (uint64_t t : {1600000ull, 400000ull, 1200000ull}) {
            QVERIFY(rsc_player_seek(s.player, t));
            QCOMPARE(lumaAt(s.edited.last(), 0.75, 0.5) > 200, mirrorFirst);
        }
        QVERIFY(rsc_player_set_video_mirror(s.player, mirrorThen ? 1 : 0));
        for (uint64_t t : {200000ull, 1800000ull, 0ull}) {
            QVERIFY(rsc_player_seek(s.player, t));
            const Seen e = s.edited.last();
            QCOMPARE(e.width, 160);
            QCOMPARE(lumaAt(e, 0.75, 0.5) > 200, mirrorThen);
            QCOMPARE(lumaAt(e, 0.25, 0.5) > 200, !mirrorThen);
            QVERIFY(lumaAt(s.original.last(), 0.25, 0.5) > 200);
        }
        // Stepping back one frame at a time goes the same way.
        QVERIFY(rsc_player_frame_step(s.player, 1));
        QVERIFY(rsc_player_frame_step(s.player, 1));
        QVERIFY(rsc_player_frame_step(s.player, -1));
        QCOMPARE(rsc_player_video_time(s.player), uint64_t(kFrameUs));
        QCOMPARE(lumaAt(s.edited.last(), 0.75, 0.5) > 200, mirrorThen);
    }

    void watermarksAppearAndReportTheirBoxes()
    {
        Session s;
        QVERIFY(s.open(halvesClip(), 160, 120));
        QVERIFY(rsc_player_begin_settings(s.player));
        QVERIFY(rsc_player_set_watermark_index(s.player, 0));
        QVERIFY(rsc_player_set_watermark_image_file(s.player, redPicture().toUtf8().constData()));
        QVERIFY(rsc_player_set_watermark_image_position(s.player, 0.6, 0.5));
        QVERIFY(rsc_player_set_watermark_image_size(s.player, 0.25, 0.25));
        QVERIFY(rsc_player_set_watermark_text(s.player, "Reelsplice"));
        QVERIFY(rsc_player_set_watermark_text_size(s.player, 20));
        QVERIFY(rsc_player_set_watermark_text_position(s.player, 0.05, 0.05));
        QVERIFY(rsc_player_end_settings(s.player));
        QVERIFY(rsc_player_refresh_video_frame(s.player));
        QCOMPARE(rsc_player_watermark_image_pos_x(s.player), 0.6);
        QCOMPARE(rsc_player_watermark_image_width(s.player), 0.25);
        QCOMPARE(rsc_player_watermark_text_pos_y(s.player), 0.05);
        const double tw = rsc_player_watermark_text_width(s.player);
        QVERIFY2(tw > 0.1 && tw < 0.95, qPrintable(QString::number(tw)));
        QVERIFY(rsc_player_watermark_text_height(s.player) > 0.05);
        QVERIFY(rsc_player_show_video_frame(s.player));
        const Seen e = s.edited.last();
        // Red on black: luma rises well above black inside the picture's box, and only there.
        QVERIFY(lumaAt(e, 0.72, 0.62) > 50);
        QVERIFY(lumaAt(e, 0.72, 0.3) < 30);
        // A larger text measures larger.
        rsc_player_set_watermark_text_size(s.player, 40);
        QVERIFY(rsc_player_refresh_video_frame(s.player));
        QVERIFY(rsc_player_watermark_text_width(s.player) > tw * 1.5);
    }

    // The watermark picture's own colour adjustments: a red square on black, probed in the captured frame.
    // Contrast works on the brightness alone, so only its grey level is checked.
    void watermarkPictureColourAdjustments_data()
    {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("saturation");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<int>("hue");
        QTest::addColumn<QColor>("expected");
        QTest::addColumn<bool>("greyOnly");
        QTest::newRow("neutral: red") << 0 << 100 << 100 << 0 << QColor(255, 0, 0) << false;
        QTest::newRow("brightness up: white") << 255 << 100 << 100 << 0 << QColor(255, 255, 255) << false;
        QTest::newRow("brightness down: black") << -255 << 100 << 100 << 0 << QColor(0, 0, 0) << false;
        QTest::newRow("half brightness: light red") << 128 << 100 << 100 << 0 << QColor(255, 128, 128) << false;
        QTest::newRow("no saturation: grey") << 0 << 0 << 100 << 0 << QColor(76, 76, 76) << false;
        // The turn keeps the brightness: cyan as dark as the red was.
        QTest::newRow("hue half turn: cyan") << 0 << 100 << 100 << 100 << QColor(0, 150, 150) << false;
        QTest::newRow("no saturation, then the turn: grey stays")
            << 0 << 0 << 100 << 100 << QColor(76, 76, 76) << false;
        QTest::newRow("contrast 0: mid grey level") << 0 << 100 << 0 << 0 << QColor(128, 128, 128) << true;
    }
    void watermarkPictureColourAdjustments()
    {
        QFETCH(int, brightness);
        QFETCH(int, saturation);
        QFETCH(int, contrast);
        QFETCH(int, hue);
        QFETCH(QColor, expected);
        QFETCH(bool, greyOnly);
        Session s;
        QVERIFY(s.open(halvesClip(), 160, 120));
        QVERIFY(rsc_player_set_watermark_index(s.player, 0));
        QVERIFY(rsc_player_set_watermark_image_file(s.player, redPicture().toUtf8().constData()));
        QVERIFY(rsc_player_set_watermark_image_position(s.player, 0.6, 0.5));
        QVERIFY(rsc_player_set_watermark_image_size(s.player, 0.25, 0.25));
        // Negative brightness travels as the unsigned value's two's complement.
        QVERIFY(rsc_player_set_watermark_image_brightness(s.player, static_cast<uint32_t>(brightness)));
        QVERIFY(rsc_player_set_watermark_image_saturation(s.player, static_cast<uint32_t>(saturation)));
        QVERIFY(rsc_player_set_watermark_image_contrast(s.player, static_cast<uint32_t>(contrast)));
        QVERIFY(rsc_player_set_watermark_image_hue(s.player, static_cast<uint32_t>(hue)));
        QVERIFY(rsc_player_show_video_frame(s.player));
        unsigned char *bmp = rsc_player_capture_video_image(s.player, 0, 0, 0);
        QVERIFY(bmp);
        QImage image;
        QVERIFY(image.loadFromData(bmp, int(le32(bmp, 2))));
        rsc_player_free_video_image(s.player, bmp);
        const QRgb got = image.pixel(image.width() * 72 / 100, image.height() * 62 / 100);
        const QString seen = QStringLiteral("%1,%2,%3").arg(qRed(got)).arg(qGreen(got)).arg(qBlue(got));
        if (greyOnly) {
            QVERIFY2(qAbs(qGray(got) - expected.red()) <= 25, qPrintable(seen));
        } else {
            QVERIFY2(qAbs(qRed(got) - expected.red()) <= 40 && qAbs(qGreen(got) - expected.green()) <= 40 &&
                         qAbs(qBlue(got) - expected.blue()) <= 40,
                     qPrintable(seen));
        }
        // The clip around the picture keeps its own colours.
        QVERIFY(qGray(image.pixel(image.width() * 72 / 100, image.height() * 3 / 10)) < 30);
        QVERIFY(qGray(image.pixel(image.width() / 4, image.height() / 2)) > 200);
        QCOMPARE(rsc_player_set_watermark_image_brightness(nullptr, 0), 0);
    }

    void subtitleAngleTurnsTheText()
    {
        Session s;
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        QVERIFY(s.open(clip, 320, 240));
        QVERIFY(rsc_player_set_subtitle_file(
            s.player, (rstest::MediaFixtures::fixtureDir() + QStringLiteral("/subtitle_en.srt")).toUtf8().constData()));
        QVERIFY(rsc_player_seek(s.player, 800000));
        const QByteArray level = s.edited.last().y;
        QVERIFY(rsc_player_set_subtitle_angle(s.player, 90));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QVERIFY(s.edited.last().y != level);
        QVERIFY(rsc_player_set_subtitle_angle(s.player, 0));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QCOMPARE(s.edited.last().y, level);
        QCOMPARE(rsc_player_set_subtitle_angle(nullptr, 90), 0);
    }

    // A font file (here one copied to a folder of its own under a name with spaces) changes how the text and
    // the subtitles are drawn; a file that is no font leaves the default font; none gives the plain drawing.
    void fontFilesChangeTheDrawing_data()
    {
        QTest::addColumn<bool>("subtitle");
        QTest::addColumn<bool>("realFont");
        QTest::newRow("watermark text, a font") << false << true;
        QTest::newRow("watermark text, no font") << false << false;
        QTest::newRow("subtitle, a font") << true << true;
        QTest::newRow("subtitle, no font") << true << false;
    }
    void fontFilesChangeTheDrawing()
    {
        QFETCH(bool, subtitle);
        QFETCH(bool, realFont);
        const QString serif = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
        if (!QFile::exists(serif))
            QSKIP("the DejaVu fonts are not installed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString font = dir.filePath(QStringLiteral("my font, 1.ttf"));
        if (realFont) {
            QVERIFY(QFile::copy(serif, font));
        } else {
            QFile f(font);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        Session s;
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        QVERIFY(s.open(clip, 320, 240));
        if (subtitle) {
            QVERIFY(rsc_player_set_subtitle_file(
                s.player,
                (rstest::MediaFixtures::fixtureDir() + QStringLiteral("/subtitle_en.srt")).toUtf8().constData()));
        } else {
            QVERIFY(rsc_player_set_watermark_index(s.player, 0));
            QVERIFY(rsc_player_set_watermark_text(s.player, "Reelsplice Wg"));
            QVERIFY(rsc_player_set_watermark_text_size(s.player, 30));
            QVERIFY(rsc_player_set_watermark_text_position(s.player, 0.05, 0.3));
        }
        QVERIFY(rsc_player_seek(s.player, 800000));
        const QByteArray plain = s.edited.last().y;
        QVERIFY(rsc_player_refresh_video_frame(s.player));
        const double plainWidth = rsc_player_watermark_text_width(s.player);
        const QByteArray path = font.toUtf8();
        QVERIFY(subtitle ? rsc_player_set_subtitle_font_file(s.player, path.constData())
                         : rsc_player_set_watermark_text_font_file(s.player, path.constData()));
        QVERIFY(rsc_player_show_video_frame(s.player));
        if (realFont)
            QVERIFY(s.edited.last().y != plain);
        else
            QCOMPARE(s.edited.last().y, plain);
        // The text's box is measured in the font it is drawn in.
        if (!subtitle) {
            QVERIFY(rsc_player_refresh_video_frame(s.player));
            const double width = rsc_player_watermark_text_width(s.player);
            QVERIFY2(realFont ? width != plainWidth : width == plainWidth,
                     qPrintable(QStringLiteral("%1 / %2").arg(width).arg(plainWidth)));
        }
        QVERIFY(subtitle ? rsc_player_set_subtitle_font_file(s.player, nullptr)
                         : rsc_player_set_watermark_text_font_file(s.player, nullptr));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QCOMPARE(s.edited.last().y, plain);
    }

    // Subtitles of the file's own streams and of files are drawn into the edited frames only.
    void subtitlesAreDrawnIntoEditedFrames_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("stream") << false;
        QTest::newRow("file") << true;
    }
    void subtitlesAreDrawnIntoEditedFrames()
    {
        QFETCH(bool, fromFile);
        Session s;
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        QVERIFY(s.open(clip, 320, 240));
        QVERIFY(rsc_player_seek(s.player, 800000));
        const QByteArray plain = s.edited.last().y;
        const QByteArray untouched = s.original.last().y;
        if (fromFile)
            QVERIFY(rsc_player_set_subtitle_file(
                s.player,
                (rstest::MediaFixtures::fixtureDir() + QStringLiteral("/subtitle_en.srt")).toUtf8().constData()));
        else
            QVERIFY(rsc_player_set_subtitle_index(s.player, 0));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QVERIFY(s.edited.last().y != plain);
        QCOMPARE(s.original.last().y, untouched);
        // None again: the plain picture.
        QVERIFY(rsc_player_set_subtitle_file(s.player, nullptr));
        QVERIFY(rsc_player_set_subtitle_index(s.player, 0xFFFFFFFFu));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QCOMPARE(s.edited.last().y, plain);
    }

    // Subtitles given as bytes in memory are drawn as the same file would be; the stream may go at once.
    void subtitlesFromMemoryAreDrawnAsFromTheFile()
    {
        Session s;
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        QVERIFY(s.open(clip, 320, 240));
        QVERIFY(rsc_player_seek(s.player, 800000));
        const QByteArray plain = s.edited.last().y;
        const QString srt = rstest::MediaFixtures::fixtureDir() + QStringLiteral("/subtitle_en.srt");
        QVERIFY(rsc_player_set_subtitle_file(s.player, srt.toUtf8().constData()));
        QVERIFY(rsc_player_show_video_frame(s.player));
        const QByteArray fromFile = s.edited.last().y;
        QVERIFY(fromFile != plain);
        QVERIFY(rsc_player_set_subtitle_file(s.player, nullptr));
        QFile f(srt);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        rsc_memstream *stream = rsc_memstream_create(bytes.constData(), uint32_t(bytes.size()), 0);
        QVERIFY(stream);
        QVERIFY(rsc_player_set_subtitle_stream(s.player, stream));
        rsc_memstream_release(stream);
        QVERIFY(rsc_player_show_video_frame(s.player));
        QCOMPARE(s.edited.last().y, fromFile);
        QCOMPARE(rsc_player_set_subtitle_stream(s.player, nullptr), 0);
    }

    // Program and video stream choices: a black and a white picture, as two programs of a transport stream
    // and as two video streams of one Matroska file.
    void programAndVideoChoices_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<bool>("byProgram");
        QTest::newRow("programs of a transport stream") << QStringLiteral("ts") << true;
        QTest::newRow("video streams of a matroska file") << QStringLiteral("mkv") << false;
    }
    void programAndVideoChoices()
    {
        QFETCH(QString, container);
        QFETCH(bool, byProgram);
        QStringList args = QString::fromLatin1("-f lavfi -i color=c=black:s=160x120:r=25:d=3 "
                                               "-f lavfi -i color=c=white:s=160x120:r=25:d=3 -map 0 -map 1 "
                                               "-c:v libx264 -preset ultrafast -pix_fmt yuv420p")
                               .split(QLatin1Char(' '));
        if (byProgram)
            args << QString::fromLatin1("-program title=A:st=0 -program title=B:st=1").split(QLatin1Char(' '));
        const QString clip = rstest::MediaFixtures::make({QStringLiteral("player_two_pictures.") + container, args});
        Session s;
        QVERIFY(s.open(clip, 160, 120));
        // One key frame at the start only: the transport stream's seek lands on a later packet that decodes
        // to nothing, and the player must start earlier.
        const uint64_t from = 1000000;
        QVERIFY(rsc_player_seek(s.player, from));
        QVERIFY(lumaAt(s.edited.last(), 0.5, 0.5) < 40);
        auto choose = [&](uint32_t i) {
            return byProgram ? rsc_player_set_program_index(s.player, i) : rsc_player_set_video_index(s.player, i);
        };
        QCOMPARE(choose(1), 1);
        // The same time, the other picture, in both handlers.
        const uint64_t at = rsc_player_play_time(s.player);
        QVERIFY2(at + 100000 >= from && at <= from + 100000, qPrintable(QString::number(at)));
        QVERIFY(rsc_player_show_video_frame(s.player));
        QVERIFY(lumaAt(s.edited.last(), 0.5, 0.5) > 200);
        QVERIFY(lumaAt(s.original.last(), 0.5, 0.5) > 200);
        // A choice the file lacks is refused and keeps the picture.
        QCOMPARE(choose(2), 0);
        QVERIFY(rsc_player_show_video_frame(s.player));
        QVERIFY(lumaAt(s.edited.last(), 0.5, 0.5) > 200);
        QCOMPARE(choose(0), 1);
        QVERIFY(rsc_player_show_video_frame(s.player));
        QVERIFY(lumaAt(s.edited.last(), 0.5, 0.5) < 40);
    }

    void captureIsABmpOfTheEditedFrame_data()
    {
        QTest::addColumn<uint32_t>("previewW");
        QTest::addColumn<uint32_t>("previewH");
        QTest::addColumn<QSize>("size");
        // The 4:3 picture fitted into the preview size: the frame has no bars.
        QTest::newRow("preview size") << 200u << 100u << QSize(132, 100);
        QTest::newRow("odd preview size") << 201u << 99u << QSize(130, 98);
        QTest::newRow("the video's size") << 0u << 0u << QSize(160, 120);
    }
    void captureIsABmpOfTheEditedFrame()
    {
        QFETCH(uint32_t, previewW);
        QFETCH(uint32_t, previewH);
        QFETCH(QSize, size);
        Session s;
        QVERIFY(s.open(halvesClip(), previewW, previewH));
        QVERIFY(rsc_player_seek(s.player, 200000));
        unsigned char *bmp = rsc_player_capture_video_image(s.player, 0, 0, 0);
        QVERIFY(bmp);
        QCOMPARE(bmp[0], 'B');
        QImage image;
        QVERIFY(image.loadFromData(bmp, int(le32(bmp, 2))));
        QCOMPARE(image.size(), size);
        QVERIFY(qGray(image.pixel(size.width() * 2 / 5, size.height() / 2)) > 200); // the white half, inside any bars
        QCOMPARE(rsc_player_free_video_image(s.player, bmp), 1);
        // A buffer given back twice (or never handed out) is refused, not freed again.
        QCOMPARE(rsc_player_free_video_image(s.player, bmp), 0);
    }

    // The edited frame is the edited picture fitted into the preview size, without bars; the getter answers
    // its size as soon as an edit changes it, before any frame shows it.
    void previewSizeFollowsTheEdits_data()
    {
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QSize>("size");
        QTest::newRow("4:3 in a wide preview") << QSize(200, 100) << QString() << QSize(132, 100);
        QTest::newRow("4:3 in a tall preview") << QSize(100, 200) << QString() << QSize(100, 74);
        QTest::newRow("right half: 2:3") << QSize(200, 100) << QStringLiteral("crop") << QSize(66, 100);
        QTest::newRow("turned a quarter: 3:4") << QSize(200, 100) << QStringLiteral("rotate") << QSize(74, 100);
        QTest::newRow("aspect 16:9") << QSize(200, 100) << QStringLiteral("aspect") << QSize(178, 100);
        QTest::newRow("padding off: stretched") << QSize(200, 100) << QStringLiteral("stretch") << QSize(200, 100);
        QTest::newRow("no preview size") << QSize(0, 0) << QString() << QSize(160, 120);
        QTest::newRow("no preview size, right half") << QSize(0, 0) << QStringLiteral("crop") << QSize(80, 120);
    }
    void previewSizeFollowsTheEdits()
    {
        QFETCH(QSize, preview);
        QFETCH(QString, edit);
        QFETCH(QSize, size);
        Session s;
        QVERIFY(s.open(halvesClip(), uint32_t(preview.width()), uint32_t(preview.height())));
        if (edit == QLatin1String("crop"))
            QVERIFY(rsc_player_set_video_crop(s.player, 0.5, 0.0, 0.5, 1.0));
        else if (edit == QLatin1String("rotate"))
            QVERIFY(rsc_player_set_video_rotate(s.player, 90));
        else if (edit == QLatin1String("aspect"))
            QVERIFY(rsc_player_set_video_aspect_ratio(s.player, 16, 9));
        else if (edit == QLatin1String("stretch"))
            QVERIFY(rsc_player_set_video_pad_and_color(s.player, 0, 0xFF000000));
        uint32_t w = 0, h = 0;
        QCOMPARE(rsc_player_get_preview_size(s.player, &w, &h), 1);
        QCOMPARE(QSize(int(w), int(h)), size);
        QVERIFY(rsc_player_seek(s.player, 200000));
        QCOMPARE(QSize(s.edited.last().width, s.edited.last().height), size);
        QCOMPARE(rsc_player_get_preview_size(nullptr, &w, &h), 0);
        QCOMPARE(rsc_player_get_preview_size(s.player, nullptr, &h), 0);
    }

    // Handlers that take only packed pixels get packed pixels, untouched and edited.
    void packedFramesWhenHandlersAskForThem()
    {
        const int32_t packed[] = {30};
        QVERIFY(rsc_global_set_frame_formats(packed, 1));
        Session s;
        QVERIFY(s.open(halvesClip(), 160, 120));
        QVERIFY(rsc_player_seek(s.player, 200000));
        const int32_t both[] = {0, 30};
        rsc_global_set_frame_formats(both, 2);
        QCOMPARE(s.original.last().format, RSC_FRAME_BGRX);
        QCOMPARE(s.edited.last().format, RSC_FRAME_BGRX);
        QCOMPARE(s.edited.last().width, 160);
    }

    void waveDataIsAWavImage_data()
    {
        QTest::addColumn<uint32_t>("mono");
        QTest::addColumn<int>("channels");
        QTest::newRow("mono") << 1u << 1;
        QTest::newRow("stereo") << 0u << 2;
    }
    void waveDataIsAWavImage()
    {
        QFETCH(uint32_t, mono);
        QFETCH(int, channels);
        Session s;
        QVERIFY(s.open(rstest::MediaFixtures::standard(QStringLiteral("audio.wav"))));
        QCOMPARE(rsc_player_has_video(s.player), 0);
        QVERIFY(rsc_player_enable_audio_wave_data(s.player, 1));
        QVERIFY(rsc_player_play(s.player));
        unsigned char *wav = waveAfter(s.player, 300000, mono);
        QVERIFY(wav);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(wav), 4), QByteArray("RIFF"));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(wav) + 8, 4), QByteArray("WAVE"));
        QCOMPARE(le32(wav, 24), 44100u);
        QCOMPARE(int(wav[22]), channels);
        const uint32_t bytes = le32(wav, 40);
        QCOMPARE(le32(wav, 4), 36 + bytes);
        QVERIFY(bytes >= 44100u / 50 * 2 * channels); // about the last 50 ms
        QVERIFY2(wavePeak(wav) > 1000, "the sine tone is in the samples");
        QCOMPARE(rsc_player_free_audio_wave_data(s.player, wav), 1);
        QCOMPARE(rsc_player_free_audio_wave_data(s.player, nullptr), 0);
    }

    // The clip's volume goes through the same audio pipeline as the jobs, live: the levels show it.
    void volumeChangesWhatIsPlayed()
    {
        Session s;
        QVERIFY(s.open(rstest::MediaFixtures::standard(QStringLiteral("audio.wav"))));
        QVERIFY(rsc_player_enable_audio_wave_data(s.player, 1));
        auto peak = [&](uint64_t at) {
            unsigned char *wav = waveAfter(s.player, at, 1);
            const int p = wavePeak(wav);
            rsc_player_free_audio_wave_data(s.player, wav);
            return p;
        };
        QVERIFY(rsc_player_play(s.player));
        const int full = peak(200000);
        QVERIFY(full > 1000);
        QVERIFY(rsc_player_set_audio_volume(s.player, 25));
        // What was decoded ahead before the change has played out 600 ms on.
        const int quarter = peak(rsc_player_play_time(s.player) + 600000);
        QVERIFY2(qAbs(quarter - full / 4) < full / 20, qPrintable(QStringLiteral("%1 of %2").arg(quarter).arg(full)));
    }

    // The background's own channel map and equaliser, heard through the level data: the background (a 440 Hz
    // tone on the left channel, silence on the right) replaces the clip's sound.
    void backgroundChannelMapAndEqualiser_data()
    {
        QTest::addColumn<QVector<uint32_t>>("map");
        QTest::addColumn<double>("frequency");
        QTest::addColumn<bool>("loud");
        QTest::addColumn<bool>("fromMemory");
        QTest::newRow("as it is") << QVector<uint32_t>() << 0.0 << true << false;
        QTest::newRow("as it is, from memory") << QVector<uint32_t>() << 0.0 << true << true;
        QTest::newRow("right on both, from memory") << QVector<uint32_t>{1, 1} << 0.0 << false << true;
        QTest::newRow("left on both") << QVector<uint32_t>{0, 0} << 0.0 << true << false;
        QTest::newRow("right on both: silence") << QVector<uint32_t>{1, 1} << 0.0 << false << false;
        QTest::newRow("swapped") << QVector<uint32_t>{1, 0} << 0.0 << true << false;
        QTest::newRow("tone's band cut") << QVector<uint32_t>() << 440.0 << false << false;
        QTest::newRow("another band cut") << QVector<uint32_t>() << 6000.0 << true << false;
    }
    void backgroundChannelMapAndEqualiser()
    {
        RS_SHARD_UNIT();
        QFETCH(QVector<uint32_t>, map);
        QFETCH(double, frequency);
        QFETCH(bool, loud);
        QFETCH(bool, fromMemory);
        const QString tone =
            rstest::MediaFixtures::make({QStringLiteral("player_left_tone.wav"),
                                         {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                          QStringLiteral("aevalsrc=0.5*sin(440*2*PI*t)|0:s=44100:d=4")}});
        Session s;
        QVERIFY(s.open(rstest::MediaFixtures::standard(QStringLiteral("audio.wav"))));
        QVERIFY(rsc_player_enable_audio_wave_data(s.player, 1));
        QVERIFY(rsc_player_set_audio_background_index(s.player, 0));
        if (fromMemory) {
            QFile f(tone);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            rsc_memstream *stream = rsc_memstream_create(bytes.constData(), uint32_t(bytes.size()), 0);
            QVERIFY(rsc_player_set_audio_background_stream(s.player, stream));
            rsc_memstream_release(stream); // the player keeps its own copy
        } else {
            QVERIFY(rsc_player_set_audio_background_file(s.player, tone.toUtf8().constData()));
        }
        QVERIFY(rsc_player_set_audio_background_mix_mode(s.player, 1));
        if (!map.isEmpty())
            QVERIFY(rsc_player_set_audio_background_channel_mix(s.player, map.constData(), uint32_t(map.size())));
        if (frequency > 0.0) {
            const double gain = -40.0;
            QVERIFY(rsc_player_set_audio_background_equalize(s.player, &frequency, &gain, 1));
        }
        QVERIFY(rsc_player_play(s.player));
        unsigned char *wav = waveAfter(s.player, 400000, 1);
        QVERIFY(wav);
        const int peak = wavePeak(wav);
        rsc_player_free_audio_wave_data(s.player, wav);
        QVERIFY2(loud ? peak > 4000 : peak < 1200, qPrintable(QString::number(peak)));
        // Refusals: a channel no layout has, arrays missing.
        const uint32_t wild[] = {64};
        QCOMPARE(rsc_player_set_audio_background_channel_mix(s.player, wild, 1), 0);
        QCOMPARE(rsc_player_set_audio_background_channel_mix(s.player, nullptr, 2), 0);
        QCOMPARE(rsc_player_set_audio_background_equalize(s.player, nullptr, nullptr, 1), 0);
    }

    void removedHandlerIsNeverCalledAgain()
    {
        Session s;
        s.original.m_sleepMs = 15; // a slow handler, to catch the player in the middle of a call
        QVERIFY(s.open(numberedClip()));
        QVERIFY(rsc_player_play(s.player));
        QTRY_VERIFY(s.original.calls() >= 3);
        QVERIFY(rsc_player_set_original_video_frame_handler(s.player, nullptr, nullptr));
        const int calls = s.original.calls();
        // The other handler goes on getting frames; the removed one got none of them.
        const int edited = s.edited.calls();
        QTRY_VERIFY_WITH_TIMEOUT(s.edited.calls() >= edited + 5, rstest::kHangBoundMs);
        QCOMPARE(s.original.calls(), calls);
    }

    void stopCloseAndReleaseArePromptWhileHandlersRun()
    {
        auto *s = new Session;
        s->original.m_sleepMs = 30;
        QVERIFY(s->open(numberedClip()));
        QVERIFY(rsc_player_play(s->player));
        QTRY_VERIFY(s->original.calls() >= 2);
        QElapsedTimer t;
        t.start();
        QVERIFY(rsc_player_stop(s->player));
        QVERIFY(rsc_player_close(s->player));
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(rsc_player_play(s->player), 0);
        QVERIFY(s->open(numberedClip()));
        QVERIFY(rsc_player_play(s->player));
        QTRY_VERIFY(s->original.calls() >= 4);
        t.restart();
        delete s; // releases while playing
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, qPrintable(QString::number(t.elapsed())));
    }

    void referencesShareOnePlayer()
    {
        Session s;
        QVERIFY(s.open(numberedClip()));
        rsc_player *other = rsc_player_reference(s.player);
        QVERIFY(other);
        QVERIFY(rsc_player_seek(other, 2000000));
        QCOMPARE(rsc_player_play_time(s.player), uint64_t(2000000));
        QCOMPARE(s.original.last().frameNumber, 50);
        rsc_player_release(other);
        QCOMPARE(rsc_player_video_width(s.player), 160u); // still open for the first owner
        QVERIFY(!rsc_player_reference(nullptr));
    }

    void audioTrackChoice()
    {
        Session s;
        QVERIFY(s.open(rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"))));
        QVERIFY(rsc_player_set_audio_index(s.player, 1));
        QCOMPARE(rsc_player_set_audio_index(s.player, 7), 0);
        QVERIFY(rsc_player_play(s.player));
        QTRY_VERIFY_WITH_TIMEOUT(rsc_player_play_time(s.player) > 100000, rstest::kHangBoundMs);
    }
};

RS_TEST_MAIN(TestPlayer)
#include "tst_player.moc"
