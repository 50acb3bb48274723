// The edit model over the real preview controller and player: what the editor's pages and loading worker
// rely on.
#include "MediaFixtures.h"
#include "QMediaElementWindow.h"
#include "QVideoEditingSettings.h"
#include "TestSupport.h"
#include "ZTPlayerManager.h"

#include <QImage>
#include <QSignalSpy>
#include <QThread>

namespace {

constexpr quint64 kSec = 1000000ull;

// Four seconds, 320x240, a flat mid grey picture with a tone, so brightness shows everywhere.
QString greyClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("editmodel_grey.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=0x808080:s=320x240:r=25:d=4 "
                             "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

int meanGrey(const QImage &image)
{
    qint64 sum = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            sum += qGray(image.pixel(x, y));
    const int n = ((image.height() + 3) / 4) * ((image.width() + 3) / 4);
    return n ? int(sum / n) : 0;
}

QImage capture(ZTPlayerManager &m, const QString &name)
{
    const QString path = rstest::scratchDir(QStringLiteral("editmodel")) + QLatin1Char('/') + name + ".png";
    if (!m.captureImage(path, QStringLiteral("PNG")))
        return QImage();
    return QImage(path);
}

} // namespace

class TestEditSettings : public QObject
{
    Q_OBJECT
private slots:
    // The loading worker hands the record over on its own thread: the model takes it on the GUI thread,
    // whole, and pushes it there; the overlay and background starts follow the trim start.
    void recordFromTheWorkerIsTakenOnTheGuiThread()
    {
        ZTPlayerManager player;
        QMediaElementWindow original, preview;
        player.setMediaOriginalWindow(&original);
        player.setMediaPreviewWindow(&preview);
        QVERIFY(player.setPlayFile(greyClip(), 320, 240, 3));
        QVideoEditingSettings model;
        model.setPlayerManager(&player);

        VEEditConfig config;
        config.trimStart = 1 * kSec;
        config.trimEnd = 3 * kSec;
        config.crop.rotation = 90;
        config.videoEffect.brightness = 60;
        config.audioBackground.filePath = "";
        QThread *worker = QThread::create([&model, &config] { model.setEditConfig(config); });
        worker->start();
        QVERIFY(worker->wait(10000));
        delete worker;
        QCOMPARE(model.getTrimStartTime(), 0ull); // nothing changed behind the GUI thread's back
        QTRY_COMPARE(model.getTrimStartTime(), 1 * kSec);
        VEEditConfig out;
        model.getEditConfig(out);
        QCOMPARE(out.trimEnd, 3 * kSec);
        QCOMPARE(out.watermark.image.showTime.first, 1 * kSec);
        QCOMPARE(out.effectOverlay.image.showTime.first, 1 * kSec);
        QCOMPARE(out.frameOverlay.image.showTime.first, 1 * kSec);
        QCOMPARE(out.audioBackground.showTime.first, 1 * kSec);
        QCOMPARE(out.crop.rotation, 90); // the controller's answer came back into the record
        VECropSettings applied;
        player.getCropSettings(applied);
        QCOMPARE(applied.rotation, 90);
        QCOMPARE(model.getTrimTimeLength(), 2 * kSec);
    }

    // A completion handler that runs before the queued hand-over takes the record at once, and only once.
    void pendingRecordCanBeTakenFirst()
    {
        ZTPlayerManager player;
        QVERIFY(player.setPlayFile(greyClip(), 320, 240, 3));
        QVideoEditingSettings model;
        model.setPlayerManager(&player);
        VEEditConfig config;
        config.crop.rotation = 180;
        QThread *worker = QThread::create([&model, &config] { model.setEditConfig(config); });
        worker->start();
        QVERIFY(worker->wait(10000));
        delete worker;
        QSignalSpy pushed(&player, &ZTPlayerManager::emitCropAreaChange);
        model.flushPendingEditConfig();
        VECropSettings crop;
        model.getCropSettings(crop);
        QCOMPARE(crop.rotation, 180);
        QCOMPARE(pushed.count(), 1);
        QCoreApplication::sendPostedEvents(); // the worker has ended: its queued hand-over finds nothing left
        QCOMPARE(pushed.count(), 1);
    }

    // Binding again, or binding another controller, leaves exactly one connection to the current one.
    void rebindingKeepsOneConnection()
    {
        ZTPlayerManager first, second;
        QVideoEditingSettings model;
        model.setPlayerManager(&first);
        model.setPlayerManager(&first);
        model.setPlayerManager(&second);
        model.setPlayerManager(&second);
        model.setPlayerManager(nullptr); // ignored
        QCOMPARE(model.getPlayerManager(), &second);

        VECropSettings crop;
        crop.rotation = 180;
        emit first.emitCropAreaChange(crop);
        VECropSettings stored;
        model.getCropSettings(stored);
        QCOMPARE(stored.rotation, 0); // the old controller no longer reaches the model
        emit second.emitCropAreaChange(crop);
        model.getCropSettings(stored);
        QCOMPARE(stored.rotation, 180);

        // With the start flag on, one trim report sends one measured watermark update, not two.
        model.setIsWatermarkAudioStartTime(true);
        QSignalSpy measured(&second, &ZTPlayerManager::emitWatermarkRectChange);
        emit second.emitTrimTimeChange(2 * kSec, 0);
        QCOMPARE(measured.count(), 1);
        QCOMPARE(model.getTrimStartTime(), 2 * kSec);
        VEAudioBackgroundSettings background;
        model.getAudioBackgroundSettings(background);
        QCOMPARE(background.showTime.first, 2 * kSec);
    }

    void trimmedLength_data()
    {
        QTest::addColumn<bool>("bound");
        QTest::addColumn<quint64>("start");
        QTest::addColumn<quint64>("end");
        QTest::addColumn<quint64>("expected");
        QTest::newRow("start and end") << true << 2 * kSec << 3 * kSec << 1 * kSec;
        QTest::newRow("to the end") << true << 1 * kSec << 0ull << 3 * kSec;
        QTest::newRow("end equal to start") << true << 1 * kSec << 1 * kSec << 3 * kSec;
        QTest::newRow("start past the end of the media") << true << 6 * kSec << 0ull << 0ull;
        QTest::newRow("start past, end before start") << true << 9 * kSec << 5 * kSec << 0ull;
        QTest::newRow("unbound, to the end") << false << 1 * kSec << 0ull << 0ull;
        QTest::newRow("unbound, start and end") << false << 1 * kSec << 4 * kSec << 3 * kSec;
    }

    void trimmedLength()
    {
        QFETCH(bool, bound);
        QFETCH(quint64, start);
        QFETCH(quint64, end);
        QFETCH(quint64, expected);
        ZTPlayerManager player;
        QVERIFY(player.setPlayFile(greyClip(), 320, 240, 3));
        QVideoEditingSettings model;
        if (bound)
            model.setPlayerManager(&player);
        model.setTrimTimeNoSeekPlayer(start, end);
        QCOMPARE(model.getTrimTimeLength(), expected);
    }

    // Every section the model sends reaches the picture: the preview's grey changes with brightness.
    void brightnessShowsInThePreview()
    {
        ZTPlayerManager player;
        QMediaElementWindow preview;
        player.setMediaPreviewWindow(&preview);
        QVERIFY(player.setPlayFile(greyClip(), 320, 240, 3));
        QVideoEditingSettings model;
        model.setPlayerManager(&player);
        player.progressValueChange(0.5);
        const QImage before = capture(player, QStringLiteral("before"));
        QVERIFY(!before.isNull());
        VEVideoEffectSettings effect;
        model.getEffectSettings(effect);
        effect.brightness = 80;
        model.setEffectSettings(effect);
        const QImage after = capture(player, QStringLiteral("after"));
        QVERIFY(!after.isNull());
        QVERIFY2(meanGrey(after) > meanGrey(before) + 30,
                 qPrintable(QStringLiteral("%1 -> %2").arg(meanGrey(before)).arg(meanGrey(after))));
        // Back to the defaults: the model sends nothing, the next push restores the picture.
        model.setDefaultEffectSettings();
        model.setPlayerManagerSettings();
        const QImage restored = capture(player, QStringLiteral("restored"));
        QVERIFY(qAbs(meanGrey(restored) - meanGrey(before)) < 6);
    }
};

RS_TEST_MAIN(TestEditSettings)
#include "tst_editsettings.moc"
