// End to end without any window, on the real codec library: generated clips are probed, put in the clip
// list, checked for a lossless join and merged through the merge job driver exactly as the main window
// drives it, in the high-speed mode and in the encoding mode. Outputs are checked with ffprobe.

#include "TestSupport.h"

#include "AttributeSetting.h"
#include "FFprobe.h"
#include "FileAccess.h"
#include "MediaFixtures.h"
#include "QConverterOperate.h"
#include "QNewConvertObject.h"
#include "QPlistRead.h"
#include "ZTAVCodecAnalysis.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"
#include "rscodec.h"

#include "../codec/tst_job_helpers.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const quint64 kSec = 1000000ULL;

struct MergeRun
{
    bool finished = false;
    bool failed = false;
    QString output;
};

// A second of white pictures of `size` (`vf` filters them) with a tone, in MP4, named `name`; or stream-copied
// into `name` from such a clip with square pixels, with the further options `copy` (a display rotation, a
// container's aspect).
QString whiteClip(const QString &name, const QString &size, const QString &copy = QString(),
                  const QString &vf = QStringLiteral("setsar=1"))
{
    const QString plain = rstest::MediaFixtures::make(
        {copy.isEmpty() ? name : QStringLiteral("shape_%1.mp4").arg(size),
         QStringLiteral("-f lavfi -i color=white:s=%1:r=25:d=1 -f lavfi -i sine=d=1 -vf %2 -c:v libx264 -preset "
                        "ultrafast -pix_fmt yuv420p -c:a aac")
             .arg(size, vf)
             .split(QLatin1Char(' '))});
    if (copy.isEmpty())
        return plain;
    return rstest::MediaFixtures::make(
        {name, QStringList{QStringLiteral("-i"), plain, QStringLiteral("-c"), QStringLiteral("copy")} +
                   copy.split(QLatin1Char(' '))});
}

// The box of the bright pixels: the picture within its bars.
QRect brightBox(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (qGray(img.pixel(x, y)) > 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestMergeEndToEnd : public QObject
{
    Q_OBJECT
private:
    ZtVideoConvertManager *m_list = nullptr;
    QString m_outDir;

    ZtVideoConvertItem *probe(const QString &path)
    {
        auto *item = new ZtVideoConvertItem;
        if (!item->setVideoPath(path, 0)) {
            delete item;
            return nullptr;
        }
        m_list->addConverItem(item, -1);
        return item;
    }

    // What the main window does on Convert: name the output after the first clip (unless the user chose
    // `output`), make a fresh driver over all clips and start it.
    QNewConvertObject *startMerge(MergeRun &run, const QString &output = QString())
    {
        ZtVideoConvertItem *first = m_list->GetItem(0);
        first->getValidOutputName();
        first->getConverOutputDir();
        run.output = output.isEmpty() ? first->getConverPath() : output;
        auto *driver = new QNewConvertObject(nullptr);
        driver->ClearConvertItem();
        for (int i = 0; i < m_list->GetItemCount(); ++i)
            driver->AddConvertItem(m_list->GetItem(i));
        driver->setMergerOptputPath(run.output);
        connect(driver, &QNewConvertObject::emitMergerTotalFinished, this, [&run] { run.finished = true; });
        connect(driver, &QNewConvertObject::emitMergerFinished, this, [&run](bool ok) {
            if (!ok)
                run.failed = true;
        });
        driver->OnStartToMerger();
        return driver;
    }

    void checkOutput(const QString &path, double seconds, double tolerance, bool video)
    {
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QCOMPARE(rstest::FFprobe::streams(path, "video").size(), video ? 1 : 0);
        QCOMPARE(rstest::FFprobe::streams(path, "audio").size(), 1);
        const double d = rstest::FFprobe::durationSeconds(path);
        QVERIFY2(qAbs(d - seconds) <= tolerance,
                 qPrintable(QStringLiteral("duration %1, expected %2").arg(d).arg(seconds)));
        QString where;
        if (video)
            QVERIFY2(rstest::FFprobe::strictlyMonotonic(rstest::FFprobe::packets(path, "v:0"), &where),
                     qPrintable(where));
        QVERIFY2(rstest::FFprobe::strictlyMonotonic(rstest::FFprobe::packets(path, "a:0"), &where), qPrintable(where));
        const QString errors = rstest::FFprobe::decodeErrors(path);
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
    }

    void useLossless()
    {
        AttributeSetting a;
        a.bLossless = true;
        a.fileFormat = QStringLiteral("Original");
        a.fileExtend = QStringLiteral("mp4");
        QSettingDlgState::setAttributeSetting(a);
    }

    // The "HD MP4" profile of the catalogue with its default codecs, frame rate and bit rates; the
    // frame size is kept small so that the test runs quickly.
    bool useCatalogueProfile()
    {
        QPlistRead reader(
            (rstest::sourceDir() + QStringLiteral("/resources/profile/profiles_mac.plist")).toStdString());
        if (!reader.isLoaded())
            return false;
        FormatAllInfo *info = reader.GetFormatInfoForPlist("HD Video", "2001", "Auto", "Auto", "Auto", "Auto");
        if (!info)
            return false;
        AttributeSetting a;
        a.bLossless = false;
        a.nQuality = 1;
        a.fileFormat = QString::fromStdString(info->strExt);
        a.fileExtend = QString::fromStdString(info->strExt);
        a.VEncoder = QString::fromStdString(info->strVideoEncoder);
        a.VCodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(info->strVideoEncoder));
        a.VWidth = 320;
        a.VHeight = 240;
        unsigned num = 0;
        unsigned den = 0;
        ZTAVCodecAnalysis::GetVideoFrameRate(QString::fromStdString(info->strFrameRate).toDouble(), num, den);
        a.VFrameRate_fps = int(num);
        a.VFrameRate_scale = int(den);
        a.VBitRate = 600;
        a.AEncoder = QString::fromStdString(info->strAudioEncoder);
        a.ACodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(info->strAudioEncoder));
        a.AChannel = QString::fromStdString(info->strChannel).toInt();
        a.ASampleRate = QString::fromStdString(info->strSampleRate).section(' ', 0, 0).toInt();
        a.ABitRate = QString::fromStdString(info->strAudioBitRate).section(' ', 0, 0).toInt();
        QSettingDlgState::setAttributeSetting(a);
        return a.VCodecsId != 0 && a.ACodecsId != 0;
    }

private slots:
    void initTestCase()
    {
        rsc_job *probeJob = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        QVERIFY2(probeJob, "the codec library's merge jobs are not available");
        rsc_job_release(probeJob);
        m_list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
    }

    void init()
    {
        m_list->ClearItems();
        ZtVideoConvertItem::clearOutputFileList();
        m_outDir = rstest::scratchDir(QString::fromLatin1(QTest::currentTestFunction())) + QLatin1Char('/');
        QConverterOperate::setConverterPath(m_outDir);
    }

    void highSpeedJoinWithTrim()
    {
        useLossless();
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac.mp4")));
        ZtVideoConvertItem *b = probe(rstest::MediaFixtures::standard("h264_aac_b.mp4"));
        QVERIFY(b);
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac_c.mp4")));
        QVERIFY(m_list->IsLosslessMerger());
        QCOMPARE(b->m_nWidth, 320u);
        QVERIFY(qAbs(double(b->m_nDuration) / kSec - 3.0) < 0.1);
        b->m_nTrimStart = 1 * kSec; // on a key frame: the copy starts there
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 60000);
        QVERIFY(!run.failed);
        QVERIFY(run.output.endsWith(QLatin1String("h264_aac.mp4")));
        checkOutput(run.output, 2.0 + 2.0 + 1.5, 0.25, true);
    }

    void highSpeedJoinOfAudioFiles()
    {
        useLossless();
        QVERIFY(probe(rstest::MediaFixtures::standard("audio.m4a")));
        QVERIFY(probe(rstest::MediaFixtures::standard("audio.m4a")));
        QVERIFY(m_list->IsLosslessMerger());
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 60000);
        QVERIFY(!run.failed);
        QVERIFY(run.output.endsWith(QLatin1String(".m4a")));
        checkOutput(run.output, 4.0, 0.2, false);
    }

    void differentClipsAreNotJoinedLosslessly()
    {
        useLossless();
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac.mp4")));
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac_640x360_30.mp4")));
        QVERIFY(!m_list->IsLosslessMerger());
        m_list->ClearItems();
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac.mp4")));
        QVERIFY(probe(rstest::MediaFixtures::standard("mpeg4_mp3.avi")));
        QVERIFY(!m_list->IsLosslessMerger());
    }

    void losslessAnswerMatchesTheMerge_data()
    {
        QTest::addColumn<QStringList>("clips");
        QTest::addColumn<QString>("format"); // the output container; "Original" keeps the first clip's
        const QString original = QStringLiteral("Original");
        QTest::newRow("two FLAC files") << QStringList{"foreign:flac_a.flac", "foreign:flac_b.flac"} << original;
        QTest::newRow("one FLAC file") << QStringList{"foreign:flac_a.flac"} << original;
        QTest::newRow("two mp3 files") << QStringList{"foreign:lame_a.mp3", "foreign:lame_b.mp3"} << original;
        QTest::newRow("two Ogg files") << QStringList{"foreign:oggenc_a.ogg", "foreign:oggenc_b.ogg"} << original;
        QTest::newRow("different sizes") << QStringList{"h264_aac.mp4", "h264_aac_640x360_30.mp4"} << original;
        QTest::newRow("H.264 from MP4 into AVI") << QStringList{"h264_aac.mp4", "h264_aac_b.mp4"} << "avi";
        QTest::newRow("H.264 from Matroska into AVI")
            << QStringList{"foreign:gst_h264_aac_a.mkv", "foreign:gst_h264_aac_b.mkv"} << "avi";
        QTest::newRow("H.264 and AAC into MPEG-2's program stream")
            << QStringList{"h264_aac.mp4", "h264_aac_b.mp4"} << "mpeg";
        QTest::newRow("VP9 into QuickTime") << QStringList{"vp9_opus.webm", "vp9_opus.webm"} << "mov";
        QTest::newRow("H.264 into WebM") << QStringList{"h264_aac.mp4", "h264_aac_b.mp4"} << "webm";
    }
    void losslessAnswerMatchesTheMerge()
    {
        // The list's answer comes before the run: a join it offers must succeed and give a clean file, one it
        // refuses must fail.
        QFETCH(QStringList, clips);
        QFETCH(QString, format);
        useLossless();
        AttributeSetting a = QSettingDlgState::attributeSetting();
        a.fileFormat = format;
        a.fileExtend = format == QLatin1String("mpeg") ? QStringLiteral("mpg") : format.toLower();
        QSettingDlgState::setAttributeSetting(a);
        for (const QString &c : clips) {
            const QString path = c.startsWith(QLatin1String("foreign:")) ? rstest::MediaFixtures::foreign(c.mid(8))
                                                                         : rstest::MediaFixtures::standard(c);
            QVERIFY(probe(path));
        }
        const bool offered = m_list->IsLosslessMerger();
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 60000);
        QVERIFY2(run.finished != run.failed, qPrintable(driver->errorText()));
        QCOMPARE(run.finished, offered);
        if (run.finished) {
            QCOMPARE(rstest::FFprobe::decodeErrors(run.output), QString());
            QString where;
            QVERIFY2(rstest::FFprobe::strictlyMonotonic(rstest::FFprobe::packets(run.output, "a:0"), &where),
                     qPrintable(where));
        }
    }

    void subtitleAnswerMatchesTheMerge_data()
    {
        QTest::addColumn<QString>("format");    // of both clips' subtitle track
        QTest::addColumn<QString>("container"); // the output setting; "Original" keeps the first clip's
        QTest::addColumn<bool>("firstChooses"); // the first clip has its subtitle chosen too
        QTest::addColumn<bool>("carried");
        QTest::newRow("srt into mkv") << "srt"
                                      << "Original" << true << true;
        QTest::newRow("srt into mp4") << "srt"
                                      << "MP4" << true << false;
        QTest::newRow("mov_text into mp4") << "mov_text"
                                           << "Original" << true << true;
        QTest::newRow("ass into mkv") << "ass"
                                      << "Original" << true << true;
        QTest::newRow("srt into flv") << "srt"
                                      << "FLV" << true << false;
        QTest::newRow("only the second clip chooses") << "srt"
                                                      << "Original" << false << false;
    }
    void subtitleAnswerMatchesTheMerge()
    {
        // Each clip record's answer before a high-speed run is what the run then writes.
        QFETCH(QString, format);
        QFETCH(QString, container);
        QFETCH(bool, firstChooses);
        QFETCH(bool, carried);
        useLossless();
        AttributeSetting a = QSettingDlgState::attributeSetting();
        a.fileFormat = container;
        QSettingDlgState::setAttributeSetting(a);
        const QString path = rstest::MediaFixtures::foreignSubtitled(format);
        for (int i = 0; i < 2; ++i) {
            ZtVideoConvertItem *item = probe(path);
            QVERIFY(item);
            QCOMPARE(item->m_editConfig.subtitleValue.subtitleCount, 1);
            if (i == 1 || firstChooses) {
                item->m_editConfig.subtitleValue.subtitleRow = 1;
                item->m_editConfig.subtitleValue.subtitleIndex = 0;
            }
        }
        QCOMPARE(m_list->isSubtitleCarried(0), firstChooses && carried);
        QCOMPARE(m_list->isSubtitleCarried(1), carried);
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 60000);
        QVERIFY(!run.failed);
        const QJsonArray subtitles = rstest::FFprobe::streams(run.output, "subtitle");
        QCOMPARE(subtitles.size(), carried ? 1 : 0);
        // Each carried clip gives its two cues (MP4 fills the gaps between cues with empty samples).
        if (carried) {
            int cues = 0;
            for (const auto &p : rstest::FFprobe::packets(run.output, "s:0"))
                cues += p.size > 2 ? 1 : 0;
            QCOMPARE(cues, 4);
        }
    }

    void encodingModeWithEdits()
    {
        // The catalogue ships in the tree: failing to read it is a fault, not a reason to skip.
        QVERIFY2(useCatalogueProfile(), "the catalogue profile could not be read");
        ZtVideoConvertItem *a = probe(rstest::MediaFixtures::standard("h264_aac.mp4"));
        ZtVideoConvertItem *b = probe(rstest::MediaFixtures::standard("vp9_opus.webm"));
        ZtVideoConvertItem *c = probe(rstest::MediaFixtures::standard("h264_aac_640x360_30.mp4"));
        QVERIFY(a && b && c);
        a->m_editConfig.videoEffect.brightness = 40;
        a->m_editConfig.crop.cropRect = VERect{0.1, 0.1, 0.8, 0.8};
        b->m_nTrimStart = kSec / 2;
        b->m_nTrimEnd = 3 * kSec / 2;
        b->m_editConfig.crop.rotation = 90;
        c->m_editConfig.audio.volume = 50;
        c->m_editConfig.watermark.text.text = "Reelsplice";
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 120000);
        QVERIFY(!run.failed);
        checkOutput(run.output, 2.0 + 1.0 + 2.0, 0.3, true);
        const QJsonObject v = rstest::FFprobe::streams(run.output, "video").first().toObject();
        QCOMPARE(v.value("codec_name").toString(), QStringLiteral("h264"));
        QCOMPARE(v.value("width").toInt(), 320);
        QCOMPARE(v.value("height").toInt(), 240);
    }

    void joinKeepsTheShapeThePreviewShows_data()
    {
        QTest::addColumn<QStringList>("clips");
        QTest::addColumn<QSize>("chosen"); // 0 x 0 = "Auto"
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QList<double>>("aspects"); // each part's picture as its preview shows it
        const QString wide = whiteClip(QStringLiteral("shape_wide.mp4"), QStringLiteral("640x360"));
        auto turned = [](int degrees) {
            return whiteClip(QStringLiteral("shape_turned_%1.mp4").arg(degrees), QStringLiteral("320x180"),
                             QStringLiteral("-metadata:s:v rotate=%1").arg(degrees));
        };
        // The stream says square pixels, the container 16:9.
        const QString boxMkv = whiteClip(QStringLiteral("shape_container_169.mkv"), QStringLiteral("720x576"),
                                         QStringLiteral("-aspect 16:9"));
        const QString boxMp4 = whiteClip(QStringLiteral("shape_container_169.mp4"), QStringLiteral("720x576"),
                                         QStringLiteral("-aspect 16:9"));
        // The same stated by another muxer: mkvmerge's display size over the ffmpeg clip's square pixels.
        const QString byMkvmerge = rstest::MediaFixtures::makeByCommand(
            QStringLiteral("shape_container_169_mkvmerge.mkv"),
            QStringLiteral("mkvmerge -q -o \"$OUT\" --aspect-ratio 0:16/9 '%1'")
                .arg(whiteClip(QStringLiteral("shape_720x576.mp4"), QStringLiteral("720x576"))));
        const QString inStream = whiteClip(QStringLiteral("shape_stream_169.mp4"), QStringLiteral("720x576"), QString(),
                                           QStringLiteral("setsar=64/45"));
        const QSize kAuto(0, 0);
        const double portrait = 9.0 / 16, landscape = 16.0 / 9;
        QTest::newRow("turned 90, Auto") << QStringList{turned(90), wide} << kAuto << QSize(180, 320)
                                         << QList<double>{portrait, landscape};
        QTest::newRow("turned 270, Auto")
            << QStringList{turned(270), wide} << kAuto << QSize(180, 320) << QList<double>{portrait, landscape};
        QTest::newRow("turned 180, Auto")
            << QStringList{turned(180), wide} << kAuto << QSize(320, 180) << QList<double>{landscape, landscape};
        QTest::newRow("turned 90, 1280x720") << QStringList{turned(90), wide} << QSize(1280, 720) << QSize(1280, 720)
                                             << QList<double>{portrait, landscape};
        QTest::newRow("container 16:9 mkv, Auto")
            << QStringList{boxMkv, boxMp4} << kAuto << QSize(1024, 576) << QList<double>{landscape, landscape};
        QTest::newRow("container 16:9 mp4, Auto")
            << QStringList{boxMp4, wide} << kAuto << QSize(1024, 576) << QList<double>{landscape, landscape};
        QTest::newRow("container 16:9 mkv, 1024x576") << QStringList{boxMkv, boxMp4} << QSize(1024, 576)
                                                      << QSize(1024, 576) << QList<double>{landscape, landscape};
        QTest::newRow("container 16:9 mp4, 1280x720") << QStringList{boxMp4, boxMkv} << QSize(1280, 720)
                                                      << QSize(1280, 720) << QList<double>{landscape, landscape};
        QTest::newRow("container 16:9 by mkvmerge, Auto")
            << QStringList{byMkvmerge, wide} << kAuto << QSize(1024, 576) << QList<double>{landscape, landscape};
        QTest::newRow("stream 16:9, Auto")
            << QStringList{inStream, boxMkv} << kAuto << QSize(1024, 576) << QList<double>{landscape, landscape};
    }

    // An encoding join, padding on, gives each part's picture the shape its preview shows, fitted into the
    // output frame: at "Auto" the first clip's picture as shown, without bars.
    void joinKeepsTheShapeThePreviewShows()
    {
        QFETCH(QStringList, clips);
        QFETCH(QSize, chosen);
        QFETCH(QSize, frame);
        QFETCH(QList<double>, aspects);
        QVERIFY2(useCatalogueProfile(), "the catalogue profile could not be read");
        AttributeSetting a = QSettingDlgState::attributeSetting();
        a.VWidth = chosen.width();
        a.VHeight = chosen.height();
        QSettingDlgState::setAttributeSetting(a);
        for (const QString &clip : clips) {
            if (clip.contains(QLatin1String("container"))) {
                // The crafted clip: square pixels in its stream, 16:9 in its container alone.
                QByteArray trace;
                jobtest::ffmpegOut(
                    {"-i", clip, "-c", "copy", "-bsf:v", "trace_headers", "-frames:v", "1", "-f", "null", "-"}, &trace);
                const auto idc = QRegularExpression(QStringLiteral("aspect_ratio_idc +[01]+ = (\\d+)"))
                                     .match(QString::fromUtf8(trace));
                QVERIFY2(!idc.hasMatch() || idc.captured(1) == QLatin1String("1"), trace.constData());
                const QJsonObject v = rstest::FFprobe::streams(clip, "video").first().toObject();
                QCOMPARE(v.value("display_aspect_ratio").toString(), QStringLiteral("16:9"));
            }
            QVERIFY(probe(clip));
        }
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 120000);
        QVERIFY(!run.failed);
        for (int part = 0; part < clips.size(); ++part) {
            const QImage img = jobtest::frameAt(run.output, part + 0.5);
            QCOMPARE(img.size(), frame);
            const QRect box = brightBox(img);
            const double aspect = double(box.width()) / box.height();
            const QString what = QStringLiteral("part %1: picture %2x%3 at %4,%5 in %6x%7")
                                     .arg(part + 1)
                                     .arg(box.width())
                                     .arg(box.height())
                                     .arg(box.x())
                                     .arg(box.y())
                                     .arg(frame.width())
                                     .arg(frame.height());
            QVERIFY2(qAbs(aspect / aspects[part] - 1.0) < 0.04, qPrintable(what));
            // Fitted: it reaches two opposite edges of the frame.
            QVERIFY2(box.width() >= frame.width() - 2 || box.height() >= frame.height() - 2, qPrintable(what));
        }
    }

    void replacedOutputKeepsItsAccess()
    {
        // The user chose an output path that holds a file made private (mode, group, an attribute and an ACL):
        // the file that replaces it keeps all of that.
        const int nogroup = rstest::groupId("nogroup");
        const int nobody = rstest::userId("nobody");
        if (nogroup < 0 || nobody < 0)
            QSKIP("this system has no group nogroup or no user nobody");
        useLossless();
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac.mp4")));
        QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac_b.mp4")));
        const QString out = m_outDir + QStringLiteral("private.mp4");
        const QByteArray path = out.toUtf8();
        QVERIFY(QFile::copy(rstest::MediaFixtures::standard("audio.m4a"), out));
        if (::chown(path.constData(), uid_t(-1), gid_t(nogroup)) != 0)
            QSKIP("this user may not give the file to group nogroup");
        QCOMPARE(::chmod(path.constData(), 0600), 0);
        QCOMPARE(::setxattr(path.constData(), "user.comment", "private", 7, 0), 0);
        const QByteArray acl = rstest::aclLettingRead(uid_t(nobody), 6);
        if (::setxattr(path.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0) != 0)
            QSKIP("the scratch folder's filesystem has no POSIX ACLs");
        const rstest::FileAccess before = rstest::fileAccess(out);
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run, out));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 60000);
        QVERIFY(!run.failed);
        checkOutput(out, 2.0 + 3.0, 0.25, true);
        const rstest::FileAccess after = rstest::fileAccess(out);
        QCOMPARE(QString::number(after.mode, 8), QString::number(before.mode, 8));
        QCOMPARE(after.uid, before.uid);
        QCOMPARE(after.gid, before.gid);
        QCOMPARE(after.attributes, before.attributes);
    }

    void stopInTheMiddleLeavesNothing()
    {
        // The catalogue ships in the tree: failing to read it is a fault, not a reason to skip.
        QVERIFY2(useCatalogueProfile(), "the catalogue profile could not be read");
        for (int i = 0; i < 3; ++i)
            QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac_640x360_30.mp4")));
        MergeRun run;
        QNewConvertObject *driver = startMerge(run);
        float progress = 0;
        connect(driver, &QNewConvertObject::emitConvertTotalPro, this, [&progress](float t) { progress = t; });
        QTRY_VERIFY_WITH_TIMEOUT(progress > 5.0f || run.finished, 60000);
        QVERIFY(!run.finished);
        QElapsedTimer t;
        t.start();
        driver->OnStopConvert();
        QVERIFY2(t.elapsed() < 5000, "stop took too long");
        QVERIFY(run.failed);
        QVERIFY(!QFile::exists(run.output));
        QCoreApplication::sendPostedEvents(); // the stopped worker has ended: what it sent is all here
        QVERIFY(!run.finished);
        delete driver; // joins nothing: the converter is gone already
        QVERIFY(!QFile::exists(run.output));
    }

    void failingClipRemovesThePartialOutput_data()
    {
        QTest::addColumn<int>("clips");
        QTest::addColumn<int>("brokenAt");
        QTest::newRow("first of two") << 2 << 0;
        QTest::newRow("second of two") << 2 << 1;
        QTest::newRow("second of three") << 3 << 1;
    }
    void failingClipRemovesThePartialOutput()
    {
        QFETCH(int, clips);
        QFETCH(int, brokenAt);
        useLossless();
        const QString good = rstest::MediaFixtures::standard("h264_aac_b.mp4");
        const QString broken = m_outDir + QStringLiteral("broken.mp4");
        QVERIFY(QFile::copy(good, broken));
        for (int i = 0; i < clips; ++i)
            QVERIFY(probe(i == brokenAt ? broken : good));
        QVERIFY(m_list->IsLosslessMerger());
        // The file goes bad after it was listed.
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'x'));
        f.close();
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver(startMerge(run));
        QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 60000);
        QVERIFY(run.failed);
        QVERIFY(!run.finished);
        QVERIFY(!QFile::exists(run.output));
        // The user is told which clip failed, and the library's reason.
        const QString why = driver->errorText();
        QVERIFY2(why.startsWith(QLatin1String("broken.mp4: ")) && why.size() > 20, qPrintable(why));
    }

    void fullDiskNamesItsReason_data()
    {
        QTest::addColumn<bool>("lossless");
        QTest::newRow("high-speed") << true;
        QTest::newRow("encoding") << false;
    }
    void fullDiskNamesItsReason()
    {
        QFETCH(bool, lossless);
        if (lossless)
            useLossless();
        else
            QVERIFY2(useCatalogueProfile(), "the catalogue profile could not be read");
        for (int i = 0; i < 2; ++i)
            QVERIFY(probe(rstest::MediaFixtures::standard("h264_aac_b.mp4")));
        MergeRun run;
        QScopedPointer<QNewConvertObject> driver;
        {
            rstest::FileSizeLimit disk(60000);
            driver.reset(startMerge(run));
            QTRY_VERIFY_WITH_TIMEOUT(run.finished || run.failed, 120000);
        }
        QVERIFY(run.failed);
        QVERIFY(!QFile::exists(run.output));
        const QString why = driver->errorText();
        QVERIFY2(why.contains(QString::fromLocal8Bit(strerror(EFBIG))), qPrintable(why));
    }
};

RS_TEST_MAIN(TestMergeEndToEnd)
#include "tst_merge_e2e.moc"
