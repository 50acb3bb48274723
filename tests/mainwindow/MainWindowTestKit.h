#pragma once
// Helpers of the main window's window tests: the desktop seams answered by recorders, waiting, real drop
// events with file URLs, answering the next modal dialog, and gallery screenshots.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>

class MacMainWindow;
class QVideoEditingDlg;
class ZtVideoConvertItem;

namespace mwt {

struct Recorder
{
    QStringList nextFiles; // the next answer of the open-files dialog (then cleared)
    QStringList messages;  // texts of the message boxes shown
    QList<QUrl> urls;      // pages opened
    QStringList revealed;  // files revealed
    int powerOffs = 0;
};

// Points the program at the build tree's bundle and installs the recorders as the seams and host
// services; the returned record lives for the process.
Recorder &installRecorders();

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000);

// A main window shown with `files` added through its Add File button and every row analysed, outputs going
// to a scratch folder; null when the rows did not come within a minute.
MacMainWindow *openWithFiles(Recorder &rec, const QStringList &files);
// Clip `i` of the program's clip list.
ZtVideoConvertItem *clipAt(int i);

// Drops the paths on the widget as a file manager would: enter, move, drop with "text/uri-list".
bool dropFiles(QWidget *target, const QStringList &paths, const QPoint &at = QPoint(20, 20));

// Runs `act` on the next modal dialog once it is shown (polling the event loop).
void onNextModal(const std::function<void(QWidget *)> &act, int timeoutMs = 20000);

// A left click in the middle of the widget, through its window (failing when something covers it there).
void click(QWidget *w);

// The clip editor behind a modal window: the editor itself, or the loading box it shows first.
QVideoEditingDlg *editorOf(QWidget *modal);

// Opens the clip editor as a user does, with the Edit button that shows while the pointer is over the row,
// and runs `act` on it once it has loaded; an editor still open after `act` is cancelled. False when the
// editor did not come or did not load.
bool editRow(QWidget *row, const std::function<void(QVideoEditingDlg *)> &act);

// Output settings of the catalogue's "HD Video" profile with its own codecs (25 fps, 800 kb/s video), at a
// frame size of the test's choosing; false when the catalogue or its codecs are missing.
bool useCatalogueProfile(int width, int height);

// <build>/gallery/<name>.png of the widget as shown; fails the test when nothing was drawn, or when a control of
// its window cannot be clicked.
void shot(QWidget *w, const QString &name);
// The same, but of the screen where the window is, so that windows standing over it (a progress dialog)
// are in the picture.
void shotScreen(QWidget *w, const QString &name);

// Where a translucent window draws nothing (its shadow margin, rounded corners), the screen must show the
// window below it, never the black of an uncomposited desktop. Counts the screen pixels left black where
// `below` is lit; `checked` gets how many such pixels there were. Measures again, up to the hang bound, until
// fewer than one in fifty of them is black (the X server draws in its own time).
int blackAroundWindow(QWidget *window, QWidget *below, int *checked);

} // namespace mwt
