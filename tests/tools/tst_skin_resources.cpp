// Every image path the program's code names (string literals such as "/image/Common_bg/edit.png",
// "/pic/bg_msg.png", "/VEditSource/...") must exist in the built bundle's resource folder. The scan
// covers every library folder of the source tree, present and future, and the designer forms.

#include "TestSupport.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QtTest>

class TestSkinResources : public QObject
{
    Q_OBJECT
private slots:
    void everyNamedImageIsInTheBundle();
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

RS_TEST_MAIN(TestSkinResources)
#include "tst_skin_resources.moc"
