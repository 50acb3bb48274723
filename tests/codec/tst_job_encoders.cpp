// Every encoder and container pair the encoding catalogue offers re-encodes a short clip into a file that
// ffprobe reads back with the codecs asked for, the catalogue's sound formats and frame rates included.
#include "QPlistRead.h"
#include "codecids_table.h"
#include "tst_job_helpers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>

using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

struct Choice
{
    QString ext;
    QString video; // catalogue key; empty = no video
    QString audio;
    int width = 0, height = 0;
    double fps = 0;
    int channels = 0, sampleRate = 0;
    int videoKbps = 0, audioKbps = 0;
};

// "29.97 fps" -> 29.97; "Auto" and empty -> 0.
double number(const std::string &text)
{
    return QString::fromStdString(text).section(QLatin1Char(' '), 0, 0).toDouble();
}

const rsc::CodecIdRow *rowFor(const QString &key)
{
    for (const rsc::CodecIdRow &row : rsc::codecIdTable()) {
        if (key == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

QPlistRead *catalogue()
{
    static QPlistRead reader(
        (rstest::sourceDir() + QStringLiteral("/resources/profile/profiles_mac.plist")).toStdString());
    return &reader;
}

// Walks the catalogue as the format chooser does: video encoder, its resolutions, audio encoder, channels.
QList<Choice> allChoices()
{
    QList<Choice> out;
    QPlistRead *reader = catalogue();
    for (const std::string &category : reader->getCategories()) {
        std::vector<FormatBaseInfo *> *tiles = reader->getCategoriesInfoList(category);
        if (!tiles)
            continue;
        std::vector<std::pair<std::string, std::string>> ids;
        for (const FormatBaseInfo *tile : *tiles)
            ids.emplace_back(tile->id, tile->ext);
        for (const auto &[id, ext] : ids) {
            FormatAllInfo info = *reader->GetFormatInfoForPlist(category, id, "", "", "", "");
            std::vector<std::string> videos = info.bNoVideo ? std::vector<std::string>{""} : info.vecVideoEncoder;
            for (const std::string &video : videos) {
                if (video == "Auto")
                    continue;
                const FormatAllInfo forVideo = *reader->GetFormatInfoForPlist(category, id, video, "", "", "");
                std::vector<std::string> sizes = info.bNoVideo ? std::vector<std::string>{""} : forVideo.vecResolution;
                for (const std::string &size : sizes) {
                    if (size == "Auto")
                        continue;
                    const FormatAllInfo forSize = *reader->GetFormatInfoForPlist(category, id, video, size, "", "");
                    for (const std::string &audio : forSize.vecAudioEncoder) {
                        if (audio == "Auto")
                            continue;
                        const FormatAllInfo forAudio =
                            *reader->GetFormatInfoForPlist(category, id, video, size, audio, "");
                        for (const std::string &channel : forAudio.vecChannel) {
                            if (channel == "Auto")
                                continue;
                            const FormatAllInfo all =
                                *reader->GetFormatInfoForPlist(category, id, video, size, audio, channel);
                            Choice c;
                            c.ext = QString::fromStdString(ext);
                            c.video = QString::fromStdString(video);
                            c.audio = QString::fromStdString(audio);
                            const QString s = QString::fromStdString(size);
                            c.width = s.section(QLatin1Char('*'), 0, 0).toInt();
                            c.height = s.section(QLatin1Char('*'), 1, 1).toInt();
                            c.channels = QString::fromStdString(channel).toInt();
                            c.videoKbps = int(number(all.strVideoBitRate));
                            c.audioKbps = int(number(all.strAudioBitRate));
                            for (const std::string &fps :
                                 all.vecFrameRate.empty() ? std::vector<std::string>{""} : all.vecFrameRate) {
                                for (const std::string &rate : all.vecSampleRate) {
                                    c.fps = number(fps.empty() ? all.strFrameRate : fps);
                                    c.sampleRate = int(number(rate));
                                    if (c.sampleRate > 0 && (c.video.isEmpty() || c.fps > 0))
                                        out.append(c);
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    return out;
}

QString source()
{
    return MediaFixtures::make(
        {QStringLiteral("enc_src.mp4"),
         {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
          QStringLiteral("testsrc2=size=320x240:rate=25:duration=0.6"), QStringLiteral("-f"), QStringLiteral("lavfi"),
          QStringLiteral("-i"), QStringLiteral("sine=frequency=440:sample_rate=44100:duration=0.6"),
          QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:v"), QStringLiteral("libx264"),
          QStringLiteral("-preset"), QStringLiteral("ultrafast"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
          QStringLiteral("-c:a"), QStringLiteral("aac")}});
}

void addRow(const Choice &c, const QString &kind)
{
    const QString name = QStringLiteral("%1 %2 %3+%4 %5x%6 %7fps %8ch %9Hz")
                             .arg(kind, c.ext, c.video.isEmpty() ? QStringLiteral("-") : c.video, c.audio)
                             .arg(c.width)
                             .arg(c.height)
                             .arg(c.fps)
                             .arg(c.channels)
                             .arg(c.sampleRate);
    QTest::newRow(qPrintable(name)) << c.ext << c.video << c.audio << c.width << c.height << c.fps << c.channels
                                    << c.sampleRate << c.videoKbps << c.audioKbps;
}

} // namespace

class TestJobEncoders : public QObject
{
    Q_OBJECT

private slots:
    void reencodesWithEveryOfferedPair_data();
    void reencodesWithEveryOfferedPair();
};

void TestJobEncoders::reencodesWithEveryOfferedPair_data()
{
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("video");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("fps");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("videoKbps");
    QTest::addColumn<int>("audioKbps");
    const QList<Choice> choices = allChoices();
    QVERIFY2(choices.size() > 100, qPrintable(QString::number(choices.size())));
    // Three sweeps keep the run short: every (container, video, audio) pair at its smallest picture; then
    // every frame rate of each video encoder and every sound format of each audio encoder, in a container
    // that offers it.
    QHash<QString, Choice> pairs;
    QSet<QString> seen;
    for (const Choice &c : choices) {
        const QString key = c.ext + QLatin1Char('|') + c.video + QLatin1Char('|') + c.audio;
        auto it = pairs.find(key);
        if (it == pairs.end() || c.width * c.height < it->width * it->height)
            pairs[key] = c;
    }
    QStringList keys = pairs.keys();
    keys.sort();
    for (const QString &key : keys)
        addRow(pairs[key], QStringLiteral("pair"));
    // A frame rate or sound format already met in an earlier row adds nothing.
    for (const QString &key : keys) {
        const Choice &c = pairs[key];
        seen.insert(QStringLiteral("fps|%1|%2").arg(c.video).arg(c.fps));
        seen.insert(QStringLiteral("snd|%1|%2|%3").arg(c.audio).arg(c.channels).arg(c.sampleRate));
    }
    for (const Choice &c : choices) {
        const QString key = QStringLiteral("fps|%1|%2").arg(c.video).arg(c.fps);
        if (c.video.isEmpty() || seen.contains(key))
            continue;
        seen.insert(key);
        Choice row = pairs[c.ext + QLatin1Char('|') + c.video + QLatin1Char('|') + c.audio];
        row.fps = c.fps;
        addRow(row, QStringLiteral("rate"));
    }
    for (const Choice &c : choices) {
        const QString key = QStringLiteral("snd|%1|%2|%3").arg(c.audio).arg(c.channels).arg(c.sampleRate);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        Choice row = pairs[c.ext + QLatin1Char('|') + c.video + QLatin1Char('|') + c.audio];
        row.channels = c.channels;
        row.sampleRate = c.sampleRate;
        row.audioKbps = c.audioKbps;
        addRow(row, QStringLiteral("sound"));
    }
}

void TestJobEncoders::reencodesWithEveryOfferedPair()
{
    RS_SHARD_UNIT();
    QFETCH(QString, ext);
    QFETCH(QString, video);
    QFETCH(QString, audio);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, fps);
    QFETCH(int, channels);
    QFETCH(int, sampleRate);
    QFETCH(int, videoKbps);
    QFETCH(int, audioKbps);
    const rsc::CodecIdRow *vrow = video.isEmpty() ? nullptr : rowFor(video);
    const rsc::CodecIdRow *arow = rowFor(audio);
    QVERIFY2(video.isEmpty() || vrow, qPrintable(video));
    QVERIFY2(arow, qPrintable(audio));

    // As the converter sets a re-encoding up.
    rsc_edit *e = rsc_edit_create();
    rsc_edit_enable_video_edits(e, 1);
    rsc_edit_enable_audio_edits(e, 1);
    rsc_edit_set_video_codec(e, vrow ? vrow->id : uint32_t(-1));
    rsc_edit_set_audio_codec(e, arow->id);
    if (vrow && vrow->id == 28) {
        rsc_edit_set_video_profile_mode(e, 2);
        rsc_edit_set_video_profile(e, 66);
    } else if (vrow && vrow->id == 0x48323635u) {
        rsc_edit_set_video_profile_mode(e, 2);
        rsc_edit_set_video_profile(e, 1);
    }
    if (vrow) {
        rsc_edit_set_video_size(e, uint32_t(width), uint32_t(height));
        rsc_edit_set_frame_rate(e, uint32_t(std::lround(fps * 100)), 100);
        if (videoKbps > 0)
            rsc_edit_set_video_bit_rate(e, uint32_t(videoKbps) * 1000);
    }
    rsc_edit_set_audio_channels(e, uint32_t(channels));
    rsc_edit_set_audio_sample_rate(e, uint32_t(sampleRate));
    if (audioKbps > 0)
        rsc_edit_set_audio_bit_rate(e, uint32_t(audioKbps) * 1000);

    const QString src = source();
    const QString out = rstest::scratchDir(QStringLiteral("encoders")) + QStringLiteral("/out.") + ext;
    QFile::remove(out);
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    const bool opened =
        rsc_job_open_file(job, src.toUtf8().constData(), out.toUtf8().constData(), ext.toUtf8().constData(), e) == 1 &&
        rsc_job_start(job) == 1;
    rsc_edit_release(e);
    const QString openError = QString::fromUtf8(rsc_job_error(job));
    QElapsedTimer timer;
    timer.start();
    while (opened && rsc_job_is_finished(job) != 1 && timer.elapsed() < 60000)
        QThread::msleep(2);
    const bool failed = rsc_job_is_failed(job) == 1;
    const QString runError = QString::fromUtf8(rsc_job_error(job));
    const bool closed = rsc_job_close(job) == 1;
    rsc_job_release(job);
    QVERIFY2(opened, qPrintable(openError));
    QVERIFY2(!failed && closed, qPrintable(runError));

    const QJsonObject probe = FFprobe::probe(out);
    QJsonArray vs, as;
    for (const QJsonValue &st : probe[QStringLiteral("streams")].toArray()) {
        const QString type = st.toObject()[QStringLiteral("codec_type")].toString();
        if (type == QLatin1String("video"))
            vs.append(st);
        else if (type == QLatin1String("audio"))
            as.append(st);
    }
    QCOMPARE(vs.size(), vrow ? 1 : 0);
    QCOMPARE(as.size(), 1);
    if (vrow) {
        const QJsonObject v = vs[0].toObject();
        QCOMPARE(v[QStringLiteral("codec_name")].toString(), QString::fromLatin1(vrow->ffmpegName));
        QCOMPARE(v[QStringLiteral("width")].toInt(), width);
        QCOMPARE(v[QStringLiteral("height")].toInt(), height);
    }
    const QJsonObject a = as[0].toObject();
    QCOMPARE(a[QStringLiteral("codec_name")].toString(), QString::fromLatin1(arow->ffmpegName));
    QCOMPARE(a[QStringLiteral("channels")].toInt(), channels);
    const double seconds = probe[QStringLiteral("format")].toObject()[QStringLiteral("duration")].toString().toDouble();
    QVERIFY2(seconds > 0.4 && seconds < 0.9, qPrintable(QString::number(seconds)));
    // The ffmpeg tool's own frame-rate rounding warns when a picture starts between two ticks of its time
    // base (video placed after the sound encoder's priming): that is the tool, not the file.
    QStringList errors = FFprobe::decodeErrors(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    errors.erase(std::remove_if(errors.begin(), errors.end(),
                                [](const QString &line) {
                                    return line.contains(QLatin1String("non monotonically increasing dts to muxer"));
                                }),
                 errors.end());
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n')).left(400)));
}

RS_TEST_MAIN(TestJobEncoders)
#include "tst_job_encoders.moc"
