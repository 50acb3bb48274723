// The whole program on a desktop: the bundle's executable on an X server managed by openbox (the test runs
// inside openbox-session.sh), driven by X input through xdotool as a user drives it, and watched from
// outside: window geometry, the screen's pixels, the files it writes and its exit. Menus and dialogs open
// over the window wherever the window manager placed it; files and a folder dropped from another program
// are imported; rows reorder by dragging; Escape, Enter and Space do what a user expects; SIGTERM and SIGHUP
// end a running join without a partial file, and so does a second signal during that stop; the progress
// window's Stop and its title bar's close stop a join, the window manager's close (Alt+F4) does not.
// With RS_DESKTOP_SCALE=2 (a second ctest run on a screen twice as big) the program runs with QT_SCALE_FACTOR=2,
// where the X server's pixels are twice the program's: that run checks the placement cases only.

#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>

#include <algorithm>
#include <csignal>
#include <functional>

namespace {

const int kBound = rstest::kHangBoundMs;
const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255);

// Positions inside the main window (its own layout: title strip 22 px, list column from x 2, rows 50 px high
// with the thumbnail at their left, buttons in the 50 px band at the bottom).
const QPoint kHelpMenu(97, 11), kAppMenu(157, 11), kCloseButton(13, 11);
QPoint thumbnailOfRow(int row)
{
    return QPoint(14, 36 + 50 * row); // off the thumbnail's centre, where a hovered row shows its Play button
}
QPoint nameOfRow(int row)
{
    return QPoint(150, 47 + 50 * row);
}

QString xdo(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(kBound);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The pointer to a global position, then the given xdotool commands ("click", "1" ...).
void pointerTo(const QPoint &global, const QStringList &then = {})
{
    xdo(QStringList{"mousemove", QString::number(global.x()), QString::number(global.y())} + then);
}

QRect geometryOf(const QString &window)
{
    QRect r;
    for (const QString &line : xdo({"getwindowgeometry", "--shell", window}).split('\n')) {
        const int v = line.section('=', 1).toInt();
        if (line.startsWith("X="))
            r.moveLeft(v);
        else if (line.startsWith("Y="))
            r.moveTop(v);
        else if (line.startsWith("WIDTH="))
            r.setWidth(v);
        else if (line.startsWith("HEIGHT="))
            r.setHeight(v);
    }
    return r;
}

QStringList visibleWindows(qint64 pid)
{
    return xdo({"search", "--onlyvisible", "--pid", QString::number(pid)}).split('\n', Qt::SkipEmptyParts);
}

QImage screen()
{
    QProcess p;
    p.start(QStringLiteral("import"), {"-window", "root", "png:-"});
    p.waitForFinished(kBound);
    return QImage::fromData(p.readAllStandardOutput(), "PNG");
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 80 && qAbs(a.green() - b.green()) < 80 && qAbs(a.blue() - b.blue()) < 80;
}

// The colour of the picture at `seconds` into a file, averaged over the picture.
QColor frameColour(const QString &file, double seconds)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {"-v", "error", "-ss", QString::number(seconds), "-i", file, "-frames:v", "1",
                                       "-vf", "scale=1:1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    p.waitForFinished(kBound * 3);
    const QByteArray rgb = p.readAllStandardOutput();
    return rgb.size() == 3 ? QColor(uchar(rgb[0]), uchar(rgb[1]), uchar(rgb[2])) : QColor();
}

QString colourClip(const QString &name, const QString &colour)
{
    return rstest::MediaFixtures::make(
        {name,
         {"-f", "lavfi", "-i", "color=c=" + colour + ":s=320x240:r=25:d=2", "-f", "lavfi", "-i", "sine=f=440:d=2",
          "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest"}});
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // Before any move: Qt knows the window's place only from what the window manager reported.
    void menusAndDialogsOpenOverTheWindow();
    void dropImportsFilesAndFolder();
    void rowsReorderByDragging();
    void menusAndDialogsFollowTheMovedWindow();
    void joinFollowsTheList();
    void signalsEndARunningJoin_data();
    void signalsEndARunningJoin();
    void keysDoWhatAUserExpects_data();
    void keysDoWhatAUserExpects();
    void progressWindowCloses_data();
    void progressWindowCloses();
    void cleanup();
    void cleanupTestCase();

private:
    void checkMenusAndDialogs(const QString &state);
    // Positions inside the window are the program's logical pixels; the X server counts m_scale times more.
    QPoint at(const QPoint &local) const { return m_main.topLeft() + local * m_scale; }
    QSize logicalSize() const { return m_main.size() / m_scale; }
    void shot(const QString &name) { screen().save(rstest::galleryPath(name + m_suffix)); }
    // Starts the bundle's program and waits for its main window.
    bool startProgram()
    {
        m_app.setProcessEnvironment(m_env);
        m_app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // As from a terminal: whatever started the test may have left signals ignored, which the program keeps.
        m_app.start(QStringLiteral("env"), {QStringLiteral("--default-signal=HUP,INT,TERM"),
                                            rstest::bundleDir() + "/Contents/MacOS/QuorvaneReelsplice"});
        if (!m_app.waitForStarted(kBound))
            return false;
        const bool shown = QTest::qWaitFor(
            [&] {
                m_mainWindow = xdo({"search", "--onlyvisible", "--pid", QString::number(m_app.processId()), "--name",
                                    "^Quorvane Reelsplice$"})
                                   .section('\n', 0, 0);
                return !m_mainWindow.isEmpty();
            },
            kBound * 6);
        m_main = geometryOf(m_mainWindow);
        return shown;
    }
    // Drops a file and a folder on the list; the rows show the file, then the folder's clips in name order,
    // subfolders included.
    void importClips()
    {
        const int action = dropFromOtherProgram({m_dropDir + "/red.mp4", m_dropDir + "/folder"});
        QVERIFY2(action > 0, qPrintable(QStringLiteral("the list refused the drop (%1)").arg(action)));
        QVERIFY2(rowsShow({kRed, kGreen, kBlue}), "rows red, green, blue");
        QVERIFY2(onlyMainWindow(), "the import ends");
    }
    // Bottom-band buttons, from the window's right and bottom edges.
    QPoint formatButton() const { return QPoint(logicalSize().width() - 123, logicalSize().height() - 25); }
    QPoint convertButton() const { return QPoint(logicalSize().width() - 64, logicalSize().height() - 25); }
    QPoint belowTheRows() const { return QPoint(150, logicalSize().height() - 120); }
    void click(const QPoint &local, int button = 1) { pointerTo(at(local), {"click", QString::number(button)}); }
    void key(const QString &name) { xdo({"key", name}); }
    // Waits for a window of the program, not among `before`, at least `minSize` big (tool tips are smaller).
    QString newWindow(const QStringList &before, const QSize &minSize = QSize(100, 50), qint64 pid = 0)
    {
        QString found;
        (void)QTest::qWaitFor(
            [&] {
                for (const QString &w : visibleWindows(pid ? pid : m_app.processId())) {
                    const QRect r = geometryOf(w);
                    if (!before.contains(w) && r.width() >= minSize.width() && r.height() >= minSize.height())
                        found = w;
                }
                return !found.isEmpty();
            },
            kBound);
        return found;
    }
    bool gone(const QString &window)
    {
        return QTest::qWaitFor([&] { return !visibleWindows(m_app.processId()).contains(window); }, kBound);
    }
    // Escape to a dialog; true when it closes. A click on its title strip first gives it the keyboard, as
    // a user's would, where the window manager has not done so yet.
    bool closeDialog(const QString &dialog)
    {
        const QRect r = geometryOf(dialog);
        pointerTo(QPoint(r.center().x(), r.top() + 16), {"click", "1"});
        if (!QTest::qWaitFor([&] { return xdo({"getwindowfocus"}) == dialog; }, kBound))
            return false;
        key("Escape");
        return gone(dialog);
    }
    // Opens a menu by a click at `local` and answers its window; the menu stays open.
    QString openMenuWindow(const QPoint &local, int button = 1)
    {
        const QStringList before = visibleWindows(m_app.processId());
        click(local, button);
        return newWindow(before);
    }
    // The same, answering the menu's geometry.
    QRect openMenu(const QPoint &local, int button = 1)
    {
        const QString menu = openMenuWindow(local, button);
        return menu.isEmpty() ? QRect() : geometryOf(menu);
    }
    // The name field of a row open for editing, its name selected, in the window that has the keyboard: as a
    // user sees it before typing.
    bool nameFieldOpen(int row)
    {
        const QColor selection(48, 140, 198); // the field's selected text
        const QRect names(QPoint(60, 24 + 50 * row) * m_scale, QSize(90, 22) * m_scale);
        return QTest::qWaitFor(
            [&] {
                if (xdo({"getwindowfocus"}) != m_mainWindow)
                    return false;
                const QImage s = screen();
                for (int y = names.top(); y <= names.bottom(); ++y)
                    for (int x = names.left(); x <= names.right(); ++x)
                        if (s.pixelColor(m_main.topLeft() + QPoint(x, y)) == selection)
                            return true;
                return false;
            },
            kBound);
    }
    // The program's windows big enough to be a dialog.
    QStringList dialogs()
    {
        QStringList big;
        for (const QString &w : visibleWindows(m_app.processId()))
            if (geometryOf(w).width() >= 200 && geometryOf(w).height() >= 100)
                big << w;
        return big;
    }
    // The program answers input: its Help menu opens, and closes again.
    bool answersInput()
    {
        const QStringList before = visibleWindows(m_app.processId());
        click(kHelpMenu);
        const QString menu = newWindow(before);
        key("Escape");
        return !menu.isEmpty() && gone(menu);
    }
    // No dialog of the program is left open (an import or a join has ended).
    bool onlyMainWindow()
    {
        return QTest::qWaitFor([&] { return dialogs() == QStringList{m_mainWindow}; }, kBound);
    }
    void expectCentred(const QString &window, const char *what)
    {
        QVERIFY2(!window.isEmpty(), what);
        const QPoint off = geometryOf(window).center() - m_main.center();
        QVERIFY2(
            qAbs(off.x()) < 60 * m_scale && qAbs(off.y()) < 60 * m_scale,
            qPrintable(
                QStringLiteral("%1 opened %2,%3 away from the window's centre").arg(what).arg(off.x()).arg(off.y())));
    }
    bool rowsShow(const QList<QColor> &colours)
    {
        return QTest::qWaitFor(
            [&] {
                const QImage s = screen();
                for (int i = 0; i < colours.size(); ++i)
                    if (!near(s.pixelColor(at(thumbnailOfRow(i))), colours[i]))
                        return false;
                return true;
            },
            kBound * 3);
    }
    // Drags from `from` (global) to `to` (global) with the left button, waiting for the drag's picture.
    bool drag(const QPoint &from, const QPoint &to, qint64 pid)
    {
        const QStringList before = visibleWindows(pid);
        pointerTo(from, {"mousedown", "1"});
        for (int step = 1; step <= 3; ++step)
            pointerTo(from + QPoint(4, 4) * step);
        const QString picture = newWindow(before, QSize(1, 1), pid);
        for (int step = 1; step <= 8; ++step) {
            pointerTo(from + (to - from) * step / 8);
            QTest::qWait(30); // pace the motion as a hand does: the target answers each position
        }
        pointerTo(to + QPoint(1, 0));
        QTest::qWait(100);
        xdo({"mouseup", "1"});
        pointerTo(QPoint(0, m_screen.height() - 1)); // away from the rows, which show buttons while hovered
        return !picture.isEmpty();
    }
    // Drags the paths from another program onto the list; answers the drop action it reports. The program
    // stays until the next drop: the list reads the dropped data from it after the drop.
    int dropFromOtherProgram(const QStringList &paths)
    {
        m_source.kill();
        m_source.waitForFinished(kBound);
        m_source.setProcessEnvironment(m_app.processEnvironment());
        m_source.start(QStringLiteral(RS_DRAG_SOURCE), paths);
        const QString window = newWindow({}, QSize(100, 100), m_source.processId());
        if (window.isEmpty() || !drag(geometryOf(window).center(), at(belowTheRows()), m_source.processId()))
            return -1;
        QString out;
        (void)QTest::qWaitFor(
            [&] {
                out += QString::fromUtf8(m_source.readAllStandardOutput());
                return out.contains("drop-result ");
            },
            kBound);
        return out.contains("drop-result ") ? out.section("drop-result ", 1).trimmed().toInt() : -1;
    }
    // Every file in the output folder, hidden ones too (a join writes beside its output's name first).
    QStringList outputs() const { return QDir(m_outDir).entryList(QDir::Files | QDir::Hidden); }
    // The program has a file open in the output folder, named or not: a join is writing its output.
    bool writesIntoOutputs() const
    {
        const QString fds = QStringLiteral("/proc/%1/fd").arg(m_app.processId());
        for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            if (QFile::symLinkTarget(fds + '/' + fd).startsWith(m_outDir + '/'))
                return true;
        return false;
    }

    QProcessEnvironment m_env;
    QProcess m_app;
    QProcess m_source;
    QString m_mainWindow;
    QRect m_main;
    QString m_outDir;
    QString m_dropDir;
    int m_scale = 1;
    QString m_suffix; // of the screenshots' names: "-scale2" at scale 2
    QSize m_screen;
    bool m_longClipAlone = false; // the list holds the long clip alone
};

void TestDesktop::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "runs on the X server of openbox-session.sh");
    QVERIFY2(rstest::MediaFixtures::haveTools({"xdotool", "import", "ffmpeg"}), "xdotool, imagemagick, ffmpeg");
    m_scale = qMax(1, qEnvironmentVariableIntValue("RS_DESKTOP_SCALE"));
    if (m_scale > 1)
        m_suffix = QStringLiteral("-scale%1").arg(m_scale);
    const QStringList display = xdo({"getdisplaygeometry"}).split(' ');
    m_screen = QSize(display.value(0).toInt(), display.value(1).toInt());
    m_dropDir = rstest::scratchDir("drop");
    QDir().mkpath(m_dropDir + "/folder/sub");
    QVERIFY(QFile::copy(colourClip("desk_red.mp4", "red"), m_dropDir + "/red.mp4"));
    QVERIFY(QFile::copy(colourClip("desk_green.mp4", "lime"), m_dropDir + "/folder/green.mp4"));
    QVERIFY(QFile::copy(colourClip("desk_blue.mp4", "blue"), m_dropDir + "/folder/sub/blue.mp4"));
    const QString longClip = rstest::MediaFixtures::make(
        {"desk_long.mp4",
         {"-f", "lavfi", "-i", "testsrc=s=320x240:r=25:d=60", "-f", "lavfi", "-i", "sine=d=60", "-c:v", "libx264",
          "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest"}});
    QVERIFY(QFile::copy(longClip, m_dropDir + "/long.mp4"));

    // The program's settings send its outputs to a scratch folder; the folder reveal after a join opens
    // nothing (no file manager, no session bus).
    m_outDir = rstest::scratchDir("out");
    const QString dataDir = qEnvironmentVariable("XDG_DATA_HOME") + "/Quorvane Reelsplice";
    QDir().mkpath(dataDir);
    QFile settings(dataDir + "/VideoDefaultSetting.xml");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ROOTITEM>\n <OutPut_path path_value=\"" +
                   m_outDir.toUtf8() + "/\"/>\n</ROOTITEM>\n");
    settings.close();
    const QString stubs = rstest::scratchDir("stubs");
    QFile opener(stubs + "/xdg-open");
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 0\n");
    opener.close();
    opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner);

    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("QT_QPA_PLATFORM", "xcb");
    m_env.insert("PATH", stubs + ":" + m_env.value("PATH"));
    m_env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    m_env.insert("SDL_AUDIODRIVER", "dummy");
    if (m_scale > 1)
        m_env.insert("QT_SCALE_FACTOR", QString::number(m_scale));
    QVERIFY(startProgram());
    shot("Desktop-started");
}

void TestDesktop::checkMenusAndDialogs(const QString &state)
{
    m_main = geometryOf(m_mainWindow);
    QVERIFY2(m_main.x() > 100 && m_main.y() > 100, "the window stands away from the screen's top left");

    // Each menu opens below its title in the window's menu bar.
    for (const auto &[name, title] : {std::make_pair("help", kHelpMenu), std::make_pair("app", kAppMenu)}) {
        const QRect menu = openMenu(title);
        shot(QStringLiteral("Desktop-%1-menu-%2").arg(name, state));
        key("Escape");
        QVERIFY2(qAbs(menu.left() - at(title).x()) < 60 * m_scale && menu.top() >= m_main.top() + 15 * m_scale &&
                     menu.top() <= m_main.top() + 30 * m_scale,
                 qPrintable(QStringLiteral("menu at %1,%2 for a window at %3,%4")
                                .arg(menu.left())
                                .arg(menu.top())
                                .arg(m_main.left())
                                .arg(m_main.top())));
    }

    // Each dialog opens centred over the window. Opened by: the application menu's entries (Preferences,
    // About), the Format button and the title bar's close (the close choice).
    const std::pair<const char *, std::function<void()>> openers[] = {
        {"preferences",
         [&] {
             openMenu(kAppMenu);
             key("Down");
             key("Return");
         }},
        {"about",
         [&] {
             openMenu(kAppMenu);
             key("Down");
             key("Down");
             key("Return");
         }},
        {"format-chooser", [&] { click(formatButton()); }},
        {"close-choice", [&] { click(kCloseButton); }},
    };
    for (const auto &opener : openers) {
        const QStringList before = visibleWindows(m_app.processId());
        opener.second();
        const QString dialog = newWindow(before, QSize(200, 100));
        shot(QStringLiteral("Desktop-%1-%2").arg(opener.first).arg(state));
        expectCentred(dialog, opener.first);
        QVERIFY2(closeDialog(dialog), opener.first);
    }
}

void TestDesktop::menusAndDialogsOpenOverTheWindow()
{
    // The window manager centres the window (openbox: in the free space), at any scale.
    const QPoint off = geometryOf(m_mainWindow).center() - QRect(QPoint(0, 0), m_screen).center();
    QVERIFY2(
        qAbs(off.x()) < 60 * m_scale && qAbs(off.y()) < 60 * m_scale,
        qPrintable(QStringLiteral("the window opened %1,%2 away from the screen's centre").arg(off.x()).arg(off.y())));
    checkMenusAndDialogs("placed");
}

void TestDesktop::menusAndDialogsFollowTheMovedWindow()
{
    const QPoint target(m_screen.width() - m_main.width() - 20, m_screen.height() - m_main.height() - 20);
    xdo({"windowmove", m_mainWindow, QString::number(target.x()), QString::number(target.y())});
    QVERIFY(QTest::qWaitFor([&] { return geometryOf(m_mainWindow).topLeft() == target; }, kBound));
    checkMenusAndDialogs("moved");
}

void TestDesktop::dropImportsFilesAndFolder()
{
    importClips();
    shot("Desktop-dropped");
}

void TestDesktop::rowsReorderByDragging()
{
    // The first row onto the lower half of the third: it goes after it.
    QVERIFY2(drag(at(nameOfRow(0)), at(nameOfRow(2) + QPoint(0, 15)), m_app.processId()), "the row drag starts");
    QVERIFY2(rowsShow({kGreen, kBlue, kRed}), "rows green, blue, red");
    shot("Desktop-reordered");
}

void TestDesktop::joinFollowsTheList()
{
    click(convertButton());
    // Named after the first clip; its pictures in the list's order.
    const QString output = m_outDir + "/green.mp4";
    QVERIFY2(QTest::qWaitFor([&] { return rstest::FFprobe::durationSeconds(output) > 5.5; }, kBound * 6),
             qPrintable(outputs().join(", ")));
    QVERIFY2(onlyMainWindow(), "the join ends");
    QVERIFY(near(frameColour(output, 1), kGreen));
    QVERIFY(near(frameColour(output, 3), kBlue));
    QVERIFY(near(frameColour(output, 5), kRed));
}

void TestDesktop::signalsEndARunningJoin_data()
{
    QTest::addColumn<QList<int>>("signals_");
    QTest::newRow("SIGTERM") << QList<int>{SIGTERM};
    QTest::newRow("SIGHUP") << QList<int>{SIGHUP};
    // The second ends the program from its handler, wherever the stop has got to.
    QTest::newRow("SIGTERM, then SIGINT during the stop") << QList<int>{SIGTERM, SIGINT};
}

void TestDesktop::signalsEndARunningJoin()
{
    QFETCH(QList<int>, signals_);
    int row = 3; // after the clips of the cases before
    if (m_app.state() == QProcess::NotRunning) {
        QVERIFY(startProgram()); // the row before ended it
        row = 0;
    }
    const QColor empty = screen().pixelColor(at(thumbnailOfRow(row)));
    QVERIFY(dropFromOtherProgram({m_dropDir + "/long.mp4"}) > 0);
    QVERIFY(QTest::qWaitFor([&] { return screen().pixelColor(at(thumbnailOfRow(row))) != empty; }, kBound * 3));
    QVERIFY(onlyMainWindow());
    const QStringList done = outputs();
    const QStringList before = visibleWindows(m_app.processId());
    click(convertButton());
    expectCentred(newWindow(before, QSize(200, 100)), "Progress");
    // The join is writing its file when the signal comes.
    QVERIFY(QTest::qWaitFor([&] { return writesIntoOutputs(); }, kBound * 3));
    shot("Desktop-joining");
    for (int signo : signals_)
        ::kill(pid_t(m_app.processId()), signo);
    QVERIFY2(m_app.waitForFinished(kBound * 3), "the program ends");
    QCOMPARE(m_app.exitStatus(), QProcess::NormalExit);
    // Two signals pending at once are handled lowest number first: the status names either of them.
    QVERIFY2(std::any_of(signals_.begin(), signals_.end(), [&](int signo) { return m_app.exitCode() == 128 + signo; }),
             qPrintable(QString::number(m_app.exitCode())));
    QCOMPARE(outputs(), done);
}

void TestDesktop::keysDoWhatAUserExpects_data()
{
    QTest::addColumn<int>("setUp");
    QTest::addColumn<QString>("keys");
    // 0: a click on the list; 1: Rename from the first row's menu and a new name; 2: the Format button,
    // its chooser closed again.
    QTest::newRow("Escape does not quit") << 0 << "Escape";
    QTest::newRow("Enter opens no Add File dialog") << 0 << "Return";
    QTest::newRow("Enter confirms a rename only") << 1 << "Return";
    QTest::newRow("Space does not press the last clicked button") << 2 << "space";
}

void TestDesktop::keysDoWhatAUserExpects()
{
    QFETCH(int, setUp);
    QFETCH(QString, keys);
    // Each key starts from the window with its clips alone (a key that went wrong may have left a dialog).
    if (m_app.state() == QProcess::NotRunning || dialogs() != QStringList{m_mainWindow}) {
        m_app.kill();
        m_app.waitForFinished(kBound);
        QVERIFY(startProgram());
        importClips();
    }
    const QStringList before = dialogs();
    if (setUp == 0) {
        click(belowTheRows());
    } else if (setUp == 1) {
        const QString menu = openMenuWindow(nameOfRow(0), 3);
        QVERIFY(!menu.isEmpty());
        key("Down");
        key("Return");
        // Keys typed while the menu still holds the keyboard would be lost with it: type once it is gone
        // and the name field shows.
        QVERIFY2(gone(menu), "the menu closes");
        QVERIFY2(nameFieldOpen(0), "the name field opens with the name selected");
        xdo({"type", "--delay", "30", "renamed"});
    } else {
        const QStringList windows = visibleWindows(m_app.processId());
        click(formatButton());
        const QString chooser = newWindow(windows, QSize(200, 100));
        QVERIFY(!chooser.isEmpty());
        QVERIFY(closeDialog(chooser));
    }
    key(keys);
    // Keys are handled in order: once a later click is answered the key has had its effect.
    const bool answers = answersInput();
    if (m_app.state() != QProcess::Running)
        m_app.waitForFinished(kBound);
    QVERIFY2(answers && m_app.state() == QProcess::Running, "the program is still there");
    QCOMPARE(dialogs(), before);
    if (setUp == 1) {
        // The join is named after the first clip's new name.
        click(convertButton());
        QVERIFY2(QTest::qWaitFor([&] { return rstest::FFprobe::durationSeconds(m_outDir + "/renamed.mp4") > 5.5; },
                                 kBound * 6),
                 qPrintable(outputs().join(", ")));
        QVERIFY2(onlyMainWindow(), "the join ends");
    }
}

void TestDesktop::progressWindowCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stops");
    QTest::newRow("the window manager's close (Alt+F4) lets the join go on") << "alt+F4" << false;
    QTest::newRow("Stop") << "stop" << true;
    QTest::newRow("the title bar's close") << "title" << true;
}

void TestDesktop::progressWindowCloses()
{
    QFETCH(QString, how);
    QFETCH(bool, stops);
    // The long clip alone in the list, from a fresh start: its join runs long enough to be closed.
    if (!m_longClipAlone || m_app.state() != QProcess::Running || dialogs() != QStringList{m_mainWindow}) {
        m_app.kill();
        m_app.waitForFinished(kBound);
        QVERIFY(startProgram());
        const QColor empty = screen().pixelColor(at(thumbnailOfRow(0)));
        QVERIFY(dropFromOtherProgram({m_dropDir + "/long.mp4"}) > 0);
        QVERIFY(QTest::qWaitFor([&] { return screen().pixelColor(at(thumbnailOfRow(0))) != empty; }, kBound * 3));
        QVERIFY(onlyMainWindow());
        m_longClipAlone = true;
    }
    const QStringList done = outputs();
    const QStringList before = visibleWindows(m_app.processId());
    click(convertButton());
    const QString progress = newWindow(before, QSize(200, 100));
    QVERIFY2(!progress.isEmpty(), "the progress window opens");
    QVERIFY(QTest::qWaitFor([&] { return writesIntoOutputs(); }, kBound * 3));
    const QRect r = geometryOf(progress);
    if (how == "alt+F4") {
        // The window manager closes the window that has the keyboard: a click on its title strip gives it.
        pointerTo(QPoint(r.center().x(), r.top() + 16), {"click", "1"});
        QVERIFY(QTest::qWaitFor([&] { return xdo({"getwindowfocus"}) == progress; }, kBound));
        key(how);
    } else {
        // Stop at the bottom right (59x20, 38 and 23 px from the edges); the close button at 18,13 (16x16).
        pointerTo(how == "stop" ? r.bottomRight() - QPoint(38 + 29, 23 + 9) * m_scale
                                : r.topLeft() + QPoint(26, 21) * m_scale,
                  {"click", "1"});
    }
    shot("Desktop-progress-" + QString(how).remove('+'));
    QVERIFY2(stops || writesIntoOutputs(), "the join goes on after the close");
    // The program ends the run and removes its window; a join that went on wrote the whole clip.
    QVERIFY2(QTest::qWaitFor([&] { return !visibleWindows(m_app.processId()).contains(progress); }, kBound * 12),
             "the join ends");
    QStringList added = outputs();
    for (const QString &name : done)
        added.removeOne(name);
    if (stops) {
        QVERIFY2(added.isEmpty(), qPrintable(added.join(", ")));
        return;
    }
    QCOMPARE(added.size(), 1);
    const QString output = m_outDir + '/' + added.first();
    QVERIFY2(rstest::FFprobe::durationSeconds(output) > 59.5, qPrintable(output));
    QCOMPARE(rstest::FFprobe::decodeErrors(output), QString());
}

void TestDesktop::cleanup()
{
    // What the screen showed when a check failed.
    if (QTest::currentTestFailed())
        shot(QStringLiteral("Desktop-failed-%1").arg(QTest::currentTestFunction()));
}

void TestDesktop::cleanupTestCase()
{
    m_source.kill();
    m_source.waitForFinished(kBound);
    if (m_app.state() != QProcess::NotRunning) {
        m_app.kill();
        m_app.waitForFinished(kBound);
    }
}

RS_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
