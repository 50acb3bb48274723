// Lossless joins into containers that store pictures in another form than the clips (H.264 and HEVC from
// MP4 and Matroska into AVI and MPEG program streams), and the library's answer, asked before a run,
// whether a copy of a clip can be written into a container at all: it must be what the join then does.
#include "tst_job_helpers.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

QString clip(const QString &spec)
{
    if (spec.startsWith(QLatin1String("foreign:")))
        return MediaFixtures::foreign(spec.mid(8));
    if (spec.startsWith(QLatin1String("hevc")))
        return MediaFixtures::make(
            {spec, QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=%1 -f lavfi -i "
                                       "sine=frequency=440:sample_rate=44100:duration=%1 -c:v libx265 -preset "
                                       "ultrafast -x265-params log-level=error:keyint=25 -pix_fmt yuv420p -c:a aac")
                       .arg(spec.contains(QLatin1String("_b")) ? 3 : 2)
                       .split(QLatin1Char(' '))});
    return MediaFixtures::standard(spec);
}

} // namespace

class TestJobContainers : public QObject
{
    Q_OBJECT

private slots:
    void byteStreamContainers_data();
    void byteStreamContainers();
    void answerBeforeTheRunIsTheJoin_data();
    void answerBeforeTheRunIsTheJoin();
};

void TestJobContainers::byteStreamContainers_data()
{
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("filter"); // what turns the sources' pictures into the output's form
    const QString h264 = QStringLiteral("h264_mp4toannexb");
    QTest::newRow("H.264 from MP4 into AVI") << QStringList{"h264_aac.mp4", "h264_aac_b.mp4"} << "avi" << h264;
    QTest::newRow("H.264 from GStreamer's Matroska into AVI")
        << QStringList{"foreign:gst_h264_aac_a.mkv", "foreign:gst_h264_aac_b.mkv"} << "avi" << h264;
    QTest::newRow("H.264 from GStreamer's MP4 into AVI")
        << QStringList{"foreign:gst_h264_aac_a.mp4", "foreign:gst_h264_aac_b.mp4"} << "avi" << h264;
    QTest::newRow("H.264 from mkvmerge's Matroska into AVI")
        << QStringList{"foreign:mkvmerge_x264_mp3_a.mkv", "foreign:mkvmerge_x264_mp3_b.mkv"} << "avi" << h264;
    QTest::newRow("H.264 from Matroska into MPEG program stream")
        << QStringList{"foreign:mkvmerge_x264_mp3_a.mkv", "foreign:mkvmerge_x264_mp3_b.mkv"} << "mpeg" << h264;
    QTest::newRow("HEVC from MP4 into AVI") << QStringList{"hevc_aac.mp4", "hevc_aac_b.mp4"} << "avi"
                                            << "hevc_mp4toannexb";
    QTest::newRow("HEVC from Matroska into AVI") << QStringList{"hevc_aac.mkv", "hevc_aac_b.mkv"} << "avi"
                                                 << "hevc_mp4toannexb";
    QTest::newRow("H.264 from MPEG-TS into AVI, unchanged")
        << QStringList{"h264_aac.ts", "h264_aac.ts"} << "avi" << QString();
}

void TestJobContainers::byteStreamContainers()
{
    // The joined pictures are the sources' own packets in the container's form, decode without an error and
    // follow one another without a gap at the join.
    QFETCH(QStringList, clips);
    QFETCH(QString, container);
    QFETCH(QString, filter);
    QList<jobtest::Task> tasks;
    QStringList expected;
    QList<int> joins; // the index of each later clip's first picture
    for (const QString &c : clips) {
        const QString path = clip(c);
        QVERIFY2(QFileInfo(path).size() > 0, qPrintable(path));
        QCOMPARE(rsc_job_lossless_container_takes(container.toUtf8().constData(), path.toUtf8().constData(), 0, 0), 1);
        tasks << jobtest::Task{path};
        if (!expected.isEmpty())
            joins << expected.size();
        expected += jobtest::payloadDigests(path, QStringLiteral("v:0"), filter);
    }
    const QString out = rstest::scratchDir(QStringLiteral("bytestream")) + QStringLiteral("/joined.") + container;
    const jobtest::Outcome r = jobtest::runMerge(true, out, container, tasks);
    QVERIFY2(!r.failed, qPrintable(r.error));
    // AVI marks a picture time left empty at a join (where a clip's sound outlasts its pictures, the next
    // clip starts after the sound, as in every container) with an empty packet.
    QStringList digests = jobtest::payloadDigests(out, QStringLiteral("v:0"));
    digests.erase(std::remove_if(digests.begin(), digests.end(), [](const QString &d) { return d.endsWith("/0"); }),
                  digests.end());
    QCOMPARE(digests, expected);
    QCOMPARE(FFprobe::decodeErrors(out), QString());
    // Each picture follows the one before by a frame (25 a second), by less than a few at a join.
    const QVector<FFprobe::Packet> video = FFprobe::packets(out, QStringLiteral("v:0"));
    QCOMPARE(video.size(), expected.size());
    for (int i = 1; i < video.size(); ++i) {
        if (video[i].dts == std::numeric_limits<qint64>::min() ||
            video[i - 1].dts == std::numeric_limits<qint64>::min())
            continue; // program streams time only some packets
        const double step = video[i].dtsTime - video[i - 1].dtsTime;
        const double most = joins.contains(i) ? 0.2 : 0.06;
        QVERIFY2(step > 0.02 && step < most, qPrintable(QStringLiteral("packet %1: %2 s").arg(i).arg(step)));
    }
}

void TestJobContainers::answerBeforeTheRunIsTheJoin_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("container");
    QTest::addColumn<bool>("writable");
    QTest::newRow("H.264 and AAC into AVI") << "h264_aac.mp4"
                                            << "avi" << true;
    QTest::newRow("H.264 into Matroska") << "h264_aac.mp4"
                                         << "matroska" << true;
    QTest::newRow("MPEG-4 Part 2 and MP3 into MP4") << "mpeg4_mp3.avi"
                                                    << "mp4" << true;
    QTest::newRow("VP9 and Opus into MPEG-TS") << "vp9_opus.webm"
                                               << "mpegts" << true;
    QTest::newRow("H.264 into WebM") << "h264_aac.mp4"
                                     << "webm" << false;
    QTest::newRow("AAC into an MPEG program stream") << "h264_aac.mp4"
                                                     << "mpeg" << false;
    QTest::newRow("HEVC into FLV") << "hevc_aac.mp4"
                                   << "flv" << false;
    QTest::newRow("HEVC into the iPod's MP4") << "hevc_aac.mp4"
                                              << "m4v" << false;
    QTest::newRow("VP9 into QuickTime") << "vp9_opus.webm"
                                        << "mov" << false;
    QTest::newRow("Opus into AVI") << "vp9_opus.webm"
                                   << "avi" << false;
    QTest::newRow("not a media file") << "bad:text.mp4"
                                      << "mp4" << false;
}

void TestJobContainers::answerBeforeTheRunIsTheJoin()
{
    QFETCH(QString, source);
    QFETCH(QString, container);
    QFETCH(bool, writable);
    const QString path =
        source.startsWith(QLatin1String("bad:")) ? MediaFixtures::badFile(source.mid(4)) : clip(source);
    QCOMPARE(rsc_job_lossless_container_takes(container.toUtf8().constData(), path.toUtf8().constData(), 0, 0),
             writable ? 1 : 0);
    const QString out = rstest::scratchDir(QStringLiteral("answer")) + QStringLiteral("/joined.out");
    const jobtest::Outcome r = jobtest::runMerge(true, out, container, {jobtest::Task{path}, jobtest::Task{path}});
    QVERIFY2(r.failed != writable, qPrintable(r.error));
    QCOMPARE(QFileInfo::exists(out), writable);
}

RS_TEST_MAIN(TestJobContainers)
#include "tst_job_containers.moc"
