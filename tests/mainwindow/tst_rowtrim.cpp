// After the clip editor's OK with a new trim, the row shows the trimmed length at once, whether it is the
// row in the preview or another one, and the total agrees. Driven through the window: the row's Edit
// button, the Trim page's start handle, OK.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "MacMainWindow.h"
#include "MediaFixtures.h"
#include "MediaListRules.h"
#include "QMainDlg.h"
#include "QTrimOperationForm.h"
#include "QVEDualSlider.h"
#include "QVideoEditingDlg.h"
#include "VideoConvertBar.h"
#include "ZtVideoConvertItem.h"

class TestRowTrim : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;
    MacMainWindow *m_w = nullptr;

    QMainDlg *list() const { return m_w->mainDlg(); }

private slots:
    void initTestCase()
    {
        m_rec = &mwt::installRecorders();
        m_w = mwt::openWithFiles(*m_rec, {rstest::MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")),
                                          rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4"))});
        QVERIFY(m_w);
    }

    void cleanupTestCase()
    {
        delete m_w;
        m_w = nullptr;
    }

    void rowShowsTheTrimmedLength_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("the previewed row") << 0;
        QTest::newRow("another row") << 1;
    }

    void rowShowsTheTrimmedLength()
    {
        QFETCH(int, row);
        VideoConvertBar *bar = list()->rows().at(row);
        const ZtVideoConvertItem *clip = bar->getVideoItemInfo();
        QCOMPARE(clip->m_nTrimStart, quint64(0));
        const QString whole = bar->m_lblTime->text();
        bool edited = false;
        QVERIFY(mwt::editRow(bar, [&](QVideoEditingDlg *dlg) {
            // The start handle dragged to about 40% of the track, then OK.
            QVEDualSlider *slider = dlg->trimPage()->m_TrimDSlider;
            QWidget *handle = slider->startButton();
            const QPoint from = handle->geometry().center();
            rstest::dragTo(handle, handle->rect().center(), slider, QPoint(slider->width() * 2 / 5, from.y()));
            QVERIFY(slider->getStartValue() > 0.2);
            rstest::clickAt(dlg->m_btnOK);
            edited = true;
        }));
        QVERIFY(edited);
        QVERIFY2(clip->m_nTrimStart > clip->m_nDuration / 5, qPrintable(QString::number(clip->m_nTrimStart)));
        const QString trimmed = MediaListRules::timeText(
            MediaListRules::trimmedLength(clip->m_nTrimStart, clip->m_nTrimEnd, clip->m_nDuration));
        QCOMPARE(bar->m_lblTime->text(), trimmed);
        QVERIFY(trimmed != whole);
        quint64 total = 0;
        for (VideoConvertBar *b : list()->rows()) {
            const ZtVideoConvertItem *c = b->getVideoItemInfo();
            total += MediaListRules::trimmedLength(c->m_nTrimStart, c->m_nTrimEnd, c->m_nDuration);
        }
        QCOMPARE(list()->totalTimeText(), MediaListRules::timeText(total));
        mwt::shot(m_w, QStringLiteral("MacMainWindow-row-trimmed"));
    }
};

RS_TEST_MAIN(TestRowTrim)
#include "tst_rowtrim.moc"
