#include "EditorTestKit.h"

#include "CatalogueProfile.h"
#include "MediaFixtures.h"
#include "QConverterOperate.h"
#include "QMediaElementWindow.h"
#include "QNewConvertObject.h"
#include "QVideoEditingDlg.h"
#include "QVideoEditingSettings.h"
#include "QVideoElementWindow.h"
#include "TestSupport.h"
#include "WindowInput.h"
#include "ZTPlayerManager.h"
#include "ZtVideoConvertItem.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QtTest>

namespace etk {

void saveGallery(QWidget *w, const QString &name)
{
    const QImage image = w->grab().toImage();
    QVERIFY2(!image.isNull(), qPrintable(name));
    QVERIFY(image.save(rstest::galleryPath(name)));
    const QStringList unreachable = rstest::unreachableControls(w->window());
    QVERIFY2(unreachable.isEmpty(), qPrintable(name + QStringLiteral(": ") + unreachable.join(QStringLiteral("; "))));
}

void typeInto(QWidget *field, const QString &text)
{
    rstest::clickAt(field);
    rstest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    rstest::typeText(field, text);
}

namespace {

// A 4 s clip of a lavfi picture with a 440 Hz tone.
QString toneClip(const QString &name, const QString &picture)
{
    return rstest::MediaFixtures::make(
        {name, (QStringLiteral("-f lavfi -i ") + picture +
                QStringLiteral(" -f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                               "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 128k -shortest"))
                   .split(QLatin1Char(' '))});
}

} // namespace

QString patternClip()
{
    return toneClip(QStringLiteral("editor_pattern.mp4"), QStringLiteral("testsrc2=size=320x240:rate=25:duration=4"));
}

QString darkClip()
{
    return toneClip(QStringLiteral("editor_dark.mp4"), QStringLiteral("color=c=black:s=320x240:r=25:d=4"));
}

QString colourClip(const QColor &colour)
{
    const QString hex = colour.name().mid(1);
    return toneClip(QStringLiteral("editor_colour_%1.mp4").arg(hex),
                    QStringLiteral("color=c=0x%1:s=320x240:r=25:d=4").arg(hex));
}

QString greyClip(const QSize &size)
{
    const QString name = size == QSize(320, 240)
                             ? QStringLiteral("editor_grey.mp4")
                             : QStringLiteral("editor_grey_%1x%2.mp4").arg(size.width()).arg(size.height());
    return toneClip(name, QStringLiteral("color=c=0x808080:s=%1x%2:r=25:d=4").arg(size.width()).arg(size.height()));
}

Preview::Preview()
    : player(new ZTPlayerManager), original(new QMediaElementWindow), preview(new QMediaElementWindow),
      model(new QVideoEditingSettings)
{
    original->resize(320, 240);
    preview->resize(320, 240);
    player->setMediaOriginalWindow(original.get());
    player->setMediaPreviewWindow(preview.get());
    model->setPlayerManager(player.get());
    // The editor shows both: the smallest crop box is measured on the shown source picture.
    original->show();
    preview->move(340, 0);
    preview->show();
}

Preview::~Preview()
{
    model.reset();
    player.reset();
}

bool Preview::open(const QString &clip, const VEEditConfig &config)
{
    if (!player->setPlayFile(clip, 320, 240, 3))
        return false;
    VEEditConfig copy = config;
    const QSize size = model->getVideoSize();
    copy.resolutionWidth = size.width();
    copy.resolutionHeight = size.height();
    model->setEditConfig(copy);
    if (!QTest::qWaitForWindowExposed(original.get()))
        return false;
    player->resizeVideoWindow();
    return true;
}

QImage Preview::grab(double position)
{
    player->progressValueChange(position);
    static int n = 0;
    const QString path = rstest::scratchDir(QStringLiteral("grabs")) + QStringLiteral("/%1.png").arg(++n);
    if (!player->captureImage(path, QStringLiteral("PNG")))
        return QImage();
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

EditorWindow::EditorWindow(const QString &clip, const VEEditConfig &config) : owned(new QVideoEditingDlg), dlg(*owned)
{
    dlg.setVideoFile(clip, 0, 0);
    VEEditConfig record = config;
    dlg.setEditConfig(record);
    dlg.isHaveVideo(true);
    dlg.setIsWatermarkAudioStartTime(true);
    dlg.show();
}

EditorWindow::~EditorWindow() = default;

bool EditorWindow::waitLoaded(int ms)
{
    return QTest::qWaitFor([this] { return dlg.isLoaded(); }, ms);
}

VEEditConfig recordOf(QVideoEditingDlg &dlg)
{
    VEEditConfig c;
    dlg.getEditConfig(c);
    return c;
}

bool closeBoxAfter(QWidget *window, const std::function<void()> &act)
{
    bool closed = false;
    QTimer closer; // the box runs its own event loop: it is looked for from a timer
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (box && box != window && box->isVisible()) {
            closed = true;
            closer.stop();
            box->close();
        }
    });
    closer.start(50);
    act();
    return QTest::qWaitFor([&] { return closed; }, rstest::kHangBoundMs);
}

QWidget *videoViewOf(QMediaElementWindow *pane)
{
    const QVideoElementWindow *host = pane ? pane->videoElement() : nullptr;
    return host ? host->videoView() : nullptr;
}

QString encodeWithEdits(const QString &clip, const VEEditConfig &config, const QString &name, const QSize &size)
{
    if (!rstest::useCatalogueProfile(rstest::sourceDir() + QStringLiteral("/resources/profile/profiles_mac.plist"),
                                     size.width(), size.height(), 2000))
        return QString();

    const QString dir = rstest::scratchDir(QStringLiteral("encode_") + name);
    QConverterOperate::setConverterPath(dir + QLatin1Char('/'));
    ZtVideoConvertItem item;
    if (!item.setVideoPath(clip, 0))
        return QString();
    item.m_editConfig = config;
    item.m_nTrimStart = config.trimStart;
    item.m_nTrimEnd = config.trimEnd;
    item.getValidOutputName();
    item.getConverOutputDir();
    const QString output = item.getConverPath();
    QNewConvertObject driver;
    driver.AddConvertItem(&item);
    driver.setMergerOptputPath(output);
    bool finished = false, failed = false;
    QObject::connect(&driver, &QNewConvertObject::emitMergerTotalFinished, [&] { finished = true; });
    QObject::connect(&driver, &QNewConvertObject::emitMergerFinished, [&](bool ok) { failed = failed || !ok; });
    driver.OnStartToMerger();
    return QTest::qWaitFor([&] { return finished || failed; }, 120000) && !failed ? output : QString();
}

QImage frameAt(const QString &path, double seconds)
{
    const QString png = rstest::scratchDir(QStringLiteral("frames")) +
                        QStringLiteral("/%1.png").arg(qHash(path + QString::number(seconds)));
    QFile::remove(png);
    if (!rstest::MediaFixtures::runFfmpeg({QStringLiteral("-ss"), QString::number(seconds), QStringLiteral("-i"), path,
                                           QStringLiteral("-frames:v"), QStringLiteral("1"), png}))
        return QImage();
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255.0;
    qint64 sum = 0, n = 0;
    for (int y = 0; y < a.height(); y += 2)
        for (int x = 0; x < a.width(); x += 2) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
            n += 3;
        }
    return n ? double(sum) / n : 0.0;
}

QColor meanColor(const QImage &image, const QRect &rect)
{
    qint64 r = 0, g = 0, b = 0, n = 0;
    const QRect area = rect.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

QRect litBox(const QImage &image, int threshold)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > threshold)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace etk
