// Appearance record, 2x image drawing helpers, size texts, window position and font substitution.

#include "ControlTestImages.h"
#include "QBaseImageDraw.h"
#include "QProjectConfig.h"
#include "QVeAnyUtiliy.h"
#include "QZTFontSubstitution.h"
#include "ZtMacosInterface.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

using namespace ctltest;

class TestImageDraw : public QObject
{
    Q_OBJECT
private slots:
    void fontsAreSubstitutedAtStart();
    void projectConfigIsSingletonAndResets();
    void converSize_data();
    void converSize();
    void nineGridKeepsCornersAndShrinksThem_data();
    void nineGridKeepsCornersAndShrinksThem();
    void drawImageReadsDoubledSource();
    void roundedPathRadiusIsLimited();
    void windowPosOfNullIsOrigin();
    void resourcePathFollowsTheBundle();
    void substitutedFontsFitTheModeCaptions();
};

void TestImageDraw::fontsAreSubstitutedAtStart()
{
    // No explicit install: the application's construction ran the library's start-up function.
    QCOMPARE(QFont::substitute(QStringLiteral("Tahoma")).toLower(), QStringLiteral("liberation sans"));
    QCOMPARE(QFontInfo(QFont(QStringLiteral("Tahoma"))).family(), QStringLiteral("Liberation Sans"));
}

void TestImageDraw::projectConfigIsSingletonAndResets()
{
    QProjectConfig *a = QProjectConfig::getProjectConfig();
    QCOMPARE(QProjectConfig::getProjectConfig(), a);
    a->setProjectName(QStringLiteral("X"));
    a->setDlgTopAndBottom(1, 2);
    a->setTransparentMargins(7);
    QProjectConfig::releaseProjectConfig();
    QProjectConfig *b = QProjectConfig::getProjectConfig();
    QCOMPARE(b->dlgTop(), 22);
    QCOMPARE(b->dlgBottom(), 50);
    QCOMPARE(b->getTransparentMargins(), QMargins());
    QVERIFY(b->projectName().isEmpty());
    QProjectConfig::releaseProjectConfig();
    QProjectConfig::releaseProjectConfig(); // twice is harmless
}

void TestImageDraw::converSize_data()
{
    QTest::addColumn<qulonglong>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("bytes") << 1023ULL << "1023 B";
    QTest::newRow("kb") << 1024ULL << "1.00 KB";
    QTest::newRow("mb") << 1048576ULL << "1.00 MB";
    QTest::newRow("gb") << (1ULL << 30) * 3 / 2 << "1.50 GB";
    QTest::newRow("tb") << (1ULL << 40) << "1.00 T";
}

void TestImageDraw::converSize()
{
    QFETCH(qulonglong, bytes);
    QFETCH(QString, text);
    QCOMPARE(QVeAnyUtiliy::converSize(bytes), text);
}

// A 2x image whose corner quarters are red and the rest blue: drawn as a nine-grid into a larger
// rectangle the corners keep their natural size; into a smaller one they shrink to a third of it.
void TestImageDraw::nineGridKeepsCornersAndShrinksThem_data()
{
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("corner");
    QTest::newRow("larger target keeps 10px corners") << QSize(100, 80) << 10;
    QTest::newRow("12x12 target uses 4px corners") << QSize(12, 12) << 4;
}

void TestImageDraw::nineGridKeepsCornersAndShrinksThem()
{
    QFETCH(QSize, target);
    QFETCH(int, corner);
    // Logical 30x30: corner third = 10 logical = 20 pixels.
    QImage image = solidImage(60, 60, Qt::blue);
    {
        QPainter p(&image);
        for (QPoint o : {QPoint(0, 0), QPoint(40, 0), QPoint(0, 40), QPoint(40, 40)})
            p.fillRect(QRect(o, QSize(20, 20)), Qt::red);
    }
    image.setDevicePixelRatio(2.0);
    QImage canvas(target, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        QBaseImageDraw::drawBtnImageBg(p, QRect(QPoint(0, 0), target), image, true);
    }
    const int w = target.width(), h = target.height();
    // Inside each corner square: red; just outside it along the edges: blue.
    QVERIFY(near(canvas.pixelColor(corner - 2, corner - 2), Qt::red));
    QVERIFY(near(canvas.pixelColor(w - corner + 1, h - corner + 1), Qt::red));
    QVERIFY(near(canvas.pixelColor(corner + 1, corner / 2), Qt::blue));
    QVERIFY(near(canvas.pixelColor(w - corner - 2, h - 1), Qt::blue));
    QVERIFY(near(canvas.pixelColor(w / 2, h / 2), Qt::blue));
}

void TestImageDraw::drawImageReadsDoubledSource()
{
    // The top-left 20x20 pixels green, the rest black: source (0,0,10,10) is all green.
    QImage image = solidImage(40, 40, Qt::black);
    {
        QPainter p(&image);
        p.fillRect(0, 0, 20, 20, Qt::green);
    }
    QImage canvas(10, 10, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        QBaseImageDraw::drawImage(p, QRect(0, 0, 10, 10), QRect(0, 0, 10, 10), image);
    }
    QVERIFY(near(canvas.pixelColor(1, 1), Qt::green));
    QVERIFY(near(canvas.pixelColor(8, 8), Qt::green));
}

void TestImageDraw::roundedPathRadiusIsLimited()
{
    const QPainterPath path = QBaseImageDraw::GetRoundedRectanglePath(QRectF(0, 0, 10, 7), 10);
    // r = min(7)/2 = 3: the path starts at (right - 3, top).
    QCOMPARE(path.elementAt(0).x, 7.0);
    QCOMPARE(path.elementAt(0).y, 0.0);
    QVERIFY(path.contains(QPointF(5, 3.5)));
    QVERIFY(!path.contains(QPointF(0.2, 0.2)));
}

void TestImageDraw::windowPosOfNullIsOrigin()
{
    QCOMPARE(ZtMacosInterface::getWindowPos(nullptr), QPoint(0, 0));
    QWidget w;
    w.move(40, 30);
    QCOMPARE(ZtMacosInterface::getWindowPos(&w), w.frameGeometry().topLeft());
}

void TestImageDraw::resourcePathFollowsTheBundle()
{
    useBundleResources();
    QCOMPARE(QDir(QVeAnyUtiliy::getResourcePath()).canonicalPath(), QDir(rstest::resourcesDir()).canonicalPath());
}

// The format chooser gives its two mode captions text boxes of 321 and 371 pixels at "Tahoma" 12 px.
void TestImageDraw::substitutedFontsFitTheModeCaptions()
{
    QZTFontSubstitution::install();
    QZTFontSubstitution::install();
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(12);
    const QFontMetrics fm(tahoma);
    QVERIFY2(fm.horizontalAdvance(QStringLiteral("High - Speed mode - Fast and Lossless (Recommended)")) <= 321,
             qPrintable(QFontInfo(tahoma).family()));
    QVERIFY(fm.horizontalAdvance(QStringLiteral("Encoding mode - Customize file format, quality and codec (Slow)")) <=
            371);
    QFont helvetica(QStringLiteral("helvetica neue"));
    QCOMPARE(QFontInfo(helvetica).family(), QFontInfo(tahoma).family());
}

RS_TEST_MAIN(TestImageDraw)
#include "tst_imagedraw.moc"
