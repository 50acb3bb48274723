// Every profile of both catalogues, chosen in the real chooser and confirmed with OK, then a short real
// join through the merge driver with the record OK left: the output keeps the panel's promise (container,
// codecs, size, frame rate, sound format, checked with ffprobe). Also: an encoder this FFmpeg lacks fails
// the join before anything is written.

#include "FFprobe.h"
#include "FormatItem.h"
#include "FormatItemWidget.h"
#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "MediaFixtures.h"
#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QNewConvertObject.h"
#include "QPlistRead.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "TestSupport.h"
#include "ZTAVCodecAnalysis.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"
#include "codecids_table.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// FFmpeg encoders that make a source clip of a catalogue codec (high-speed joins copy the source).
QString ffmpegEncoder(const QString &fourcc)
{
    static const QHash<QString, QString> s_map{
        {"H264", "libx264"},    {"H265", "libx265"},   {"MP4V", "mpeg4"}, {"Xvid", "mpeg4"},    {"HMP2", "mpeg2video"},
        {"mpg1", "mpeg1video"}, {"VP9", "libvpx-vp9"}, {"VP8", "libvpx"}, {"MJPG", "mjpeg"},    {"flv1", "flv"},
        {"AAC", "aac"},         {"MP3", "libmp3lame"}, {"AC3", "ac3"},    {"OGG", "libvorbis"}, {"flac", "flac"},
        {"PCM", "pcm_s16le"},   {"alac", "alac"},      {"MP2A", "mp2"}};
    return s_map.value(fourcc);
}

// The demuxer names ffprobe reports for an output extension.
QString formatNameOf(const QString &ext)
{
    static const QHash<QString, QString> s_map{{"mp4", "mov,mp4"},  {"m4v", "mov,mp4"},  {"m4a", "mov,mp4"},
                                               {"m4r", "mov,mp4"},  {"3gp", "mov,mp4"},  {"mov", "mov,mp4"},
                                               {"mkv", "matroska"}, {"mka", "matroska"}, {"webm", "matroska,webm"},
                                               {"avi", "avi"},      {"mpg", "mpeg"},     {"ts", "mpegts"},
                                               {"wmv", "asf"},      {"wma", "asf"},      {"flv", "flv"},
                                               {"ogv", "ogg"},      {"ogg", "ogg"},      {"mp3", "mp3"},
                                               {"mp2", "mp3"},      {"aac", "aac"},      {"ac3", "ac3"},
                                               {"wav", "wav"},      {"flac", "flac"}};
    return s_map.value(ext);
}

QString codecNameOf(int codecId)
{
    const char *name = rsc::ffmpegNameForCodecId(quint32(codecId));
    return name ? QString::fromLatin1(name) : QString();
}

double rate(const QString &fraction)
{
    const QStringList parts = fraction.split(QLatin1Char('/'));
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return 0;
    return parts[0].toDouble() / parts[1].toDouble();
}

} // namespace

class TestFormatJoin : public QObject
{
    Q_OBJECT
private:
    FormatWidget *m_chooser = nullptr;
    QWidget m_host;
    ZtVideoConvertManager *m_list = nullptr;

    QPlistRead *reader(bool highSpeed)
    {
        const QString res = QIAnyUtil::getResourcePath();
        return highSpeed
                   ? QPlistRead::getPlistLosslessRead((res + "/profile/profiles_mac_Lossless.plist").toStdString())
                   : QPlistRead::getPlistRead((res + "/profile/profiles_mac.plist").toStdString());
    }

    QString source(const QString &video, const QString &audio, const QString &ext)
    {
        const QString name = QStringLiteral("fmt_%1_%2.%3").arg(video.isEmpty() ? "none" : video, audio, ext);
        QStringList args;
        if (!video.isEmpty())
            args << "-f"
                 << "lavfi"
                 << "-i"
                 << "testsrc2=size=160x90:rate=25:duration=1";
        args << "-f"
             << "lavfi"
             << "-i"
             << "sine=frequency=440:sample_rate=44100:duration=1"
             << "-ac"
             << "2";
        if (!video.isEmpty()) {
            args << "-c:v" << ffmpegEncoder(video) << "-pix_fmt" << (video == "MJPG" ? "yuvj420p" : "yuv420p");
            if (video == "H264" || video == "H265")
                args << "-preset"
                     << "ultrafast";
            if (video == "VP9" || video == "VP8")
                args << "-deadline"
                     << "realtime"
                     << "-cpu-used"
                     << "8";
        } else {
            args << "-vn";
        }
        args << "-c:a" << ffmpegEncoder(audio);
        return rstest::MediaFixtures::make({name, args});
    }

    bool join(const QString &clip, QString *output, QString *why)
    {
        m_list->ClearItems();
        ZtVideoConvertItem::clearOutputFileList();
        auto *item = new ZtVideoConvertItem;
        if (!item->setVideoPath(clip, 0)) {
            delete item;
            *why = QStringLiteral("the source does not probe");
            return false;
        }
        m_list->addConverItem(item, -1);
        item->getValidOutputName();
        item->getConverOutputDir();
        *output = item->getConverPath();
        QNewConvertObject driver(nullptr);
        driver.AddConvertItem(item);
        driver.setMergerOptputPath(*output);
        bool finished = false, failed = false;
        connect(&driver, &QNewConvertObject::emitMergerTotalFinished, this, [&finished] { finished = true; });
        connect(&driver, &QNewConvertObject::emitMergerFinished, this, [&failed](bool ok) { failed = !ok; });
        driver.OnStartToMerger();
        (void)QTest::qWaitFor([&] { return finished || failed; }, 120000); // the answer below tells which
        if (failed)
            *why = driver.errorText().isEmpty() ? QStringLiteral("the join failed") : driver.errorText();
        else
            *why = finished ? QString() : QStringLiteral("the join hung");
        return finished && !failed;
    }

    // Chooses the profile as a user does: the mode, the category, the tile; then OK.
    void choose(bool highSpeed, const QString &category, const QString &id)
    {
        m_chooser->show(); // as the main window opens it; its OK closes it again
        QVERIFY(QTest::qWaitForWindowExposed(m_chooser));
        if (highSpeed) // the profiles pane as a user left it unfolded
            QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::LosslessPane, QStringLiteral("Y")));
        ftk::click(highSpeed ? static_cast<QWidget *>(m_chooser->m_radLosslessMode) : m_chooser->m_radCustomize,
                   QPoint(5, 8));
        QTextImageButton *button =
            ftk::categoryButton(highSpeed ? m_chooser->typeLosslessButtons() : m_chooser->typeButtons(), category);
        QVERIFY(button);
        ftk::click(button);
        FormatItemWidget *grid = highSpeed ? m_chooser->m_formatItemLosslessDlg : m_chooser->m_formatItemDlg;
        FormatItem *tile = ftk::tile(grid, id);
        QVERIFY2(tile, qPrintable(id));
        ftk::click(tile, QPoint(20, 20));
        ftk::click(m_chooser->m_btnOk);
        QVERIFY(m_chooser->isHidden());
    }

    void addRows(bool highSpeed)
    {
        for (const std::string &category : reader(highSpeed)->getCategories()) {
            const auto *list = reader(highSpeed)->getCategoriesInfoList(category);
            QVERIFY(list);
            for (const FormatBaseInfo *info : *list)
                QTest::newRow(
                    qPrintable(QStringLiteral("%1 %2 %3")
                                   .arg(highSpeed ? "high-speed" : "encoding", QString::fromStdString(info->id),
                                        QString::fromStdString(info->title))))
                    << highSpeed << QString::fromStdString(category) << QString::fromStdString(info->id);
        }
    }

private slots:
    void initTestCase()
    {
        ftk::resetSettings();
        m_host.resize(800, 600);
        m_chooser = FormatWidget::getFormatWidget(&m_host);
        ftk::restoreChooser(m_chooser);
        m_list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
    }

    void init() { QConverterOperate::setConverterPath(rstest::scratchDir(QStringLiteral("out")) + QLatin1Char('/')); }

    void everyProfileKeepsItsPromise_data()
    {
        QTest::addColumn<bool>("highSpeed");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("id");
        addRows(false);
        addRows(true);
    }
    void everyProfileKeepsItsPromise()
    {
        RS_SHARD_UNIT();
        QFETCH(bool, highSpeed);
        QFETCH(QString, category);
        QFETCH(QString, id);
        choose(highSpeed, category, id);
        const AttributeSetting r = QSettingDlgState::attributeSetting();
        QCOMPARE(r.bLossless, highSpeed);
        const QSettingDlg *panel = m_chooser->m_settingDlg;
        QCOMPARE(panel->formatId(), id);
        const FormatAllInfo profile =
            *reader(highSpeed)->GetFormatInfoForPlist(category.toStdString(), id.toStdString(), "", "", "", "");
        const QString ext = QString::fromStdString(profile.strExt);

        // The record says what the panel shows, wherever the panel shows a value.
        if (!highSpeed) {
            QCOMPARE(r.fileExtend, ext);
            QCOMPARE(r.bOnlyAudio, profile.bNoVideo);
            const QString size = panel->m_cmbVResolution->currentText();
            if (!r.bOnlyAudio && size.contains(QLatin1Char('*')))
                QCOMPARE(QStringLiteral("%1*%2").arg(r.VWidth).arg(r.VHeight), size);
            const QString sample = panel->m_cmbASample->currentText();
            if (sample.endsWith(QLatin1String(" HZ")))
                QCOMPARE(QString::number(r.ASampleRate) + QStringLiteral(" HZ"), sample);
            const QString codec = panel->m_cmbAEncoder->itemDataString(panel->m_cmbAEncoder->currentIndex());
            if (codec != QLatin1String("Auto"))
                QCOMPARE(r.AEncoder, codec);
        }

        // The source: one second, 160x90; for a copy it must already hold codecs the container takes.
        QString video = profile.bNoVideo ? QString() : QStringLiteral("H264");
        QString audio = QStringLiteral("AAC");
        QString sourceExt = QStringLiteral("mp4");
        if (highSpeed) {
            if (!profile.bNoVideo)
                video = QString::fromStdString(profile.vecVideoEncoder.front());
            audio = QString::fromStdString(profile.vecAudioEncoder.front());
            sourceExt = r.fileFormat == QLatin1String("Original") ? (profile.bNoVideo ? "m4a" : "mp4") : ext;
            if (sourceExt == QLatin1String("m4v"))
                sourceExt = QStringLiteral("mp4");
        }
        const QString clip = source(video, audio, sourceExt);
        QString output, why;
        QVERIFY2(join(clip, &output, &why), qPrintable(why));
        const QJsonObject probe = rstest::FFprobe::probe(output);
        const QString format = probe.value("format").toObject().value("format_name").toString();
        const QString expectedFormat = formatNameOf(r.fileFormat == QLatin1String("Original") ? sourceExt : ext);
        QVERIFY2(format.startsWith(expectedFormat), qPrintable(format + " for " + ext));

        const QJsonArray videos = rstest::FFprobe::streams(output, "video");
        const QJsonArray audios = rstest::FFprobe::streams(output, "audio");
        QCOMPARE(videos.size(), profile.bNoVideo ? 0 : 1);
        QCOMPARE(audios.size(), 1);
        const QJsonObject a = audios.first().toObject();
        if (highSpeed) {
            QCOMPARE(a.value("codec_name").toString(),
                     codecNameOf(int(ZTAVCodecAnalysis::codecIDOfFourcc(audio.toStdString()))));
            QCOMPARE(a.value("sample_rate").toString().toInt(), 44100);
        } else {
            QCOMPARE(a.value("codec_name").toString(), codecNameOf(r.ACodecsId));
            QCOMPARE(a.value("sample_rate").toString().toInt(), r.ASampleRate ? r.ASampleRate : 44100);
            if (r.AChannel > 0)
                QCOMPARE(a.value("channels").toInt(), r.AChannel);
        }
        if (profile.bNoVideo)
            return;
        const QJsonObject v = videos.first().toObject();
        const QString expectedVideo = highSpeed
                                          ? codecNameOf(int(ZTAVCodecAnalysis::codecIDOfFourcc(video.toStdString())))
                                          : codecNameOf(r.VCodecsId);
        QCOMPARE(v.value("codec_name").toString(), expectedVideo);
        const QSize size(v.value("width").toInt(), v.value("height").toInt());
        if (!highSpeed && !r.VWidth && r.VEncoder == QLatin1String("H263")) {
            // H.263 encodes only its standard picture sizes: "Auto" takes the nearest one.
            const QList<QSize> standard{{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
            QVERIFY2(standard.contains(size), qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        } else {
            QCOMPARE(size, highSpeed || !r.VWidth ? QSize(160, 90) : QSize(r.VWidth, r.VHeight));
        }
        const double fps = rate(v.value("avg_frame_rate").toString());
        const double expectedFps =
            highSpeed || !r.VFrameRate_fps ? 25.0 : double(r.VFrameRate_fps) / r.VFrameRate_scale;
        QVERIFY2(qAbs(fps - expectedFps) < 0.05 * expectedFps,
                 qPrintable(QStringLiteral("%1 fps, promised %2").arg(fps).arg(expectedFps)));
    }

    // A hand-edited catalogue can name an encoder the codec vocabulary does not know (id 0) or one this
    // FFmpeg cannot encode with: the join fails at once and leaves no file behind.
    void unavailableEncoderFailsBeforeWriting_data()
    {
        QTest::addColumn<QString>("video");
        QTest::addColumn<QString>("audio");
        QTest::newRow("unknown video name") << "XYZ9"
                                            << "AAC";
        QTest::newRow("audio encoder FFmpeg lacks") << "H264"
                                                    << "wma3";
    }
    void unavailableEncoderFailsBeforeWriting()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, video);
        QFETCH(QString, audio);
        AttributeSetting a;
        a.fileFormat = QStringLiteral("mp4");
        a.fileExtend = QStringLiteral("mp4");
        a.VEncoder = video;
        a.VCodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(video.toStdString()));
        a.VFrameRate_fps = 25;
        a.VFrameRate_scale = 1;
        a.VBitRate = 500;
        a.AEncoder = audio;
        a.ACodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(audio.toStdString()));
        a.AChannel = 2;
        a.ASampleRate = 44100;
        a.ABitRate = 128;
        QSettingDlgState::setAttributeSetting(a);
        const QString outDir = QConverterOperate::getConverterPath();
        QString output, why;
        QVERIFY(!join(source("H264", "AAC", "mp4"), &output, &why));
        const QString missing = video == QLatin1String("XYZ9") ? video : audio;
        QVERIFY2(why.contains(QLatin1Char('"') + missing + QLatin1Char('"')), qPrintable(why));
        QVERIFY2(QDir(outDir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty(),
                 qPrintable(QDir(outDir).entryList(QDir::Files | QDir::Hidden).join(' ')));
    }
};

RS_TEST_MAIN(TestFormatJoin)
#include "tst_format_join.moc"
