#include "AttributeSetting.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "SettingKeys.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

namespace {
void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}
} // namespace

class TestConverterOperate : public QObject
{
    Q_OBJECT
private slots:
    void languages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("English") << "English" << 0;
        QTest::newRow("Chinese") << "Chinese" << 1;
        QTest::newRow("German") << "German" << 2;
        QTest::newRow("French") << "French" << 3;
        QTest::newRow("Japanese") << "Japanese" << 4;
        QTest::newRow("lower-case english") << "english" << 0;
        QTest::newRow("unknown") << "Klingon" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void languages()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QConverterOperate::setLanguageType("French");
        QConverterOperate::setLanguageType(name);
        QCOMPARE(QConverterOperate::getLanguageType(), index);
    }

    void uniqueFolderAndFileNames()
    {
        const QString out = rstest::scratchDir("names") + "/";
        QConverterOperate::setConverterPath(out);
        AttributeSetting setting;
        setting.fileExtend = "mp4";
        QSettingDlgState::setAttributeSetting(setting);

        QConverterOperate::setAdjustFileName("movie.mkv", "mkv");
        QCOMPARE(QConverterOperate::getOutputDir(), out + "movie/");
        QCOMPARE(QConverterOperate::getConvertPath(), out + "movie/movie_1.mp4");
        QVERIFY(QDir(out + "movie").exists()); // created for the output
        touch(out + "movie/movie_1.mp4");
        touch(out + "movie/movie_2.mp4");
        QCOMPARE(QConverterOperate::getConvertPath(), out + "movie/movie_3.mp4");

        // The folder exists now: the next run gets its own folder, also past a plain file of that name.
        QConverterOperate::updateAdjustFileName();
        QCOMPARE(QConverterOperate::getOutputDir(), out + "movie(1)/");
        touch(out + "movie(1)");
        QConverterOperate::updateAdjustFileName();
        QCOMPARE(QConverterOperate::getOutputDir(), out + "movie(2)/");
        QCOMPARE(QConverterOperate::getAdjustFileName(), QString("movie.mkv"));
    }

    void losslessOriginalKeepsTheSourceExtension()
    {
        const QString out = rstest::scratchDir("original") + "/";
        QConverterOperate::setConverterPath(out);
        AttributeSetting setting;
        setting.bLossless = true;
        setting.fileFormat = "Original";
        setting.fileExtend = "mp4";
        QSettingDlgState::setAttributeSetting(setting);
        QConverterOperate::setAdjustFileName("clip.part.mov", "mov");
        QCOMPARE(QConverterOperate::getConvertPath(), out + "clip.part/clip.part_1.mov");

        setting.bLossless = false;
        QSettingDlgState::setAttributeSetting(setting);
        QCOMPARE(QConverterOperate::getConvertPath(), out + "clip.part/clip.part_1.mp4");
    }

    void emptyNameNeverWritesIntoTheCurrentFolder()
    {
        AttributeSetting setting;
        setting.fileExtend = "mp4";
        QSettingDlgState::setAttributeSetting(setting);

        const QString out = rstest::scratchDir("fallback") + "/";
        QConverterOperate::setConverterPath(out);
        QConverterOperate::setAdjustFileName(QString(), "mp4");
        QCOMPARE(QConverterOperate::getOutputDir(), QString());
        const QString inSetting = QConverterOperate::getConvertPath();
        QCOMPARE(inSetting, out + "_1.mp4");

        QConverterOperate::setConverterPath(QString());
        const QString path = QConverterOperate::getConvertPath();
        QVERIFY2(path.startsWith(SettingKeys::defaultOutputPath()), qPrintable(path));
        QVERIFY(QDir::isAbsolutePath(path));
    }

    void outputFolderSettingForms_data()
    {
        QTest::addColumn<QString>("setting"); // "@" stands for a scratch folder
        QTest::addColumn<QString>("expectedRoot");
        QTest::newRow("with final slash") << "@/"
                                          << "@/";
        QTest::newRow("without final slash") << "@"
                                             << "@/";
        QTest::newRow("empty") << ""
                               << "default";
        QTest::newRow("relative") << "out/"
                                  << "default";
    }
    void outputFolderSettingForms()
    {
        QFETCH(QString, setting);
        QFETCH(QString, expectedRoot);
        const QString scratch = rstest::scratchDir("forms");
        setting.replace("@", scratch);
        expectedRoot =
            expectedRoot == "default" ? SettingKeys::defaultOutputPath() : expectedRoot.replace("@", scratch);
        AttributeSetting a;
        a.fileExtend = "mp4";
        QSettingDlgState::setAttributeSetting(a);
        QConverterOperate::setConverterPath(setting);
        QConverterOperate::setAdjustFileName("take.mov", "mov");
        // Never relative to the current folder, never a sibling of the chosen folder.
        QCOMPARE(QConverterOperate::getOutputDir(), expectedRoot + "take/");
        const QString path = QConverterOperate::getConvertPath();
        QCOMPARE(path, expectedRoot + "take/take_1.mp4");
        QVERIFY(QDir::isAbsolutePath(path));
        QDir(expectedRoot + "take").removeRecursively();
    }

    void plainSettings()
    {
        QConverterOperate::setLogFilePath("/x/log.txt");
        QConverterOperate::setAudioDeviceName("default");
        QCOMPARE(QConverterOperate::getLogFilePath(), QString("/x/log.txt"));
        QCOMPARE(QConverterOperate::getAudioDeviceName(), QString("default"));
    }
};

RS_TEST_MAIN(TestConverterOperate)
#include "tst_converter.moc"
