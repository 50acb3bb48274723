#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"

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
