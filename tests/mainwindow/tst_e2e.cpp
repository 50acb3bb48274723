// The real main window driven as a user would, on the real codec library: files chosen in the (answered)
// file dialog and dropped as file URLs, rows reordered by dropping a row, renamed, filtered and deleted (also
// from a row's menu);
// merges in the high-speed mode (packets copied unchanged) and the encoding mode (a catalogue profile,
// trimmed clips), a Stop half-way, both answers of the high-speed notice, and an output folder that cannot
// be made. Screenshots of the window go to the gallery.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "AttributeSetting.h"
#include "FFprobe.h"
#include "FormatWidget.h"
#include "MacMainWindow.h"
#include "MediaFixtures.h"
#include "QConverterOperate.h"
#include "QImageDualSlider.h"
#include "QLoadingDlg.h"
#include "QMainDlg.h"
#include "QNewConvertObject.h"
#include "QRirezaPlayerForm.h"
#include "QScrollAreaFrameSelection.h"
#include "QShowIsLosslassDlg.h"
#include "QVideoSettingXml.h"
#include "QZTMenu.h"
#include "RetractLabel.h"
#include "VideoConvertBar.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>

namespace {
const quint64 kSec = 1000000ULL;
}

class TestMainWindowEndToEnd : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;
    MacMainWindow *m_w = nullptr;
    QString m_clips;  // three compatible clips
    QString m_extras; // a folder with a non-media file and a broken one
    QString m_out;
    QStringList m_abc;

    QMainDlg *list() const { return m_w->mainDlg(); }
    ZtVideoConvertManager *clips() const { return ZtVideoConvertManager::getConvertManagerObject(); }

    QStringList rowNames() const
    {
        QStringList names;
        for (VideoConvertBar *bar : list()->rows())
            names << bar->getVideoName();
        return names;
    }
    QStringList clipNames() const
    {
        QStringList names;
        for (int i = 0; i < clips()->GetItemCount(); ++i)
            names << clips()->GetItem(i)->m_strFileName;
        return names;
    }

    // The total of the clips' whole lengths (the sources' own durations: 2 s, 3 s and 1.5 s of content
    // with their audio padding).
    QString durationText() const
    {
        quint64 total = 0;
        for (int i = 0; i < clips()->GetItemCount(); ++i)
            total += clips()->GetItem(i)->m_nDuration;
        return MediaListRules::timeText(total);
    }

    QString copyAs(const QString &fixture, const QString &dir, const QString &name)
    {
        const QString to = dir + QLatin1Char('/') + name;
        QFile::remove(to);
        if (!QFile::copy(fixture, to))
            return QString();
        return to;
    }

    bool waitIdle(int ms = 60000)
    {
        return mwt::waitFor([this] { return !list()->isBusy() && !list()->saveFileDialog(); }, ms);
    }

    void useLossless()
    {
        AttributeSetting a;
        a.bLossless = true;
        a.fileFormat = QStringLiteral("Original");
        a.fileExtend = QStringLiteral("mp4");
        QSettingDlgState::setAttributeSetting(a);
    }

    void clickConvert()
    {
        QVERIFY(m_w->m_btnConvert->isEnabled());
        rstest::clickAt(m_w->m_btnConvert);
    }

    // Sends a row's own drag payload to another row at y (real drag events; a test cannot run the
    // platform's drag loop).
    bool dropRow(VideoConvertBar *from, VideoConvertBar *onto, int y, QMimeData *mime = nullptr)
    {
        std::unique_ptr<QMimeData> data(mime ? mime : from->createDragData());
        const QPoint at(30, y);
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &move);
        QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &drop);
        return drop.isAccepted();
    }

private slots:
    void initTestCase()
    {
        m_rec = &mwt::installRecorders();
        m_clips = rstest::scratchDir(QStringLiteral("clips"));
        m_extras = rstest::scratchDir(QStringLiteral("extras"));
        m_out = rstest::scratchDir(QStringLiteral("output")) + QLatin1Char('/');
        m_abc << copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4")), m_clips, "a first.mp4")
              << copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), m_clips, "b second.mp4")
              << copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac_c.mp4")), m_clips, "c third.mp4");
        QVERIFY(!m_abc.contains(QString()));
        QFile notes(m_extras + QStringLiteral("/notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a video\n");
        notes.close();
        QVERIFY(!copyAs(rstest::MediaFixtures::badFile(QStringLiteral("text.mp4")), m_extras, "broken.mp4").isEmpty());
        QVERIFY(!copyAs(m_abc.first(), m_extras, "book.aax").isEmpty());
        // The stored choice the window restores at start: the high-speed mode, the output folder.
        QVideoSettingXml::SetItemValue("LOSSLESS_ITEM", "Lossless_convert", "Y");
        QVideoSettingXml::SetItemValue("OutPut_path", "path_value", m_out);
        m_w = new MacMainWindow(nullptr);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
        QVERIFY(QSettingDlgState::attributeSetting().bLossless);
        QCOMPARE(QConverterOperate::getConverterPath(), m_out);
    }

    void cleanupTestCase()
    {
        delete m_w;
        m_w = nullptr;
    }

    void emptyWindow()
    {
        QCOMPARE(m_w->minimumSize(), QSize(1035, 623));
        m_w->resize(1035, 623);
        // The window system applies the size in its own time.
        QTRY_COMPARE_WITH_TIMEOUT(m_w->playerForm()->size(), QSize(731, 551), rstest::kHangBoundMs);
        QTRY_COMPARE_WITH_TIMEOUT(list()->geometry(), QRect(2, 22, 300, 551), rstest::kHangBoundMs);
        QVERIFY(!m_w->m_btnConvert->isEnabled());
        QVERIFY(list()->rows().isEmpty());
        QVERIFY(list()->totalTimeText().isEmpty());
        mwt::shot(m_w, QStringLiteral("MacMainWindow-empty"));
    }

    void menuEntries()
    {
        m_rec->urls.clear();
        m_rec->messages.clear();
        const QList<QAction *> help = m_w->helpMenu()->actions();
        QCOMPARE(help.size(), 3);
        help.at(0)->trigger(); // Help
        help.at(1)->trigger(); // Home
        QCOMPARE(m_rec->urls.size(), 2);
        QCOMPARE(m_rec->urls.at(0).path(), QStringLiteral("/api/product/redirect"));
        QCOMPARE(m_rec->urls.at(0).query(), QStringLiteral("pid=10401&page_type=help"));
        QCOMPARE(m_rec->urls.at(1).host(), m_rec->urls.at(0).host());
        // Check for Updates answers in the message box, also when the check fails.
        help.at(2)->trigger();
        QVERIFY(mwt::waitFor([this] { return !m_rec->messages.isEmpty(); }, 10000));
        QVERIFY(m_rec->messages.first().contains(QStringLiteral("failed")));
    }

    void formatButtonOpensTheChooser()
    {
        bool chooser = false;
        mwt::onNextModal([&chooser](QWidget *w) {
            chooser = qobject_cast<FormatWidget *>(w) != nullptr;
            w->close();
        });
        rstest::clickAt(m_w->m_btnFormat);
        QVERIFY(chooser);
        // The chooser restored the stored high-speed choice into the record.
        QVERIFY(QSettingDlgState::attributeSetting().bLossless);
    }

    void importByDialogAndDrop()
    {
        m_rec->nextFiles = QStringList{m_abc.at(0), m_abc.at(1)};
        rstest::clickAt(m_w->m_btnAddFile);
        // While the import runs the list and the buttons that change it are blocked.
        QVERIFY(list()->isImporting());
        QVERIFY(list()->loadingDialog() && list()->loadingDialog()->isVisible());
        QVERIFY(!m_w->m_btnAddFile->isEnabled() && !m_w->m_btnConvert->isEnabled());
        QVERIFY(!mwt::dropFiles(list(), {m_abc.at(2)}));
        QVERIFY(waitIdle());
        QVERIFY(!list()->loadingDialog());
        QCOMPARE(rowNames(), QStringList({"a first.mp4", "b second.mp4"}));
        QCOMPARE(QVideoSettingXml::GetItemValue("Open_path", "Open_path_value", "."), m_clips);

        QVERIFY(mwt::dropFiles(list(), {m_abc.at(2), m_extras}));
        QVERIFY(waitIdle());
        // Rows in file order; the text file, the broken file and the protected book give none.
        QCOMPARE(rowNames(), QStringList({"a first.mp4", "b second.mp4", "c third.mp4"}));
        QCOMPARE(clipNames(), rowNames());
        QCOMPARE(list()->totalTimeText(), durationText());
        QCOMPARE(list()->playerRow(), list()->rows().first());
        QCOMPARE(m_w->playerForm()->currentItem(), clips()->GetItem(0));
        QVERIFY(m_w->m_btnConvert->isEnabled() && m_w->m_btnAddFile->isEnabled());
    }

    void reorderByDroppingRows()
    {
        const QList<VideoConvertBar *> rows = list()->rows();
        ZtVideoConvertItem *previewed = clips()->GetItem(0);
        // Row 0 dropped on the lower half of row 2 goes after it.
        QVERIFY(dropRow(rows.at(0), rows.at(2), 40));
        QCOMPARE(clipNames(), QStringList({"b second.mp4", "c third.mp4", "a first.mp4"}));
        QCOMPARE(rowNames(), clipNames());
        QCOMPARE(list()->playerRow(), rows.at(2));
        QCOMPARE(list()->playerRow()->getVideoItemInfo(), previewed);
        // A payload of the row type from outside this list is refused.
        auto *foreign = new QMimeData;
        foreign->setData(QLatin1String(VideoConvertBar::kDragMime), QByteArray("x"));
        foreign->setText(QStringLiteral("0"));
        QVERIFY(!dropRow(rows.at(0), rows.at(1), 10, foreign));
        QCOMPARE(clipNames(), QStringList({"b second.mp4", "c third.mp4", "a first.mp4"}));
        // Back: the last row before the first (upper half).
        QVERIFY(dropRow(rows.at(2), rows.at(0), 5));
        QCOMPARE(clipNames(), QStringList({"a first.mp4", "b second.mp4", "c third.mp4"}));
        QCOMPARE(list()->playerRow(), rows.at(0));
    }

    void renameFilterAndDelete()
    {
        VideoConvertBar *row = list()->rows().at(1);
        rstest::clickAt(row, QPoint(200, 25));
        QCOMPARE(list()->focusRow(), row);
        QVERIFY(list()->action(QStringLiteral("Rename")));
        list()->action(QStringLiteral("Rename"))->trigger();
        QLineEdit *editor = row->m_labVideoName->editor();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->window()->focusWidget(), static_cast<QWidget *>(editor)); // Rename gives it the keys
        rstest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        rstest::typeText(editor, QStringLiteral("second cut"));
        rstest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(clips()->GetItem(1)->m_strFileName, QStringLiteral("second cut.mp4"));
        QCOMPARE(row->m_labVideoName->getName(), QStringLiteral("second cut"));

        list()->SearchTextChanged(QStringLiteral("CUT"));
        QCOMPARE(list()->visibleRows().size(), 1);
        // Select everything (hidden rows too), then Delete: only the row the filter shows goes.
        rstest::clickAt(list()->visibleRows().first(), QPoint(200, 25)); // the click gives the list the keyboard
        rstest::keyClick(list(), Qt::Key_A, Qt::ControlModifier);
        for (VideoConvertBar *bar : list()->rows())
            QCOMPARE(bar->getMouseState(), 2);
        list()->action(QStringLiteral("Delete"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the removed row goes now
        list()->SearchTextChanged(QString());
        QCOMPARE(clipNames(), QStringList({"a first.mp4", "c third.mp4"}));
        QCOMPARE(rowNames(), clipNames());
        QCOMPARE(list()->totalTimeText(), durationText());
    }

    void highSpeedMerge()
    {
        useLossless();
        m_rec->revealed.clear();
        m_rec->messages.clear();
        clickConvert();
        QVERIFY(list()->isMerging() || !m_rec->revealed.isEmpty());
        QVERIFY(mwt::waitFor([this] { return !m_rec->revealed.isEmpty(); }, 60000));
        QVERIFY(waitIdle());
        QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->messages.join('|')));
        const QString out = m_rec->revealed.first();
        QVERIFY2(out.startsWith(m_out) && QFile::exists(out), qPrintable(out));
        // The packets are the sources' own, in order.
        QStringList expected = rstest::FFprobe::packetDigests(m_abc.at(0), QStringLiteral("v:0"));
        expected += rstest::FFprobe::packetDigests(m_abc.at(2), QStringLiteral("v:0"));
        QCOMPARE(rstest::FFprobe::packetDigests(out, QStringLiteral("v:0")), expected);
        QVERIFY(m_w->m_btnConvert->isEnabled() && m_w->m_btnAddFile->isEnabled());
    }

    void powerOffAfterMerge()
    {
        // "Turn Off Computer" after a run asks the system to power off instead of revealing the file.
        useLossless();
        QVideoSettingXml::SetItemValue("SHOWDOWN_ITEM", "bIsShowDownComputer", "Y");
        m_rec->revealed.clear();
        const int before = m_rec->powerOffs;
        clickConvert();
        QVERIFY(mwt::waitFor([this, before] { return m_rec->powerOffs > before; }, 60000));
        QVERIFY(waitIdle());
        QVERIFY(m_rec->revealed.isEmpty());
        QVideoSettingXml::SetItemValue("SHOWDOWN_ITEM", "bIsShowDownComputer", "N");
    }

    void encodingMergeOfTrims()
    {
        QVERIFY(mwt::useCatalogueProfile(320, 240));
        clips()->GetItem(0)->m_nTrimStart = kSec / 2;
        clips()->GetItem(0)->m_nTrimEnd = 3 * kSec / 2;
        clips()->GetItem(1)->m_nTrimEnd = kSec;
        list()->TrimChanged();
        QCOMPARE(list()->totalTimeText(), QStringLiteral("00:00:02.00"));
        m_rec->revealed.clear();
        m_rec->messages.clear();
        clickConvert();
        QVERIFY(mwt::waitFor([this] { return !m_rec->revealed.isEmpty() || !m_rec->messages.isEmpty(); }, 120000));
        QVERIFY(waitIdle());
        QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->messages.join('|')));
        const QString out = m_rec->revealed.first();
        const AttributeSetting &a = QSettingDlgState::attributeSetting();
        QVERIFY2(out.endsWith(QLatin1Char('.') + a.fileExtend), qPrintable(out));
        const QJsonArray video = rstest::FFprobe::streams(out, QStringLiteral("video"));
        const QJsonArray audio = rstest::FFprobe::streams(out, QStringLiteral("audio"));
        QCOMPARE(video.size(), 1);
        QCOMPARE(audio.size(), 1);
        QCOMPARE(video.at(0).toObject().value("width").toInt(), 320);
        QCOMPARE(video.at(0).toObject().value("height").toInt(), 240);
        // The profile's fourccs (H264, AAC) name the codecs ffprobe reports.
        QCOMPARE(video.at(0).toObject().value("codec_name").toString(), a.VEncoder.toLower());
        QCOMPARE(audio.at(0).toObject().value("codec_name").toString(), a.AEncoder.toLower());
        QVERIFY(rstest::FFprobe::probe(out)
                    .value("format")
                    .toObject()
                    .value("format_name")
                    .toString()
                    .contains(a.fileExtend));
        const double d = rstest::FFprobe::durationSeconds(out);
        QVERIFY2(qAbs(d - 2.0) < 0.25, qPrintable(QString::number(d)));
        QCOMPARE(rstest::FFprobe::decodeErrors(out), QString());
        for (int i = 0; i < clips()->GetItemCount(); ++i)
            clips()->GetItem(i)->m_nTrimStart = clips()->GetItem(i)->m_nTrimEnd = 0;
        list()->TrimChanged();
    }

    void stopHalfWay()
    {
        const QString longClip = rstest::MediaFixtures::make(
            {QStringLiteral("mw_long_720p.mp4"),
             {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=20", "-f", "lavfi", "-i",
              "sine=frequency=440:sample_rate=44100:duration=20", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
              "yuv420p", "-c:a", "aac", "-b:a", "96k"}});
        // Dropped over a row: the row refuses files, so they reach the list behind it.
        QVERIFY(mwt::dropFiles(list()->rows().first(), {copyAs(longClip, m_clips, "d long.mp4")}));
        QVERIFY(waitIdle());
        QCOMPARE(clips()->GetItemCount(), 3);
        QVERIFY(mwt::useCatalogueProfile(1280, 720));
        m_rec->revealed.clear();
        m_rec->messages.clear();
        clickConvert();
        QVERIFY(list()->isMerging());
        QSaveFileDlg *dlg = list()->saveFileDialog();
        QVERIFY(dlg && dlg->isVisible() && dlg->isEnabled());
        const QString out = list()->convertObject()->getMergerOutputPath();
        QVERIFY(mwt::waitFor([dlg] { return dlg->m_progressBar->value() > 5; }, 60000));
        // The window stays usable for Stop; the list and the run buttons do not.
        QVERIFY(!m_w->m_btnConvert->isEnabled() && !m_w->m_btnAddFile->isEnabled());
        QVERIFY(!mwt::dropFiles(list(), {m_abc.at(1)}));
        mwt::shotScreen(m_w, QStringLiteral("MacMainWindow-merging"));
        int margin = 0;
        const int black = mwt::blackAroundWindow(dlg, m_w, &margin);
        QVERIFY2(margin > 100, qPrintable(QString::number(margin))); // the dialog overlaps the lit clip list
        QVERIFY2(black < margin / 50, qPrintable(QStringLiteral("%1 of %2 black").arg(black).arg(margin)));
        mwt::shot(dlg, QStringLiteral("QSaveFileDlg-running"));
        rstest::clickAt(dlg->m_btnCancel);
        QVERIFY(waitIdle(20000));
        QVERIFY2(!QFile::exists(out), qPrintable(out));
        QVERIFY(m_rec->revealed.isEmpty());
        QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->messages.join('|')));
        QVERIFY(m_w->m_btnConvert->isEnabled() && m_w->m_btnAddFile->isEnabled());
        QVERIFY(list()->rows().first()->isEnabled());
    }

    void mismatchNoticeClosedGoesOn()
    {
        // 320x240 and 1280x720 clips cannot be joined without re-encoding. The notice informs: closed, it
        // lets the run go on, and the library refuses the join.
        useLossless();
        QVERIFY(!clips()->IsLosslessMerger());
        m_rec->messages.clear();
        QNewConvertObject *before = list()->convertObject();
        const int files = QDir(m_out).entryList(QDir::Files).size();
        bool shown = false;
        mwt::onNextModal([&shown](QWidget *w) {
            auto *notice = qobject_cast<QShowIsLosslassDlg *>(w);
            shown = notice != nullptr;
            if (notice)
                rstest::clickAt(notice->m_btnClose);
        });
        clickConvert();
        QVERIFY(shown);
        QVERIFY(mwt::waitFor([this] { return !m_rec->messages.isEmpty(); }, 60000));
        QVERIFY(waitIdle());
        QVERIFY(list()->convertObject() != before);
        QCOMPARE(QDir(m_out).entryList(QDir::Files).size(), files);
        QVERIFY(m_rec->messages.first().startsWith(QStringLiteral("File conversion failed")));
        QCOMPARE(QVideoSettingXml::GetItemValue("IsLossless_Remind_Item", "IsLossless_Remind_show", "Y"),
                 QStringLiteral("Y"));
    }

    void mismatchNoticeAcceptedReportsTheRefusal()
    {
        useLossless();
        m_rec->messages.clear();
        m_rec->revealed.clear();
        const QStringList before = QDir(m_out).entryList(QDir::Files);
        mwt::onNextModal([](QWidget *w) {
            if (auto *notice = qobject_cast<QShowIsLosslassDlg *>(w))
                rstest::clickAt(notice->m_btnOk);
        });
        clickConvert();
        QVERIFY(mwt::waitFor([this] { return !m_rec->messages.isEmpty(); }, 60000));
        QVERIFY(waitIdle());
        QVERIFY(m_rec->messages.first().startsWith(QStringLiteral("File conversion failed")));
        QVERIFY(m_rec->revealed.isEmpty());
        QCOMPARE(QDir(m_out).entryList(QDir::Files), before);
    }

    void unwritableOutputFolder()
    {
        QFile plain(m_out + QStringLiteral("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QConverterOperate::setConverterPath(m_out + QStringLiteral("plain/sub/"));
        m_rec->messages.clear();
        clickConvert();
        QCOMPARE(m_rec->messages, QStringList({QStringLiteral("The output path is invalid!")}));
        QVERIFY(!list()->isBusy());
        QConverterOperate::setConverterPath(m_out);
        QFile::remove(m_out + QStringLiteral("plain"));
    }

    void stopImportKeepsWhatWasAdded()
    {
        list()->action(QStringLiteral("Delete All"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the removed rows go now
        // The empty list's menu offers no Convert and no Delete All.
        rstest::clickAt(list(), QPoint(100, 100), Qt::RightButton);
        QVERIFY(list()->contextMenu()->isVisible());
        QVERIFY(!list()->action(QStringLiteral("Convert"))->isEnabled());
        QVERIFY(!list()->action(QStringLiteral("Delete All"))->isEnabled());
        QVERIFY(list()->action(QStringLiteral("Import"))->isEnabled());
        list()->contextMenu()->hide();
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many << copyAs(m_abc.at(2), m_clips, QStringLiteral("many %1.mp4").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY(mwt::dropFiles(list(), many));
        QLoadingDlg *dlg = list()->loadingDialog();
        QVERIFY(dlg && dlg->isVisible());
        rstest::clickAt(dlg->m_btnCancel);
        // The dialog and the block stay until the worker has ended, so no clip arrives into a free list.
        QVERIFY(list()->isImporting());
        QCOMPARE(list()->loadingDialog(), dlg);
        QVERIFY(waitIdle());
        QVERIFY(list()->rows().size() < many.size());
        QCOMPARE(clips()->GetItemCount(), list()->rows().size());
        QCOMPARE(rowNames(), clipNames());
        for (int i = 0; i < list()->rows().size(); ++i)
            QCOMPARE(rowNames().at(i), QStringLiteral("many %1.mp4").arg(i, 2, 10, QLatin1Char('0')));
    }

    void updateAnswers()
    {
        m_rec->messages.clear();
        // The automatic check is silent unless there is a newer version; a question from the menu is
        // always answered.
        m_w->OnUpdateChecked(false, false, false, QString(), QString());
        m_w->OnUpdateChecked(false, true, false, QStringLiteral("1.0.1.2"), QString());
        QVERIFY(m_rec->messages.isEmpty());
        m_w->OnUpdateChecked(false, true, true, QStringLiteral("2.0.0"), QStringLiteral("https://x.example/"));
        m_w->OnUpdateChecked(true, true, false, QStringLiteral("1.0.1.2"), QString());
        QCOMPARE(m_rec->messages.size(), 2);
        QVERIFY(m_rec->messages.at(0).contains(QStringLiteral("2.0.0")));
        QVERIFY(m_rec->messages.at(1).contains(QStringLiteral("latest")));
    }

    void tenRows()
    {
        list()->action(QStringLiteral("Delete All"))->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the removed rows go now
        QVERIFY(list()->rows().isEmpty());
        QVERIFY(!m_w->m_btnConvert->isEnabled());
        QStringList ten;
        const char *names[] = {"Holiday arrival", "Beach morning", "Harbour walk", "Old town at dusk", "Market",
                               "Boat trip",       "Lighthouse",    "Dinner",       "Night lights",     "Departure"};
        for (int i = 0; i < 10; ++i)
            ten << copyAs(m_abc.at(i % 3), m_clips, QStringLiteral("%1.mp4").arg(QLatin1String(names[i])));
        QVERIFY(mwt::dropFiles(list(), ten));
        QVERIFY(waitIdle());
        QCOMPARE(list()->rows().size(), 10);
        QList<VideoConvertBar *> rows = list()->rows();
        rstest::clickAt(rows.at(2), QPoint(200, 25));
        // Shift from the anchor (row 2) to row 5 selects rows 2 to 5 and nothing else.
        rstest::clickAt(rows.at(5), QPoint(200, 25), Qt::LeftButton, Qt::ShiftModifier);
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows.at(i)->getMouseState() == 2, i >= 2 && i <= 5);
        // A rubber band from empty space over rows 7 and 8 selects just them.
        QSignalSpy band(list()->scrollArea, &QScrollAreaFrameSelection::emitSelectPtChange);
        list()->scrollArea->itemPressStart();
        emit list()->scrollArea->emitSelectPtChange(QPoint(5, 7 * 50 + 10), QPoint(5, 8 * 50 + 10));
        list()->scrollArea->itemRelease();
        QVERIFY(band.count() >= 1);
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows.at(i)->getMouseState() == 2, i == 7 || i == 8);
        for (VideoConvertBar *bar : rows)
            bar->setMouseState(0);
        rstest::clickAt(rows.at(2), QPoint(200, 25));
        rstest::doubleClickAt(rows.at(4), QPoint(200, 25));
        QCOMPARE(list()->playerRow(), rows.at(4));
        QCOMPARE(m_w->playerForm()->currentItem(), rows.at(4)->getVideoItemInfo());
        rstest::clickAt(rows.at(1), QPoint(200, 25), Qt::LeftButton, Qt::ControlModifier);
        rstest::moveTo(rows.at(6), QPoint(150, 20));
        QVERIFY(rows.at(6)->m_btnClose->isVisible());
        // The picture shows the real pane: the clip playing, its ten strip pictures arrived.
        QRirezaPlayerForm *pane = m_w->playerForm();
        QVERIFY(mwt::waitFor([pane] { return pane->strip()->imageCount() == 10; }, 20000));
        QVERIFY(mwt::waitFor([pane] { return pane->strip()->GetProgressValue() > 0.02; }, 10000));
        mwt::shot(m_w, QStringLiteral("MacMainWindow-rows"));
        // Previous and Next follow the preview.
        QSignalSpy enable(list(), &QMainDlg::emitBtnEnable);
        list()->OnBtnNext();
        QCOMPARE(list()->playerRow(), rows.at(5));
        QCOMPARE(enable.last().at(0).toBool(), true);
        QCOMPARE(enable.last().at(1).toBool(), true);
        // Deleting the previewed row moves the preview to the next one.
        rows.at(5)->OnBtnDelete();
        QCOMPARE(list()->playerRow(), rows.at(6));
        QCOMPARE(list()->rows().size(), 9);
    }

    // Delete from a row's menu removes what the right press leaves selected: a row outside the selection
    // alone, a row of a Ctrl selection with the whole selection. The menu's row actions follow that row.
    void rowMenuDelete_data()
    {
        QTest::addColumn<QList<int>>("ctrlClicked");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<QList<int>>("removed");
        QTest::newRow("a row alone") << QList<int>() << 1 << QList<int>{1};
        QTest::newRow("a row beside a selection") << QList<int>{0, 2} << 1 << QList<int>{1};
        QTest::newRow("a row of a selection") << QList<int>{2, 0} << 2 << QList<int>{0, 2};
    }
    void rowMenuDelete()
    {
        QFETCH(QList<int>, ctrlClicked);
        QFETCH(int, pressed);
        QFETCH(QList<int>, removed);
        const QList<VideoConvertBar *> rows = list()->rows();
        QVERIFY(rows.size() > 3);
        rstest::clickAt(rows.last(), QPoint(200, 25)); // a plain click ends any selection
        for (int i : ctrlClicked)
            rstest::clickAt(rows.at(i), QPoint(200, 25), Qt::LeftButton, Qt::ControlModifier);
        QStringList kept = rowNames();
        for (int k = removed.size() - 1; k >= 0; --k)
            kept.removeAt(removed.at(k));
        // The right press goes to the row as a user sees it before pressing: no other menu or dialog over the
        // window (a press while another menu is open only closes that one). A menu that the window system takes
        // away at once on a busy X server without a window manager is pressed for again, as a user would; each
        // press must reach the row, and the menu must come.
        QMenu *menu = list()->contextMenu();
        QSignalSpy asked(rows.at(pressed), &VideoConvertBar::emitshowTreeMenu);
        for (int attempt = 1; attempt <= 3 && !menu->isVisible(); ++attempt) {
            QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activePopupWidget() && !QApplication::activeModalWidget(),
                                     rstest::kHangBoundMs);
            rstest::clickAt(rows.at(pressed), QPoint(200, 25), Qt::RightButton);
            QCOMPARE(asked.count(), attempt);
            if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, rstest::kHangBoundMs / 5))
                qWarning("right press %d: the row asked for its menu, none showed (list busy: %d)", attempt,
                         int(list()->isBusy()));
        }
        QVERIFY2(menu->isVisible(), "the row's menu shows");
        QCOMPARE(list()->focusRow(), rows.at(pressed));
        QAction *remove = list()->action(QStringLiteral("Delete"));
        QVERIFY(remove && menu->actions().contains(remove));
        rstest::clickAt(menu, menu->actionGeometry(remove).center());
        QTRY_COMPARE_WITH_TIMEOUT(rowNames(), kept, rstest::kHangBoundMs);
        QCOMPARE(clipNames(), kept);
    }

    void closeWithTheStoredChoice()
    {
        QVideoSettingXml::SetItemValue("REMIND_ITEM", "isShowRemind", "N");
        QVideoSettingXml::SetItemValue("CLOSE_ITEM", "bIsCloseDlg", "Y");
        rstest::clickAt(m_w->m_btnClose);
        QVERIFY(!m_w->isVisible());
    }
};

RS_TEST_MAIN(TestMainWindowEndToEnd)
#include "tst_e2e.moc"
