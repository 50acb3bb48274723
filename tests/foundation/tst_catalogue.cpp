#include "PropertyList.h"
#include "QIAnyUtil.h"
#include "QPlistRead.h"
#include "QVideoSettingXml.h"
#include "TestSupport.h"
#include "ZTAVCodecAnalysis.h"

#include <QFile>
#include <QProcess>
#include <QSet>

namespace {

using Strings = std::vector<std::string>;

Strings strings(const QStringList &list)
{
    Strings out;
    for (const QString &s : list)
        out.push_back(s.toStdString());
    return out;
}

QSet<QString> ffmpegList(const QString &option)
{
    QProcess p;
    p.start("ffmpeg", {"-hide_banner", option});
    if (!p.waitForFinished(30000))
        return {};
    QSet<QString> names;
    bool table = false;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> cols = line.simplified().split(' ');
        if (cols[0] == "--" || cols[0] == "------") {
            table = true;
            continue;
        }
        if (table && cols.size() >= 2)
            names.insert(QString::fromUtf8(cols[1]));
    }
    return names;
}

// The FFmpeg encoders that may serve each codec key of the catalogues.
const QMap<QString, QStringList> &encodersOfKey()
{
    static const QMap<QString, QStringList> map = {
        {"H264", {"libx264"}},   {"H265", {"libx265"}},    {"VP8", {"libvpx"}},
        {"VP9", {"libvpx-vp9"}}, {"MP4V", {"mpeg4"}},      {"Xvid", {"libxvid", "mpeg4"}},
        {"DIVX", {"mpeg4"}},     {"HMP2", {"mpeg2video"}}, {"mpg1", {"mpeg1video"}},
        {"H263", {"h263"}},      {"flv1", {"flv"}},        {"MJPG", {"mjpeg"}},
        {"WMV2", {"wmv2"}},      {"OGV", {"libtheora"}},   {"AAC", {"aac"}},
        {"MP3", {"libmp3lame"}}, {"AC3", {"ac3"}},         {"OGG", {"libvorbis"}},
        {"flac", {"flac"}},      {"alac", {"alac"}},       {"MP2A", {"mp2"}},
        {"wma2", {"wmav2"}},     {"PCM", {"pcm_s16le"}},
    };
    return map;
}

// A small catalogue for the edge cases, in memory.
QByteArray sampleCatalogue()
{
    auto vd = [](const QString &supports, const QString &def, const QString &low = {}, const QString &high = {}) {
        QVariantMap m{{"supports", supports}, {"default", def}};
        if (!low.isNull())
            m["low"] = low;
        if (!high.isNull())
            m["high"] = high;
        return m;
    };
    QVariantMap autoProfile{
        {"baseinfo", QVariantMap{{"title", "Auto MP4"}, {"id", "10"}, {"ext", "mp4"}, {"icon", "i"}, {"auto", "1"}}},
        {"videoencoders", QVariantMap{{"supports", " H264, 0 ,MP4V,, "}, {"default", " H264 "}}},
        {"resolution", QVariantMap{{"default", "1280*720"}}},
        {"videoparams", QVariantList{QVariantMap{{"fourcc", "H264"},
                                                 {"resolution", "640*480"},
                                                 {"framerate", vd("25,30", "25")},
                                                 {"videobitrate", vd("512,1024", "768", "512", "1024")}},
                                     QVariantMap{{"fourcc", " H264 "},
                                                 {"resolution", "1280*720"},
                                                 {"framerate", vd("24", "24")},
                                                 {"videobitrate", vd("2000", "2000")}},
                                     QVariantMap{{"fourcc", "H264"},
                                                 {"resolution", "1280*720"},
                                                 {"framerate", vd("60", "60")},
                                                 {"videobitrate", vd("3000,\t4000", "3000", "1000", "5000")}},
                                     QVariantMap{{"resolution", "999*999"}}, // malformed: no fourcc
                                     QVariantMap{{"fourcc", "MP4V"}, {"resolution", "320*240"}}}},
        {"audioencoders", QVariantMap{{"supports", "AAC,MP3"}, {"default", "AAC"}}},
        {"channels", QVariantMap{{"default", "2"}}},
        {"audioparams", QVariantList{QVariantMap{{"fourcc", "AAC"},
                                                 {"channel", "1"},
                                                 {"samplerate", vd("44100", "44100")},
                                                 {"audiobitrate", vd("64, 0 ,128,, ", "96")}},
                                     QVariantMap{{"fourcc", "AAC"},
                                                 {"channel", "2"},
                                                 {"samplerate", vd("44100,48000", "48000")},
                                                 {"audiobitrate", vd("128,192", "128", "96", "192")}}}}};
    QVariantMap filtered{
        {"baseinfo", QVariantMap{{"title", "Flash"}, {"id", "20"}, {"ext", "flv"}, {"icon", "i"}, {"auto", "1"}}},
        {"videoencoders", QVariantMap{{"supports", "flv1,H264,H26"},
                                      {"default", "flv1"},
                                      {"filter", "XH264:OGG|flv1:MP3|H264;AAC,MP3"}}},
        {"resolution", QVariantMap{{"default", "320*240"}}},
        {"videoparams", QVariantList{QVariantMap{{"fourcc", "flv1"}, {"resolution", "320*240"}}}},
        {"audioencoders", QVariantMap{{"supports", "MP3,AAC,OGG"}, {"default", "OGG"}}},
        {"channels", QVariantMap{{"default", "2"}}},
        {"audioparams", QVariantList{QVariantMap{{"fourcc", "MP3"}, {"channel", "2"}},
                                     QVariantMap{{"fourcc", "AAC"}, {"channel", "2"}}}}};
    QVariantMap audioOnly{
        {"baseinfo", QVariantMap{{"title", "MP3"}, {"id", "30"}, {"ext", "mp3"}, {"icon", "i"}, {"auto", "0"}}},
        {"audioencoders", QVariantMap{{"supports", "MP3"}, {"default", "MP3"}}},
        {"channels", QVariantMap{{"default", "2"}}},
        {"audioparams", QVariantList{QVariantMap{{"fourcc", "MP3"}, {"channel", "2"}}}}};
    QVariantMap broken{{"baseinfo", QVariantMap{{"id", "40"}}}};
    QVariantMap root{{"Categories", QStringList{"Video", "Audio", "Empty"}},
                     {"Video", QVariantList{autoProfile, filtered, autoProfile, broken}},
                     {"Audio", QVariantList{audioOnly}},
                     {"Empty", QVariantList{}},
                     {"Codecs", QVariantMap{{"AAC ", "Advanced Audio"}, {"H264", "H.264"}}}};
    QByteArray xml;
    PropertyList::toXml(root, xml);
    return xml;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QPlistRead> sample() { return std::make_unique<QPlistRead>(m_sample.constData(), m_sample.size()); }
    QByteArray m_sample;

private slots:
    void initTestCase() { m_sample = sampleCatalogue(); }

    void lists_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("kbps") << " 64, 0 ,128,, "
                              << " kbps" << QStringList{"64 kbps", "Auto", "128 kbps"};
        QTest::newRow("plain") << " 64, 0 ,128,, "
                               << "" << QStringList{"64", "Auto", "128"};
        QTest::newRow("fps") << "25, 0,30,,  "
                             << " fps" << QStringList{"25 fps", "Auto", "30 fps"};
        QTest::newRow("tab stays") << "\t25"
                                   << "" << QStringList{"\t25"};
        QTest::newRow("Auto item gets unit") << "Auto"
                                             << " HZ" << QStringList{"Auto HZ"};
        QTest::newRow("empty") << ""
                               << " HZ" << QStringList{};
    }
    void lists()
    {
        QFETCH(QString, text);
        QFETCH(QString, unit);
        QFETCH(QStringList, expected);
        Strings appended{"kept"};
        QPlistRead::analysisTextInfo(text.toStdString(), unit.toStdString(), appended);
        Strings want{"kept"};
        for (const std::string &s : strings(expected))
            want.push_back(s);
        QCOMPARE(appended, want); // the catalogue reader appends
        Strings replaced{"dropped"};
        QVideoSettingXml::analysisTextInfo(text.toStdString(), unit.toStdString(), replaced);
        QCOMPARE(replaced, strings(expected)); // the XML reader replaces
    }

    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("encoder");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("own group") << "flv1:MP3|H264:AAC,MP3"
                                   << "H264" << true << QStringList{"AAC", "MP3"};
        QTest::newRow("key inside another key") << "XH264:OGG|H264;AAC"
                                                << "H264" << true << QStringList{"AAC"};
        QTest::newRow("prefix of a key") << "H264:AAC"
                                         << "H26" << false << QStringList{};
        QTest::newRow("key in an audio list") << "flv1:H264"
                                              << "H264" << false << QStringList{};
        QTest::newRow("ends the text") << "flv1:MP3|H264"
                                       << "H264" << false << QStringList{};
        QTest::newRow("empty filter") << ""
                                      << "H264" << false << QStringList{};
    }
    void filters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, encoder);
        QFETCH(bool, found);
        QFETCH(QStringList, expected);
        Strings out;
        QCOMPARE(QPlistRead::analysisFilter(filter.toStdString(), encoder.toStdString(), out), found);
        QCOMPARE(out, strings(expected));
    }

    void autoProfileChoices()
    {
        auto reader = sample();
        QVERIFY(reader->isLoaded());
        // "Auto" and the empty text both take the catalogue's defaults.
        for (const char *choice : {"Auto", ""}) {
            const FormatAllInfo *info = reader->GetFormatInfoForPlist("Video", "10", choice, choice, choice, choice);
            QVERIFY(info);
            QVERIFY(info->bAuto);
            QVERIFY(!info->bNoVideo);
            QCOMPARE(info->vecVideoEncoder, (Strings{"Auto", "H264", "Auto", "MP4V"}));
            QCOMPARE(info->strVideoEncoder, std::string("H264"));
            QCOMPARE(info->vecResolution, (Strings{"Auto", "640*480", "1280*720", "1280*720"}));
            // Two entries share the choice: the later one supplies the rates.
            QCOMPARE(info->strResolution, std::string("1280*720"));
            QCOMPARE(info->strFrameRate, std::string("60 fps"));
            QCOMPARE(info->vecFrameRate, (Strings{"Auto", "60 fps"}));
            QCOMPARE(info->vecVideoBitRate, (Strings{"Auto", "3000 kbps", "\t4000 kbps"}));
            QCOMPARE(info->strVideoBitRateLow, std::string("1000 kbps"));
            QCOMPARE(info->strVideoBitRateHigh, std::string("5000 kbps"));
            QCOMPARE(info->vecAudioEncoder, (Strings{"Auto", "AAC", "MP3"}));
            QCOMPARE(info->strAudioEncoder, std::string("AAC"));
            QCOMPARE(info->vecChannel, (Strings{"Auto", "1", "2"}));
            QCOMPARE(info->strChannel, std::string("2"));
            QCOMPARE(info->strSampleRate, std::string("48000 HZ"));
            QCOMPARE(info->strAudioBitRate, std::string("128 kbps"));
            QCOMPARE(info->strExt, std::string("mp4"));
            QCOMPARE(info->strCategory, std::string("Video"));
            QCOMPARE(info->strId, std::string("10"));
        }
    }

    void unknownChoiceFallsBackToTheFirstEntry()
    {
        auto reader = sample();
        const FormatAllInfo *info = reader->GetFormatInfoForPlist("Video", "10", "H264", "7*7", "AAC", "1");
        QCOMPARE(info->strResolution, std::string("640*480"));
        QCOMPARE(info->strFrameRate, std::string("25 fps"));
        QCOMPARE(info->strVideoBitRateLow, std::string("512 kbps"));
        // No low/high in the audio entry: all three take its default.
        QCOMPARE(info->strAudioBitRate, std::string("96 kbps"));
        QCOMPARE(info->strAudioBitRateLow, std::string("96 kbps"));
        QCOMPARE(info->strAudioBitRateHigh, std::string("96 kbps"));
        QCOMPARE(info->vecAudioBitRate, (Strings{"Auto", "64 kbps", "Auto", "128 kbps"}));
        // A video bit-rate dictionary without low/high leaves the unit alone.
        info = reader->GetFormatInfoForPlist("Video", "10", "H264", "1280*720", "", "");
        QCOMPARE(info->strResolution, std::string("1280*720"));
        info = reader->GetFormatInfoForPlist("Video", "10", "MP4V", "", "", "");
        QCOMPARE(info->strResolution, std::string("320*240"));
        QCOMPARE(info->strVideoBitRateLow, std::string(" kbps"));
        QCOMPARE(info->vecFrameRate, (Strings{"Auto"}));
    }

    void ownFieldsPassedBackGiveTheSameProfile()
    {
        // Callers hand the record's own fields back (a refresh of the chosen profile); they must not be
        // cleared before they are read.
        auto reader = sample();
        const FormatAllInfo *info = reader->GetFormatInfoForPlist("Video", "10", "H264", "1280*720", "AAC", "1");
        QVERIFY(info);
        const FormatAllInfo first = *info;
        info = reader->GetFormatInfoForPlist(info->strCategory, info->strId, info->strVideoEncoder, info->strResolution,
                                             info->strAudioEncoder, info->strChannel);
        QVERIFY(info);
        QCOMPARE(info->strCategory, first.strCategory);
        QCOMPARE(info->strId, first.strId);
        QCOMPARE(info->strExt, first.strExt);
        QCOMPARE(info->strResolution, first.strResolution);
        QCOMPARE(info->strVideoEncoder, first.strVideoEncoder);
        QCOMPARE(info->strAudioEncoder, first.strAudioEncoder);
    }

    void filteredAudioEncoders()
    {
        auto reader = sample();
        const FormatAllInfo *info = reader->GetFormatInfoForPlist("Video", "20", "", "", "", "");
        QCOMPARE(info->strVideoEncoder, std::string("flv1"));
        // Only the group of the encoder's own key counts, and no "Auto" entry comes with a filter.
        QCOMPARE(info->vecAudioEncoder, (Strings{"MP3"}));
        QCOMPARE(info->strAudioEncoder, std::string("MP3"));
        QCOMPARE(info->vecChannel, (Strings{"Auto", "2"}));
        info = reader->GetFormatInfoForPlist("Video", "20", "H264", "", "", "");
        QCOMPARE(info->vecAudioEncoder, (Strings{"AAC", "MP3"}));
        QCOMPARE(info->strAudioEncoder, std::string("AAC"));
        // No group for the encoder: the profile's whole list is offered.
        info = reader->GetFormatInfoForPlist("Video", "20", "H26", "", "", "");
        QCOMPARE(info->vecAudioEncoder, (Strings{"Auto", "MP3", "AAC", "OGG"}));
        QCOMPARE(info->strAudioEncoder, std::string("OGG"));
    }

    void audioOnlyAndMissing()
    {
        auto reader = sample();
        const FormatAllInfo *info = reader->GetFormatInfoForPlist("Audio", "30", "", "", "", "");
        QVERIFY(info->bNoVideo);
        QVERIFY(info->vecVideoEncoder.empty());
        QVERIFY(info->strVideoEncoder.empty());
        QCOMPARE(info->vecAudioEncoder, (Strings{"MP3"}));
        QCOMPARE(info->strSampleRate, std::string(" HZ"));

        FormatAllInfo *kept = reader->GetFormatInfoForPlist("Video", "10", "", "", "", "");
        QVERIFY(!reader->GetFormatInfoForPlist("Video", "", "", "", "", ""));
        QVERIFY(!reader->GetFormatInfoForPlist("", "10", "", "", "", ""));
        info = reader->GetFormatInfoForPlist("Video", "999", "", "", "", "");
        QVERIFY(info);
        QCOMPARE(info, kept); // the same live record, never freed
        QVERIFY(!info->bNoVideo);
        QCOMPARE(info->strId, std::string("999"));
        QVERIFY(info->vecAudioEncoder.empty());
        // A profile lacking most keys reads as empty values, without a crash.
        info = reader->GetFormatInfoForPlist("Video", "40", "", "", "", "");
        QVERIFY(info->bNoVideo);
        QVERIFY(info->strExt.empty());
    }

    void tilesAndKeys()
    {
        auto reader = sample();
        QCOMPARE(reader->getCategories(), (Strings{"Video", "Audio", "Empty"}));
        std::vector<FormatBaseInfo *> *tiles = reader->getCategoriesInfoList("Video");
        QVERIFY(tiles);
        QCOMPARE(tiles->size(), size_t(4));
        FormatBaseInfo *first = tiles->front();
        QCOMPARE(first->title, std::string("Auto MP4"));
        QCOMPARE(first->category, std::string("Video"));
        QCOMPARE((*tiles)[3]->title, std::string());
        QVERIFY(!reader->getCategoriesInfoList(""));
        QVERIFY(!reader->getCategoriesInfoList("Empty"));
        QVERIFY(!reader->getCategoriesInfoList("None"));
        QVERIFY(reader->getCategoriesInfoList("Audio"));
        QCOMPARE(first->title, std::string("Auto MP4")); // earlier records stay valid

        QCOMPARE(reader->getFormatInfoForKey("Video", "20", "ext"), std::string("flv"));
        QCOMPARE(reader->getFormatInfoForKey("Video", "10", "title"), std::string("Auto MP4"));
        QCOMPARE(reader->getFormatInfoForKey("Video", "10", "nokey"), std::string());
        QCOMPARE(reader->getFormatInfoForKey("Video", "", "ext"), std::string());

        QCOMPARE(reader->getCodecsForKey("AAC"), std::string("Advanced Audio"));
        QCOMPARE(reader->getCodecsForKey("MP3"), std::string("MP3 "));
        QCOMPARE(reader->getCodecsForKey("H264"), std::string("H.264"));
        QCOMPARE(reader->getCodecsForKey("Auto"), std::string("Auto"));
        QCOMPARE(reader->getCodecsForKey(""), std::string());
    }

    void missingCatalogue()
    {
        QPlistRead reader(QString(rstest::scratchDir("nocat") + "/none.plist").toStdString());
        QVERIFY(!reader.isLoaded());
        QVERIFY(reader.getCategories().empty());
        QVERIFY(!reader.getCategoriesInfoList("Devices"));
        QCOMPARE(reader.getCodecsForKey("AAC"), std::string("AAC "));
        const FormatAllInfo *info = reader.GetFormatInfoForPlist("Devices", "1136", "", "", "", "");
        QCOMPARE(info->strId, std::string("1136"));
        QVERIFY(info->vecVideoEncoder.empty());
    }

    // --- the shipped catalogues ---
    void shippedCatalogues_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("defaultCategory");
        QTest::addColumn<QString>("defaultId");
        QTest::newRow("encoding") << "profiles_mac.plist"
                                  << "Devices"
                                  << "1136";
        QTest::newRow("high-speed") << "profiles_mac_Lossless.plist"
                                    << "General Video"
                                    << "3000";
    }
    void shippedCatalogues()
    {
        QFETCH(QString, file);
        QFETCH(QString, defaultCategory);
        QFETCH(QString, defaultId);
        static const QSet<QString> encoders = ffmpegList("-encoders");
        static const QSet<QString> muxers = ffmpegList("-muxers");
        QVERIFY2(encoders.contains("aac") && muxers.contains("mp4"), "ffmpeg lists no encoders or muxers");

        const QString path = rstest::sourceDir() + "/resources/profile/" + file;
        QPlistRead reader(path.toStdString());
        QVERIFY(reader.isLoaded());
        QVariant root;
        QVERIFY(PropertyList::readFile(path, root));
        const QVariantMap codecNames = root.toMap().value("Codecs").toMap();
        const Strings categories = reader.getCategories();
        QCOMPARE(categories, (Strings{"Devices", "HD Video", "Web Video", "General Video", "General Audio"}));
        QVERIFY(!reader.getFormatInfoForKey(defaultCategory.toStdString(), defaultId.toStdString(), "title").empty());

        QSet<QString> seen;
        for (const std::string &category : categories) {
            std::vector<FormatBaseInfo *> *tiles = reader.getCategoriesInfoList(category);
            QVERIFY2(tiles, category.c_str());
            QVERIFY(tiles->size() <= 15);
            QSet<QString> ids;
            for (const FormatBaseInfo *tile : *tiles) {
                const QString where = QString::fromStdString(category + "/" + tile->id);
                QVERIFY2(!tile->title.empty() && !tile->id.empty() && !tile->icon.empty(), qPrintable(where));
                QVERIFY2(!ids.contains(QString::fromStdString(tile->id)), qPrintable(where + " id repeated"));
                ids.insert(QString::fromStdString(tile->id));
                if (tile->title != "Original" && tile->ext != "Original") {
                    const QString container = QString::fromStdString(ZTAVCodecAnalysis::formatOfFourCC(tile->ext));
                    QVERIFY2(muxers.contains(container), qPrintable(where + " container " + container));
                }
                const FormatAllInfo *info = reader.GetFormatInfoForPlist(category, tile->id, "", "", "", "");
                QVERIFY(info);
                QVERIFY2(category == "General Audio" ? info->bNoVideo : !info->bNoVideo, qPrintable(where));
                auto contains = [](const Strings &list, const std::string &value) {
                    return std::find(list.begin(), list.end(), value) != list.end();
                };
                auto checkCodec = [&](const std::string &key) {
                    if (key == "Auto")
                        return;
                    const QString k = QString::fromStdString(key);
                    QVERIFY2(ZTAVCodecAnalysis::codecIDOfFourcc(key) != 0, qPrintable(where + " unknown codec " + k));
                    QVERIFY2(encodersOfKey().contains(k), qPrintable(where + " no encoder known for " + k));
                    bool available = false;
                    for (const QString &encoder : encodersOfKey().value(k))
                        available = available || encoders.contains(encoder);
                    QVERIFY2(available, qPrintable(where + " FFmpeg cannot encode " + k));
                    QVERIFY2(codecNames.contains(key.size() == 3 ? k + " " : k),
                             qPrintable(where + " no display name for " + k));
                };
                // Every choice of every encoder resolves to a complete set of defaults in its lists.
                const Strings videoEncoders = info->vecVideoEncoder;
                for (const std::string &v : videoEncoders.empty() ? Strings{""} : videoEncoders) {
                    const FormatAllInfo *byVideo = reader.GetFormatInfoForPlist(category, tile->id, v, "", "", "");
                    if (!byVideo->bNoVideo) {
                        checkCodec(byVideo->strVideoEncoder);
                        QVERIFY2(contains(byVideo->vecVideoEncoder, byVideo->strVideoEncoder), qPrintable(where));
                        QVERIFY2(contains(byVideo->vecResolution, byVideo->strResolution), qPrintable(where));
                        QVERIFY2(contains(byVideo->vecFrameRate, byVideo->strFrameRate) ||
                                     byVideo->strFrameRate == "0 fps",
                                 qPrintable(where + " frame rate"));
                        QVERIFY2(byVideo->strVideoBitRate == "0 kbps" ||
                                     contains(byVideo->vecVideoBitRate, byVideo->strVideoBitRate),
                                 qPrintable(where + " video bit rate"));
                    }
                    const Strings audioEncoders = byVideo->vecAudioEncoder;
                    QVERIFY2(!audioEncoders.empty(), qPrintable(where));
                    for (const std::string &a : audioEncoders) {
                        const FormatAllInfo *byAudio = reader.GetFormatInfoForPlist(category, tile->id, v, "", a, "");
                        checkCodec(byAudio->strAudioEncoder);
                        QVERIFY2(contains(byAudio->vecAudioEncoder, byAudio->strAudioEncoder), qPrintable(where));
                        QVERIFY2(!byAudio->strChannel.empty() && contains(byAudio->vecChannel, byAudio->strChannel),
                                 qPrintable(where + " channel for " + QString::fromStdString(a)));
                        QVERIFY2(byAudio->strSampleRate == "0 HZ" ||
                                     contains(byAudio->vecSampleRate, byAudio->strSampleRate),
                                 qPrintable(where + " sample rate"));
                        QVERIFY2(byAudio->strAudioBitRate == "0 kbps" ||
                                     contains(byAudio->vecAudioBitRate, byAudio->strAudioBitRate),
                                 qPrintable(where + " audio bit rate"));
                    }
                }
                seen.insert(QString::fromStdString(category + "/" + tile->id));
            }
        }
        QVERIFY(seen.contains(defaultCategory + "/" + defaultId));
    }

    void formatSettingsCatalogue()
    {
        // The XML catalogue names the encoding profiles by id with the same extension.
        const QString contents = rstest::scratchDir("bundle") + "/Contents";
        QDir().mkpath(contents + "/Resources");
        QVERIFY(
            QFile::copy(rstest::sourceDir() + "/resources/VideoSetting.xml", contents + "/Resources/VideoSetting.xml"));
        QIAnyUtil::setApplicationDirPathForTesting(contents);
        QPlistRead reader((rstest::sourceDir() + "/resources/profile/profiles_mac.plist").toStdString());
        int checked = 0;
        for (const std::string &category : reader.getCategories()) {
            for (const FormatBaseInfo *tile : *reader.getCategoriesInfoList(category)) {
                const QString id = QString::fromStdString(tile->id);
                const FileFormatInfo *file = QVideoSettingXml::GetFormatInfo(id);
                QVERIFY2(file, qPrintable(id));
                QCOMPARE(file->strExtend.toStdString(), tile->ext);
                QCOMPARE(file->strFormat.toStdString(), ZTAVCodecAnalysis::formatOfFourCC(tile->ext));
                const FormatAllInfo *all = QVideoSettingXml::GetFormatAllInfo(id);
                QVERIFY(all);
                QCOMPARE(all->bNoVideo, category == "General Audio");
                const QualitySet *high = QVideoSettingXml::GetQuality("HIGH_QUALITY", id);
                QVERIFY(high);
                QVERIFY(std::find(all->vecAudioEncoder.begin(), all->vecAudioEncoder.end(),
                                  high->strAudioEncoder.toStdString()) != all->vecAudioEncoder.end());
                ++checked;
            }
        }
        QVERIFY(checked > 20);
        QIAnyUtil::setApplicationDirPathForTesting(QString());
    }

    void formatSettingsReaders()
    {
        const QString contents = rstest::scratchDir("bundle2") + "/Contents";
        QDir().mkpath(contents + "/Resources");
        QFile f(contents + "/Resources/VideoSetting.xml");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<R><F DevFormat=\"a\" OnlyAudio=\"Y\"><ATTRIBUTE_VALUE V_Encoder=\"H264\" A_Encoder=\"AAC, 0\" "
                "A_SampleRate=\"44100\"/><ATTRIBUTE_VALUE A_Encoder=\"MP3\"/><HQ V_Encoder=\"H264\" "
                "A_Encoder=\" AAC \" A_BitRate=\" 0 \" A_SampleRate=\"44100\"/></F>"
                "<F DevFormat=\"v\"><VIDIO_FOMAT_INFO V_Format=\"matroska\" V_Extend=\" mkv\"/><HQ "
                "V_FrameRate=\"25\" V_BitRate=\"Original\" A_Encoder=\"AAC\"/></F></R>");
        f.close();
        QIAnyUtil::setApplicationDirPathForTesting(contents);

        const FormatAllInfo *all = QVideoSettingXml::GetFormatAllInfo("a");
        QVERIFY(all->bNoVideo);
        QVERIFY(all->vecVideoEncoder.empty());
        QCOMPARE(all->vecAudioEncoder, (Strings{"AAC", "Auto"}));
        QCOMPARE(all->vecSampleRate, (Strings{"44100 HZ"}));
        QVERIFY(!QVideoSettingXml::GetFormatAllInfo(""));
        QVERIFY(QVideoSettingXml::m_formatInfo->vecAudioEncoder.empty());

        const QualitySet *q = QVideoSettingXml::GetQuality("HQ", "a");
        QVERIFY(q->bOnlyAudio);
        QCOMPARE(q->strVideoEncoder, QString());
        QCOMPARE(q->strAudioEncoder, QString("AAC"));
        QCOMPARE(q->strAudioBitRate, QString("Auto"));
        QCOMPARE(q->strSampleRate, QString("44100 HZ"));
        q = QVideoSettingXml::GetQuality("HQ", "v");
        QCOMPARE(q->strFrameRate, QString("25 fps"));
        QCOMPARE(q->strVideoBitRate, QString("Original"));
        QVERIFY(!QVideoSettingXml::GetQuality("LOW", "a"));
        QVERIFY(QVideoSettingXml::m_highQualitySet->bOnlyAudio);

        const FileFormatInfo *info = QVideoSettingXml::GetFormatInfo("v");
        QCOMPARE(info->strFormat, QString("matroska"));
        QCOMPARE(info->strExtend, QString(" mkv"));
        QVERIFY(!QVideoSettingXml::GetFormatInfo("a"));
        QVERIFY(!QVideoSettingXml::GetFormatInfo("none"));
        QIAnyUtil::setApplicationDirPathForTesting(QString());
    }

    void units_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << " 0 "
                              << "A_BitRate"
                              << "Auto";
        QTest::newRow("Original") << "Original"
                                  << "V_BitRate"
                                  << "Original";
        QTest::newRow("sample rate") << "44100"
                                     << "A_SampleRate"
                                     << "44100 HZ";
        QTest::newRow("no unit") << "128"
                                 << "A_Encoder"
                                 << "128";
        QTest::newRow("empty frame rate") << ""
                                          << "V_FrameRate"
                                          << " fps";
    }
    void units()
    {
        QFETCH(QString, value);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(QVideoSettingXml::addUnit(value, name), expected);
    }
};

RS_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
