// The editor's Effect page driven as a user would, on a generated clip with the real preview: colour
// values typed and slid (the hue and contrast over their whole travel), an effect and a frame package picked from the
// lists (the first one included), Reset, and the picture each package gives in the preview and in an encoding join.

#include "EditorTestKit.h"
#include "FFprobe.h"
#include "QEffectOperationForm.h"
#include "QFrameChunk.h"
#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "QVideoEditTag.h"
#include "QVideoEditingSettings.h"
#include "QZTBaseButton.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QJsonObject>
#include <QSignalSpy>

Q_DECLARE_METATYPE(VERect)
Q_DECLARE_METATYPE(FrameInfoItem)

namespace {

VEVideoEffectSettings effectOf(QVideoEditingSettings *m)
{
    return etk::sectionOf(m, &QVideoEditingSettings::getEffectSettings);
}

FrameInfoItem item(int w, int h, const char *name = "p.png")
{
    FrameInfoItem i;
    i.fileName = QLatin1String(name);
    i.width = w;
    i.height = h;
    return i;
}

// A click on a slider's track at a fraction of its length, as a user sets it there.
void clickSliderAt(QZTBaseSlider *slider, double fraction)
{
    const int length = slider->width() - slider->getTLOffset() - slider->getRBOffset();
    rstest::clickAt(slider, QPoint(slider->getTLOffset() + qRound(length * fraction), slider->height() / 2));
}

// Hue degrees between two colours' hues, either way round the wheel.
int hueDistance(int a, int b)
{
    const int d = qAbs(a - b) % 360;
    return qMin(d, 360 - d);
}

void clickTile(QHorizontalListFrom *list, int index)
{
    QWidget *tile = list->item(index);
    rstest::clickAt(tile);
}

// The page bound to a model without a preview: enough for what the page stores.
struct Bare
{
    QVideoEditingSettings model;
    QEffectOperationForm page;
    explicit Bare(const VEVideoEffectSettings &stored = VEVideoEffectSettings())
    {
        VEVideoEffectSettings s = stored;
        model.setEffectSettings(s);
        page.setEditSettings(&model);
        page.resize(965, 281);
        page.show();
    }
};

// The page on the real preview of the test pattern (320 x 240).
struct Live
{
    etk::Preview preview;
    QEffectOperationForm page;
    bool open(const VEEditConfig &config = VEEditConfig(), const QString &clip = etk::patternClip())
    {
        if (!preview.open(clip, config))
            return false;
        page.setEditSettings(preview.model.get());
        page.resize(965, 281);
        page.move(0, 300);
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }
};

} // namespace

class TestEffectPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }

    void sliderPositionToValue_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<int>("value");
        QTest::newRow("just above the middle band") << 0.505 << 100;
        QTest::newRow("just below it") << 0.495 << 100;
        QTest::newRow("band edge above") << 0.51 << 102;
        QTest::newRow("band edge below") << 0.49 << 98;
        QTest::newRow("left end") << 0.0 << 0;
        QTest::newRow("right end") << 1.0 << 200;
    }
    void sliderPositionToValue()
    {
        QFETCH(double, fraction);
        QTEST(getTextValue(fraction), "value");
    }

    // Typing in a number field stores the value in the record's own unit.
    void typedValuesAreStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<int>("saturation");
        QTest::addColumn<int>("hue");
        QTest::addColumn<int>("slider");
        QTest::newRow("top of the scale") << "200"
                                          << "200" << 254 << 300 << 200 << 180 << 200;
        QTest::newRow("above it is capped") << "250"
                                            << "250" << 254 << 300 << 200 << 180 << 200;
        QTest::newRow("bottom") << "0"
                                << "0" << -254 << 0 << 0 << -180 << 0;
        QTest::newRow("leading zero dropped") << "050"
                                              << "50" << -127 << 50 << 50 << -90 << 50;
        QTest::newRow("one above neutral") << "101"
                                           << "101" << 2 << 102 << 101 << 1 << 101;
    }
    void typedValuesAreStored()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, slider);
        Bare b;
        QEffectOperationForm &p = b.page;
        const QList<QPair<QZTLineEdit *, QZTBaseSlider *>> fields = {{p.m_leBrightnessValue, p.m_sliderBrightness},
                                                                     {p.m_leConstrastValue, p.m_sliderContrast},
                                                                     {p.m_leSaturationValue, p.m_sliderSaturation},
                                                                     {p.m_leHueValue, p.m_sliderHue}};
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        for (const auto &f : fields) {
            etk::typeInto(f.first, QString());
            rstest::keyClick(f.first, Qt::Key_Backspace);
            QCOMPARE(f.first->text(), QStringLiteral("0")); // an emptied field shows 0
            etk::typeInto(f.first, typed);
            QCOMPARE(f.first->text(), shown);
            QCOMPARE(int(f.second->value()), slider);
        }
        const VEVideoEffectSettings s = effectOf(&b.model);
        QTEST(s.brightness, "brightness");
        QTEST(s.contrast, "contrast");
        QTEST(s.saturation, "saturation");
        QTEST(s.hue, "hue");
    }

    void storedValuesLoad_data()
    {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<int>("hue");
        QTest::addColumn<int>("brightnessSlider");
        QTest::addColumn<int>("contrastSlider");
        QTest::addColumn<int>("hueSlider");
        QTest::newRow("largest") << 255 << 300 << 180 << 200 << 200 << 200;
        QTest::newRow("smallest") << -255 << 0 << -180 << 0 << 0 << 0;
        QTest::newRow("one step above neutral") << 2 << 101 << 1 << 100 << 100 << 100;
        QTest::newRow("neutral") << 0 << 100 << 0 << 100 << 100 << 100;
    }
    void storedValuesLoad()
    {
        VEVideoEffectSettings s;
        QFETCH(int, brightness);
        QFETCH(int, contrast);
        QFETCH(int, hue);
        s.brightness = brightness;
        s.contrast = contrast;
        s.hue = hue;
        Bare b(s);
        QFETCH(int, brightnessSlider);
        QFETCH(int, contrastSlider);
        QFETCH(int, hueSlider);
        QCOMPARE(int(b.page.m_sliderBrightness->value()), brightnessSlider);
        QCOMPARE(b.page.m_leBrightnessValue->text(), QString::number(brightnessSlider));
        QCOMPARE(int(b.page.m_sliderContrast->value()), contrastSlider);
        QCOMPARE(int(b.page.m_sliderHue->value()), hueSlider);
        QCOMPARE(b.page.m_leHueValue->text(), QString::number(hueSlider));
        QCOMPARE(effectOf(&b.model), s); // loading writes nothing back
    }

    void slidingChangesOnlyWhatMoved()
    {
        Bare b;
        QZTBaseSlider *s = b.page.m_sliderSaturation;
        // A press in the middle band is the neutral value: nothing changes.
        QVERIFY(QTest::qWaitForWindowExposed(&b.page));
        rstest::clickAt(s);
        QCOMPARE(effectOf(&b.model), VEVideoEffectSettings());
        rstest::clickAt(s, QPoint(s->width() * 9 / 10, s->height() / 2));
        const int shown = b.page.m_leSaturationValue->text().toInt();
        QVERIFY2(shown > 150 && shown <= 200, qPrintable(QString::number(shown)));
        const VEVideoEffectSettings after = effectOf(&b.model);
        QCOMPARE(after.saturation, shown);
        QCOMPARE(after.brightness, 0);
        QCOMPARE(after.contrast, 100);
    }

    // Every part of a colour slider's travel shows in the preview and in the join: the hue turns by the degrees
    // the page stores, back as well as on, and contrast keeps rising up to the slider's end.
    void slidersWorkToTheirEnds_data()
    {
        QTest::addColumn<bool>("hue");     // else contrast
        QTest::addColumn<double>("from");  // where the slider is first
        QTest::addColumn<double>("to");    // where it is set then: the picture changes
        QTest::addColumn<int>("turnedTo"); // the red clip's hue then, -1 unchecked
        QTest::newRow("hue a quarter turn back") << true << 0.5 << 0.25 << 270;
        QTest::newRow("hue a quarter turn on") << true << 0.5 << 0.75 << 90;
        QTest::newRow("hue at the left end") << true << 0.5 << 0.0 << 180;
        QTest::newRow("contrast from three quarters to the end") << false << 0.75 << 1.0 << -1;
    }
    void slidersWorkToTheirEnds()
    {
        QFETCH(bool, hue);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, turnedTo);
        const QString clip = etk::colourClip(QColor(192, 32, 32));
        Live l;
        QVERIFY(l.open(VEEditConfig(), clip));
        QZTBaseSlider *slider = hue ? l.page.m_sliderHue : l.page.m_sliderContrast;
        if (from != 0.5)
            clickSliderAt(slider, from);
        const QImage before = l.preview.grab();
        clickSliderAt(slider, to);
        const QImage after = l.preview.grab();
        VEEditConfig edited;
        l.preview.model->getEditConfig(edited);
        const QColor shown = etk::meanColor(after, after.rect());
        QString where;
        QDebug(&where) << "hue" << edited.videoEffect.hue << "contrast" << edited.videoEffect.contrast << "shown"
                       << shown.name() << "hue" << shown.hsvHue() << "before"
                       << etk::meanColor(before, before.rect()).name();
        QVERIFY2(etk::meanDifference(before, after) > 8, qPrintable(where));
        if (turnedTo >= 0)
            QVERIFY2(hueDistance(shown.hsvHue(), turnedTo) <= 30, qPrintable(where));

        const QString output = etk::encodeWithEdits(clip, edited, QStringLiteral("effect_slider"));
        QVERIFY2(!output.isEmpty(), "the encoding join failed");
        const QImage written = etk::frameAt(output, 2.0);
        const QColor joined = etk::meanColor(written, written.rect());
        QDebug(&where) << "joined" << joined.name();
        const int apart = qAbs(joined.red() - shown.red()) + qAbs(joined.green() - shown.green()) +
                          qAbs(joined.blue() - shown.blue());
        QVERIFY2(apart < 24, qPrintable(where));
    }

    void pictureChoice_data()
    {
        QTest::addColumn<QList<FrameInfoItem>>("items");
        QTest::addColumn<QSize>("clip");
        QTest::addColumn<int>("best");
        QTest::addColumn<VERect>("rect");
        using L = QList<FrameInfoItem>;
        QTest::newRow("16:9 clip takes the 16:9 picture")
            << L{item(4, 3), item(16, 9)} << QSize(1920, 1080) << 1 << VERect{0, 0, 1, 1};
        QTest::newRow("4:3 picture covers a 16:9 clip")
            << L{item(4, 3)} << QSize(1920, 1080) << 0 << VERect{0, 0.125, 1, 0.75};
        QTest::newRow("wide picture covers a 16:9 clip")
            << L{item(2560, 1080)} << QSize(1920, 1080) << 0 << VERect{0.125, 0, 0.75, 1};
        QTest::newRow("tie keeps the earlier")
            << L{item(3, 2), item(2, 1)} << QSize(1750, 1000) << 0 << VERect{0, 83.0 / 1166, 1, 1000.0 / 1166};
        QTest::newRow("exact match later wins")
            << L{item(16, 9), item(32, 18)} << QSize(1920, 1080) << 1 << VERect{0, 0, 1, 1};
        QTest::newRow("entry without a size is skipped")
            << L{item(0, 9), item(4, 3)} << QSize(1920, 1080) << 1 << VERect{0, 0.125, 1, 0.75};
        QTest::newRow("no entry with a size") << L{item(16, 0), item(0, 0)} << QSize(1920, 1080) << -1 << VERect{};
        QTest::newRow("clip without a size keeps the whole picture")
            << L{item(4, 3), item(16, 9)} << QSize(0, 0) << 0 << VERect{0, 0, 1, 1};
    }
    void pictureChoice()
    {
        QFETCH(QList<FrameInfoItem>, items);
        QFETCH(QSize, clip);
        QFETCH(int, best);
        QFETCH(VERect, rect);
        QCOMPARE(QEffectOperationForm::choosePicture(items, clip), best);
        if (best < 0)
            return;
        const VERect r = QEffectOperationForm::coverRect(items[best], clip);
        QVERIFY(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height));
        QVERIFY2(qAbs(r.x - rect.x) < 1e-9 && qAbs(r.y - rect.y) < 1e-9 && qAbs(r.width - rect.width) < 1e-9 &&
                     qAbs(r.height - rect.height) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2 %3 %4").arg(r.x).arg(r.y).arg(r.width).arg(r.height)));
    }

    // A clip without an effect marks no tile, so the first package can be picked like any other.
    void firstEffectPackageApplies()
    {
        Live l;
        QVERIFY(l.open());
        QCOMPARE(l.page.m_effectsList->currentItem(), nullptr);
        QVERIFY(l.page.m_effectsList->isVisible());
        QVERIFY(!l.page.m_frameList->isVisible());
        QVERIFY(l.page.m_effectsList->count() >= 6);
        const QImage before = l.preview.grab();
        clickTile(l.page.m_effectsList, 0);
        VEWatermarkSettings overlay;
        l.preview.model->getVideoEffectWkSettings(overlay);
        // The pattern is 4:3: the 4:3 picture of the first package, covering the whole frame.
        QVERIFY2(overlay.image.imagePath.endsWith("/4x3.png"), overlay.image.imagePath.constData());
        QCOMPARE(overlay.packageIndex, 0);
        QCOMPARE(overlay.image.cropRect, (VERect{0, 0, 1, 1}));
        const QImage after = l.preview.grab();
        const double d = etk::meanDifference(before, after);
        QVERIFY2(d > 3, qPrintable(QString::number(d)));
        // A vignette darkens the corners more than the centre.
        const QRect corner(0, 0, 40, 30), centre(140, 105, 40, 30);
        const double cornerDrop =
            qGray(etk::meanColor(before, corner).rgb()) - qGray(etk::meanColor(after, corner).rgb());
        const double centreDrop =
            qGray(etk::meanColor(before, centre).rgb()) - qGray(etk::meanColor(after, centre).rgb());
        QVERIFY2(cornerDrop > centreDrop + 10, qPrintable(QStringLiteral("%1 %2").arg(cornerDrop).arg(centreDrop)));
        etk::saveGallery(&l.page, QStringLiteral("QEffectOperationForm"));
    }

    void framePackageShowsAndMatchesTheOutput()
    {
        Live l;
        QVERIFY(l.open());
        rstest::clickAt(l.page.m_effectTag->button(1));
        QVERIFY(l.page.m_frameList->isVisible());
        QVERIFY(!l.page.m_effectsList->isVisible());
        const QImage before = l.preview.grab();
        clickTile(l.page.m_frameList, 0);
        VEWatermarkSettings overlay;
        l.preview.model->getFrameWkSettings(overlay);
        QVERIFY(overlay.image.imagePath.contains("/VideoFrames/"));
        QCOMPARE(overlay.packageIndex, 0);
        const QImage shown = l.preview.grab();
        // The thin white border lies along the picture's edges, the middle stays as it was.
        const QRect middle(120, 90, 80, 60);
        QVERIFY(etk::meanDifference(before.copy(middle), shown.copy(middle)) < 4);
        QVERIFY(etk::meanDifference(before.copy(0, 0, 320, 6), shown.copy(0, 0, 320, 6)) > 20);
        etk::saveGallery(&l.page, QStringLiteral("QEffectOperationForm-frame"));

        VEEditConfig edited;
        l.preview.model->getEditConfig(edited);
        const QString output = etk::encodeWithEdits(etk::patternClip(), edited, QStringLiteral("effect_frame"));
        QVERIFY2(!output.isEmpty(), "the encoding join failed");
        const QImage written = etk::frameAt(output, 2.0);
        QVERIFY(!written.isNull());
        const QImage compared = shown.scaled(written.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double d = etk::meanDifference(compared, written);
        QVERIFY2(d < 12, qPrintable(QStringLiteral("preview and output differ by %1").arg(d)));
        QVERIFY(etk::meanDifference(compared.copy(0, 0, 320, 6), written.copy(0, 0, 320, 6)) < 20);
    }

    void resetClearsEverything()
    {
        VEEditConfig config;
        config.videoEffect.brightness = 51;
        Live l;
        QVERIFY(l.open(config));
        QCOMPARE(l.page.m_leBrightnessValue->text(), QStringLiteral("120"));
        clickTile(l.page.m_effectsList, 2);
        rstest::clickAt(l.page.m_effectTag->button(1));
        clickTile(l.page.m_frameList, 1);
        rstest::clickAt(l.page.m_buttonFrom->m_btnReset);
        VEEditConfig after;
        l.preview.model->getEditConfig(after);
        QCOMPARE(after.videoEffect, VEVideoEffectSettings());
        QVERIFY(after.effectOverlay.image.imagePath.isEmpty());
        QVERIFY(after.frameOverlay.image.imagePath.isEmpty());
        QCOMPARE(after.effectOverlay.packageIndex, 0);
        QCOMPARE(l.page.m_effectsList->currentItem(), nullptr);
        QCOMPARE(l.page.m_frameList->currentItem(), nullptr);
        QVERIFY(l.page.m_effectsList->isVisible() && !l.page.m_frameList->isVisible());
        for (QZTBaseSlider *s :
             {l.page.m_sliderBrightness, l.page.m_sliderContrast, l.page.m_sliderSaturation, l.page.m_sliderHue})
            QCOMPARE(int(s->value()), 100);
        // The first package can be picked again right after the reset.
        clickTile(l.page.m_effectsList, 0);
        l.preview.model->getEditConfig(after);
        QVERIFY(!after.effectOverlay.image.imagePath.isEmpty());
    }

    void loadingMarksTheAppliedPackages()
    {
        VEEditConfig config;
        Live first;
        QVERIFY(first.open());
        clickTile(first.page.m_effectsList, 3);
        first.preview.model->getEditConfig(config);
        Live again;
        QVERIFY(again.open(config));
        QCOMPARE(again.page.m_effectsList->getCurrentIndex(), 3);
        QCOMPARE(again.page.m_frameList->currentItem(), nullptr);
        QSignalSpy changed(again.page.m_effectsList, &QHorizontalListFrom::currentIndexChanged);
        clickTile(again.page.m_effectsList, 3); // the applied tile: nothing new
        QCOMPARE(changed.count(), 0);
    }
};

RS_TEST_MAIN(TestEffectPage)
#include "tst_effectpage.moc"
