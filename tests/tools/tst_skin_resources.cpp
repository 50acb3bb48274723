// Every image path the program's code names (string literals such as "/image/Common_bg/edit.png",
// "/pic/bg_msg.png", "/VEditSource/...") must exist in the built bundle's resource folder. The scan
// covers every library folder of the source tree, present and future, and the designer forms.

#include "TestSupport.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>

class TestSkinResources : public QObject
{
    Q_OBJECT
private slots:
    void everyNamedImageIsInTheBundle();
    void textReadsOnTheSkin_data();
    void textReadsOnTheSkin();
    void stripsHoldFourFrames_data();
    void stripsHoldFourFrames();
};

namespace {
struct Reference
{
    QString path;
    QString where;
};

// Folders that are not program code: tests, build trees, the tools that make the resources, scripts.
bool isCodeFolder(const QString &name)
{
    static const QStringList skip = {QStringLiteral("tests"),   QStringLiteral("tools"), QStringLiteral("cmake"),
                                     QStringLiteral("scripts"), QStringLiteral("bench"), QStringLiteral("resources")};
    return !name.startsWith(QLatin1Char('.')) && !name.startsWith(QLatin1String("build")) && !skip.contains(name);
}

QVector<Reference> collectReferences(const QString &root)
{
    // A literal that is a whole path below the resource folder and ends in an image suffix; patterns with
    // placeholders ("icon_%1.png") are assembled at run time and checked where they are used.
    static const QRegularExpression literal(
        QStringLiteral("\"(/(?:[A-Za-z0-9_. \\-]+/)*[A-Za-z0-9_. \\-]+\\.(?:png|jpg|jpeg|bmp|gif))\""));
    QVector<Reference> refs;
    const QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &folder : folders) {
        if (!isCodeFolder(folder))
            continue;
        QDirIterator it(root + QLatin1Char('/') + folder,
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            int lineNo = 0;
            while (!f.atEnd()) {
                const QString line = QString::fromUtf8(f.readLine());
                ++lineNo;
                auto matches = literal.globalMatch(line);
                while (matches.hasNext()) {
                    const QString path = matches.next().captured(1);
                    refs.append({path, QStringLiteral("%1:%2").arg(QDir(root).relativeFilePath(file)).arg(lineNo)});
                }
            }
        }
    }
    return refs;
}
} // namespace

void TestSkinResources::everyNamedImageIsInTheBundle()
{
    const QVector<Reference> refs = collectReferences(rstest::sourceDir());
    QVERIFY2(!refs.isEmpty(), "the scan found no image paths at all");
    QStringList missing;
    for (const Reference &ref : refs)
        if (!QFileInfo::exists(rstest::resourcesDir() + ref.path))
            missing << QStringLiteral("%1 (%2)").arg(ref.path, ref.where);
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("\n") + missing.join(QLatin1Char('\n'))));
}

namespace {
double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The pixel as it shows over the window behind it (disabled frames are partly transparent).
QColor over(const QColor &top, const QColor &ground)
{
    const double a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + ground.redF() * (1 - a), top.greenF() * a + ground.greenF() * (1 - a),
                            top.blueF() * a + ground.blueF() * (1 - a));
}
} // namespace

// The styling routines fix the text colours (white titles and button texts, grey disabled texts); the
// images drawn for them must let those texts read. Points are logical, in the frame named.
void TestSkinResources::textReadsOnTheSkin_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("frame");
    QTest::addColumn<QPointF>("at"); // fraction of the frame
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("ground");
    const QColor white(255, 255, 255), light(235, 235, 235), dark(37, 37, 37);
    const QPointF centre(0.5, 0.5);
    for (const char *bg : {"/image/Common_bg/bg_1.png", "/image/Common_bg/bg_2.png", "/image/Common_bg/bg_3.png"})
        QTest::addRow("%s title", bg) << QString::fromLatin1(bg) << 1 << 0 << QPointF(0.5, 0.07) << white << light;
    QTest::newRow("message box title") << "/pic/bg_msg.png" << 1 << 0 << QPointF(0.5, 0.1) << white << light;
    for (const char *strip :
         {"/image/Common_bg/btn_common.png", "/image/Common_bg/btn_common1.png", "/image/Common_bg/btn_prefer.png"}) {
        for (int k = 0; k < 3; ++k)
            QTest::addRow("%s frame %d", strip, k) << QString::fromLatin1(strip) << 4 << k << centre << white << light;
        QTest::addRow("%s disabled", strip)
            << QString::fromLatin1(strip) << 4 << 3 << centre << QColor(111, 111, 111) << light;
    }
    for (int k = 0; k < 3; ++k)
        QTest::addRow("dark button frame %d", k) << "/VEditSource/btn_common.png" << 4 << k << centre << white << dark;
}

void TestSkinResources::textReadsOnTheSkin()
{
    QFETCH(QString, path);
    QFETCH(int, frames);
    QFETCH(int, frame);
    QFETCH(QPointF, at);
    QFETCH(QColor, text);
    QFETCH(QColor, ground);
    const QImage image(rstest::resourcesDir() + path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    const int w = image.width() / frames;
    const QPoint pixel(frame * w + int(at.x() * w), int(at.y() * image.height()));
    const QColor shown = over(image.pixelColor(pixel), ground);
    const double ratio = contrast(shown, text);
    QVERIFY2(ratio >= 3.0, qPrintable(QStringLiteral("%1 at %2,%3 is %4: contrast %5")
                                          .arg(path)
                                          .arg(pixel.x())
                                          .arg(pixel.y())
                                          .arg(shown.name())
                                          .arg(ratio)));
}

// Images the controls cut into four state frames (button strips, and the combo backgrounds the light
// routines show in button mode): four frames of the logical size, at 2x.
void TestSkinResources::stripsHoldFourFrames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("frame");
    QTest::newRow("light combo") << "/image/Common_bg/cmb_common.png" << QSize(120, 22);
    QTest::newRow("light button") << "/image/Common_bg/btn_common.png" << QSize(80, 24);
    QTest::newRow("light tab") << "/image/Common_bg/btn_prefer.png" << QSize(90, 26);
    QTest::newRow("dark button") << "/VEditSource/btn_common.png" << QSize(80, 24);
    QTest::newRow("message box button") << "/pic/btn_common.png" << QSize(80, 28);
}

void TestSkinResources::stripsHoldFourFrames()
{
    QFETCH(QString, path);
    QFETCH(QSize, frame);
    const QImage image(rstest::resourcesDir() + path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(frame.width() * 8, frame.height() * 2));
}

RS_TEST_MAIN(TestSkinResources)
#include "tst_skin_resources.moc"
