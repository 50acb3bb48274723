// The clip editor as the media list uses it: opened on a real clip, loaded behind the wait box, edited on its
// tabs with real events, then OK, Cancel or Apply to all; and closing attempts while it still loads.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "MediaFixtures.h"
#include "QAdjustOperationForm.h"
#include "QAudioOperationForm.h"
#include "QCommonButtonForm.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaDashedFrame.h"
#include "QMediaElementWindow.h"
#include "QMediaForm.h"
#include "QMessageOpacityForm.h"
#include "QSubtitleOperationForm.h"
#include "QTrimOperationForm.h"
#include "QVedioEditSettingXml.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QVideoEditingSettings.h"
#include "QWaitForDlg.h"
#include "QWatermarkOperationForm.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "QZTComboBox.h"
#include "TestSupport.h"
#include "WindowInput.h"
#include "ZTPlayerManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace {

using etk::recordOf;

bool waitLoaded(QVideoEditingDlg &dlg, int ms = 30000)
{
    return QTest::qWaitFor([&] { return dlg.isLoaded(); }, ms);
}

void click(QWidget *w)
{
    rstest::clickAt(w);
}

// While the editor loads, its wait box stands over it: a user's key goes to whichever window holds the
// keyboard, and a click lands on whatever window lies at the place (both may close nothing).
void pressKey(Qt::Key key)
{
    QPointer<QWindow> w = QGuiApplication::focusWindow();
    if (w)
        QTest::keyPress(w, key);
    if (w) // the loading may have ended with the press, and the wait box with it
        QTest::keyRelease(w, key);
}

void clickWhatLiesOver(QWidget *w)
{
    const QPoint global = w->mapToGlobal(w->rect().center());
    QWidget *hit = QApplication::widgetAt(global);
    QWidget *top = hit ? hit->window() : w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, top->mapFromGlobal(global));
}

// Typing into a text box: a click into it, then the keys, through its window.
void typeAfter(QWidget *box, const QString &text)
{
    rstest::clickAt(box);
    rstest::typeText(box, text);
}

// The size of the picture a pane shows, measured along its middle row and column (an overlay may lie in a corner);
// empty before the first frame.
QSize pictureIn(QMediaElementWindow *pane)
{
    QWidget *view = etk::videoViewOf(pane);
    const QImage image = view ? view->grab().toImage() : QImage();
    int width = 0, height = 0;
    for (int x = 0; x < image.width(); ++x)
        width += qGray(image.pixel(x, image.height() / 2)) > 24;
    for (int y = 0; y < image.height(); ++y)
        height += qGray(image.pixel(image.width() / 2, y)) > 24;
    return QSize(width, height);
}

// Waits until the panes show the clip, the edited one turned as the record says, and the overlay boxes shown are
// drawn (they draw late on purpose): frames come from the player's thread, and a snapshot or screenshot before
// then shows an old picture or none.
bool showsPicture(QVideoEditingDlg &dlg)
{
    return QTest::qWaitFor(
        [&] {
            QMediaElementWindow *source = dlg.mediaForm()->sourceWindow(); // not on every tab
            const QSize edited = pictureIn(dlg.mediaForm()->previewWindow());
            const bool turned = recordOf(dlg).crop.rotation % 180 == 90;
            if ((source->isVisible() && pictureIn(source).isEmpty()) || edited.isEmpty() ||
                (edited.height() > edited.width()) != turned)
                return false;
            for (QMediaBorderFrame *overlay : {dlg.mediaForm()->cropFrame(), dlg.mediaForm()->watermarkFrame()})
                for (const QMediaDashedFrame *box : overlay->findChildren<QMediaDashedFrame *>())
                    if (box->isVisible() && box->paintCount() < 2)
                        return false;
            return true;
        },
        rstest::kHangBoundMs);
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
    using Editor = etk::EditorWindow;

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
        QVERIFY(showsPicture(dlg));
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
        QVERIFY(showsPicture(dlg));
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-adjust"));

        click(dlg.editTag()->button(QVideoEditingDlg::Watermark));
        QWatermarkOperationForm *mark = dlg.watermarkPage();
        QVERIFY(mark->isVisible());
        typeAfter(mark->m_leAddWKText->textEdit(), QStringLiteral("Hello"));
        etk::typeInto(mark->m_leTextAlphaValue, QStringLiteral("100"));
        QCOMPARE(recordOf(dlg).watermark.text.text, QByteArray("Hello"));
        QCOMPARE(recordOf(dlg).watermark.text.alpha, 255u); // a typed 100 is fully opaque
        QCOMPARE(recordOf(dlg).watermark.text.showTime.first, c.trimStart);
        QVERIFY(showsPicture(dlg));
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-watermark"));

        for (int tab : {int(QVideoEditingDlg::Effect), int(QVideoEditingDlg::Subtitle), int(QVideoEditingDlg::Audio)}) {
            click(dlg.editTag()->button(tab));
            QCOMPARE(dlg.currentTab(), tab);
            QVERIFY(showsPicture(dlg));
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
        QVERIFY(showsPicture(dlg));
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
        typeAfter(dlg.watermarkPage()->m_leAddWKText->textEdit(), QStringLiteral("All"));
        click(applyButton(dlg.watermarkPage()));
        click(dlg.editTag()->button(QVideoEditingDlg::Trim));
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

    // "Original Resolution" states the crop in the clip's own pixels: applied to a clip of another size, the crop
    // is in that clip's pixels (a 4:3 clip given a 16:9 clip's pixel size was squashed to 16:9 in the join).
    void originalResolutionAppliedToAnotherSize()
    {
        Editor e(etk::greyClip(QSize(640, 360)));
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(waitLoaded(dlg));
        click(dlg.editTag()->button(QVideoEditingDlg::Adjust));
        QZTComboBox *list = dlg.adjustPage()->m_cbbAspectRatio;
        click(list);
        QVERIFY(QTest::qWaitFor([list] { return list->rowView()->window()->isVisible(); }, rstest::kHangBoundMs));
        click(list->rowAt(1));
        QCOMPARE(recordOf(dlg).crop.aspectMode, 1);
        QCOMPARE(QSize(recordOf(dlg).crop.aspectWidth, recordOf(dlg).crop.aspectHeight), QSize(640, 360));
        click(applyButton(dlg.adjustPage()));
        VEEditConfig other;
        dlg.getApplyConfig(other, QSize(480, 480));
        QCOMPARE(QSize(other.crop.aspectWidth, other.crop.aspectHeight), QSize(480, 480));
        VEEditConfig unsized;
        dlg.getApplyConfig(unsized);
        QCOMPARE(QSize(unsized.crop.aspectWidth, unsized.crop.aspectHeight), QSize(640, 360));
    }

    // While loading, nothing closes the editor or the wait box; deleting the editor at any moment of loading
    // neither crashes nor hangs.
    void closingWhileLoading()
    {
        const QString clip = rstest::MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        QElapsedTimer total;
        total.start();
        for (int round = 0; round < 50; ++round) {
            auto *dlg = new QVideoEditingDlg;
            dlg->setVideoFile(clip, 0, 0);
            VEEditConfig c;
            dlg->setEditConfig(c);
            dlg->show();
            QTest::qWait((round % 5) * 40); // before the loading timer, during loading, after it
            if (QPointer<QWaitForDlg> wait = dlg->waitDialog()) {
                pressKey(Qt::Key_Escape);
                QVERIFY(!wait || wait->close() == false);
            }
            if (!dlg->isLoaded()) {
                dlg->reject();
                dlg->close();
                QVERIFY(dlg->isVisible());
                pressKey(Qt::Key_Escape);
                clickWhatLiesOver(dlg->m_btnCancel);
                QVERIFY(dlg->isVisible() || dlg->isLoaded()); // only a click the loading did not outlive closes
            }
            if (round % 2 && dlg->isVisible()) {
                QVERIFY(waitLoaded(*dlg));
                QVERIFY(!dlg->waitDialog());
                rstest::keyClick(dlg, Qt::Key_Escape); // Escape never closes the editor
                QVERIFY(dlg->isVisible());
                click(dlg->m_btnCancel);
                QVERIFY(!dlg->isVisible());
            }
            delete dlg;
        }
        QVERIFY2(total.elapsed() < 280000, "fifty openings ended within minutes");
    }

    // An audio-only clip keeps Trim and Audio; snapshots are off.
    void audioOnlyClip()
    {
        Editor e(rstest::MediaFixtures::standard(QStringLiteral("audio.mp3")));
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(waitLoaded(dlg));
        QVERIFY(QTest::qWaitFor([&] { return dlg.editTag()->button(QVideoEditingDlg::Adjust)->isHidden(); }, 5000));
        for (int tab = 0; tab <= int(QVideoEditingDlg::Tag); ++tab)
            QCOMPARE(dlg.editTag()->button(tab)->isHidden(),
                     tab != int(QVideoEditingDlg::Trim) && tab != int(QVideoEditingDlg::Audio));
        QVERIFY(!dlg.trimPage()->m_btnSnapshot->isEnabled());
        QVERIFY(!dlg.trimPage()->m_btnSnapshotMenu->isEnabled());
        click(dlg.editTag()->button(QVideoEditingDlg::Audio));
        QVERIFY(dlg.audioPage()->isVisible());
        QTest::qWait(150); // screenshot only: lets the page's layout settle; nothing here shows a picture
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-audioonly"));
        click(dlg.m_btnCancel);
    }

    // The trim handles as the user leaves them before pressing Trim, on the 4 s clip.
    void trimHandles_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("end");
        QTest::addColumn<quint64>("trimStart");
        QTest::addColumn<quint64>("trimEnd");
        QTest::newRow("end handle at 100 % keeps the end of the clip")
            << 25.f << 100.f << quint64(1000000) << quint64(0);
        QTest::newRow("inner range") << 25.f << 75.f << quint64(1000000) << quint64(3000000);
    }

    void trimHandles()
    {
        QFETCH(float, start);
        QFETCH(float, end);
        QFETCH(quint64, trimStart);
        QFETCH(quint64, trimEnd);
        static Editor *e = nullptr; // one editor for the rows: opening is the slow part
        if (!e) {
            e = new Editor(etk::patternClip());
            connect(this, &QObject::destroyed, [] { delete e; });
        }
        QVideoEditingDlg &dlg = e->dlg;
        QVERIFY(waitLoaded(dlg));
        click(dlg.trimPage()->m_btnReset);
        QTrimOperationForm *trim = dlg.trimPage();
        trim->m_TrimDSlider->setEndValue(end);
        trim->m_TrimDSlider->setStartValue(start);
        click(trim->m_btnTrim);
        const VEEditConfig c = recordOf(dlg);
        QVERIFY2(qAbs(qint64(c.trimStart - trimStart)) < 50000, qPrintable(QString::number(c.trimStart)));
        if (trimEnd == 0)
            QCOMPARE(c.trimEnd, quint64(0));
        else
            QVERIFY2(qAbs(qint64(c.trimEnd - trimEnd)) < 50000, qPrintable(QString::number(c.trimEnd)));
        // The handles are back around the new window.
        QCOMPARE(trim->m_TrimDSlider->getStartValue(), 0.0);
        QCOMPARE(trim->m_TrimDSlider->getEndValue(), 1.0);
    }

    // Apply to all from the Subtitle page: the chosen subtitle file is found in, or added to, the other clip's
    // list.
    void applySubtitleChoice_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("alreadyListed");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("newLabel");
        QTest::newRow("no file: the row only") << QByteArray() << false << 2 << QByteArray();
        QTest::newRow("listed: that entry") << QByteArray("/s/talk.srt") << true << 1 << QByteArray();
        QTest::newRow("new: appended and chosen")
            << QByteArray("/s/talk.en.srt") << false << 1 << QByteArray("(talk.en)[SRT]");
    }

    void applySubtitleChoice()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, alreadyListed);
        QFETCH(int, row);
        QFETCH(QByteArray, newLabel);
        QVideoEditingDlg dlg; // not shown: the model alone carries the choice
        VESubtitleValue_Info info;
        info.subtitleRow = 2;
        info.subtitleFile = file;
        info.audioRow = 5; // the Audio page writes it too; never applied
        dlg.editSettings()->setSubtitleInfo(info);
        QMetaObject::invokeMethod(dlg.subtitlePage(), "emitApplyToAll");
        VEEditConfig other;
        VESubltItemInfo first;
        first.label = "(a)[ASS]";
        first.filePath = "/s/a.ass";
        other.subtitleItems << first;
        if (alreadyListed) {
            VESubltItemInfo listed;
            listed.filePath = file;
            other.subtitleItems << listed;
        }
        const int before = other.subtitleItems.size();
        dlg.getApplyConfig(other);
        QCOMPARE(other.subtitleValue.subtitleRow, row);
        QCOMPARE(other.subtitleValue.subtitleFile, file);
        QCOMPARE(other.subtitleValue.audioRow, 0);
        QCOMPARE(other.subtitleItems.size(), before + (newLabel.isEmpty() ? 0 : 1));
        if (!newLabel.isEmpty())
            QCOMPARE(other.subtitleItems.last().label, newLabel);
    }

    // The transparency slider at its ends and middle, Reset, and a typed value above 100.
    void watermarkTransparency()
    {
        Editor e(etk::greyClip());
        QVideoEditingDlg &dlg = e.dlg;
        QVERIFY(waitLoaded(dlg));
        click(dlg.editTag()->button(QVideoEditingDlg::Watermark));
        QWatermarkOperationForm *mark = dlg.watermarkPage();
        QZTBaseSlider *slider = mark->m_sliderAlpha;
        rstest::clickAt(slider, QPoint(slider->width() / 2, slider->height() / 2));
        const quint32 middle = recordOf(dlg).watermark.image.alpha;
        QVERIFY2(middle > 110 && middle < 145, qPrintable(QString::number(middle)));
        QCOMPARE(mark->m_leAlphaValue->text(), QString::number(QWatermarkOperationForm::shownValue(middle)));
        etk::typeInto(mark->m_leAlphaValue, QStringLiteral("150"));
        QCOMPARE(mark->m_leAlphaValue->text(), QStringLiteral("100"));
        QCOMPARE(recordOf(dlg).watermark.image.alpha, 255u);
        typeAfter(mark->m_leAddWKText->textEdit(), QStringLiteral("x"));
        click(mark->m_buttonFrom->findChild<QPushButton *>(QStringLiteral("m_btnReset")));
        const VEWatermarkSettings reset = recordOf(dlg).watermark;
        QVERIFY(reset.text.text.isEmpty());
        QCOMPARE(reset.text.alpha, 255u);
        QCOMPARE(mark->m_leTextAlphaValue->text(), QStringLiteral("100"));
        QVERIFY(mark->m_leAddWKText->textEdit()->toPlainText().isEmpty());
        QVERIFY(!mark->m_btnDelete->isVisible());
        click(dlg.m_btnCancel);
    }

    // On a slow disk: while the clip loads, Escape, close, Cancel, OK and the close button are all ignored, the
    // wait box stays; deleting the editor then ends the worker promptly.
    void slowLoadingCannotBeClosed()
    {
        QVideoEditingDlg::setLoadDelayForTesting(60000);
        auto *dlg = new QVideoEditingDlg;
        dlg->setVideoFile(etk::patternClip(), 0, 0);
        VEEditConfig c;
        dlg->setEditConfig(c);
        dlg->show();
        QVERIFY(QTest::qWaitFor([&] { return dlg->waitDialog() != nullptr; }, 5000));
        QWaitForDlg *wait = dlg->waitDialog();
        QVERIFY(QTest::qWaitForWindowExposed(wait));
        rstest::keyClick(wait, Qt::Key_Escape);
        QVERIFY(!wait->close());
        pressKey(Qt::Key_Escape);
        QVERIFY(!dlg->close());
        dlg->reject();
        for (QWidget *b : {static_cast<QWidget *>(dlg->m_btnCancel), static_cast<QWidget *>(dlg->m_btnOK),
                           static_cast<QWidget *>(dlg->m_btnClose)})
            clickWhatLiesOver(b);
        // None of the above may close anything; a close could also come queued. Only this negative check has
        // no state to wait for, and a slow machine can only make it miss a late close, never fail it.
        QTest::qWait(100);
        QVERIFY(dlg->isVisible());
        QVERIFY(dlg->waitDialog() && dlg->waitDialog()->isVisible());
        QVERIFY(!dlg->isLoaded());
        {
            // What the screen shows: the box over the editor.
            const QRect r = dlg->frameGeometry();
            const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
            const QString dir = rstest::buildDir() + QStringLiteral("/gallery");
            QDir().mkpath(dir);
            QVERIFY(screen.save(dir + QStringLiteral("/QWaitForDlg-over-editor.png")));
            const QStringList unreachable = rstest::unreachableControls(dlg->waitDialog()); // the box, not the editor
            QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(QStringLiteral("; "))));
        }
        QElapsedTimer t;
        t.start();
        delete dlg;
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, "the worker ended promptly");
        QVideoEditingDlg::setLoadDelayForTesting(0);
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
        QVERIFY(showsPicture(dlg));
        etk::saveGallery(&dlg, QStringLiteral("QVideoEditingDlg-watermark-picture"));

        answer = bad;
        bool messageShown = false;
        QTimer closer; // closes the message box whenever it comes up
        connect(&closer, &QTimer::timeout, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (box && box != &dlg) {
                messageShown = true;
                closer.stop();
                box->close();
            }
        });
        closer.start(50);
        click(mark->m_btnAddWKImg);
        QVERIFY(messageShown);
        QCOMPARE(recordOf(dlg).watermark.image.imagePath, good.toUtf8());
        QCOMPARE(startDirs.value(0), QDir::homePath());
        QCOMPARE(startDirs.value(1), dir);

        click(mark->m_btnDelete);
        QVERIFY(recordOf(dlg).watermark.image.imagePath.isEmpty());
        click(dlg.m_btnOK);
    }

    // A snapshot lands inside the chosen folder even when it is stored without its final slash; a folder that
    // cannot exist (its parent is a file) gets the message and no capture.
    void snapshotIntoFolder_data()
    {
        QTest::addColumn<bool>("usable");
        QTest::newRow("folder without its final slash") << true;
        QTest::newRow("folder below a regular file") << false;
    }

    void snapshotIntoFolder()
    {
        QFETCH(bool, usable);
        const QString base = rstest::scratchDir(QStringLiteral("editordlg_snapshots"));
        QDir(base).removeRecursively();
        QDir().mkpath(base);
        QString folder = base + QStringLiteral("/shots");
        if (usable) {
            QDir().mkpath(folder);
        } else {
            QFile blocker(base + QStringLiteral("/file"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.close();
            folder = blocker.fileName() + QStringLiteral("/shots");
        }
        QVERIFY(QVedioEditSettingXml::setCaptrueImaPath(folder));
        Editor e(etk::patternClip());
        QVERIFY(waitLoaded(e.dlg));
        QVERIFY(showsPicture(e.dlg));
        click(e.dlg.trimPage()->m_btnSnapshot);
        QVERIFY(e.dlg.messageForm());
        const QString message = e.dlg.messageForm()->m_lblText->text();
        if (usable) {
            QCOMPARE(message, QStringLiteral("Snapshot successfully!"));
            const QStringList files = QDir(folder).entryList(QDir::Files);
            QCOMPARE(files.size(), 1);
            QVERIFY(files.first().startsWith(QStringLiteral("ScreenCapture_")));
            QVERIFY(files.first().endsWith(QStringLiteral(".jpg")));
            QVERIFY(!QImage(folder + QLatin1Char('/') + files.first()).isNull());
            etk::saveGallery(e.dlg.messageForm(), QStringLiteral("QMessageOpacityForm-snapshot"));
        } else {
            QCOMPARE(message, QStringLiteral("\"%1\"is not exists").arg(folder));
            QVERIFY(QDir(base).entryList(QDir::Files).size() == 1);
        }
        QCOMPARE(QVideoEditingDlg::snapshotPath(QStringLiteral("/a/b"), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 6)),
                                                QStringLiteral("JPG")),
                 QStringLiteral("/a/b/ScreenCapture_20260102030405006.jpg"));
        click(e.dlg.m_btnCancel);
    }
};

RS_TEST_MAIN(TestEditorDlg)
#include "tst_editordlg.moc"
