// The clip editor as the media list uses it: opened on a real clip, loaded behind the wait box, edited on its
// tabs with real events, then OK, Cancel or Apply to all; and closing attempts while it still loads.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "MediaFixtures.h"
#include "QAdjustOperationForm.h"
#include "QCommonButtonForm.h"
#include "QIAnyUtil.h"
#include "QTrimOperationForm.h"
#include "QVedioEditSettingXml.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QVideoEditingSettings.h"
#include "QWaitForDlg.h"
#include "QWatermarkOperationForm.h"
#include "QZTBaseButton.h"
#include "TestSupport.h"
#include "ZTPlayerManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <QTimer>

namespace {

bool waitLoaded(QVideoEditingDlg &dlg, int ms = 30000)
{
    return QTest::qWaitFor([&] { return dlg.isLoaded(); }, ms);
}

void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

VEEditConfig recordOf(QVideoEditingDlg &dlg)
{
    VEEditConfig c;
    dlg.getEditConfig(c);
    return c;
}

QPushButton *applyButton(QWidget *page)
{
    return page->findChild<QCommonButtonForm *>()->findChild<QPushButton *>(QStringLiteral("m_btnApplyToAll"));
}

} // namespace

class TestEditorDlg : public QObject
{
    Q_OBJECT
private:
    // The editor as the media list opens it.
    struct Editor
    {
        QVideoEditingDlg dlg;
        explicit Editor(const QString &clip, VEEditConfig config = VEEditConfig())
        {
            dlg.setVideoFile(clip, 0, 0);
            dlg.setEditConfig(config);
            dlg.isHaveVideo(true);
            dlg.setIsWatermarkAudioStartTime(true);
            dlg.show();
        }
    };

private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }

    void cleanup() { EditorFileDialog::setOpenFileForTesting(nullptr); }

    // Open, trim, rotate, add a text watermark, OK: the record the caller reads back holds every edit.
    void editsReachTheRecordOnOk()
    {
        Editor e(etk::patternClip());
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(QTest::qWaitFor([&] { return dlg.waitDialog() && dlg.waitDialog()->isVisible(); }, 5000) ||
                dlg.isLoaded());
        if (dlg.waitDialog())
            etk::saveGallery(dlg.waitDialog(), QStringLiteral("QWaitForDlg"));
        QVERIFY(waitLoaded(dlg));
        QVERIFY(!dlg.waitDialog());
        QCOMPARE(recordOf(dlg).resolutionWidth, 320);
        QTest::qWait(300);
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-trim"));

        QTrimOperationForm *trim = dlg.trimPage();
        trim->m_TrimDSlider->setStartValue(25);
        trim->m_TrimDSlider->setEndValue(75);
        click(trim->m_btnTrim);
        VEEditConfig c = recordOf(dlg);
        QVERIFY2(c.trimStart > 900000 && c.trimStart < 1100000, qPrintable(QString::number(c.trimStart)));
        QVERIFY2(c.trimEnd > 2900000 && c.trimEnd < 3100000, qPrintable(QString::number(c.trimEnd)));
        QCOMPARE(trim->m_lblStartTime->text(), QTrimOperationForm::timeToString(c.trimStart));

        click(dlg.editTag()->button(QVideoEditingDlg::Adjust));
        QCOMPARE(dlg.currentTab(), int(QVideoEditingDlg::Adjust));
        QVERIFY(dlg.adjustPage()->isVisible() && !trim->isVisible());
        click(dlg.adjustPage()->m_btnRotate_R_90);
        QCOMPARE(recordOf(dlg).crop.rotation, 90u);
        QTest::qWait(200);
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-adjust"));

        click(dlg.editTag()->button(QVideoEditingDlg::Watermark));
        QWatermarkOperationForm *mark = dlg.watermarkPage();
        QVERIFY(mark->isVisible());
        QTest::keyClicks(mark->m_leAddWKText->textEdit(), QStringLiteral("Hello"));
        QTest::keyClick(mark->m_leTextAlphaValue, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(mark->m_leTextAlphaValue, QStringLiteral("100"));
        QCOMPARE(recordOf(dlg).watermark.text.text, QByteArray("Hello"));
        QCOMPARE(recordOf(dlg).watermark.text.alpha, 255u); // a typed 100 is fully opaque
        QCOMPARE(recordOf(dlg).watermark.text.showTime.first, c.trimStart);
        QTest::qWait(200);
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-watermark"));

        for (int tab : {int(QVideoEditingDlg::Effect), int(QVideoEditingDlg::Subtitle), int(QVideoEditingDlg::Audio)}) {
            click(dlg.editTag()->button(tab));
            QCOMPARE(dlg.currentTab(), tab);
            QTest::qWait(150);
            static const char *names[] = {"", "", "effect", "", "subtitle", "audio"};
            etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-") + QLatin1String(names[tab]));
        }

        click(dlg.m_btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        dlg.hideMediaForm();
        const VEEditConfig out = recordOf(dlg);
        QCOMPARE(out.crop.rotation, 90u);
        QCOMPARE(out.watermark.text.text, QByteArray("Hello"));
        QCOMPARE(out.trimStart, c.trimStart);
        QCOMPARE(out.trimEnd, c.trimEnd);
    }

    // Cancel drops the edits, and the chapter range chosen in the editor does not reach the caller's record.
    void cancelDiscardsChapterChoice()
    {
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        Editor e(clip);
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(waitLoaded(dlg));
        const VEEditConfig loaded = recordOf(dlg);
        QVERIFY2(loaded.chapters.size() >= 3, "the fixture has chapters");
        QVERIFY(dlg.trimPage()->m_cbbChater->isVisible());
        QVERIFY2(dlg.trimPage()->m_cbbChater->geometry().right() < dlg.trimPage()->m_lblTime->x(),
                 "the chapter list stays clear of the time text");
        QTest::qWait(300);
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-chapters"));
        VEEditConfig callers = loaded; // the list row's own record

        dlg.trimPage()->m_cbbChater->setCurrentIndex(2);
        const VEEditConfig chosen = recordOf(dlg);
        QCOMPARE(chosen.trimStart, loaded.chapters.at(2).nStartTime);
        QCOMPARE(chosen.chapters.at(0).nStartTime, loaded.chapters.at(2).nStartTime);
        QCOMPARE(callers.chapters.at(0).nStartTime, loaded.chapters.at(0).nStartTime);

        click(dlg.m_btnCancel);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        dlg.getApplyConfig(callers); // nothing was applied to all
        QVERIFY(callers == loaded);
    }

    // Apply to all records the sections of the page at the moment of the press; other sections stay.
    void applyToAllCopiesChosenSections()
    {
        Editor e(etk::patternClip());
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(waitLoaded(dlg));
        click(dlg.editTag()->button(QVideoEditingDlg::Adjust));
        click(dlg.adjustPage()->m_btnRotate_R_90);
        click(applyButton(dlg.adjustPage()));
        click(dlg.adjustPage()->m_btnRotate_R_90); // after the press: not applied
        click(dlg.editTag()->button(QVideoEditingDlg::Watermark));
        QTest::keyClicks(dlg.watermarkPage()->m_leAddWKText->textEdit(), QStringLiteral("All"));
        click(applyButton(dlg.watermarkPage()));
        click(dlg.trimPage()->m_btnTrim); // trims are never applied to other clips
        dlg.trimPage()->m_TrimDSlider->setStartValue(50);
        dlg.trimPage()->onTrim();

        VEEditConfig other;
        other.trimStart = 7;
        other.subtitle.fontSize = 40;
        dlg.getApplyConfig(other);
        QCOMPARE(other.crop.rotation, 90u);
        QCOMPARE(other.watermark.text.text, QByteArray("All"));
        QCOMPARE(other.trimStart, quint64(7));
        QCOMPARE(other.subtitle.fontSize, 40u);
        QCOMPARE(recordOf(dlg).crop.rotation, 180u);
        click(dlg.m_btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    // While loading, nothing closes the editor or the wait box; deleting the editor at any moment of loading
    // neither crashes nor hangs.
    void closingWhileLoading()
    {
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        QElapsedTimer total;
        total.start();
        for (int round = 0; round < 20; ++round) {
            auto *dlg = new QVideoEditingDlg;
            dlg->setVideoFile(clip, 0, 0);
            VEEditConfig c;
            dlg->setEditConfig(c);
            dlg->show();
            QTest::qWait((round % 5) * 40); // before the loading timer, during loading, after it
            if (QWaitForDlg *wait = dlg->waitDialog()) {
                QTest::keyClick(wait, Qt::Key_Escape);
                QVERIFY(wait->close() == false);
            }
            if (!dlg->isLoaded()) {
                QTest::keyClick(dlg, Qt::Key_Escape);
                dlg->reject();
                dlg->close();
                click(dlg->m_btnCancel);
                QVERIFY(dlg->isVisible());
            }
            if (round % 2) {
                QVERIFY(waitLoaded(*dlg));
                QVERIFY(!dlg->waitDialog());
                QTest::keyClick(dlg, Qt::Key_Escape); // Escape never closes the editor
                QVERIFY(dlg->isVisible());
                click(dlg->m_btnCancel);
                QVERIFY(!dlg->isVisible());
            }
            delete dlg;
        }
        QVERIFY2(total.elapsed() < 240000, "twenty openings ended within minutes");
    }

    void mergeLoadResult_data()
    {
        QTest::addColumn<bool>("tagsRead");
        QTest::addColumn<int>("chaptersBefore");
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<int>("chaptersAfter");
        QTest::newRow("first opening takes the file's tags and chapters") << false << 0 << QByteArray("File") << 2;
        QTest::newRow("edited tags and chapters stay") << true << 3 << QByteArray("Mine") << 3;
        QTest::newRow("read tags stay, missing chapters come") << true << 0 << QByteArray("Mine") << 2;
    }

    void mergeLoadResult()
    {
        QFETCH(bool, tagsRead);
        QFETCH(int, chaptersBefore);
        QFETCH(QByteArray, title);
        QFETCH(int, chaptersAfter);
        VEEditConfig record;
        record.audioTag.title = "Mine";
        record.audioTag.extraFlag = tagsRead ? 1 : 0;
        for (int i = 0; i < chaptersBefore; ++i)
            record.chapters.append(VEChapterInfo());
        EditorLoadResult loaded;
        loaded.width = 640;
        loaded.height = 360;
        loaded.tags.title = "File";
        loaded.chapters = {VEChapterInfo(), VEChapterInfo()};
        QVideoEditingDlg::mergeLoadResult(record, loaded);
        QCOMPARE(record.audioTag.title, title);
        QCOMPARE(record.audioTag.extraFlag, quint8(1));
        QCOMPARE(record.chapters.size(), chaptersAfter);
        QCOMPARE(record.resolutionWidth, 640);
        // A second opening keeps what the first one read.
        record.audioTag.title = "Edited";
        QVideoEditingDlg::mergeLoadResult(record, loaded);
        QCOMPARE(record.audioTag.title, QByteArray("Edited"));
    }

    void windowTime_data()
    {
        QTest::addColumn<quint64>("start");
        QTest::addColumn<quint64>("length");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<quint64>("expected");
        QTest::newRow("quarter of 100 s") << quint64(0) << quint64(100000000) << 0.25 << quint64(25000000);
        QTest::newRow("one hour in, to the microsecond")
            << quint64(3600000000ull) << quint64(1000001) << 0.5 << quint64(3600500001ull);
        QTest::newRow("ten hours in, odd step")
            << quint64(36000000000ull) << quint64(3) << 1.0 / 3 << quint64(36000000001ull);
        QTest::newRow("zero fraction") << quint64(5) << quint64(100) << 0.0 << quint64(5);
        QTest::newRow("past the end is clamped") << quint64(0) << quint64(100) << 1.5 << quint64(100);
    }

    void windowTime()
    {
        QFETCH(quint64, start);
        QFETCH(quint64, length);
        QFETCH(double, fraction);
        QFETCH(quint64, expected);
        QCOMPARE(quint64(QTrimOperationForm::windowTime(start, length, fraction)), expected);
    }

    void transparencyScale_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<quint32>("alpha");
        QTest::newRow("100 is opaque") << 100 << 255u;
        QTest::newRow("50") << 50 << 128u;
        QTest::newRow("0") << 0 << 0u;
        QTest::newRow("above 100") << 150 << 255u;
    }

    void transparencyScale()
    {
        QFETCH(int, shown);
        QFETCH(quint32, alpha);
        QCOMPARE(QWatermarkOperationForm::alphaOfShown(shown), alpha);
        QCOMPARE(QWatermarkOperationForm::shownValue(alpha), std::min(shown, 100));
    }

    // The picture dialog starts at home, then where the last picture came from; a file no decoder reads is
    // refused with a message and not stored.
    void watermarkPictureChoice()
    {
        Editor e(etk::greyClip());
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(waitLoaded(dlg));
        click(dlg.editTag()->button(QVideoEditingDlg::Watermark));
        QWatermarkOperationForm *mark = dlg.watermarkPage();

        const QString dir = rstest::scratchDir(QStringLiteral("editordlg_pictures"));
        const QString good = dir + QStringLiteral("/logo.png");
        QImage logo(64, 32, QImage::Format_ARGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(good));
        const QString bad = dir + QStringLiteral("/broken.webp");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300, 'x'));
        f.close();

        QStringList startDirs;
        QString answer = good;
        EditorFileDialog::setOpenFileForTesting([&](QWidget *, const QString &, const QString &start, const QString &) {
            startDirs << start;
            return answer;
        });
        click(mark->m_btnAddWKImg);
        QCOMPARE(recordOf(dlg).watermark.image.imagePath, good.toUtf8());
        QVERIFY(mark->m_btnDelete->isVisible());
        QTest::qWait(200);
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-watermark-picture"));

        answer = bad;
        bool messageShown = false;
        QTimer::singleShot(500, [&] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                messageShown = box != &dlg;
                box->close();
            }
        });
        click(mark->m_btnAddWKImg);
        QVERIFY(messageShown);
        QCOMPARE(recordOf(dlg).watermark.image.imagePath, good.toUtf8());
        QCOMPARE(startDirs.value(0), QDir::homePath());
        QCOMPARE(startDirs.value(1), dir);

        click(mark->m_btnDelete);
        QVERIFY(recordOf(dlg).watermark.image.imagePath.isEmpty());
        click(dlg.m_btnOK);
    }

    // A snapshot lands inside the chosen folder even when it is stored without its final slash.
    void snapshotIntoFolder()
    {
        const QString folder = rstest::scratchDir(QStringLiteral("editordlg_snapshots"));
        QVERIFY(QVedioEditSettingXml::setCaptrueImaPath(folder));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        Editor e(etk::patternClip());
        QVERIFY(waitLoaded(e.dlg));
        QTest::qWait(300);
        click(e.dlg.trimPage()->m_btnSnapshot);
        QVERIFY(QTest::qWaitFor([&] { return !QDir(folder).entryList(QDir::Files).isEmpty(); }, 5000));
        QVERIFY(QDir(folder).entryList(QDir::Files).first().startsWith(QStringLiteral("ScreenCapture_")));
        QCOMPARE(QVideoEditingDlg::snapshotPath(QStringLiteral("/a/b"), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 6)),
                                                QStringLiteral("JPG")),
                 QStringLiteral("/a/b/ScreenCapture_20260102030405006.jpg"));
        click(e.dlg.m_btnCancel);
    }
};

RS_TEST_MAIN(TestEditorDlg)
#include "tst_editordlg.moc"
