// The skin generator: manifest validation, image sizes and frames, and the tool run over a folder of
// manifests (every manifest read, the first drawer of a path wins, a broken manifest fails the build).

#include "SkinManifest.h"
#include "SkinPainter.h"
#include "TestSupport.h"

#include <QJsonDocument>
#include <QProcess>
#include <QtTest>

class TestSkingen : public QObject
{
    Q_OBJECT
private slots:
    void entryValidation_data();
    void entryValidation();
    void imageSizesAndFrames_data();
    void imageSizesAndFrames();
    void stripFramesDiffer();
    void lightStripFramesDiffer();
    void lightPanelTitleBandIsDark_data();
    void lightPanelTitleBandIsDark();
    void ninegridHasTransparentMarginAndOpaqueCentre();
    void toolReadsEveryManifest();
    void toolFailsOnBrokenManifest();
};

namespace {
QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

void TestSkingen::entryValidation_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("ok");
    QTest::newRow("minimal strip") << QByteArray(R"({"path":"/a/b.png","kind":"strip","size":[80,24]})") << true;
    QTest::newRow("no leading slash") << QByteArray(R"({"path":"a/b.png","kind":"strip","size":[8,8]})") << false;
    QTest::newRow("escapes the folder") << QByteArray(R"({"path":"/../b.png","kind":"strip","size":[8,8]})") << false;
    QTest::newRow("not png") << QByteArray(R"({"path":"/a/b.jpg","kind":"strip","size":[8,8]})") << false;
    QTest::newRow("unknown kind") << QByteArray(R"({"path":"/a.png","kind":"blob","size":[8,8]})") << false;
    QTest::newRow("zero size") << QByteArray(R"({"path":"/a.png","kind":"icon","glyph":"play","size":[0,8]})") << false;
    QTest::newRow("huge size") << QByteArray(R"({"path":"/a.png","kind":"field","size":[99999,8]})") << false;
    QTest::newRow("bad colour") << QByteArray(
                                       R"({"path":"/a.png","kind":"icon","glyph":"play","size":[8,8],"color":"red"})")
                                << false;
    QTest::newRow("unknown glyph") << QByteArray(R"({"path":"/a.png","kind":"icon","glyph":"dragon","size":[8,8]})")
                                   << false;
    QTest::newRow("lowered knob") << QByteArray(R"({"path":"/a.png","kind":"thumb","size":[14,22],"drop":4})") << true;
    QTest::newRow("knob dropped out of its frame")
        << QByteArray(R"({"path":"/a.png","kind":"thumb","size":[14,14],"drop":7})") << false;
    QTest::newRow("margin too big") << QByteArray(R"({"path":"/a.png","kind":"ninegrid","size":[20,20],"margin":10})")
                                    << false;
    QTest::newRow("three frames") << QByteArray(R"({"path":"/a.png","kind":"check","size":[8,8],"frames":3})") << false;
}

void TestSkingen::entryValidation()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, ok);
    SkinImageSpec spec;
    QString error;
    QCOMPARE(parseSkinImageSpec(object(json), &spec, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
}

void TestSkingen::imageSizesAndFrames_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("strip: four frames at 2x")
        << QByteArray(R"({"path":"/s.png","kind":"strip","size":[80,28]})") << QSize(640, 56);
    QTest::newRow("thumb: four frames") << QByteArray(R"({"path":"/t.png","kind":"thumb","size":[14,14]})")
                                        << QSize(112, 28);
    QTest::newRow("two-frame check") << QByteArray(R"({"path":"/c.png","kind":"check","size":[14,14],"frames":2})")
                                     << QSize(56, 28);
    QTest::newRow("ninegrid") << QByteArray(R"({"path":"/n.png","kind":"ninegrid","size":[275,170],"margin":8})")
                              << QSize(550, 340);
    QTest::newRow("icon") << QByteArray(R"({"path":"/i.png","kind":"icon","size":[40,40],"glyph":"error"})")
                          << QSize(80, 80);
}

void TestSkingen::imageSizesAndFrames()
{
    QFETCH(QByteArray, json);
    QFETCH(QSize, pixels);
    SkinImageSpec spec;
    QString error;
    QVERIFY(parseSkinImageSpec(object(json), &spec, &error));
    const QImage image = paintSkinImage(spec);
    QCOMPARE(image.size(), pixels);
    QVERIFY(image.hasAlphaChannel());
}

void TestSkingen::stripFramesDiffer()
{
    SkinImageSpec spec;
    QString error;
    QVERIFY(parseSkinImageSpec(object(R"({"path":"/s.png","kind":"strip","size":[40,20]})"), &spec, &error));
    const QImage image = paintSkinImage(spec);
    QColor centre[4];
    for (int k = 0; k < 4; ++k)
        centre[k] = image.pixelColor(k * 80 + 40, 20);
    QVERIFY(centre[1].lightness() > centre[0].lightness());    // hover one step lighter
    QVERIFY(centre[2].red() > 180 && centre[2].green() < 110); // pressed: the accent
    QVERIFY(centre[3].alpha() < 140);                          // disabled: faded
    QCOMPARE(centre[0].alpha(), 255);
}

// Light strips carry white text: an accent face, lighter on hover, darker pressed, faded when disabled.
void TestSkingen::lightStripFramesDiffer()
{
    SkinImageSpec spec;
    QString error;
    QVERIFY(
        parseSkinImageSpec(object(R"({"path":"/s.png","kind":"strip","size":[40,20],"skin":"light"})"), &spec, &error));
    const QImage image = paintSkinImage(spec);
    QColor centre[4];
    for (int k = 0; k < 4; ++k)
        centre[k] = image.pixelColor(k * 80 + 40, 20);
    QVERIFY(centre[0].red() > 180 && centre[0].green() < 110);
    QVERIFY(centre[1].lightness() > centre[0].lightness());
    QVERIFY(centre[2].lightness() < centre[0].lightness());
    QVERIFY(centre[3].alpha() < 140);
}

void TestSkingen::lightPanelTitleBandIsDark_data()
{
    QTest::addColumn<QByteArray>("skin");
    QTest::newRow("light") << QByteArray("light");
    QTest::newRow("dark") << QByteArray("dark");
}

// The white title of the dialog routines needs a dark band on either panel; the light body stays light.
void TestSkingen::lightPanelTitleBandIsDark()
{
    QFETCH(QByteArray, skin);
    SkinImageSpec spec;
    QString error;
    QVERIFY(parseSkinImageSpec(
        object(R"({"path":"/n.png","kind":"ninegrid","size":[100,80],"margin":8,"title":20,"skin":")" + skin + "\"}"),
        &spec, &error));
    const QImage image = paintSkinImage(spec);
    QVERIFY(image.pixelColor(100, 2 * (8 + 10)).lightness() < 90);
    QCOMPARE(image.pixelColor(100, 2 * 60).lightness() > 180, skin == "light");
}

void TestSkingen::ninegridHasTransparentMarginAndOpaqueCentre()
{
    SkinImageSpec spec;
    QString error;
    QVERIFY(
        parseSkinImageSpec(object(R"({"path":"/n.png","kind":"ninegrid","size":[100,80],"margin":8})"), &spec, &error));
    const QImage image = paintSkinImage(spec);
    QVERIFY(image.pixelColor(0, 0).alpha() < 40);
    QCOMPARE(image.pixelColor(100, 80).alpha(), 255);
    QVERIFY(image.pixelColor(100, 80).lightness() < 80); // a dark panel
}

void TestSkingen::toolReadsEveryManifest()
{
    const QString dir = rstest::scratchDir(QStringLiteral("manifests"));
    const QString out = rstest::scratchDir(QStringLiteral("skin-out"));
    writeFile(dir + QStringLiteral("/a.json"), R"({"images":[{"path":"/one/a.png","kind":"strip","size":[20,10]}]})");
    writeFile(dir + QStringLiteral("/b.json"),
              R"({"images":[{"path":"/two/b.png","kind":"icon","size":[10,10],"glyph":"close"},
                            {"path":"/one/a.png","kind":"field","size":[30,30]}]})");
    writeFile(dir + QStringLiteral("/notes.txt"), "not a manifest");
    QProcess p;
    p.start(QStringLiteral(RS_SKINGEN), {QStringLiteral("--out"), out, dir});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QImage(out + QStringLiteral("/one/a.png")).size(), QSize(160, 20)); // the first drawer wins
    QCOMPARE(QImage(out + QStringLiteral("/two/b.png")).size(), QSize(20, 20));
    QVERIFY(p.readAllStandardError().contains("already drawn"));
}

void TestSkingen::toolFailsOnBrokenManifest()
{
    const QString dir = rstest::scratchDir(QStringLiteral("broken"));
    const QString out = rstest::scratchDir(QStringLiteral("broken-out"));
    writeFile(dir + QStringLiteral("/a.json"), R"({"images":[{"path":"/x.png","kind":"strip"}]})");
    QProcess p;
    p.start(QStringLiteral(RS_SKINGEN), {QStringLiteral("--out"), out, dir});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 1);
    p.start(QStringLiteral(RS_SKINGEN), {dir});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 2);
}

RS_TEST_MAIN(TestSkingen)
#include "tst_skingen.moc"
