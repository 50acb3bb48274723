// The program loads its codec library from the bundle's Frameworks folder: the executable names the
// library and finds it through a run path relative to itself, so a bundle copied or moved anywhere still
// runs on its own library and on no other copy.

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestBundleFrameworks : public QObject
{
    Q_OBJECT
private slots:
    void executableNeedsTheLibraryThroughItsRunPath();
    void movedBundleLoadsItsOwnLibrary_data();
    void movedBundleLoadsItsOwnLibrary();
};

namespace {
const QString kContents = QStringLiteral(RS_BUNDLE_DIR "/Contents");
const QString kExecutable = QStringLiteral(RS_EXECUTABLE_NAME);
const QString kLibrary = QStringLiteral(RS_CODEC_LIBRARY_NAME);

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    return p.waitForFinished(60000) ? QString::fromLocal8Bit(p.readAll()) : QString();
}

// Lines of `readelf -d` of one kind ("NEEDED", "RUNPATH", "RPATH"), their bracketed values.
QStringList dynamicEntries(const QString &file, const QString &kind)
{
    QStringList values;
    static const QRegularExpression entry(QStringLiteral("\\((\\w+)\\)\\s+[^\\[]*\\[([^\\]]*)\\]"));
    const QString out = run(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral("-W"), file});
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        const auto m = entry.match(line);
        if (m.hasMatch() && m.captured(1) == kind)
            values += m.captured(2);
    }
    return values;
}
} // namespace

void TestBundleFrameworks::executableNeedsTheLibraryThroughItsRunPath()
{
    const QString exe = kContents + QStringLiteral("/MacOS/") + kExecutable;
    QVERIFY2(QFile::exists(kContents + QStringLiteral("/Frameworks/") + kLibrary),
             qPrintable(kLibrary + QStringLiteral(" is not in the bundle's Frameworks folder")));
    QVERIFY2(dynamicEntries(exe, QStringLiteral("NEEDED")).contains(kLibrary),
             qPrintable(QStringLiteral("the program does not load ") + kLibrary));
    // The run path is the bundle's own folder, relative to the executable: no path of the build machine.
    QCOMPARE(dynamicEntries(exe, QStringLiteral("RUNPATH")), QStringList{QStringLiteral("$ORIGIN/../Frameworks")});
    QVERIFY(dynamicEntries(exe, QStringLiteral("RPATH")).isEmpty());
}

void TestBundleFrameworks::movedBundleLoadsItsOwnLibrary_data()
{
    QTest::addColumn<bool>("withLibrary");
    QTest::newRow("library in the moved bundle") << true;
    QTest::newRow("library missing from the moved bundle") << false;
}

void TestBundleFrameworks::movedBundleLoadsItsOwnLibrary()
{
    QFETCH(bool, withLibrary);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("Moved Reelsplice.app/Contents"));
    QVERIFY(QDir().mkpath(copy + QStringLiteral("/MacOS")));
    QVERIFY(QDir().mkpath(copy + QStringLiteral("/Frameworks")));
    const QString exe = copy + QStringLiteral("/MacOS/") + kExecutable;
    QVERIFY(QFile::copy(kContents + QStringLiteral("/MacOS/") + kExecutable, exe));
    if (withLibrary)
        QVERIFY(QFile::copy(kContents + QStringLiteral("/Frameworks/") + kLibrary,
                            copy + QStringLiteral("/Frameworks/") + kLibrary));

    // The dynamic loader's own account of what the program would load, and from where.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.start(exe, QStringList());
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    QString resolved;
    for (const QString &line : out.split(QLatin1Char('\n')))
        if (line.trimmed().startsWith(kLibrary + QStringLiteral(" => ")))
            resolved = line.trimmed().mid(kLibrary.size() + 4).section(QStringLiteral(" ("), 0, 0);
    QVERIFY2(!resolved.isEmpty(), qPrintable(out));
    if (withLibrary)
        QCOMPARE(QFileInfo(resolved).canonicalFilePath(),
                 QFileInfo(copy + QStringLiteral("/Frameworks/") + kLibrary).canonicalFilePath());
    else
        QCOMPARE(resolved, QStringLiteral("not found"));
}

QTEST_GUILESS_MAIN(TestBundleFrameworks)
#include "tst_bundle_frameworks.moc"
