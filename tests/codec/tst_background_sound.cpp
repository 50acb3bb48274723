// The background sound on the clip's own clock, in the join and in the preview alike: a trimmed part hears
// the background where the clip's time has it (from its show time, wrapped where it loops), and a clip without
// sound hears it over its silence. The background's pitch steps up each second, so its pitch tells where in
// it the sound is.
#include "SoundMeasure.h"
#include "tst_job_helpers.h"

#include <QMap>
#include <QRandomGenerator>

#include <sys/inotify.h>
#include <unistd.h>

#include <SDL2/SDL.h>

using namespace jobtest;
using rstest::MediaFixtures;
using rstest::Sound;

namespace {

const char kSteps[] = "aevalsrc=0.5*sin(2*PI*(400+200*floor(t))*t)|0.5*sin(2*PI*(400+200*floor(t))*t):s=44100:d=";

// The background's pitch at `seconds` of its own time: 400 Hz in its first second, 200 Hz more each second.
double stepHz(double seconds)
{
    return 400 + 200 * std::floor(seconds);
}

// Backgrounds: "steps.wav" (6 s) and "steps2.wav" (2 s) by ffmpeg, the 6 s one encoded by other tools too:
// "steps_lame.mp3" (variable bit rate), "steps_oggenc.ogg", "steps_opusenc.opus", "steps_flac.flac",
// "steps_sox.aiff", and by ffmpeg "steps.m4a", "steps.aac" (ADTS) and "steps_damaged.mp3" (its second half
// overwritten with random bytes: a player decodes its first three seconds and skips the rest).
QString background(const QString &name)
{
    const QString seconds = name.startsWith(QLatin1String("steps2")) ? QStringLiteral("2") : QStringLiteral("6");
    const QString wav = MediaFixtures::make(
        {QStringLiteral("bg_stereo_steps%1.wav").arg(seconds),
         {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QLatin1String(kSteps) + seconds}});
    if (name.endsWith(QLatin1String(".wav")))
        return wav;
    if (name == QLatin1String("steps_damaged.mp3")) {
        QFile mp3(MediaFixtures::make({QStringLiteral("bg_stereo_steps.mp3"),
                                       QString::fromLatin1("-i %1 -c:a libmp3lame -b:a 128k").arg(wav).split(' ')}));
        const QString damaged = rstest::scratchDir(QStringLiteral("bg-damaged")) + QLatin1Char('/') + name;
        QFile out(damaged);
        if (!QFileInfo::exists(damaged) && mp3.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) {
            QByteArray bytes = mp3.readAll();
            QRandomGenerator noise(46);
            for (int i = bytes.size() / 2; i < bytes.size(); ++i)
                bytes[i] = char(noise.generate());
            out.write(bytes);
        }
        return damaged;
    }
    static const QMap<QString, QString> commands{
        {QStringLiteral("steps_lame.mp3"), QStringLiteral("lame --quiet -V 4 '%1' \"$OUT\"")},
        {QStringLiteral("steps_oggenc.ogg"), QStringLiteral("oggenc -Q '%1' -o \"$OUT\"")},
        {QStringLiteral("steps_opusenc.opus"), QStringLiteral("opusenc --quiet '%1' \"$OUT\"")},
        {QStringLiteral("steps_flac.flac"), QStringLiteral("flac -s -f '%1' -o \"$OUT\"")},
        {QStringLiteral("steps_sox.aiff"), QStringLiteral("sox '%1' \"$OUT\"")},
    };
    if (commands.contains(name))
        return MediaFixtures::makeByCommand(QStringLiteral("bg_stereo_") + name, commands.value(name).arg(wav));
    return MediaFixtures::make({QStringLiteral("bg_stereo_") + name,
                                {QStringLiteral("-i"), wav, QStringLiteral("-c:a"), QStringLiteral("aac")}});
}

// 6 s clips whose own sound is silent.
enum class Clip {
    SilentTrack, // a sound track throughout
    NoSound,     // no sound track at all
    LateSound,   // sound from 3 s on only
    GappedSound, // 150 ms without sound after every packet of it (1 s of sound over 7.5 s)
};

QString clip(Clip kind)
{
    QStringList args = QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=6").split(' ');
    const QString silence = QStringLiteral("-f lavfi -i anullsrc=sample_rate=44100:channel_layout=stereo");
    switch (kind) {
    case Clip::SilentTrack:
        args += (silence + QStringLiteral(" -t 6 -c:a aac")).split(' ');
        break;
    case Clip::NoSound:
        break;
    case Clip::LateSound:
        args += (QStringLiteral("-itsoffset 3 -t 3 ") + silence + QStringLiteral(" -c:a aac")).split(' ');
        break;
    case Clip::GappedSound:
        args += (QStringLiteral("-t 1 ") + silence + QStringLiteral(" -c:a aac")).split(' ');
        args << QStringLiteral("-bsf:a") << QStringLiteral("setts=pts=PTS+N*150:dts=DTS+N*150");
        break;
    }
    args += QString::fromLatin1("-c:v libx264 -preset ultrafast -pix_fmt yuv420p").split(' ');
    static const char *const names[] = {"bg_silent_track.mp4", "bg_no_sound.mp4", "bg_late_sound.mkv",
                                        "bg_gapped_sound.mkv"};
    return MediaFixtures::make({QLatin1String(names[int(kind)]), args});
}

struct Case
{
    Clip clip = Clip::SilentTrack;
    QString background = QStringLiteral("steps.wav");
    bool loop = true;
    double show = 0; // the background's show time, clip seconds
    double trimStart = 1.3;
    double length = 3; // of the part, clip seconds
    unsigned speed = 100;
    unsigned mixMode = 0;
    QVector<double> checkAt{0.5, 2.5}; // output seconds whose pitch is checked, away from any step
};

// Where the background is at `out` seconds of the part's output; negative where it is silent.
double backgroundAt(const Case &c, double out)
{
    const double clipTime = c.trimStart + out * c.speed / 100.0;
    if (clipTime < c.show)
        return -1;
    const double into = (clipTime - c.show) * 100.0 / c.speed;
    const double length = c.background.startsWith(QLatin1String("steps2")) ? 2 : 6;
    if (!c.loop && into >= length)
        return -1;
    return std::fmod(into, length);
}

} // namespace

Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(Clip)

class TestBackgroundSound : public QObject
{
    Q_OBJECT

    static void addRows()
    {
        QTest::addColumn<Case>("c");
        QTest::addColumn<QString>("container");
        Case c;
        c.show = 1.3; // where the clip editor puts it: the trim start
        QTest::newRow("shown from the trim start, mp4") << c << QStringLiteral("mp4");
        QTest::newRow("shown from the trim start, mkv") << c << QStringLiteral("mkv");
        QTest::newRow("shown from the trim start, mp3") << c << QStringLiteral("mp3");
        c.show = 0;
        QTest::newRow("shown from 0: the part starts into it") << c << QStringLiteral("mp4");
        c.show = 2.3;
        c.checkAt = {1.5, 2.5};
        QTest::newRow("shown after the trim start") << c << QStringLiteral("mp4");
        c.speed = 200;
        c.length = 4;
        c.checkAt = {0.8, 1.7};
        QTest::newRow("shown after the trim start, at twice the speed") << c << QStringLiteral("mp4");
        c = Case();
        c.background = QStringLiteral("steps2.wav");
        c.trimStart = 3.5;
        c.length = 2.5;
        c.checkAt = {0.2, 1.0};
        QTest::newRow("looped: wrapped into the part") << c << QStringLiteral("mp4");
        c.loop = false;
        QTest::newRow("not looped: over before the part") << c << QStringLiteral("mp4");
        c = Case();
        // Read from its 1.3 s on, in each format.
        for (const char *file : {"steps_lame.mp3", "steps_oggenc.ogg", "steps_opusenc.opus", "steps_flac.flac",
                                 "steps_sox.aiff", "steps.m4a", "steps.aac"}) {
            c.background = QLatin1String(file);
            QTest::newRow(qPrintable(QStringLiteral("background %1, from 0").arg(c.background)))
                << c << QStringLiteral("mkv");
        }
        c = Case();
        // A damaged file sounds as far as it decodes; the part reads on into the damage.
        c.background = QStringLiteral("steps_damaged.mp3");
        c.show = 1.3;
        c.length = 4.5;
        QTest::newRow("background damaged in its second half, looped") << c << QStringLiteral("mp4");
        c.loop = false;
        QTest::newRow("background damaged in its second half, not looped") << c << QStringLiteral("mkv");
        c = Case();
        // Over silence where the clip's own sound is missing: from the part's start before a late sound, and
        // on through its gaps in step with the clip's clock.
        c.clip = Clip::LateSound;
        c.trimStart = c.length = 0;
        c.checkAt = {0.5, 2.5, 4.5};
        QTest::newRow("clip whose sound starts at 3 s") << c << QStringLiteral("mp4");
        c.length = 2.5;
        c.checkAt = {0.5, 1.5};
        QTest::newRow("part before a clip's late sound") << c << QStringLiteral("mkv");
        c = Case();
        c.clip = Clip::GappedSound;
        c.show = 1.3;
        QTest::newRow("clip whose sound has gaps") << c << QStringLiteral("mp4");
        c = Case();
        c.clip = Clip::NoSound;
        c.show = 1.3;
        QTest::newRow("clip without sound, trimmed") << c << QStringLiteral("mp4");
        c.mixMode = 1;
        QTest::newRow("clip without sound, replacing its sound") << c << QStringLiteral("mkv");
        c.mixMode = 0;
        c.show = c.trimStart = c.length = 0;
        QTest::newRow("clip without sound, whole") << c << QStringLiteral("mp3");
    }

private slots:
    void join_data() { addRows(); }

    // The part's first 0.3 s and its pitch at two times of the output, against where the clip's time puts
    // the background; its level over silence is its weight's share (mix mode 1: all of it).
    void join()
    {
        QFETCH(Case, c);
        QFETCH(QString, container);
        const QString out = rstest::scratchDir(QStringLiteral("bg-join")) + QStringLiteral("/out.") + container;
        rsc_edit *e = rsc_edit_create();
        rsc_edit_enable_video_edits(e, 1);
        rsc_edit_enable_audio_edits(e, 1);
        rsc_edit_set_encoder_options(e, "preset=ultrafast");
        rsc_edit_set_speed(e, c.speed);
        rsc_edit_set_audio_background_file(e, background(c.background).toUtf8().constData());
        rsc_edit_set_audio_background_loop(e, c.loop ? 1 : 0);
        rsc_edit_set_audio_background_mix_mode(e, c.mixMode);
        rsc_edit_set_audio_background_show_time(e, quint64(c.show * 1e6), 0);
        const Outcome r = runMerge(false, out, container,
                                   {Task{clip(c.clip), quint64(c.trimStart * 1e6), quint64(c.length * 1e6), e}});
        QVERIFY2(!r.failed, qPrintable(r.error));
        const Sound sound = Sound::ofFile(out);
        QVERIFY(!sound.isEmpty());
        const double length = (c.length > 0 ? c.length : 6.0) * 100.0 / c.speed;
        QVERIFY2(qAbs(sound.seconds() - length) < 0.15, qPrintable(QString::number(sound.seconds())));
        const double bgLevel = -9.0 + (c.mixMode == 1 ? 0.0 : -6.0); // the tone at half scale, at its weight
        const bool early = backgroundAt(c, 0) >= 0 && backgroundAt(c, 0.3) >= 0;
        const double first = sound.levelDb(0.02, 0.28);
        QVERIFY2(early ? qAbs(first - bgLevel) < 1.5 : first < -50,
                 qPrintable(QStringLiteral("first 0.3 s at %1 dB").arg(first)));
        for (double at : c.checkAt) {
            const double into = backgroundAt(c, at);
            const double heard = sound.toneHz(at - 0.1, 0.2);
            const double level = sound.levelDb(at - 0.1, 0.2);
            if (into < 0) {
                QVERIFY2(level < -50, qPrintable(QStringLiteral("at %1 s: %2 dB").arg(at).arg(level)));
                continue;
            }
            QVERIFY2(qAbs(heard - stepHz(into)) < 40 && qAbs(level - bgLevel) < 1.5,
                     qPrintable(QStringLiteral("at %1 s: %2 Hz at %3 dB, the background's %4 s is %5 Hz")
                                    .arg(at)
                                    .arg(heard)
                                    .arg(level)
                                    .arg(into)
                                    .arg(stepHz(into))));
        }
    }

    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy"); // a sound device that plays in real time without hardware
    }

    void preview_data()
    {
        QTest::addColumn<Clip>("kind");
        QTest::addColumn<double>("show");
        QTest::addColumn<bool>("device");          // through a sound device, else silently
        QTest::addColumn<bool>("setWhilePlaying"); // the background set while the clip plays, else before
        QTest::newRow("shown from the trim start") << Clip::SilentTrack << 1.3 << false << false;
        QTest::newRow("shown from 0") << Clip::SilentTrack << 0.0 << false << false;
        QTest::newRow("clip without sound, shown from the trim start") << Clip::NoSound << 1.3 << false << false;
        QTest::newRow("clip without sound, through a sound device") << Clip::NoSound << 1.3 << true << false;
        QTest::newRow("clip without sound, set while it plays through a sound device")
            << Clip::NoSound << 0.0 << true << true;
        QTest::newRow("clip whose sound starts at 3 s") << Clip::LateSound << 0.0 << false << false;
        QTest::newRow("clip whose sound has gaps") << Clip::GappedSound << 1.3 << false << false;
    }

    // The preview plays the background as the join does: at once from the trim start, and in place after a seek
    // (heard in the player's level data, 0.3 s on from each). A clip without sound takes the sound device for
    // it, as a clip with sound does, also when the background comes while it plays.
    void preview()
    {
        QFETCH(Clip, kind);
        QFETCH(double, show);
        QFETCH(bool, device);
        QFETCH(bool, setWhilePlaying);
        rsc_player *player =
            rsc_player_create(device ? RSC_CREATE_DEFAULT : RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        const auto release = qScopeGuard([player] { rsc_player_release(player); });
        QVERIFY(rsc_player_open(player, clip(kind).toUtf8().constData(), 0, 0, 0, 0) == 1);
        QVERIFY(rsc_player_enable_audio_wave_data(player, 1));
        auto setBackground = [&] {
            return rsc_player_set_audio_background_index(player, 0) &&
                   rsc_player_set_audio_background_file(player,
                                                        background(QStringLiteral("steps.wav")).toUtf8().constData()) &&
                   rsc_player_set_audio_background_show_time(player, quint64(show * 1e6), 0);
        };
        if (!setWhilePlaying)
            QVERIFY(setBackground());
        for (double from : {1.3, 3.5}) {
            QVERIFY(rsc_player_seek(player, quint64(from * 1e6)));
            QVERIFY(rsc_player_play(player));
            double heardFrom = from;
            if (setWhilePlaying && from == 1.3) {
                QTRY_VERIFY_WITH_TIMEOUT(rsc_player_play_time(player) >= 1500000, rstest::kHangBoundMs);
                QVERIFY(setBackground());
                heardFrom = rsc_player_play_time(player) / 1e6;
            }
            double at = 0;
            const Sound sound = heardAfter(player, quint64((heardFrom + 0.3) * 1e6), &at);
            // The player's device is the process's first opened one (SDL numbers those from 2).
            if (device)
                QCOMPARE(SDL_GetAudioDeviceStatus(2), SDL_AUDIO_PLAYING);
            QVERIFY(rsc_player_pause(player));
            // The level data is what played last before `at`: a little earlier, or through a device a buffer on.
            const double heard = sound.toneHz();
            bool inStep = false;
            for (double lag : {-0.05, 0.0, 0.1})
                inStep = inStep || qAbs(heard - stepHz(at - show - lag)) < 60;
            QVERIFY2(inStep && sound.levelDb() > -25,
                     qPrintable(QStringLiteral("from %1 s, at %2 s: %3 Hz at %4 dB; the background has %5 Hz")
                                    .arg(heardFrom)
                                    .arg(at)
                                    .arg(heard)
                                    .arg(sound.levelDb())
                                    .arg(stepHz(at - show))));
        }
    }

    void stopIsPromptWhereSilenceIsMade_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("withBackground");
        QTest::addColumn<QString>("container");
        const auto make = [](const char *name, const QString &args) {
            return MediaFixtures::make({QLatin1String(name), args.split(QLatin1Char(' '))});
        };
        const QString hour =
            make("bg_hour_no_sound.mp4",
                 QStringLiteral("-f lavfi -i color=c=gray:s=32x32:r=1:d=3600 -c:v libx264 -preset ultrafast"));
        const QString tenHours = make("bg_ten_hours_no_sound.mp4",
                                      QStringLiteral("-f lavfi -i color=c=gray:s=32x32:r=1/60:d=36000 -c:v libx264 "
                                                     "-preset ultrafast"));
        // A recorder's timestamp break: from the 21st picture on the times are 60000 s later.
        const QString jump =
            make("bg_picture_jump_60000.mp4", QStringLiteral("-f lavfi -i testsrc2=s=160x120:r=25:d=4 -c:v libx264 -preset "
                                                       "ultrafast -bsf:v setts=pts=PTS+if(gte(N\\,20)\\,60000/TB\\,0):"
                                                       "dts=DTS+if(gte(N\\,20)\\,60000/TB\\,0)"));
        QTest::newRow("an hour without sound into a sound-only file, with a background")
            << hour << true << QStringLiteral("mp3");
        QTest::newRow("ten hours without sound into a sound-only file") << tenHours << false << QStringLiteral("mp3");
        QTest::newRow("picture times jumping 60000 s, with a background") << jump << true << QStringLiteral("mp4");
        QTest::newRow("picture times jumping 60000 s") << jump << false << QStringLiteral("mp4");
    }

    // Silence made for a clip (under its background, for a sound-only output, under a jump in its pictures'
    // times) and pictures shown on over such a jump go a piece at a time: the progress moves, and a stop does not
    // wait for hours of output.
    void stopIsPromptWhereSilenceIsMade()
    {
        QFETCH(QString, source);
        QFETCH(bool, withBackground);
        QFETCH(QString, container);
        const QString out = rstest::scratchDir(QStringLiteral("bg-stop")) + QStringLiteral("/out.") + container;
        rsc_edit *e = rsc_edit_create();
        rsc_edit_enable_video_edits(e, 1);
        rsc_edit_enable_audio_edits(e, 1);
        rsc_edit_set_encoder_options(e, "preset=ultrafast");
        if (withBackground)
            rsc_edit_set_audio_background_file(e, background(QStringLiteral("steps.wav")).toUtf8().constData());
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        const auto release = qScopeGuard([job, e] {
            rsc_job_release(job);
            rsc_edit_release(e);
        });
        QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), container.toUtf8().constData(), nullptr), 1);
        QCOMPARE(rsc_job_start(job), 1);
        QCOMPARE(rsc_job_add_task(job, source.toUtf8().constData(), 0, 0, e), 1);
        // Past the first pictures, into the long part (how soon it gets there on a busy machine is not what is
        // measured: the stop is).
        QTRY_VERIFY_WITH_TIMEOUT(rsc_job_done(job) > 2000000, 3 * rstest::kHangBoundMs);
        QElapsedTimer t;
        t.start();
        QCOMPARE(rsc_job_stop(job, 1), 1);
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(rsc_job_is_stopped(job), 1);
        QVERIFY(rsc_job_done(job) < rsc_job_total(job));
        rsc_job_close(job);
        QVERIFY(!QFileInfo::exists(out));
    }

    // Played on through a clip's gaps in its sound, the background is opened once: a gap is filled with silence
    // instead of building the sound graph anew (which opens and seeks the background's file at each gap).
    void previewOpensTheBackgroundOnceThroughGaps()
    {
        const QString bg = rstest::scratchDir(QStringLiteral("bg-opens")) + QStringLiteral("/steps.wav");
        QVERIFY(QFile::copy(background(QStringLiteral("steps.wav")), bg));
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        const auto release = qScopeGuard([player] { rsc_player_release(player); });
        QVERIFY(rsc_player_open(player, clip(Clip::GappedSound).toUtf8().constData(), 0, 0, 0, 0) == 1);
        QVERIFY(rsc_player_set_audio_background_file(player, bg.toUtf8().constData()));
        QVERIFY(rsc_player_seek(player, 0));
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        const auto close = qScopeGuard([watch] { ::close(watch); });
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(bg).constData(), IN_OPEN) >= 0);
        QVERIFY(rsc_player_play(player));
        QTRY_VERIFY_WITH_TIMEOUT(rsc_player_play_time(player) >= 2500000, rstest::kHangBoundMs);
        QVERIFY(rsc_player_pause(player));
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;)
            opens += int(got / ssize_t(sizeof(inotify_event)));
        // Over 2.5 s with 14 gaps: the graph of the play's start, and at most the checks of the file.
        QVERIFY2(opens <= 3, qPrintable(QString::number(opens)));
    }

private:
    // The level data once the player has played to `us` with at least 20 ms of it, and the play time then;
    // empty after the bound.
    static Sound heardAfter(rsc_player *player, quint64 us, double *at)
    {
        Sound heard;
        (void)QTest::qWaitFor(
            [&] {
                if (rsc_player_play_time(player) < us)
                    return false;
                unsigned char *wav = rsc_player_get_audio_wave_data(player, 1);
                heard = Sound::ofWav(wav);
                *at = rsc_player_play_time(player) / 1e6;
                rsc_player_free_audio_wave_data(player, wav);
                return heard.seconds() >= 0.02;
            },
            rstest::kHangBoundMs);
        return heard;
    }
};

RS_TEST_MAIN(TestBackgroundSound)
#include "tst_background_sound.moc"
