#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"

#include <QDir>
#include <QRegularExpression>

// The fixture set itself: every standard clip generates and has the streams its name promises, so that a
// failing media test points at the code under test, not at a broken fixture.
class TestFixtures : public QObject
{
    Q_OBJECT
private slots:
    void standardClips_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &n : rstest::MediaFixtures::standardNames())
            QTest::newRow(qPrintable(n)) << n;
    }
    void standardClips()
    {
        QFETCH(QString, name);
        const QString path = rstest::MediaFixtures::standard(name);
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        const QJsonArray streams = rstest::FFprobe::streams(path);
        QVERIFY(!streams.isEmpty());
        QVERIFY(rstest::FFprobe::durationSeconds(path) > 0.9);
        QCOMPARE(rstest::FFprobe::decodeErrors(path), QString());
    }
    void foreignClips_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &n : rstest::MediaFixtures::foreignNames())
            QTest::newRow(qPrintable(n)) << n;
    }
    void foreignClips()
    {
        QFETCH(QString, name);
        QString missing;
        if (!rstest::MediaFixtures::haveTools(rstest::MediaFixtures::foreignTools(), &missing))
            QFAIL(qPrintable(missing + QStringLiteral(" is not installed (scripts/install-deps.sh)")));
        const QString path = rstest::MediaFixtures::foreign(name);
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        QVERIFY(!rstest::FFprobe::streams(path).isEmpty());
        // GStreamer's FLV metadata has a string FFmpeg's reader complains of; the media itself is sound.
        QStringList errors = rstest::FFprobe::decodeErrors(path).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        errors = errors.filter(QRegularExpression(QStringLiteral("^((?!AMF_DATA_TYPE_STRING).)*$")));
        QCOMPARE(errors, QStringList());
    }
    void failedCommandLeavesNoFixture()
    {
        const QString path = rstest::MediaFixtures::makeByCommand(QStringLiteral("failing/never.mkv"),
                                                                  QStringLiteral("echo partial > \"$OUT\"; exit 3"));
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
    void badFiles()
    {
        QCOMPARE(QFileInfo(rstest::MediaFixtures::badFile(QStringLiteral("empty.mp4"))).size(), 0);
        QCOMPARE(QFileInfo(rstest::MediaFixtures::badFile(QStringLiteral("truncated.mp4"))).size(), 4096);
        QVERIFY(rstest::FFprobe::probe(rstest::MediaFixtures::badFile(QStringLiteral("text.mp4"))).isEmpty() ||
                rstest::FFprobe::streams(rstest::MediaFixtures::badFile(QStringLiteral("text.mp4"))).isEmpty());
    }
};

RS_TEST_MAIN(TestFixtures)
#include "tst_fixtures.moc"
