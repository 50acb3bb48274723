// The clip item: duration texts, split settings, encode parameters, output names, language labels.

#include "TestSupport.h"

#include "AttributeSetting.h"
#include "LanguageTable.h"
#include "QConverterOperate.h"
#include "SettingKeys.h"
#include "ZtVideoConvertItem.h"

#include <QDir>
#include <QFile>

Q_DECLARE_METATYPE(VERect)

namespace {
const quint64 kSec = 1000000ULL;

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// Outputs go to the given folder setting as MP4 files.
void outputAsMp4(const QString &folder)
{
    QConverterOperate::setConverterPath(folder);
    AttributeSetting a;
    a.fileFormat = QStringLiteral("MP4");
    a.fileExtend = QStringLiteral("mp4");
    QSettingDlgState::setAttributeSetting(a);
}
} // namespace

class TestClipItem : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QSettingDlgState::clearAttributeSetting();
        ZtVideoConvertItem::clearOutputFileList();
    }

    void durationText_data()
    {
        QTest::addColumn<quint64>("us");
        QTest::addColumn<QString>("text");
        QTest::newRow("65 s") << 65 * kSec << "00:01:05";
        QTest::newRow("1:02:03") << 3723 * kSec << "01:02:03";
        QTest::newRow("under a second") << quint64(999999) << "00:00:00";
        // A day or more still reads as hours instead of vanishing.
        QTest::newRow("24 h") << 86400 * kSec << "24:00:00";
        QTest::newRow("100 h") << 360000 * kSec << "100:00:00";
    }
    void durationText()
    {
        QFETCH(quint64, us);
        QFETCH(QString, text);
        QCOMPARE(ZtVideoConvertItem::converterTimer(us), text);
    }

    void convertedTime_data()
    {
        QTest::addColumn<quint64>("trimStart");
        QTest::addColumn<quint64>("trimEnd");
        QTest::addColumn<quint32>("rate");
        QTest::addColumn<QString>("text");
        QTest::newRow("trim start only") << 10 * kSec << quint64(0) << 100u << "00:01:00";
        QTest::newRow("double rate") << 10 * kSec << quint64(0) << 200u << "00:00:30";
        QTest::newRow("start equals end") << 20 * kSec << 20 * kSec << 100u << "00:01:10";
        QTest::newRow("end before start") << 30 * kSec << 20 * kSec << 100u << "00:01:10";
        QTest::newRow("rate 0 is normal speed") << quint64(0) << 35 * kSec << 0u << "00:00:35";
        QTest::newRow("rate 5 is held at 10") << quint64(0) << 35 * kSec << 5u << "00:05:50";
    }
    void convertedTime()
    {
        QFETCH(quint64, trimStart);
        QFETCH(quint64, trimEnd);
        QFETCH(quint32, rate);
        QFETCH(QString, text);
        ZtVideoConvertItem item;
        item.m_nDuration = 70 * kSec;
        item.m_nTrimStart = trimStart;
        item.m_nTrimEnd = trimEnd;
        item.m_editConfig.audio.rate = rate;
        QCOMPARE(item.getConvertedTime(), text);
    }

    void splits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("every");
        QTest::addColumn<bool>("minutes");
        QTest::addColumn<int>("parts");
        QTest::addColumn<quint64>("duration");
        QTest::addColumn<QList<quint64>>("bounds"); // start, end pairs
        const quint64 h = 3600 * kSec;
        QTest::newRow("every hour of 150 min")
            << 1 << 1 << false << 1 << 150 * 60 * kSec << QList<quint64>{0, h, h, 2 * h, 2 * h, 0};
        QTest::newRow("every 0 minutes ends") << 1 << 0 << true << 1 << 100 * kSec << QList<quint64>{};
        QTest::newRow("every -2 ends") << 1 << -2 << true << 1 << 100 * kSec << QList<quint64>{};
        QTest::newRow("zero duration") << 1 << 1 << true << 1 << quint64(0) << QList<quint64>{};
        QTest::newRow("into 3") << 2 << 1 << false << 3 << 100 * kSec
                                << QList<quint64>{0, 33333333, 33333333, 66666666, 66666666, 0};
        QTest::newRow("into 1") << 2 << 1 << false << 1 << 100 * kSec << QList<quint64>{};
        QTest::newRow("no split") << 0 << 1 << false << 3 << 100 * kSec << QList<quint64>{};
    }
    void splits()
    {
        QFETCH(int, mode);
        QFETCH(int, every);
        QFETCH(bool, minutes);
        QFETCH(int, parts);
        QFETCH(quint64, duration);
        QFETCH(QList<quint64>, bounds);
        ZtVideoConvertItem item;
        item.m_nDuration = duration;
        Split_Info info;
        info.nMode = mode;
        info.nEvery = every;
        info.bMinutes = minutes;
        info.nParts = parts;
        item.setSplitInfo(info);
        QList<quint64> got;
        for (const SplitSegment *s : qAsConst(item.m_splitList))
            got << s->start << s->end;
        QCOMPARE(got, bounds);
    }

    void chapterSplitNeedsChapters()
    {
        ZtVideoConvertItem item;
        item.m_splitInfo.nMode = 2;
        Split_Info info;
        info.nMode = 3;
        info.nEvery = 4;
        info.nParts = 5;
        item.setSplitInfo(info);
        QCOMPARE(item.m_splitInfo.nMode, 2);
        QCOMPARE(item.m_splitInfo.nEvery, 4);
        QCOMPARE(item.m_splitInfo.nParts, 5);
    }

    void encodeParam_data()
    {
        QTest::addColumn<bool>("onlyAudio");
        QTest::addColumn<bool>("lossless");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("vWidth");
        QTest::addColumn<QString>("container");
        QTest::addColumn<int>("videoCodec");
        QTest::addColumn<quint32>("width");
        QTest::addColumn<quint32>("height");
        QTest::newRow("audio only") << true << false << "MP3" << 640 << "mp3" << -1 << 0u << 0u;
        QTest::newRow("source size") << false << false << "MP4" << 0 << "mp4" << 28 << 1280u << 720u;
        QTest::newRow("chosen size") << false << false << "MP4" << 640 << "mp4" << 28 << 640u << 480u;
        QTest::newRow("lossless original") << false << true << "Original" << 0 << "mov" << 28 << 1280u << 720u;
        // The library knows no container "original": re-encoding keeps the source's container too.
        QTest::newRow("re-encode original") << false << false << "Original" << 0 << "mov" << 28 << 1280u << 720u;
    }
    void encodeParam()
    {
        QFETCH(bool, onlyAudio);
        QFETCH(bool, lossless);
        QFETCH(QString, format);
        QFETCH(int, vWidth);
        QFETCH(QString, container);
        QFETCH(int, videoCodec);
        QFETCH(quint32, width);
        QFETCH(quint32, height);
        AttributeSetting a;
        a.bOnlyAudio = onlyAudio;
        a.bLossless = lossless;
        a.fileFormat = format;
        a.VWidth = vWidth;
        a.VHeight = vWidth ? 480 : 0;
        a.VCodecsId = 28;
        a.ACodecsId = 86018;
        a.VFrameRate_fps = 30000;
        a.VFrameRate_scale = 1001;
        a.nQuality = 3;
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertItem item;
        item.m_nWidth = 1280;
        item.m_nHeight = 720;
        item.m_strFormatName = QStringLiteral("mov");
        CAVEncodeParam p;
        item.getEncodeParam(&p);
        QCOMPARE(QString::fromUtf8(p.container()), container);
        QCOMPARE(p.videoCodec, videoCodec);
        QCOMPARE(p.width, width);
        QCOMPARE(p.height, height);
        QCOMPARE(p.bLossless, lossless);
        QCOMPARE(p.frameRateHundredths, 0u);
        QCOMPARE(p.frameRateNum, 30000u);
        QCOMPARE(p.frameRateDen, 1001u);
        QCOMPARE(p.audioCodec, 86018);
        QCOMPARE(p.videoQuality, 3);
    }

    void autoSize_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("fileRotation");
        QTest::addColumn<QSize>("fileAspect"); // 0 x 0 = square pixels
        QTest::addColumn<int>("userRotation");
        QTest::addColumn<VERect>("crop");
        QTest::addColumn<QSize>("expected");
        const QSize square(0, 0), hd(1920, 1080);
        const VERect whole, topHalf{0.0, 0.0, 1.0, 0.5};
        QTest::newRow("plain") << hd << 0 << square << 0 << whole << hd;
        QTest::newRow("phone clip turned 90") << hd << 90 << square << 0 << whole << QSize(1080, 1920);
        QTest::newRow("phone clip turned 270") << hd << 270 << square << 0 << whole << QSize(1080, 1920);
        QTest::newRow("container 16:9") << QSize(720, 576) << 0 << QSize(16, 9) << 0 << whole << QSize(1024, 576);
        // The user's own edits are laid into that frame, as into a fixed size: the editor's preview opens on it.
        QTest::newRow("cropped and turned by the user") << hd << 90 << square << 90 << topHalf << QSize(1080, 1920);
        // 7680x12960 shown: fitted into 8192 x 8192 pixels keeping its shape, rather than 100 million a frame.
        QTest::newRow("beyond the pixel bound")
            << QSize(7680, 4320) << 0 << QSize(16, 27) << 0 << whole << QSize(6306, 10640);
    }
    // "Auto" is the first clip's picture as shown, in the job and the history.
    void autoSize()
    {
        QFETCH(QSize, stored);
        QFETCH(int, fileRotation);
        QFETCH(QSize, fileAspect);
        QFETCH(int, userRotation);
        QFETCH(VERect, crop);
        QFETCH(QSize, expected);
        AttributeSetting a;
        a.fileFormat = QStringLiteral("MP4");
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertItem item;
        item.m_nWidth = unsigned(stored.width());
        item.m_nHeight = unsigned(stored.height());
        item.m_nRotation = fileRotation;
        item.m_nAspectX = unsigned(fileAspect.width());
        item.m_nAspectY = unsigned(fileAspect.height());
        item.m_editConfig.crop.rotation = userRotation;
        item.m_editConfig.crop.cropRect = crop;
        CAVEncodeParam p;
        item.getEncodeParam(&p);
        QCOMPARE(QSize(int(p.width), int(p.height)), expected);
        QCOMPARE(QSize(int(item.getVideoWidth()), int(item.getVideoHeight())), expected);
    }

    void oggBitRateCap_data()
    {
        QTest::addColumn<QString>("encoder");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("capped") << "OGG" << 22050 << 192 << 160u;
        QTest::newRow("at cap") << "OGG" << 22050 << 160 << 160u;
        QTest::newRow("32 kHz") << "OGG" << 32000 << 192 << 192u;
        QTest::newRow("lower-case name") << "ogg" << 22050 << 192 << 192u;
    }
    void oggBitRateCap()
    {
        QFETCH(QString, encoder);
        QFETCH(int, sampleRate);
        QFETCH(int, bitRate);
        QFETCH(quint32, expected);
        AttributeSetting a;
        a.fileFormat = QStringLiteral("ogg");
        a.AEncoder = encoder;
        a.ASampleRate = sampleRate;
        a.ABitRate = bitRate;
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertItem item;
        CAVEncodeParam p;
        item.getEncodeParam(&p);
        QCOMPARE(p.audioBitRate, expected);
    }

    void encodeRangeAndEditCopy_data()
    {
        QTest::addColumn<quint64>("trimStart");
        QTest::addColumn<quint64>("trimEnd");
        QTest::addColumn<quint64>("end");
        QTest::addColumn<quint64>("duration");
        QTest::newRow("open end") << 5 * kSec << quint64(0) << quint64(0) << quint64(0);
        QTest::newRow("range") << 5 * kSec << 20 * kSec << 20 * kSec << 15 * kSec;
        // An end before the start must not wrap to a huge duration.
        QTest::newRow("end before start") << 20 * kSec << 5 * kSec << quint64(0) << quint64(0);
    }
    void encodeRangeAndEditCopy()
    {
        QFETCH(quint64, trimStart);
        QFETCH(quint64, trimEnd);
        QFETCH(quint64, end);
        QFETCH(quint64, duration);
        ZtVideoConvertItem item;
        item.m_nTrimStart = trimStart;
        item.m_nTrimEnd = trimEnd;
        item.m_editConfig.videoEffect.hue = 50;
        CAVEncodeParam p;
        item.getEncodeParam(&p);
        QCOMPARE(p.start, trimStart);
        QCOMPARE(p.end, end);
        QCOMPARE(p.duration, duration);
        item.m_editConfig.videoEffect.hue = 99;
        QCOMPARE(p.editConfig.videoEffect.hue, 50);
    }

    void outputNames()
    {
        const QString out = rstest::scratchDir(QStringLiteral("names")) + QLatin1Char('/');
        outputAsMp4(out);

        ZtVideoConvertItem item;
        item.m_strFileName = QStringLiteral("my.holiday.clip.avi");
        QCOMPARE(item.getValidOutputName(), QStringLiteral("my.holiday.clip.avi"));
        QCOMPARE(item.getConverOutputDir(), out);
        QCOMPARE(item.getConverPath(), out + QStringLiteral("my.holiday.clip.mp4"));
        // Handed out once already: the next call counts on.
        QCOMPARE(item.getConverPath(), out + QStringLiteral("my.holiday.clip(1).mp4"));
        touch(out + QStringLiteral("my.holiday.clip(2).mp4"));
        QCOMPARE(item.getConverPath(), out + QStringLiteral("my.holiday.clip(3).mp4"));

        ZtVideoConvertItem bare;
        bare.m_strFileName = QStringLiteral("clip");
        bare.getValidOutputName();
        bare.getConverOutputDir();
        QCOMPARE(bare.getConverPath(), out + QStringLiteral("clip.mp4"));

        ZtVideoConvertItem empty;
        QCOMPARE(empty.getConverOutputDir(), QString());

        // The path asked for first: the folder is the output root, not the process's current folder.
        ZtVideoConvertItem pathFirst;
        pathFirst.m_strFileName = QStringLiteral("first.mov");
        QCOMPARE(pathFirst.getConverPath(), out + QStringLiteral("first.mp4"));
        ZtVideoConvertItem splitFirst;
        splitFirst.m_strFileName = QStringLiteral("parts.mov");
        splitFirst.m_splitInfo.nMode = 2;
        QCOMPARE(splitFirst.getConverPath(), out + QStringLiteral("parts/parts_1.mp4"));
    }

    // Outputs never land in the process's current folder or beside the output folder: an empty or relative
    // setting means the default output folder, and a setting without the final "/" still names the folder.
    void outputFolderSettingForms_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("expected");
        const QString out = rstest::scratchDir(QStringLiteral("forms"));
        QTest::newRow("empty") << QString() << SettingKeys::defaultOutputPath();
        QTest::newRow("relative") << QStringLiteral("relative/out") << SettingKeys::defaultOutputPath();
        QTest::newRow("no final slash") << out << out + QLatin1Char('/');
        QTest::newRow("final slash") << out + QLatin1Char('/') << out + QLatin1Char('/');
    }
    void outputFolderSettingForms()
    {
        QFETCH(QString, setting);
        QFETCH(QString, expected);
        if (!expected.endsWith(QLatin1Char('/')))
            expected += QLatin1Char('/');
        outputAsMp4(setting);
        ZtVideoConvertItem item;
        item.m_strFileName = QStringLiteral("clip.mov");
        item.getValidOutputName();
        QCOMPARE(item.getConverOutputDir(), expected);
        const QString path = item.getConverPath();
        QVERIFY2(QDir::isAbsolutePath(path), qPrintable(path));
        QCOMPARE(path, expected + QStringLiteral("clip.mp4"));
    }

    void splitOutputNamesGoIntoAFolder()
    {
        const QString out = rstest::scratchDir(QStringLiteral("split")) + QLatin1Char('/');
        outputAsMp4(out);
        ZtVideoConvertItem item;
        item.m_strFileName = QStringLiteral("clip.mov");
        item.m_splitInfo.nMode = 2;
        item.getValidOutputName();
        QCOMPARE(item.getConverOutputDir(), out + QStringLiteral("clip/"));
        QCOMPARE(item.getConverPath(), out + QStringLiteral("clip/clip_1.mp4"));
        QVERIFY(QDir(out + QStringLiteral("clip")).exists());
        QCOMPARE(item.getConverPath(), out + QStringLiteral("clip/clip_2.mp4"));
        QCOMPARE(item.getConverOutputDir(), out + QStringLiteral("clip(1)/"));
        // An empty clip folder goes; the output folder itself stays.
        item.m_strOutputDir = out + QStringLiteral("clip/");
        item.removeOutPutDir();
        QVERIFY(!QDir(out + QStringLiteral("clip")).exists());
        item.m_strOutputDir = out;
        item.removeOutPutDir();
        QVERIFY(QDir(out).exists());
    }

    void originalKeepsTheSourceExtension()
    {
        const QString out = rstest::scratchDir(QStringLiteral("orig")) + QLatin1Char('/');
        QConverterOperate::setConverterPath(out);
        AttributeSetting a;
        a.bLossless = true;
        a.fileFormat = QStringLiteral("Original");
        a.fileExtend = QStringLiteral("mp4");
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertItem item;
        item.m_strFileName = QStringLiteral("a.MOV");
        item.m_strExtend = QStringLiteral("MOV");
        item.getValidOutputName();
        item.getConverOutputDir();
        QCOMPARE(item.getConverPath(), out + QStringLiteral("a.MOV"));
    }

    void historyExtensionIsTheOutputs_data()
    {
        QTest::addColumn<bool>("lossless");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("extension");
        QTest::newRow("lossless into a chosen container") << true << "MP4"
                                                          << "/o/a.mp4"
                                                          << "mp4";
        QTest::newRow("re-encoded, original container") << false << "Original"
                                                        << "/o/a.MOV"
                                                        << "MOV";
        QTest::newRow("no output yet, lossless") << true << "Original"
                                                 << ""
                                                 << "MOV";
        QTest::newRow("no output yet, re-encoded") << false << "MP4"
                                                   << ""
                                                   << "mp4";
    }
    void historyExtensionIsTheOutputs()
    {
        QFETCH(bool, lossless);
        QFETCH(QString, format);
        QFETCH(QString, output);
        QFETCH(QString, extension);
        AttributeSetting a;
        a.bLossless = lossless;
        a.fileFormat = format;
        a.fileExtend = QStringLiteral("mp4");
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertItem item;
        item.m_strExtend = QStringLiteral("MOV");
        item.m_strOutputPath = output;
        convertedInfo info;
        item.getConvertedInfo(info);
        QCOMPARE(info.strExtend, extension);
    }

    void outputSize()
    {
        AttributeSetting a;
        a.VWidth = 0;
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertItem item;
        item.m_nWidth = 1920;
        item.m_nHeight = 1080;
        QCOMPARE(item.getVideoWidth(), 1920u);
        a.VWidth = 640;
        a.VHeight = 360;
        QSettingDlgState::setAttributeSetting(a);
        QCOMPARE(item.getVideoHeight(), 360u);
        a.bOnlyAudio = true;
        QSettingDlgState::setAttributeSetting(a);
        QCOMPARE(item.getVideoWidth(), 0u);
        convertedInfo info;
        item.m_strOutputPath = QStringLiteral("C:\\out\\x.mp3");
        item.getConvertedInfo(info);
        QCOMPARE(info.strResolution, QStringLiteral("0*0"));
        QCOMPARE(item.m_strOutputPath, QStringLiteral("C:/out/x.mp3"));
    }

    void languageNames_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QString>("part");
        QTest::newRow("eng") << QByteArray("eng") << "English";
        QTest::newRow("und any case") << QByteArray("UnD") << "Undefined";
        QTest::newRow("ger (B)") << QByteArray("ger") << "German";
        QTest::newRow("deu (T)") << QByteArray("deu") << "German";
        QTest::newRow("el") << QByteArray("el") << "Greek, Modern ()";
        QTest::newRow("unknown two") << QByteArray("xx") << "xx";
        QTest::newRow("one letter") << QByteArray("e") << "e";
        QTest::newRow("four letters") << QByteArray("engl") << "engl";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void languageNames()
    {
        QFETCH(QByteArray, code);
        QFETCH(QString, part);
        QCOMPARE(LanguageTable::languagePart(code.constData()), part);
        QCOMPARE(LanguageTable::rowCount(), 166);
    }

    void copyFromAnotherItem()
    {
        ZtVideoConvertItem a;
        a.m_strFileName = QStringLiteral("a.mp4");
        a.m_nDuration = 9;
        a.m_nWidth = 4;
        a.m_bHasAudio = false;
        ZtVideoConvertItem b;
        b.m_nTrimStart = 3;
        b.m_splitInfo.nMode = 2;
        QVERIFY(!b.setVideoConvertItem(nullptr, 0));
        QVERIFY(b.setVideoConvertItem(&a, 0));
        QCOMPARE(b.m_strFileName, a.m_strFileName);
        QCOMPARE(b.m_nDuration, 9ULL);
        QCOMPARE(b.m_bHasAudio, false);
        QCOMPARE(b.m_nTrimStart, 3ULL);
        QCOMPARE(b.m_splitInfo.nMode, 0);
    }
};

RS_TEST_MAIN(TestClipItem)
#include "tst_clipitem.moc"
