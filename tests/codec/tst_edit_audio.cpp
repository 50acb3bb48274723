// Sound edits measured in the output with ffmpeg's volumedetect: volume, equaliser, track choice,
// background audio, speed and rate.
#include "tst_job_helpers.h"

#include <functional>

using namespace jobtest;
using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

using SetUp = std::function<void(rsc_edit *)>;

QString toneClip()
{
    return MediaFixtures::standard(QStringLiteral("h264_aac.mp4")); // 2 s, 440 Hz
}

QString silentClip()
{
    return MediaFixtures::make(
        {QStringLiteral("edit_silent.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i "
                             "anullsrc=sample_rate=44100:channel_layout=stereo -t 2 -c:v libx264 "
                             "-preset ultrafast -pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
}

// 4 s: red with a 440 Hz tone for 2 s, then blue and silent, so sound and picture change at one moment.
QString turningClip()
{
    return MediaFixtures::make(
        {QStringLiteral("edit_turn_at_2s.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=red:s=160x120:r=25:d=4 -f lavfi -i "
                             "sine=frequency=440:sample_rate=44100:duration=2 -vf "
                             "drawbox=color=blue:t=fill:enable='gte(t,2)' -af apad=whole_dur=4 -c:v libx264 "
                             "-preset ultrafast -pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
}

QString convert(const QString &name, const QString &source, const SetUp &setUp, quint64 *total = nullptr)
{
    const QString out = rstest::scratchDir(QStringLiteral("audio-") + name) + QStringLiteral("/out.mp4");
    rsc_edit *e = rsc_edit_create();
    rsc_edit_enable_video_edits(e, 1);
    rsc_edit_enable_audio_edits(e, 1);
    rsc_edit_set_encoder_options(e, "preset=ultrafast");
    setUp(e);
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), {Task{source, 0, 0, e}});
    if (r.failed)
        qWarning() << r.error;
    if (total)
        *total = r.total;
    return r.failed ? QString() : out;
}

// Mean level of the sound above `hertz`.
double levelAbove(const QString &path, int hertz)
{
    QByteArray err;
    ffmpegOut({QStringLiteral("-i"), path, QStringLiteral("-map"), QStringLiteral("0:a:0"), QStringLiteral("-af"),
               QStringLiteral("highpass=f=%1,highpass=f=%1,highpass=f=%1,highpass=f=%1,volumedetect").arg(hertz),
               QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")},
              &err);
    const auto m = QRegularExpression(QStringLiteral("mean_volume: (-?[0-9.]+) dB")).match(QString::fromUtf8(err));
    return m.hasMatch() ? m.captured(1).toDouble() : -1000.0;
}

} // namespace

Q_DECLARE_METATYPE(SetUp)

class TestEditAudio : public QObject
{
    Q_OBJECT

private slots:
    void level_data();
    void level();
    void trackChoice();
    void backgroundAudio_data();
    void backgroundAudio();
    void speedAndRate_data();
    void speedAndRate();
    void paceIsHeldWithinTenfold_data();
    void paceIsHeldWithinTenfold();
};

void TestEditAudio::level_data()
{
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<double>("change"); // dB against the unedited conversion
    QTest::addColumn<double>("tolerance");
    QTest::newRow("volume 50") << SetUp([](rsc_edit *e) { rsc_edit_set_volume(e, 50); }) << -6.0 << 1.0;
    QTest::newRow("volume 200") << SetUp([](rsc_edit *e) { rsc_edit_set_volume(e, 200); }) << 6.0 << 1.0;
    QTest::newRow("volume 0") << SetUp([](rsc_edit *e) { rsc_edit_set_volume(e, 0); }) << -70.0 << 25.0;
    QTest::newRow("equaliser cuts 440 Hz") << SetUp([](rsc_edit *e) {
        const double f[] = {110, 440, 1760}, g[] = {0, -30, 0};
        rsc_edit_set_equalizer(e, f, g, 3);
    }) << -25.0 << 8.0;
    QTest::newRow("edits off") << SetUp([](rsc_edit *e) {
        rsc_edit_set_volume(e, 0);
        rsc_edit_enable_audio_edits(e, 0);
    }) << 0.0 << 0.5;
}

void TestEditAudio::level()
{
    QFETCH(SetUp, setUp);
    QFETCH(double, change);
    QFETCH(double, tolerance);
    const QString plain = convert(QStringLiteral("plain"), toneClip(), [](rsc_edit *) {});
    QVERIFY(!plain.isEmpty());
    const double base = meanVolume(plain, 0.2, 1.5);
    const QString out = convert(QStringLiteral("edited"), toneClip(), setUp);
    QVERIFY(!out.isEmpty());
    const double level = meanVolume(out, 0.2, 1.5);
    QVERIFY2(qAbs(level - base - change) <= tolerance, qPrintable(QStringLiteral("%1 -> %2 dB").arg(base).arg(level)));
}

void TestEditAudio::trackChoice()
{
    // Track 0 sounds at 440 Hz, track 1 at 880 Hz.
    const QString src = MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
    const QString first = convert(QStringLiteral("track0"), src, [](rsc_edit *e) { rsc_edit_set_audio_track(e, 0); });
    const QString second = convert(QStringLiteral("track1"), src, [](rsc_edit *e) { rsc_edit_set_audio_track(e, 1); });
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QVERIFY2(levelAbove(second, 700) > levelAbove(first, 700) + 15,
             qPrintable(QStringLiteral("%1 %2").arg(levelAbove(second, 700)).arg(levelAbove(first, 700))));
}

void TestEditAudio::backgroundAudio_data()
{
    QTest::addColumn<bool>("silentClip");
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<double>("firstHalf"); // expected mean level bounds: > when positive, < when negative
    QTest::addColumn<double>("secondHalf");
    const QString tone = MediaFixtures::standard(QStringLiteral("audio.mp3"));
    const QString silence = MediaFixtures::make(
        {QStringLiteral("silence 'bg'.wav"),
         QString::fromLatin1("-f lavfi -i anullsrc=sample_rate=44100 -t 3").split(QLatin1Char(' '))});
    QTest::newRow("mixed in") << true << SetUp([tone](rsc_edit *e) {
        rsc_edit_set_audio_background_file(e, tone.toUtf8().constData());
    }) << 40.0 << 40.0;
    QTest::newRow("from 1 s") << true << SetUp([tone](rsc_edit *e) {
        rsc_edit_set_audio_background_file(e, tone.toUtf8().constData());
        rsc_edit_set_audio_background_show_time(e, 1000000, 0);
    }) << -80.0 << 40.0;
    QTest::newRow("volume 0") << true << SetUp([tone](rsc_edit *e) {
        rsc_edit_set_audio_background_file(e, tone.toUtf8().constData());
        rsc_edit_set_audio_background_volume(e, 0);
    }) << -80.0 << -80.0;
    QTest::newRow("replaces the clip's sound") << false << SetUp([silence](rsc_edit *e) {
        rsc_edit_set_audio_background_file(e, silence.toUtf8().constData());
        rsc_edit_set_audio_background_mix_mode(e, 1);
    }) << -80.0 << -80.0;
    QTest::newRow("weight 0 keeps the clip's sound") << false << SetUp([silence](rsc_edit *e) {
        rsc_edit_set_audio_background_file(e, silence.toUtf8().constData());
        rsc_edit_set_audio_background_weight(e, 0);
    }) << 40.0 << 40.0;
}

void TestEditAudio::backgroundAudio()
{
    QFETCH(bool, silentClip);
    QFETCH(SetUp, setUp);
    QFETCH(double, firstHalf);
    QFETCH(double, secondHalf);
    const QString out = convert(QStringLiteral("background"), silentClip ? ::silentClip() : toneClip(), setUp);
    QVERIFY(!out.isEmpty());
    auto check = [](double level, double bound) { return bound > 0 ? level > -bound : level < bound; };
    const double a = meanVolume(out, 0.1, 0.8), b = meanVolume(out, 1.1, 0.8);
    QVERIFY2(check(a, firstHalf), qPrintable(QString::number(a)));
    QVERIFY2(check(b, secondHalf), qPrintable(QString::number(b)));
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - 2.0) < 0.1);
}

void TestEditAudio::speedAndRate_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("rate");
    QTest::newRow("speed 200") << 200 << 100;
    QTest::newRow("rate 200") << 100 << 200;
    QTest::newRow("rate 150") << 100 << 150;
    QTest::newRow("rate 70") << 100 << 70;
    QTest::newRow("rate 150, speed 200") << 200 << 150;
    QTest::newRow("rate 70, speed 150") << 150 << 70;
    QTest::newRow("rate 10, speed 10: held at a tenth") << 10 << 10;
}

// Speed and rate set the clip's pace together, picture and sound: the output lasts the clip's length x 100 /
// speed x 100 / rate, held within a tenth and ten times the clip's, and the picture turns blue when the tone
// stops; progress counts that time. Rate alone changes the pitch.
void TestEditAudio::speedAndRate()
{
    QFETCH(int, speed);
    QFETCH(int, rate);
    const double pace = qBound(0.1, speed * rate / 10000.0, 10.0), length = 4.0 / pace, turn = 2.0 / pace;
    quint64 total = 0;
    const QString out = convert(
        QStringLiteral("pace"), turningClip(),
        [&](rsc_edit *e) {
            rsc_edit_set_speed(e, unsigned(speed));
            rsc_edit_set_rate(e, unsigned(rate));
        },
        &total);
    QVERIFY(!out.isEmpty());
    // The source's sound outlasts its picture by part of a sound packet, which a slower pace draws out.
    const double slack = 0.1 / qMin(pace, 1.0);
    for (const QString &kind : {QStringLiteral("video"), QStringLiteral("audio")}) {
        const double seconds = FFprobe::streamDurationSeconds(out, kind);
        QVERIFY2(qAbs(seconds - length) < slack, qPrintable(QStringLiteral("%1 %2 s").arg(kind).arg(seconds)));
    }
    QVERIFY2(qAbs(total / 1e6 - length) < 0.05, qPrintable(QStringLiteral("progress total %1 us").arg(total)));
    const QRect middle(60, 40, 40, 40);
    QVERIFY(channelMean(frameAt(out, turn - 0.2), middle, 0) > 200);
    QVERIFY(channelMean(frameAt(out, turn + 0.2), middle, 2) > 200);
    const double before = meanVolume(out, turn - 0.45, 0.3), after = meanVolume(out, turn + 0.15, 0.3);
    QVERIFY2(before > -40 && after < -60, qPrintable(QStringLiteral("%1 dB, then %2 dB").arg(before).arg(after)));
    const double raised = levelAbove(out, 600) - levelAbove(turningClip(), 600);
    QVERIFY2(rate > 100 ? raised > 10 : raised < 3, qPrintable(QStringLiteral("%1 dB above 600 Hz").arg(raised)));
}

void TestEditAudio::paceIsHeldWithinTenfold_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("rate");
    QTest::newRow("rate 2000") << 100 << 2000;
    QTest::newRow("speed 5000") << 5000 << 100;
    QTest::newRow("speed 1000, rate 1000") << 1000 << 1000;
    QTest::newRow("speed 500, rate 300") << 500 << 300;
}

// Beyond ten times the normal pace the job keeps to it, as the preview's clock does: the 4 s clip lasts 0.4 s,
// picture and sound. Where speed and rate together go beyond it, the rate still raises the pitch.
void TestEditAudio::paceIsHeldWithinTenfold()
{
    QFETCH(int, speed);
    QFETCH(int, rate);
    quint64 total = 0;
    const QString out = convert(
        QStringLiteral("held-pace"), turningClip(),
        [&](rsc_edit *e) {
            rsc_edit_set_speed(e, unsigned(speed));
            rsc_edit_set_rate(e, unsigned(rate));
        },
        &total);
    QVERIFY(!out.isEmpty());
    QCOMPARE(total, quint64(400000));
    for (const QString &kind : {QStringLiteral("video"), QStringLiteral("audio")}) {
        const double seconds = FFprobe::streamDurationSeconds(out, kind);
        QVERIFY2(qAbs(seconds - 0.4) < 0.1, qPrintable(QStringLiteral("%1 %2 s").arg(kind).arg(seconds)));
    }
    const double raised = levelAbove(out, 600) - levelAbove(turningClip(), 600);
    QVERIFY2(rate > 100 ? raised > 10 : raised < 3, qPrintable(QStringLiteral("%1 dB above 600 Hz").arg(raised)));
}

RS_TEST_MAIN(TestEditAudio)
#include "tst_edit_audio.moc"
