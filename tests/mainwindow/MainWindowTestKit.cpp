#include "MainWindowTestKit.h"

#include "CatalogueProfile.h"
#include "HostServices.h"
#include "MacMainWindow.h"
#include "MainWindowSeams.h"
#include "QIAnyUtil.h"
#include "QMainDlg.h"
#include "QVideoEditingDlg.h"
#include "QVideoSettingXml.h"
#include "TestSupport.h"
#include "VideoConvertBar.h"
#include "WindowInput.h"
#include "ZtVideoConvertManager.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace mwt {

namespace {

class RevealRecorder : public IFileRevealer
{
public:
    explicit RevealRecorder(Recorder &r) : m_r(r) {}
    bool revealFile(const QString &path) override
    {
        m_r.revealed << path;
        return true;
    }

private:
    Recorder &m_r;
};

class PowerRecorder : public IPowerControl
{
public:
    explicit PowerRecorder(Recorder &r) : m_r(r) {}
    bool powerOff() override
    {
        ++m_r.powerOffs;
        return true;
    }
    bool suspend() override { return true; }

private:
    Recorder &m_r;
};

class NoNetwork : public IFeedFetcher
{
public:
    void fetch(const QUrl &, Done done) override { done(false, QByteArray()); }
};

} // namespace

Recorder &installRecorders()
{
    static Recorder r;
    // Images and catalogues come from the build tree's bundle.
    QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    HostServices::setFileRevealer(std::make_unique<RevealRecorder>(r));
    HostServices::setPowerControl(std::make_unique<PowerRecorder>(r));
    HostServices::setFeedFetcher(std::make_unique<NoNetwork>());
    MainWindowSeams::setOpenFiles([](QWidget *, const QString &, const QString &) {
        const QStringList files = r.nextFiles;
        r.nextFiles.clear();
        return files;
    });
    MainWindowSeams::setMessage([](QWidget *, const QString &, const QString &text, int, int) {
        r.messages << text;
        return 1;
    });
    MainWindowSeams::setOpenUrl([](const QUrl &url) {
        r.urls << url;
        return true;
    });
    return r;
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

MacMainWindow *openWithFiles(Recorder &rec, const QStringList &files)
{
    QVideoSettingXml::SetItemValue("OutPut_path", "path_value",
                                   rstest::scratchDir(QStringLiteral("output")) + QLatin1Char('/'));
    auto *w = new MacMainWindow(nullptr);
    w->show();
    rec.nextFiles = files;
    QMainDlg *list = w->mainDlg();
    const int rows = files.size();
    bool shown = QTest::qWaitForWindowExposed(w);
    if (shown) {
        rstest::clickAt(w->m_btnAddFile);
        shown = waitFor([list, rows] { return !list->isBusy() && list->rows().size() == rows; }, 60000);
    }
    if (!shown) {
        delete w;
        return nullptr;
    }
    return w;
}

ZtVideoConvertItem *clipAt(int i)
{
    return ZtVideoConvertManager::getConvertManagerObject()->GetItem(i);
}

bool dropFiles(QWidget *target, const QStringList &paths, const QPoint &at)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    mime.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

void onNextModal(const std::function<void(QWidget *)> &act, int timeoutMs)
{
    auto *timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    timer->setInterval(30);
    QObject::connect(timer, &QTimer::timeout, [timer, act, elapsed, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

namespace {
// More than one colour: something was drawn.
bool showsSomething(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb first = image.pixel(image.width() / 2, image.height() / 2);
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

void savePixmap(const QPixmap &pixmap, const QString &name)
{
    const QString path = rstest::galleryPath(name);
    QVERIFY2(pixmap.save(path), qPrintable(path));
    QVERIFY2(showsSomething(pixmap), qPrintable(name + " shows nothing"));
}

// Every control the pictured window shows can be clicked where it stands.
void checkReachable(QWidget *w, const QString &name)
{
    const QStringList unreachable = rstest::unreachableControls(w->window());
    QVERIFY2(unreachable.isEmpty(), qPrintable(name + QStringLiteral(": ") + unreachable.join(QStringLiteral("; "))));
}
} // namespace

void shot(QWidget *w, const QString &name)
{
    QApplication::processEvents();
    savePixmap(w->grab(), name);
    checkReachable(w, name);
}

void shotScreen(QWidget *w, const QString &name)
{
    // The X server shows the windows on top in its own time.
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible())
            QVERIFY(QTest::qWaitForWindowExposed(top, rstest::kHangBoundMs));
    QPixmap screen;
    (void)QTest::qWaitFor( // savePixmap says when nothing came
        [&] {
            const QRect r = w->frameGeometry();
            screen = w->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
            return showsSomething(screen);
        },
        rstest::kHangBoundMs);
    savePixmap(screen, name);
    checkReachable(w, name);
}

bool useCatalogueProfile(int width, int height)
{
    return rstest::useCatalogueProfile(QIAnyUtil::getResourcePath() + QStringLiteral("/profile/profiles_mac.plist"),
                                       width, height, 800);
}

namespace {
// One measurement for blackAroundWindow; true when fewer than one pixel in fifty is black.
bool measureBlackAround(QWidget *window, QWidget *below, int *blackOut, int *checked)
{
    const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage under = below->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect r = window->frameGeometry();
    const QImage screen = window->screen()
                              ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    const auto light = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
    int black = 0, seen = 0;
    const QPoint origin = below->mapFromGlobal(window->mapToGlobal(QPoint(0, 0)));
    for (int y = 0; y < qMin(drawn.height(), screen.height()); ++y)
        for (int x = 0; x < qMin(drawn.width(), screen.width()); ++x) {
            const QPoint b = origin + QPoint(x, y);
            if (qAlpha(drawn.pixel(x, y)) != 0 || !under.rect().contains(b) || light(under.pixel(b)) < 90)
                continue;
            ++seen;
            if (light(screen.pixel(x, y)) < 30)
                ++black;
        }
    *checked = seen;
    *blackOut = black;
    return seen > 0 && black < seen / 50;
}
} // namespace

int blackAroundWindow(QWidget *window, QWidget *below, int *checked)
{
    int black = 0;
    // The X server shows the windows in its own time: measure again until the margin shows what lies below
    // or the bound passes, and answer the last measurement.
    (void)QTest::qWaitFor([&] { return measureBlackAround(window, below, &black, checked); }, rstest::kHangBoundMs);
    return black;
}

void click(QWidget *w)
{
    rstest::clickAt(w);
}

bool editRow(QWidget *row, const std::function<void(QVideoEditingDlg *)> &act)
{
    auto *bar = qobject_cast<VideoConvertBar *>(row);
    if (!bar)
        return false;
    bool ran = false;
    onNextModal([&](QWidget *modal) {
        QVideoEditingDlg *dlg = editorOf(modal);
        if (!dlg)
            return;
        // Whatever fails in `act`, the editor closes, so that the Edit click returns.
        const auto close = qScopeGuard([dlg] {
            if (dlg->isVisible())
                dlg->reject();
        });
        if (!QTest::qWaitFor([dlg] { return dlg->isLoaded(); }, 3 * rstest::kHangBoundMs))
            return;
        ran = true;
        act(dlg);
    });
    rstest::moveTo(bar);
    if (!QTest::qWaitFor([bar] { return bar->m_btnEdit->isVisible(); }, rstest::kHangBoundMs))
        return false;
    rstest::clickAt(bar->m_btnEdit);
    return ran;
}

QVideoEditingDlg *editorOf(QWidget *modal)
{
    if (auto *dlg = qobject_cast<QVideoEditingDlg *>(modal))
        return dlg;
    return modal ? qobject_cast<QVideoEditingDlg *>(modal->parentWidget()) : nullptr;
}

} // namespace mwt
