// The shipped effect and frame packages on a real preview: each one's picture is laid over the clip as the
// Effect page lays it (the picture nearest the clip's shape, its own blend), changes the picture visibly, and
// an encoding join of the same record shows the same.
#include "EditorTestKit.h"
#include "QFrameChunkManager.h"
#include "QIAnyUtil.h"
#include "QVideoEditingSettings.h"
#include "QVideoEffectManager.h"
#include "TestSupport.h"

namespace {

// The package's picture for a 4:3 clip: the item whose shape is 4:3.
const FrameInfoItem *fourThree(const QFrameChunk *c)
{
    for (const FrameInfoItem &item : c->frameInfoList)
        if (item.width * 3 == item.height * 4)
            return &item;
    return nullptr;
}

} // namespace

class TestPackages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }

    void packageShows_data()
    {
        QTest::addColumn<bool>("frame");
        QTest::addColumn<int>("index");
        for (int i = 0; i < 6; ++i) {
            QTest::addRow("effect %d", i) << false << i;
            QTest::addRow("frame %d", i) << true << i;
        }
    }

    void packageShows()
    {
        QFETCH(bool, frame);
        QFETCH(int, index);
        QVideoEffectManager effects;
        QFrameChunkManager frames;
        const QFrameChunk *chunk = frame ? frames.getFrameChunk(index) : effects.getFrameChunk(index);
        QVERIFY(chunk);
        const FrameInfoItem *item = fourThree(chunk);
        QVERIFY(item);

        etk::Preview p;
        QVERIFY(p.open(etk::greyClip()));
        p.grab(0.5);
        const QImage plain = p.grab(0.5); // the settled picture
        VEWatermarkSettings overlay;
        frame ? p.model->getFrameWkSettings(overlay) : p.model->getVideoEffectWkSettings(overlay);
        overlay.image.imagePath = (chunk->folder + QLatin1Char('/') + item->fileName).toUtf8();
        overlay.image.mixMode = static_cast<quint32>(item->type);
        overlay.packageIndex = index;
        frame ? p.model->setFrameWkSettings(overlay) : p.model->setVideoEffectWkSettings(overlay);
        const QImage shown = p.grab(0.5);
        const double change = etk::meanDifference(plain, shown);
        QVERIFY2(change > 2.0, qPrintable(QStringLiteral("%1 changes the picture by %2").arg(chunk->name).arg(change)));
        shown.save(
            rstest::buildDir() +
            QStringLiteral("/gallery/%1-%2.png").arg(frame ? "QFrameChunkManager" : "QVideoEffectManager").arg(index));

        // The output of the same record: the picture the preview showed.
        if (index % 3 != 0)
            return; // two of each kind are joined for real; the pipeline is the same for all
        VEEditConfig edited;
        p.model->getEditConfig(edited);
        const QString output = etk::encodeWithEdits(etk::greyClip(), edited, QStringLiteral("package"));
        QVERIFY2(!output.isEmpty(), "the encoding join failed");
        const QImage written = etk::frameAt(output, 2.0);
        const double d = etk::meanDifference(shown.scaled(written.size()), written);
        QVERIFY2(d < 12, qPrintable(QStringLiteral("preview and output differ by %1").arg(d)));
    }
};

RS_TEST_MAIN(TestPackages)
#include "tst_packages.moc"
