// The clip editor's pages as a user sees them in the editor at its own size: rows of controls that belong
// together sit level, and sibling captions share one font.
#include "EditorTestKit.h"
#include "QAudioOperationForm.h"
#include "QEffectOperationForm.h"
#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QFontInfo>

#include <memory>

namespace {

QRect frameIn(QWidget *w, QWidget *page)
{
    return QRect(w->mapTo(page, QPoint(0, 0)), w->size());
}

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString fontText(const QFont &f)
{
    const QFontInfo i(f);
    return QStringLiteral("%1 %2px").arg(i.family()).arg(i.pixelSize());
}

} // namespace

class TestEditorLook : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QVideoEditingDlg> m_dlg;

    bool showTab(int tab)
    {
        rstest::clickAt(m_dlg->editTag()->button(tab));
        return m_dlg->currentTab() == tab;
    }

private slots:
    // One editor, opened as the media list opens it, at the size it takes.
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
        m_dlg.reset(new QVideoEditingDlg);
        m_dlg->setVideoFile(etk::patternClip(), 0, 0);
        VEEditConfig config;
        m_dlg->setEditConfig(config);
        m_dlg->isHaveVideo(true);
        m_dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
        QVERIFY(QTest::qWaitFor([&] { return m_dlg->isLoaded(); }, 30000));
    }

    void cleanupTestCase() { m_dlg.reset(); }

    // Each value box sits just right of its own slider, level with it, and the caption level with both.
    void effectRowsAreLevel_data()
    {
        QTest::addColumn<int>("row");
        int row = 0;
        for (const char *name : {"brightness", "contrast", "saturation", "hue"})
            QTest::newRow(name) << row++;
    }
    void effectRowsAreLevel()
    {
        QFETCH(int, row);
        QVERIFY(showTab(QVideoEditingDlg::Effect));
        QEffectOperationForm *p = m_dlg->effectPage();
        QVERIFY(p->isVisible());
        const QList<QWidget *> labels{p->m_lblBrightness, p->m_lblContrast, p->m_lblSaturation, p->m_lblHue};
        const QList<QWidget *> sliders{p->m_sliderBrightness, p->m_sliderContrast, p->m_sliderSaturation,
                                       p->m_sliderHue};
        const QList<QWidget *> fields{p->m_leBrightnessValue, p->m_leConstrastValue, p->m_leSaturationValue,
                                      p->m_leHueValue};
        const QRect label = frameIn(labels[row], p), slider = frameIn(sliders[row], p), field = frameIn(fields[row], p);
        const QString where =
            QStringLiteral("label %1, slider %2, field %3").arg(rectText(label), rectText(slider), rectText(field));
        QVERIFY2(qAbs(field.center().y() - slider.center().y()) <= 3, qPrintable(where));
        QVERIFY2(qAbs(label.center().y() - slider.center().y()) <= 3, qPrintable(where));
        QVERIFY2(field.left() > slider.right() && field.left() - slider.right() <= 12, qPrintable(where));
        QVERIFY2(p->rect().contains(field) && p->rect().contains(slider), qPrintable(where));
        QVERIFY(rstest::isOnTopAt(fields[row]));
        if (row == 3)
            etk::saveGallery(m_dlg.get(), QStringLiteral("QEffectOperationForm-editor"));
    }

    // Every choice of the sound-effect row is captioned in the same font on one line, cut short at the right
    // when wider than the tile (the tool tip carries the whole name), under pictures that stand level.
    void soundEffectCaptionsShareOneFont()
    {
        QVERIFY(showTab(QVideoEditingDlg::Audio));
        QHorizontalListFrom *list = m_dlg->audioPage()->m_effectsList;
        QVERIFY(list->count() >= 4);
        const QFontInfo first(list->item(0)->m_lblTitle->font());
        for (int i = 0; i < list->count(); ++i) {
            QHorizontalListItem *tile = list->item(i);
            QLabel *title = tile->m_lblTitle;
            const QString what = tile->m_lblTitle->toolTip() + QStringLiteral(": ") + fontText(title->font());
            const QFontInfo info(title->font());
            QVERIFY2(info.pixelSize() == first.pixelSize() && info.family() == first.family(), qPrintable(what));
            QCOMPARE(title->text(), title->fontMetrics().elidedText(title->toolTip(), Qt::ElideRight, title->width()));
            QVERIFY2(title->height() >= title->fontMetrics().height(), qPrintable(what));
            QVERIFY2(tile->rect().contains(QRect(title->pos(), title->size())), qPrintable(what));
            QCOMPARE(tile->m_wdgCoverImage->y(), list->item(0)->m_wdgCoverImage->y()); // the pictures stand level
        }
        etk::saveGallery(m_dlg.get(), QStringLiteral("QAudioOperationForm-editor"));
    }
};

RS_TEST_MAIN(TestEditorLook)
#include "tst_editor_look.moc"
