// The subtitle style and watermark text style dialogs: every change reaches the edit model at once,
// out-of-range stored values are shown clamped and written back once, Reset and the pickers.
#include "EditorTestKit.h"
#include "QIAnyUtil.h"
#include "QSubtitleSettingDlg.h"
#include "QVideoEditingSettings.h"
#include "QWatermartTextSettingDlg.h"
#include "QZTButtonExtend.h"
#include "QZTSpinBox.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QSignalSpy>

#include <memory>

namespace {
VESubtitleSettings subtitleOf(QVideoEditingSettings *m)
{
    return etk::sectionOf(m, &QVideoEditingSettings::getSubtitleSettings);
}

VEWatermarkSettings watermarkOf(QVideoEditingSettings *m)
{
    return etk::sectionOf(m, &QVideoEditingSettings::getWatermarkSettings);
}

// The style fields of either record, for comparisons that hold for both dialogs.
struct Style
{
    QByteArray font;
    quint32 size, bold, color, shadow, outline;
    double shadowOffset, outlineSize, spacingH, spacingV;
};

Style styleOf(QVideoEditingSettings *m, bool subtitle)
{
    if (subtitle) {
        const VESubtitleSettings s = subtitleOf(m);
        return {s.fontName,     s.fontSize,     s.bold,        s.color,    s.shadowColor,
                s.outlineColor, s.shadowOffset, s.outlineSize, s.spacingH, s.spacingV};
    }
    const VEWatermarkTextSettings s = watermarkOf(m).text;
    return {s.fontName,     s.fontSize,     s.bold,        s.color,    s.shadowColor,
            s.outlineColor, s.shadowOffset, s.outlineSize, s.spacingH, s.spacingV};
}

std::unique_ptr<QTextStyleDlg> makeDialog(bool subtitle, QVideoEditingSettings *model)
{
    std::unique_ptr<QTextStyleDlg> d;
    if (subtitle)
        d = std::make_unique<QSubtitleSettingDlg>();
    else
        d = std::make_unique<QWatermartTextSettingDlg>();
    d->setEditSettings(model);
    return d;
}

template <class T> T *child(QWidget *dlg, const char *name)
{
    return dlg->findChild<T *>(QLatin1String(name));
}

void typeInto(QZTDoubleSpinBox *spin, const QString &text)
{
    etk::typeInto(spin, text);
    rstest::keyClick(spin, Qt::Key_Enter);
}
} // namespace

class TestStyleDlg : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void cleanup()
    {
        QTextStyleDlg::setFontPickerForTesting(nullptr);
        QTextStyleDlg::setColorPickerForTesting(nullptr);
    }

    void opensWithTheRecord_data()
    {
        QTest::addColumn<bool>("subtitle");
        QTest::newRow("subtitle") << true;
        QTest::newRow("watermark text") << false;
    }
    void opensWithTheRecord()
    {
        QFETCH(bool, subtitle);
        etk::Preview p;
        QVERIFY(p.open(etk::patternClip()));
        const VEEditConfig before = [&] {
            VEEditConfig c;
            p.model->getEditConfig(c);
            return c;
        }();
        auto dlg = makeDialog(subtitle, p.model.get());
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QCOMPARE(dlg->size(), QSize(516, 348));
        QCOMPARE(child<QZTBaseButton>(dlg.get(), "m_btnFont")->text(), QStringLiteral("Default"));
        QCOMPARE(child<QZTBaseButton>(dlg.get(), "m_btnFont")->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(child<QZTButtonExtend>(dlg.get(), "m_btnTextColor")->iconColor(), QColor(255, 255, 255, 255));
        QCOMPARE(child<QZTButtonExtend>(dlg.get(), "m_btnOutlineColor")->iconColor(), QColor(0, 0, 0, 255));
        QCOMPARE(child<QZTButtonExtend>(dlg.get(), "m_btnShadowColor")->iconColor(), QColor(0, 0, 0, 128));
        QCOMPARE(child<QZTDoubleSpinBox>(dlg.get(), "m_dspShadowOff")->text(), QStringLiteral("0.50"));
        QCOMPARE(child<QZTDoubleSpinBox>(dlg.get(), "m_dspOutlineSize")->text(), QStringLiteral("1.00"));
        QCOMPARE(child<QZTDoubleSpinBox>(dlg.get(), "m_dspSpacingH")->text(), QStringLiteral("0.00"));
        // Opening writes nothing.
        VEEditConfig after;
        p.model->getEditConfig(after);
        QVERIFY(after == before);
        // The rows as laid out.
        QCOMPARE(child<QLabel>(dlg.get(), "m_lblFontColor")->pos(), QPoint(38, 57));
        QCOMPARE(child<QZTDoubleSpinBox>(dlg.get(), "m_dspSpacingV")->pos(), QPoint(390, 197));
        QCOMPARE(child<QZTBaseButton>(dlg.get(), "m_btnReset")->pos(), QPoint(390, 242));
        QCOMPARE(child<QZTBaseButton>(dlg.get(), "m_btnOK")->pos(), subtitle ? QPoint(418, 301) : QPoint(424, 301));
        QCOMPARE(child<QZTButtonExtend>(dlg.get(), "m_btnTextColor")->x(), subtitle ? 173 : 177);
        etk::saveGallery(dlg.get(),
                         subtitle ? QStringLiteral("QSubtitleSettingDlg") : QStringLiteral("QWatermartTextSettingDlg"));
    }

    // Out-of-range stored values are shown clamped and stored clamped, all in the first opening; a second
    // opening finds nothing to change.
    void clampedOnce_data() { opensWithTheRecord_data(); }
    void clampedOnce()
    {
        QFETCH(bool, subtitle);
        QVideoEditingSettings model;
        if (subtitle) {
            VESubtitleSettings s;
            s.outlineSize = -1.0;
            s.shadowOffset = 150.0;
            s.spacingV = 0.004; // below the boxes' resolution: kept as it is
            model.setSubtitleSettings(s);
        } else {
            VEWatermarkSettings w;
            w.text.outlineSize = -1.0;
            w.text.shadowOffset = 150.0;
            w.text.spacingV = 0.004;
            model.setWatermarkSettings(w, false, false);
        }
        {
            auto dlg = makeDialog(subtitle, &model);
            dlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
            QCOMPARE(child<QZTDoubleSpinBox>(dlg.get(), "m_dspOutlineSize")->value(), 0.0);
        }
        const Style s = styleOf(&model, subtitle);
        QCOMPARE(s.outlineSize, 0.0);
        QCOMPARE(s.shadowOffset, 100.0);
        QCOMPARE(s.spacingV, 0.004);
        auto again = makeDialog(subtitle, &model);
        again->show();
        QVERIFY(QTest::qWaitForWindowExposed(again.get()));
        QCOMPARE(styleOf(&model, subtitle).outlineSize, 0.0);
        QCOMPARE(child<QZTDoubleSpinBox>(again.get(), "m_dspShadowOff")->value(), 100.0);
    }

    void valuesReachTheRecord_data() { opensWithTheRecord_data(); }
    void valuesReachTheRecord()
    {
        QFETCH(bool, subtitle);
        QVideoEditingSettings model;
        auto dlg = makeDialog(subtitle, &model);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        auto *outline = child<QZTDoubleSpinBox>(dlg.get(), "m_dspOutlineSize");
        typeInto(outline, QStringLiteral("2.5"));
        QCOMPARE(styleOf(&model, subtitle).outlineSize, 2.5);
        QVERIFY(dlg->isVisible()); // Return committed the value, it did not end the dialog
        // 0.01 or less from the stored value is the box's rounding, not a change.
        typeInto(outline, QStringLiteral("2.51"));
        QCOMPARE(styleOf(&model, subtitle).outlineSize, 2.5);
        rstest::keyClick(outline, Qt::Key_Up);
        QVERIFY(qAbs(styleOf(&model, subtitle).outlineSize - 2.61) < 1e-9);
        typeInto(child<QZTDoubleSpinBox>(dlg.get(), "m_dspSpacingH"), QStringLiteral("-3"));
        QCOMPARE(styleOf(&model, subtitle).spacingH, -3.0);

        // Colours: the picker's choice with its alpha, a cancelled picker changes nothing.
        QTextStyleDlg::setColorPickerForTesting([](const QColor &, QWidget *) { return QColor(10, 20, 30, 0); });
        rstest::clickAt(child<QZTButtonExtend>(dlg.get(), "m_btnTextColor"));
        QCOMPARE(styleOf(&model, subtitle).color, 0x000A141Eu);
        QCOMPARE(child<QZTButtonExtend>(dlg.get(), "m_btnTextColor")->iconColor(), QColor(10, 20, 30, 0));
        QTextStyleDlg::setColorPickerForTesting([](const QColor &, QWidget *) { return QColor(); });
        rstest::clickAt(child<QZTButtonExtend>(dlg.get(), "m_btnOutlineColor"));
        QCOMPARE(styleOf(&model, subtitle).outline, 0xFF000000u);

        // Fonts: bold above medium weight, the family on the button.
        QFont picked(QStringLiteral("DejaVu Serif"));
        picked.setPointSize(31);
        picked.setWeight(QFont::DemiBold);
        QFont startedWith;
        QTextStyleDlg::setFontPickerForTesting([&](const QFont &initial, QWidget *, QFont *chosen) {
            startedWith = initial;
            *chosen = picked;
            return true;
        });
        rstest::clickAt(child<QZTBaseButton>(dlg.get(), "m_btnFont"));
        QCOMPARE(startedWith.pointSize(), subtitle ? 18 : 28);
        Style s = styleOf(&model, subtitle);
        QCOMPARE(s.font, QByteArray("DejaVu Serif"));
        QCOMPARE(s.size, 31u);
        QCOMPARE(s.bold, 1u);
        QCOMPARE(child<QZTBaseButton>(dlg.get(), "m_btnFont")->text(), QStringLiteral("DejaVu Serif"));
        picked.setWeight(QFont::Medium);
        rstest::clickAt(child<QZTBaseButton>(dlg.get(), "m_btnFont"));
        QCOMPARE(styleOf(&model, subtitle).bold, 0u);
        QTextStyleDlg::setFontPickerForTesting([](const QFont &, QWidget *, QFont *) { return false; });
        rstest::clickAt(child<QZTBaseButton>(dlg.get(), "m_btnFont"));
        QCOMPARE(styleOf(&model, subtitle).font, QByteArray("DejaVu Serif"));

        // Reset: default look and spacing 0.05, but the size and weight chosen stay.
        rstest::clickAt(child<QZTBaseButton>(dlg.get(), "m_btnReset"));
        s = styleOf(&model, subtitle);
        QCOMPARE(s.spacingH, 0.05);
        QCOMPARE(s.spacingV, 0.05);
        QCOMPARE(s.outlineSize, 1.0);
        QCOMPARE(s.color, 0xFFFFFFFFu);
        QVERIFY(s.font.isEmpty());
        QCOMPARE(s.size, 31u);
        QCOMPARE(child<QZTBaseButton>(dlg.get(), "m_btnFont")->text(), QStringLiteral("Default"));
        QCOMPARE(child<QZTDoubleSpinBox>(dlg.get(), "m_dspSpacingH")->text(), QStringLiteral("0.05"));

        // Cancel ends the dialog and keeps every change.
        rstest::clickAt(child<QZTBaseButton>(dlg.get(), "m_btnCancel"));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(styleOf(&model, subtitle).size, 31u);
    }

    void subtitleKeepsTheRestOfTheStyle()
    {
        QVideoEditingSettings model;
        VESubtitleSettings s;
        s.alpha = 77;
        s.delay = -1200;
        s.marginV = 0.2;
        s.align = 5;
        model.setSubtitleSettings(s);
        QSubtitleSettingDlg dlg;
        dlg.setEditSettings(&model);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        typeInto(dlg.m_dspShadowOff, QStringLiteral("4"));
        const VESubtitleSettings after = subtitleOf(&model);
        QCOMPARE(after.shadowOffset, 4.0);
        QCOMPARE(after.alpha, 77u);
        QCOMPARE(after.delay, qint64(-1200));
        QCOMPARE(after.marginV, 0.2);
        QCOMPARE(after.align, 5u);
        rstest::clickAt(dlg.m_btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    // The watermark's text, place and picture stay; the preview measures the text box anew, and its new
    // size comes back into the record.
    void watermarkStyleOnTheLivePreview()
    {
        etk::Preview p;
        QVERIFY(p.open(etk::patternClip()));
        VEWatermarkSettings w;
        w.text.text = "Reelsplice";
        w.text.posX = 0.1;
        w.text.posY = 0.2;
        w.image.imagePath = "/nowhere/logo.png";
        p.model->setWatermarkSettings(w, true, true);
        const VEWatermarkSettings before = watermarkOf(p.model.get());
        QVERIFY(before.text.measuredWidth > 0.0);

        QWatermartTextSettingDlg dlg;
        dlg.setEditSettings(p.model.get());
        QSignalSpy closes(&dlg, &QWatermartTextSettingDlg::emitDlgClose);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QFont bigger(QStringLiteral("DejaVu Sans"));
        bigger.setPointSize(56);
        QTextStyleDlg::setFontPickerForTesting([&](const QFont &, QWidget *, QFont *chosen) {
            *chosen = bigger;
            return true;
        });
        rstest::clickAt(dlg.m_btnFont);
        const VEWatermarkSettings after = watermarkOf(p.model.get());
        QCOMPARE(after.text.fontSize, 56u);
        QCOMPARE(after.text.text, before.text.text);
        QCOMPARE(after.text.posX, before.text.posX);
        QCOMPARE(after.text.posY, before.text.posY);
        QCOMPARE(after.image.imagePath, before.image.imagePath);
        QVERIFY2(after.text.measuredWidth > before.text.measuredWidth * 1.5,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before.text.measuredWidth).arg(after.text.measuredWidth)));
        rstest::clickAt(dlg.m_btnOK);
        QCOMPARE(closes.count(), 1);
        QVERIFY(!dlg.isVisible());
    }

    void watermarkCloseButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("OK") << QStringLiteral("m_btnOK");
        QTest::newRow("Cancel") << QStringLiteral("m_btnCancel");
        QTest::newRow("close") << QStringLiteral("m_btnClose");
    }
    void watermarkCloseButtons()
    {
        QFETCH(QString, button);
        QVideoEditingSettings model;
        QWatermartTextSettingDlg dlg;
        dlg.setEditSettings(&model);
        QSignalSpy closes(&dlg, &QWatermartTextSettingDlg::emitDlgClose);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        typeInto(dlg.m_dspSpacingV, QStringLiteral("7"));
        rstest::clickAt(dlg.findChild<QZTBaseButton *>(button));
        QCOMPARE(closes.count(), 1);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(watermarkOf(&model).text.spacingV, 7.0);
    }
};

RS_TEST_MAIN(TestStyleDlg)
#include "tst_styledlg.moc"
