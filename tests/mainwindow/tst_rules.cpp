// The main window's rules that need no window: Previous/Next, where a dropped row lands, selection
// spans, what a context Delete removes, time texts, the import's suffix test and file filter, the merge
// gates, the thumbnail cache key and the bundle's web addresses.

#include "TestSupport.h"

#include "AppBundleInfo.h"
#include "ImportRules.h"
#include "MediaListRules.h"
#include "MergeFlow.h"
#include "QIAnyUtil.h"
#include "ThumbnailCache.h"

#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

class TestRules : public QObject
{
    Q_OBJECT
private slots:
    void navigation_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("no row") << -1 << 3 << false << false;
        QTest::newRow("empty list") << 0 << 0 << false << false;
        QTest::newRow("past the end") << 3 << 3 << false << false;
        QTest::newRow("only row") << 0 << 1 << false << false;
        QTest::newRow("first of two") << 0 << 2 << false << true;
        QTest::newRow("last of two") << 1 << 2 << true << false;
        QTest::newRow("middle") << 1 << 3 << true << true;
    }
    void navigation()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        const MediaListRules::Navigation n = MediaListRules::navigation(index, count);
        QTEST(n.previous, "previous");
        QTEST(n.next, "next");
    }

    void reorderTarget_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("onto");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("target");
        QTest::newRow("row 0 before row 3") << 0 << 3 << 1 << 2;
        QTest::newRow("row 0 after row 3") << 0 << 3 << 2 << 3;
        QTest::newRow("row 3 before row 0") << 3 << 0 << 1 << 0;
        QTest::newRow("row 3 after row 0") << 3 << 0 << 2 << 1;
        QTest::newRow("on itself") << 2 << 2 << 1 << -1;
        QTest::newRow("nowhere") << 0 << 3 << 0 << -1;
        QTest::newRow("bad index") << -1 << 3 << 2 << -1;
    }
    void reorderTarget()
    {
        QFETCH(int, from);
        QFETCH(int, onto);
        QFETCH(int, state);
        QTEST(MediaListRules::reorderTarget(from, onto, state), "target");
    }

    void dropHalf()
    {
        QCOMPARE(MediaListRules::dropHalf(0, 50), 1);
        QCOMPARE(MediaListRules::dropHalf(24, 50), 1);
        QCOMPARE(MediaListRules::dropHalf(25, 50), 2);
        QCOMPARE(MediaListRules::dropHalf(49, 50), 2);
        QCOMPARE(MediaListRules::dropHalf(50, 50), 0);
        QCOMPARE(MediaListRules::dropHalf(10, 0), 0);
    }

    void selectionSpans()
    {
        // Shift from anchor 1 to row 4, and with no anchor (0) from the top.
        QList<int> shifted;
        for (int i = 0; i < 6; ++i)
            if (MediaListRules::inShiftRange(i, 4, 1))
                shifted << i;
        QCOMPARE(shifted, QList<int>({1, 2, 3, 4}));
        // Rubber band over rows of 50 pixels: from y 60 to y 140 touches rows 1 and 2.
        QList<int> banded;
        for (int i = 0; i < 5; ++i)
            if (MediaListRules::inRubberBand(i * 50, 50, QPoint(5, 60), QPoint(5, 140)))
                banded << i;
        QCOMPARE(banded, QList<int>({1, 2}));
        // Upwards works the same; the start row is hit even by a zero-length band.
        QVERIFY(MediaListRules::inRubberBand(50, 50, QPoint(0, 140), QPoint(0, 60)));
        QVERIFY(MediaListRules::inRubberBand(100, 50, QPoint(0, 120), QPoint(0, 120)));
        QVERIFY(!MediaListRules::inRubberBand(0, 50, QPoint(0, 120), QPoint(0, 120)));
    }

    void deletionSnapshot_data()
    {
        QTest::addColumn<QVector<int>>("states");
        QTest::addColumn<QVector<bool>>("visible");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("selected and shown")
            << QVector<int>{2, 0, 2, 1} << QVector<bool>{true, true, true, true} << QList<int>{0, 2};
        // A selected row the filter hides is never deleted (it used to make Delete loop forever).
        QTest::newRow("hidden selected row stays")
            << QVector<int>{2, 2, 2} << QVector<bool>{true, false, true} << QList<int>{0, 2};
        QTest::newRow("nothing selected") << QVector<int>{0, 1} << QVector<bool>{true, true} << QList<int>{};
    }
    void deletionSnapshot()
    {
        QFETCH(QVector<int>, states);
        QFETCH(QVector<bool>, visible);
        QTEST(MediaListRules::deletionSnapshot(states, visible), "rows");
    }

    void timeTexts_data()
    {
        QTest::addColumn<quint64>("start");
        QTest::addColumn<quint64>("end");
        QTest::addColumn<quint64>("duration");
        QTest::addColumn<QString>("text");
        const quint64 s = 1000000ULL;
        QTest::newRow("empty range") << quint64(0) << quint64(0) << quint64(0) << "00:00:00.00";
        QTest::newRow("end 0 counts to the duration") << 2 * s << quint64(0) << 5 * s << "00:00:03.00";
        QTest::newRow("1 h 2 min 3.456 s") << quint64(0) << 3723456000ULL << 9999 * s << "01:02:03.45";
        QTest::newRow("100 hours") << quint64(0) << quint64(0) << 360000 * s << "100:00:00.00";
        // Past 596 hours a 32-bit millisecond count wrapped; the text keeps counting.
        QTest::newRow("700 hours") << quint64(0) << quint64(0) << 2520000 * s << "700:00:00.00";
        // An end before the start is an empty range, not a wrapped huge one.
        QTest::newRow("end before start") << 5 * s << 3 * s << 10 * s << "00:00:00.00";
    }
    void timeTexts()
    {
        QFETCH(quint64, start);
        QFETCH(quint64, end);
        QFETCH(quint64, duration);
        QTEST(MediaListRules::timeText(MediaListRules::trimmedLength(start, end, duration)), "text");
    }

    void totalOfTwoClips()
    {
        const quint64 total =
            MediaListRules::trimmedLength(0, 3601234000ULL, 0) + MediaListRules::trimmedLength(0, 0, 59999000ULL);
        QCOMPARE(MediaListRules::timeText(total), QStringLiteral("01:01:01.23"));
    }

    void cropToAspect_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<QRect>("crop");
        QTest::newRow("same aspect") << QSize(120, 84) << QSize(60, 42) << QRect(0, 0, 120, 84);
        QTest::newRow("wider loses sides") << QSize(200, 84) << QSize(60, 42) << QRect(40, 0, 120, 84);
        QTest::newRow("taller loses top and bottom") << QSize(120, 200) << QSize(60, 42) << QRect(0, 58, 120, 84);
        // A widget with no size yet must not divide by zero.
        QTest::newRow("zero widget") << QSize(120, 84) << QSize(0, 0) << QRect(0, 0, 0, 0);
        QTest::newRow("zero height") << QSize(120, 84) << QSize(60, 0) << QRect(0, 0, 0, 0);
        QTest::newRow("empty image") << QSize(0, 0) << QSize(60, 42) << QRect(0, 0, 0, 0);
    }
    void cropToAspect()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, widget);
        int x, y, w, h;
        MediaListRules::cropToAspect(image.width(), image.height(), widget.width(), widget.height(), &x, &y, &w, &h);
        QTEST(QRect(x, y, w, h), "crop");
    }

    void supportFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("mp4") << "/m/a.mp4" << true;
        QTest::newRow("upper case audio") << "/m/A.AAC" << true;
        QTest::newRow("text is left to the probe") << "/m/notes.txt" << true;
        QTest::newRow("aa") << "/m/book.aa" << false;
        QTest::newRow("aax any case") << "/m/book.AAX" << false;
        QTest::newRow("a is not aa") << "/m/short.a" << true;
        QTest::newRow("aac is not aa") << "/m/x.aac" << true;
        // The suffix is the file's own: a dot in a folder name does not make one.
        QTest::newRow("dotted folder, bare file") << "/m/my.videos/movie" << false;
        QTest::newRow("dotted folder named like aa") << "/m/x.aa/clip.mp4" << true;
        QTest::newRow("trailing dot") << "/m/clip." << false;
    }
    void supportFile()
    {
        QFETCH(QString, path);
        QTEST(ImportRules::IsSupportFile(path), "accepted");
    }

    void fileFilterPatterns()
    {
        // Every pattern of every entry, as Qt's file dialog reads them, must be a lone "*.ext": a ";" inside
        // an entry made one pattern that matched nothing.
        const QStringList entries = ImportRules::fileDialogFilter().split(QStringLiteral(";;"));
        QVERIFY(entries.size() > 10);
        for (const QString &entry : entries) {
            // Qt's dialog splits the text in the brackets at spaces.
            const QStringList patterns = QRegularExpression(QStringLiteral("\\(([^)]*)\\)"))
                                             .match(entry)
                                             .captured(1)
                                             .split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QVERIFY2(!patterns.isEmpty(), qPrintable(entry));
            for (const QString &p : patterns)
                QVERIFY2(QRegularExpression(QStringLiteral("^\\*\\.[a-z0-9.\\-*]+$")).match(p).hasMatch(),
                         qPrintable(entry + " / " + p));
        }
        const QString all = entries.first();
        for (const char *audio : {"*.wav", "*.mp3", "*.aac", "*.m4a", "*.wma", "*.ogg", "*.ape", "*.flac", "*.mp4"})
            QVERIFY2(all.contains(QLatin1String(audio)), audio);
    }

    void mergeGates()
    {
        QVERIFY(MergeFlow::needsMismatchNotice(true, false, QStringLiteral("Y")));
        QVERIFY(!MergeFlow::needsMismatchNotice(true, true, QStringLiteral("Y")));
        QVERIFY(!MergeFlow::needsMismatchNotice(false, false, QStringLiteral("Y")));
        QVERIFY(!MergeFlow::needsMismatchNotice(true, false, QStringLiteral("N")));
        QVERIFY(MergeFlow::needsMismatchNotice(true, false, QStringLiteral("Y")));
        QVERIFY(!MergeFlow::needsMismatchNotice(true, false, QStringLiteral("y")));
        // Only OK keeps a ticked box.
        QVERIFY(MergeFlow::keepsSilence(QDialog::Accepted, true));
        QVERIFY(!MergeFlow::keepsSilence(QDialog::Rejected, true));
        QVERIFY(!MergeFlow::keepsSilence(QDialog::Accepted, false));
    }

    void outputFolder()
    {
        const QString dir = rstest::scratchDir(QStringLiteral("out"));
        QVERIFY(MergeFlow::prepareOutputFolder(dir + QStringLiteral("/made/here/")));
        QVERIFY(QFileInfo(dir + QStringLiteral("/made/here")).isDir());
        // A parent that is a regular file fails for root too.
        QFile file(dir + QStringLiteral("/plain"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!MergeFlow::prepareOutputFolder(dir + QStringLiteral("/plain/sub/")));
        QVERIFY(!MergeFlow::prepareOutputFolder(dir + QStringLiteral("/plain")));
        QVERIFY(!MergeFlow::prepareOutputFolder(QString()));
    }

    void thumbnailCacheFollowsTheFile()
    {
        const QString dir = rstest::scratchDir(QStringLiteral("thumbs"));
        const QString source = dir + QStringLiteral("/clip.mp4");
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("first");
        f.close();
        QImage red(32, 24, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QString first = ThumbnailCache::store(source, red);
        QVERIFY(QFile::exists(first));
        QVERIFY(first.startsWith(QIAnyUtil::getAppDataPath() + QStringLiteral("/Temp/")));
        // The same file again reuses the picture on disk.
        QImage blue(32, 24, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QCOMPARE(ThumbnailCache::store(source, blue), first);
        QVERIFY(qRed(QImage(first).pixel(16, 12)) > 200);
        // A changed file (other size and time) gets a fresh picture.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("second, longer");
        f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
        f.close();
        const QString second = ThumbnailCache::store(source, blue);
        QVERIFY(second != first);
        QVERIFY(qBlue(QImage(second).pixel(16, 12)) > 200);
    }

    void bundleAddresses()
    {
        // The built bundle carries our keys; the help page is the redirect on that host.
        QVERIFY(AppBundleInfo::load(rstest::bundleDir() + QStringLiteral("/Contents/Info.plist")));
        QVERIFY(AppBundleInfo::homePage().isValid());
        const QUrl help = AppBundleInfo::helpPage();
        QCOMPARE(help.path(), QStringLiteral("/api/product/redirect"));
        QCOMPARE(help.query(), QStringLiteral("pid=10401&page_type=help"));
        QCOMPARE(help.host(), AppBundleInfo::homePage().host());
        QCOMPARE(AppBundleInfo::shortVersion(), QStringLiteral("1.0.1"));
        // A bundle that cannot be read leaves the built-in values and is not created.
        const QString missing = rstest::scratchDir(QStringLiteral("nobundle")) + QStringLiteral("/Info.plist");
        QVERIFY(!AppBundleInfo::load(missing));
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(AppBundleInfo::helpPage(), help);
    }
};

RS_TEST_MAIN(TestRules)
#include "tst_rules.moc"
