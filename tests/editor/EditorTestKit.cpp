#include "EditorTestKit.h"

#include "MediaFixtures.h"
#include "QMediaElementWindow.h"
#include "QVideoEditingSettings.h"
#include "TestSupport.h"
#include "ZTPlayerManager.h"

#include <QDir>
#include <QWidget>
#include <QtTest>

namespace etk {

void saveGallery(QWidget *w, const QString &name)
{
    const QString dir = rstest::buildDir() + QStringLiteral("/gallery");
    QDir().mkpath(dir);
    const QImage image = w->grab().toImage();
    QVERIFY2(!image.isNull(), qPrintable(name));
    QVERIFY(image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
}

QString patternClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("editor_pattern.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 128k -shortest")
             .split(QLatin1Char(' '))});
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

} // namespace etk
