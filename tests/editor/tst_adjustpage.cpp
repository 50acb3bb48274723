// The Adjust page on a real preview: its buttons, fields and aspect list change the crop record as a user
// expects, the preview shows it, and an encoding join of the same record gives the picture the preview showed.
#include "EditorTestKit.h"
#include "FFprobe.h"
#include "MediaFixtures.h"
#include "QAdjustOperationForm.h"
#include "QIAnyUtil.h"
#include "QVideoEditingSettings.h"
#include "QZTComboBox.h"
#include "TestSupport.h"
#include "VideoLetterbox.h"
#include "WindowInput.h"
#include "ZTPlayerManager.h"

#include "AttributeSetting.h"
#include "QConverterOperate.h"
#include "QNewConvertObject.h"
#include "ZtVideoConvertItem.h"

#include <QJsonObject>
#include <QListWidget>
#include <QSignalSpy>

namespace {

VECropSettings cropOf(QVideoEditingSettings *m)
{
    return etk::sectionOf(m, &QVideoEditingSettings::getCropSettings);
}

} // namespace

class TestAdjustPage : public QObject
{
    Q_OBJECT
private:
    struct Page : etk::PageRig<QAdjustOperationForm>
    {
        Page(const VEEditConfig &config = VEEditConfig()) : PageRig(etk::patternClip(), config, QSize(843, 143)) {}
        VECropSettings crop() { return cropOf(preview.model.get()); }
    };

private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }

    void turnsAndFlips_data()
    {
        QTest::addColumn<QString>("clicks"); // R clockwise, L anticlockwise, H flip horizontal, V flip vertical
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("mirror");
        QTest::newRow("four clockwise") << "RRRR" << 0 << 0;
        QTest::newRow("one clockwise") << "R" << 90 << 0;
        QTest::newRow("one anticlockwise") << "L" << 270 << 0;
        QTest::newRow("mirrored clockwise") << "HR" << 270 << 1;
        QTest::newRow("mirrored clockwise twice") << "HRR" << 180 << 1;
        QTest::newRow("flip h then v") << "HV" << 180 << 0;
        QTest::newRow("flip v twice") << "VV" << 0 << 0;
    }

    void turnsAndFlips()
    {
        QFETCH(QString, clicks);
        Page p;
        for (QChar c : clicks) {
            QWidget *b = c == 'R'   ? p.page.m_btnRotate_R_90
                         : c == 'L' ? p.page.m_btnRotate_L_90
                         : c == 'H' ? p.page.m_btnFlipH
                                    : p.page.m_btnFlipV;
            rstest::clickAt(b);
        }
        QTEST(p.crop().rotation, "rotation");
        QTEST(p.crop().mirror, "mirror");
        VECropSettings applied;
        p.preview.player->getCropSettings(applied);
        QCOMPARE(applied.rotation, p.crop().rotation);
    }

    void rotationShowsInThePreview()
    {
        Page p;
        const QImage before = p.preview.grab();
        rstest::clickAt(p.page.m_btnRotate_R_90);
        const QImage after = p.preview.grab();
        QVERIFY(!before.isNull() && !after.isNull());
        QVERIFY2(etk::meanDifference(before, after) > 20, "the turn does not show");
        etk::saveGallery(&p.page, QStringLiteral("QAdjustOperationForm"));
    }

    // Typing a width commits it after the pause, raised to the smallest box; the preview answers in the fields.
    void typedWidthIsCommitted()
    {
        Page p;
        QCOMPARE(p.page.m_leCropArea_W->text(), QStringLiteral("320"));
        QCOMPARE(p.page.m_leCropArea_H->text(), QStringLiteral("240"));
        const QImage before = p.preview.grab();
        etk::typeInto(p.page.m_leCropArea_W, QStringLiteral("160"));
        QCOMPARE(p.crop().cropRect.width, 1.0); // not before the pause
        QTRY_COMPARE_WITH_TIMEOUT(p.crop().cropRect.width, 0.5, 4000);
        QCOMPARE(p.page.m_leCropArea_W->text(), QStringLiteral("160"));
        QVERIFY(etk::meanDifference(before, p.preview.grab()) > 10);
        // OK right after typing commits at once.
        etk::typeInto(p.page.m_leCropArea_H, QStringLiteral("120"));
        p.page.saveEditingSettings();
        QCOMPARE(p.crop().cropRect.height, 0.5);
    }

    // OK without typing writes nothing: under pan-scan the fields show the pan-scan size, which used to be
    // written into the crop.
    void okWithoutTypingChangesNothing()
    {
        VEEditConfig config;
        config.crop.cropRect = VERect{0.1, 0.1, 0.5, 0.5};
        Page p(config);
        p.page.setAspectRatio(5); // Pan Scan
        const VECropSettings before = p.crop();
        QSignalSpy pushed(p.preview.player.get(), &ZTPlayerManager::emitCropAreaChange);
        p.page.saveEditingSettings();
        QCOMPARE(pushed.count(), 0);
        QCOMPARE(p.crop().cropRect, before.cropRect);
    }

    // Without a picture there is nothing to divide by: a typed size is not committed (no NaN crop).
    void noVideoSizeNoCommit()
    {
        QVideoEditingSettings model; // no controller: video size 0 x 0
        QAdjustOperationForm page(&model);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        etk::typeInto(page.m_leCropArea_W, QStringLiteral("200"));
        page.saveEditingSettings();
        VECropSettings s = cropOf(&model);
        QCOMPARE(s.cropRect, VERect());
    }

    void croppedSide_data()
    {
        QTest::addColumn<unsigned>("side");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<int>("expected");
        QTest::newRow("half of 1920") << 1920u << 0.5 << 960;
        QTest::newRow("whole") << 320u << 1.0 << 320;
        QTest::newRow("tiny video") << 1u << 1.0 << 2;
        QTest::newRow("odd result made even") << 320u << 0.3 << 96;
        QTest::newRow("above one clamped") << 240u << 1.7 << 240;
    }

    void croppedSide()
    {
        QFETCH(unsigned, side);
        QFETCH(double, fraction);
        QTEST(QAdjustOperationForm::croppedSide(side, fraction), "expected");
    }

    void aspectChoices_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("panScan");
        QTest::addColumn<QSize>("display");
        QTest::newRow("Original Display") << 0 << 0 << 0 << QSize(0, 0);
        QTest::newRow("Original Resolution") << 1 << 1 << 0 << QSize(320, 240);
        QTest::newRow("Full Screen") << 2 << 2 << 0 << QSize(320, 240);
        QTest::newRow("16:9") << 3 << 3 << 0 << QSize(16, 9);
        QTest::newRow("4:3") << 4 << 4 << 0 << QSize(4, 3);
        QTest::newRow("Pan Scan") << 5 << 0 << 1 << QSize(0, 0);
    }

    void aspectChoices()
    {
        QFETCH(int, index);
        Page p;
        p.page.setAspectRatio(index == 0 ? 3 : 0);
        p.page.setAspectRatio(index);
        QTEST(p.crop().aspectMode, "mode");
        QTEST(p.crop().panScan, "panScan");
        QTEST(QSize(p.crop().aspectWidth, p.crop().aspectHeight), "display");
        if (index == 3) {
            etk::saveGallery(&p.page, QStringLiteral("QAdjustOperationForm-16x9"));
            rstest::clickAt(p.page.m_buttonFrom->m_btnReset);
            QCOMPARE(p.page.m_cbbAspectRatio->currentIndex(), 0);
            QVERIFY(p.crop() == VECropSettings());
        }
    }

    // The record the page made, joined in the encoding mode, gives the picture the preview showed.
    void previewEqualsOutput()
    {
        VEEditConfig config;
        config.crop.cropRect = VERect{0.25, 0.125, 0.5, 0.75};
        Page p(config);
        rstest::clickAt(p.page.m_btnRotate_R_90);
        rstest::clickAt(p.page.m_btnFlipH);
        const QImage shown = p.preview.grab(0.5);
        QVERIFY(!shown.isNull());
        VEEditConfig edited;
        p.preview.model->getEditConfig(edited);
        QCOMPARE(edited.crop.rotation, 90);
        QCOMPARE(edited.crop.mirror, 1);
        const QString output = etk::encodeWithEdits(etk::patternClip(), edited, QStringLiteral("adjust"));
        QVERIFY2(!output.isEmpty(), "the encoding join failed");
        const QJsonObject v = rstest::FFprobe::streams(output, QStringLiteral("video")).first().toObject();
        QCOMPARE(QSize(v.value("width").toInt(), v.value("height").toInt()), QSize(320, 240));
        const QImage written = etk::frameAt(output, 2.0);
        QVERIFY(!written.isNull());
        // The preview is the turned picture alone (180x160 of the clip's pixels); the output pads it to its own
        // shape, with bars at both sides.
        QVERIFY2(qAbs(double(shown.width()) / shown.height() - 180.0 / 160.0) < 0.02,
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        const QRect picture = letterboxVideoRect(shown.width(), shown.height(), written.width(), written.height());
        const QImage compared = shown.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shown.save(rstest::buildDir() + QStringLiteral("/gallery/QAdjustOperationForm-preview.png"));
        written.save(rstest::buildDir() + QStringLiteral("/gallery/QAdjustOperationForm-output.png"));
        const double d = etk::meanDifference(compared, written.copy(picture));
        QVERIFY2(d < 12, qPrintable(QStringLiteral("preview and output differ by %1").arg(d)));
        QVERIFY(qGray(written.pixel(5, 120)) < 30);
        QVERIFY(qGray(written.pixel(314, 120)) < 30);
    }

    // At "Original Resolution" a typed crop size keeps the picture's shape, as a drag of the crop box does: the
    // display size follows the crop (it stayed 1280x720, and a square crop was shown and joined at 16:9).
    void typedSizeAtOriginalResolution_data()
    {
        QTest::addColumn<bool>("width"); // the field typed into: width, else height
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("display");
        QTest::newRow("720 x 720") << true << "720" << QSize(720, 720);
        QTest::newRow("1280 x 360") << false << "360" << QSize(1280, 360);
    }

    void typedSizeAtOriginalResolution()
    {
        QFETCH(bool, width);
        QFETCH(QString, text);
        QFETCH(QSize, display);
        const QString clip = etk::greyClip(QSize(1280, 720));
        etk::PageRig<QAdjustOperationForm> p(clip, VEEditConfig(), QSize(843, 143));
        QVERIFY(p.exposed);
        QZTComboBox *list = p.page.m_cbbAspectRatio;
        rstest::clickAt(list);
        QTRY_VERIFY_WITH_TIMEOUT(list->rowView()->window()->isVisible(), rstest::kHangBoundMs);
        rstest::clickAt(list->rowAt(1));
        QTRY_COMPARE_WITH_TIMEOUT(cropOf(p.preview.model.get()).aspectMode, 1, rstest::kHangBoundMs);

        QLineEdit *field = width ? p.page.m_leCropArea_W : p.page.m_leCropArea_H;
        rstest::xTypeInto(field, text);
        QTRY_COMPARE_WITH_TIMEOUT(field->text(), text, rstest::kHangBoundMs);
        const double fraction = text.toDouble() / (width ? 1280 : 720);
        QTRY_COMPARE_WITH_TIMEOUT(width ? cropOf(p.preview.model.get()).cropRect.width
                                        : cropOf(p.preview.model.get()).cropRect.height,
                                  fraction, 4000);
        VEEditConfig edited;
        p.preview.model->getEditConfig(edited);
        QCOMPARE(QSize(edited.crop.aspectWidth, edited.crop.aspectHeight), display);

        const double shape = double(display.width()) / display.height();
        const QImage shown = p.preview.grab();
        QVERIFY(!shown.isNull());
        QVERIFY2(qAbs(double(shown.width()) / shown.height() / shape - 1) < 0.03,
                 qPrintable(QStringLiteral("preview %1x%2").arg(shown.width()).arg(shown.height())));
        const QString output = etk::encodeWithEdits(clip, edited, QStringLiteral("typed_") + text);
        QVERIFY2(!output.isEmpty(), "the encoding join failed");
        const QRect picture = etk::litBox(etk::frameAt(output, 2.0));
        QVERIFY2(qAbs(double(picture.width()) / picture.height() / shape - 1) < 0.05,
                 qPrintable(QStringLiteral("joined %1x%2").arg(picture.width()).arg(picture.height())));
    }

    void loadingPanScanSelectsIt()
    {
        VEEditConfig config;
        config.crop.panScan = 1;
        config.crop.aspectWidth = 16;
        config.crop.aspectHeight = 9;
        Page p(config);
        QCOMPARE(p.page.m_cbbAspectRatio->currentIndex(), 5);
        QCOMPARE(p.crop().aspectMode, 0);
        QCOMPARE(QSize(p.crop().aspectWidth, p.crop().aspectHeight), QSize(0, 0));
        QCOMPARE(p.page.m_lblOriginalSizeValue->text(), QStringLiteral("320 x 240"));
    }
};

RS_TEST_MAIN(TestAdjustPage)
#include "tst_adjustpage.moc"
