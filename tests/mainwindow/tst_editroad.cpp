// The editing road of the main window: Edit on a row opens the clip editor on its clip; OK writes the edits
// and the trim into that clip and the applied-to-all sections into the others; Cancel keeps the clip's own
// record; in the high-speed mode the edit tip follows an OK until the user silences it.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "AttributeSetting.h"
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "FFprobe.h"
#include "MacMainWindow.h"
#include "MediaFixtures.h"
#include "QAdjustOperationForm.h"
#include "QAudioOperationForm.h"
#include "QCommonButtonForm.h"
#include "QEditTipDlg.h"
#include "QImageDualSlider.h"
#include "QMainDlg.h"
#include "QPlayerOperationForm.h"
#include "QRirezaPlaterBtnForm.h"
#include "QRirezaPlayerForm.h"
#include "QTrimOperationForm.h"
#include "QVEDualSlider.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QVideoSettingXml.h"
#include "QWatermarkOperationForm.h"
#include "QZTComboBox.h"
#include "QZTTextEdit.h"
#include "SoundMeasure.h"
#include "VideoConvertBar.h"
#include "ZTPlayerClass.h"
#include "ZTPlayerManager.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QAction>
#include <QListWidget>
#include <QTextEdit>

namespace {

using mwt::click;

// A background whose pitch tells where in it the sound is: 400 Hz in its first second, 200 Hz more each second.
double stepHz(double seconds)
{
    return 400 + 200 * std::floor(seconds);
}

// The last stretch the editor's preview played, once it has played past `us` (bounded); empty otherwise.
rstest::Sound heardAfter(ZTPlayerClass *player, quint64 us, double *at)
{
    rstest::Sound heard;
    (void)QTest::qWaitFor(
        [&] {
            if (player->GetPlayTime_Player() < us)
                return false;
            unsigned char *wav = player->GetAudioWaveData_Player(1);
            heard = rstest::Sound::ofWav(wav);
            *at = player->GetPlayTime_Player() / 1e6;
            player->FreeAudioWaveData_Player(wav);
            return heard.seconds() >= 0.02;
        },
        rstest::kHangBoundMs);
    return heard;
}

// Whether `heard` is the background at `into` seconds of it, or at most 0.1 s before (the level data is the
// stretch played last).
bool isBackgroundAt(const rstest::Sound &heard, double into)
{
    const double hz = heard.toneHz();
    return heard.levelDb() > -30 && (qAbs(hz - stepHz(into)) < 60 || qAbs(hz - stepHz(into - 0.1)) < 60);
}

// A 6 s clip whose own sound track is silent: the background alone is heard.
QString silentTrackClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("editroad_silent_track.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=6 -f lavfi -i "
                             "anullsrc=sample_rate=44100:channel_layout=stereo -t 6 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
}

QString steppedBackground()
{
    return rstest::MediaFixtures::make({QStringLiteral("editroad_steps.wav"),
                                        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                         QStringLiteral("aevalsrc=0.5*sin(2*PI*(400+200*floor(t))*t):s=44100:d=6")}});
}

// The Audio page's file button.
void chooseBackground(QVideoEditingDlg *dlg)
{
    click(dlg->editTag()->button(QVideoEditingDlg::Audio));
    rstest::clickAt(dlg->audioPage()->m_btnSetBgVoice);
}

// The editor's trim start dragged to about a third of the clip, then Trim.
void trimAThirdInEditor(QVideoEditingDlg *dlg)
{
    click(dlg->editTag()->button(QVideoEditingDlg::Trim));
    QVEDualSlider *slider = dlg->trimPage()->m_TrimDSlider;
    QWidget *handle = slider->startButton();
    const QPoint from = handle->geometry().topLeft() + QPoint(3, handle->height() / 2);
    rstest::xDragTo(slider, from, QPoint(slider->width() / 3, from.y()));
    rstest::xClickAt(dlg->trimPage()->m_btnTrim);
    QTRY_VERIFY_WITH_TIMEOUT(etk::recordOf(*dlg).trimStart > 500000, rstest::kHangBoundMs);
}

// Each part of the join (of `parts` seconds each) begins with the background's first second.
void eachPartBeginsWithTheBackground(const QString &joined, const QList<double> &parts)
{
    QVERIFY(!joined.isEmpty());
    const rstest::Sound sound = rstest::Sound::ofFile(joined);
    double start = 0;
    for (int i = 0; i < parts.size(); start += parts.at(i++)) {
        const double db = sound.levelDb(start + 0.1, 0.2), hz = sound.toneHz(start + 0.1, 0.2);
        QVERIFY2(db > -30 && qAbs(hz - stepHz(0)) < 40,
                 qPrintable(QStringLiteral("part %1 (from %2 s) begins at %3 Hz, %4 dB; the background has %5 Hz")
                                .arg(i + 1)
                                .arg(start)
                                .arg(hz)
                                .arg(db)
                                .arg(stepHz(0))));
    }
}

} // namespace

class TestEditRoad : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;
    MacMainWindow *m_w = nullptr;
    QString m_fileAnswer; // of the editor's file dialogs

    QMainDlg *list() const { return m_w->mainDlg(); }
    static ZtVideoConvertItem *clip(int i) { return mwt::clipAt(i); }

    void setLossless(bool on)
    {
        AttributeSetting a = QSettingDlgState::attributeSetting();
        a.bLossless = on;
        QSettingDlgState::setAttributeSetting(a);
    }

    // Convert pressed; the path of the output the program revealed, or empty (with the failure recorded) when it
    // showed a message instead or did not end within `boundMs`.
    QString convert(int boundMs)
    {
        m_rec->revealed.clear();
        m_rec->messages.clear();
        click(m_w->m_btnConvert);
        if (!mwt::waitFor([this] { return !m_rec->revealed.isEmpty() || !m_rec->messages.isEmpty(); }, boundMs) ||
            !m_rec->messages.isEmpty() || !mwt::waitFor([this] { return !list()->isBusy(); }, 30000)) {
            QTest::qFail(qPrintable(QStringLiteral("no output: ") + m_rec->messages.join('|')), __FILE__, __LINE__);
            return QString();
        }
        return m_rec->revealed.first();
    }

    // Edit on row `row`; `act` runs in the loaded editor.
    bool edit(int row, const std::function<void(QVideoEditingDlg *)> &act)
    {
        return mwt::editRow(list()->rows().at(row), act);
    }

    // The list holds `files` alone, the first in the preview.
    bool only(const QStringList &files)
    {
        list()->action(QStringLiteral("Delete All"))->trigger();
        m_rec->nextFiles = files;
        click(m_w->m_btnAddFile);
        return mwt::waitFor([&] { return !list()->isBusy() && list()->rows().size() == files.size(); }, 60000) &&
               mwt::waitFor([this] { return m_w->playerForm()->currentItem() == clip(0); }, rstest::kHangBoundMs);
    }

    // The preview's start handle dragged, as X input, to `seconds` of the clip in the preview.
    void trimInStrip(double seconds)
    {
        QImageDualSlider *strip = m_w->playerForm()->strip();
        const double duration = m_w->playerForm()->currentItem()->m_nDuration / 1e6;
        const QPoint from = strip->startHandleRect().center();
        rstest::xDragTo(strip, from, from + QPoint(qRound(strip->imageAreaRect().width() * seconds / duration), 0));
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_w->playerForm()->currentItem()->m_nTrimStart / 1e6 - seconds) < 0.2,
                                 rstest::kHangBoundMs);
    }

    // Seconds of clip `i` that the join takes.
    static double partLength(int i) { return (clip(i)->m_nDuration - clip(i)->m_nTrimStart) / 1e6; }

    // The output of Convert in the encoding mode at 320x240.
    QString encodingJoin() { return mwt::useCatalogueProfile(320, 240) ? convert(120000) : QString(); }

private slots:
    void initTestCase()
    {
        m_rec = &mwt::installRecorders();
        m_w =
            mwt::openWithFiles(*m_rec, QStringList{rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4")),
                                                   rstest::MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"))});
        QVERIFY(m_w);
        EditorFileDialog::setOpenFileForTesting(
            [this](QWidget *, const QString &, const QString &, const QString &) { return m_fileAnswer; });
    }

    void cleanupTestCase()
    {
        EditorFileDialog::setOpenFileForTesting(nullptr);
        delete m_w;
        m_w = nullptr;
    }

    void okWritesBackAndApplies()
    {
        setLossless(false);
        const VEEditConfig secondBefore = clip(1)->m_editConfig;
        const bool ran = edit(0, [](QVideoEditingDlg *dlg) {
            click(dlg->editTag()->button(QVideoEditingDlg::Adjust));
            click(dlg->adjustPage()->m_btnRotate_R_90);
            click(dlg->adjustPage()->findChild<QCommonButtonForm *>()->findChild<QPushButton *>(
                QStringLiteral("m_btnApplyToAll")));
            click(dlg->editTag()->button(QVideoEditingDlg::Watermark));
            click(dlg->watermarkPage()->m_leAddWKText->textEdit()); // into the text box, then the keys
            rstest::typeText(dlg->watermarkPage()->m_leAddWKText->textEdit(), QStringLiteral("mine"));
            click(dlg->editTag()->button(QVideoEditingDlg::Trim));
            dlg->trimPage()->m_TrimDSlider->setStartValue(25);
            click(dlg->m_btnOK); // OK takes the handles as the trim
        });
        QVERIFY(ran);
        QCOMPARE(clip(0)->m_editConfig.crop.rotation, 90u);
        QCOMPARE(clip(0)->m_editConfig.watermark.text.text, QByteArray("mine"));
        QVERIFY(clip(0)->m_nTrimStart > 0);
        QCOMPARE(clip(0)->m_nTrimStart, clip(0)->m_editConfig.trimStart);
        QCOMPARE(clip(1)->m_editConfig.crop.rotation, 90u); // applied to all
        QCOMPARE(clip(1)->m_editConfig.watermark, secondBefore.watermark);
        QCOMPARE(clip(1)->m_nTrimStart, secondBefore.trimStart);
    }

    void cancelKeepsTheClip()
    {
        setLossless(false);
        const VEEditConfig before = clip(1)->m_editConfig;
        const quint64 trimBefore = clip(1)->m_nTrimStart;
        const bool ran = edit(1, [](QVideoEditingDlg *dlg) {
            click(dlg->editTag()->button(QVideoEditingDlg::Watermark));
            click(dlg->watermarkPage()->m_leAddWKText->textEdit()); // into the text box, then the keys
            rstest::typeText(dlg->watermarkPage()->m_leAddWKText->textEdit(), QStringLiteral("dropped"));
            dlg->trimPage()->m_TrimDSlider->setStartValue(50);
            dlg->trimPage()->onTrim();
            click(dlg->m_btnCancel);
        });
        QVERIFY(ran);
        QVERIFY(clip(1)->m_editConfig.watermark.text.text.isEmpty());
        QCOMPARE(clip(1)->m_nTrimStart, trimBefore);
        QCOMPARE(clip(1)->m_editConfig.crop, before.crop);
    }

    void highSpeedTipUntilSilenced()
    {
        setLossless(true);
        QVideoSettingXml::SetItemValue("EDIT_REMIND_ITEM", "isEditRemind", "Y");
        bool tipShown = false;
        const bool ran = edit(1, [&tipShown](QVideoEditingDlg *dlg) {
            mwt::onNextModal([&tipShown](QWidget *modal) {
                auto *tip = qobject_cast<QEditTipDlg *>(modal);
                tipShown = tip != nullptr;
                if (tip) {
                    mwt::shot(tip, QStringLiteral("QEditTipDlg-after-edit"));
                    tip->m_chkNote->setChecked(true);
                    tip->accept();
                }
            });
            click(dlg->m_btnOK);
        });
        QVERIFY(ran);
        QVERIFY(mwt::waitFor([&] { return tipShown; }, 10000));
        QCOMPARE(QVideoSettingXml::GetItemValue("EDIT_REMIND_ITEM", "isEditRemind", "Y"), QStringLiteral("N"));

        // Silenced: the next OK shows no tip.
        tipShown = false;
        QVERIFY(edit(0, [](QVideoEditingDlg *dlg) { click(dlg->m_btnOK); }));
        // The tip would come up inside the editor's opening call, which has returned.
        QVERIFY(!QApplication::activeModalWidget());
        setLossless(false);
    }

    // The join in the encoding mode carries what the editor wrote: the first clip trimmed, both turned a quarter
    // (pillar-boxed into the 320x240 output), the second clip whole.
    void encodingJoinShowsTheEdits()
    {
        QVERIFY(mwt::useCatalogueProfile(320, 240));
        QCOMPARE(clip(1)->m_editConfig.crop.rotation, 90u);
        const double expected = (clip(0)->m_nDuration - clip(0)->m_nTrimStart + clip(1)->m_nDuration) / 1e6;
        const QString out = convert(120000);
        QVERIFY(!out.isEmpty());
        const double d = rstest::FFprobe::durationSeconds(out);
        QVERIFY2(qAbs(d - expected) < 0.3, qPrintable(QStringLiteral("%1 vs %2").arg(d).arg(expected)));
        for (double at : {0.3, expected - 0.5}) {
            const QImage frame = etk::frameAt(out, at);
            QCOMPARE(frame.size(), QSize(320, 240));
            QVERIFY2(qGray(etk::meanColor(frame, QRect(0, 0, 30, 240)).rgb()) < 20,
                     "black bar left of the turned picture");
            QVERIFY2(qGray(etk::meanColor(frame, QRect(120, 60, 80, 120)).rgb()) > 20, "the picture in the middle");
        }
    }

    // Edits have no effect on a join without re-encoding: with the trims back to the whole clips, the video
    // packets are the sources' own although both clips carry a turn and the first a watermark.
    void highSpeedJoinIgnoresTheEdits()
    {
        for (int i = 0; i < 2; ++i)
            clip(i)->m_nTrimStart = clip(i)->m_nTrimEnd = 0;
        QVERIFY(clip(0)->m_editConfig.crop.rotation != 0);
        AttributeSetting a;
        a.bLossless = true;
        a.fileFormat = QStringLiteral("Original");
        a.fileExtend = QStringLiteral("mp4");
        QSettingDlgState::setAttributeSetting(a);
        const QString out = convert(60000);
        QVERIFY(!out.isEmpty());
        QStringList expected = rstest::FFprobe::packetDigests(clip(0)->getFilePath(), QStringLiteral("v:0"));
        expected += rstest::FFprobe::packetDigests(clip(1)->getFilePath(), QStringLiteral("v:0"));
        QCOMPARE(rstest::FFprobe::packetDigests(out, QStringLiteral("v:0")), expected);
    }

    // Apply to all at "Original Resolution" gives each other clip the crop in the pixels its own editor counts:
    // a phone clip (stored landscape, shown upright) got the crop of its stored size and was joined stretched.
    // Each part of the join has the shape of the part of its own picture that the crop keeps.
    void originalResolutionAppliedToTurnedClips_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QSize>("display"); // the record's display size
        QTest::addColumn<double>("shape");  // width / height of the picture kept
        QTest::newRow("edited 1280x720") << 0 << QSize(720, 720) << 720.0 / 720;
        QTest::newRow("phone 720x1280") << 1 << QSize(406, 1280) << 405.0 / 1280;
        QTest::newRow("4:3 640x480") << 2 << QSize(360, 480) << 360.0 / 480;
    }

    void originalResolutionAppliedToTurnedClips()
    {
        QFETCH(int, row);
        QFETCH(QSize, display);
        QFETCH(double, shape);
        static QString joined; // one edit and one join for the rows
        if (joined.isEmpty()) {
            const QString wide = etk::greyClip(QSize(1280, 720));
            const QString phone = rstest::MediaFixtures::make(
                {QStringLiteral("editroad_phone.mp4"), {"-i", wide, "-c", "copy", "-metadata:s:v:0", "rotate=90"}});
            list()->action(QStringLiteral("Delete All"))->trigger();
            m_rec->nextFiles = QStringList{wide, phone, etk::greyClip(QSize(640, 480))};
            click(m_w->m_btnAddFile);
            QVERIFY(mwt::waitFor([this] { return !list()->isBusy() && list()->rows().size() == 3; }, 60000));
            QCOMPARE(clip(1)->shownVideoSize(false), QSize(720, 1280));
            setLossless(false);
            const bool ran = edit(0, [](QVideoEditingDlg *dlg) {
                click(dlg->editTag()->button(QVideoEditingDlg::Adjust));
                QAdjustOperationForm *page = dlg->adjustPage();
                etk::typeInto(page->m_leCropArea_W, QStringLiteral("720"));
                VEEditConfig typed;
                if (!QTest::qWaitFor([&] { return dlg->getEditConfig(typed), typed.crop.cropRect.width < 0.6; }, 4000))
                    return;
                click(page->m_cbbAspectRatio);
                if (!QTest::qWaitFor([page] { return page->m_cbbAspectRatio->rowView()->window()->isVisible(); },
                                     rstest::kHangBoundMs))
                    return;
                click(page->m_cbbAspectRatio->rowAt(1));
                click(page->findChild<QCommonButtonForm *>()->findChild<QPushButton *>(
                    QStringLiteral("m_btnApplyToAll")));
                click(dlg->m_btnOK);
            });
            QVERIFY(ran);
            QVERIFY(mwt::useCatalogueProfile(640, 360));
            joined = convert(120000);
            QVERIFY(!joined.isEmpty());
        }
        const VECropSettings crop = clip(row)->m_editConfig.crop;
        QCOMPARE(crop.aspectMode, 1);
        QCOMPARE(QSize(crop.aspectWidth, crop.aspectHeight), display);
        const QRect picture = etk::litBox(etk::frameAt(joined, 4.0 * row + 2.0)); // the clips are 4 s each
        QVERIFY2(qAbs(double(picture.width()) / picture.height() / shape - 1) < 0.05,
                 qPrintable(QStringLiteral("joined %1x%2").arg(picture.width()).arg(picture.height())));
    }

    // A trimmed clip's background sound, as the editor sets it (shown from the trim start), runs on the clip's own
    // clock: the preview plays it from the trim start at once and in place after a seek, and the join's part
    // begins with it, where the preview had it.
    void backgroundSoundOfATrimmedClip()
    {
        const QString steps = m_fileAnswer = steppedBackground();
        QVERIFY(only({silentTrackClip()}));
        setLossless(false);
        const bool ran = edit(0, [&](QVideoEditingDlg *dlg) {
            chooseBackground(dlg);
            trimAThirdInEditor(dlg);
            const VEEditConfig record = etk::recordOf(*dlg);
            QCOMPARE(record.audioBackground.filePath, steps.toUtf8());
            const double show = record.audioBackground.showTime.first / 1e6;
            QCOMPARE(record.audioBackground.showTime.first, record.trimStart);

            ZTPlayerClass *player = dlg->playerManager()->getPlayerClass();
            QVERIFY(player->EnableAudioWaveData_Player(1));
            click(dlg->editTag()->button(QVideoEditingDlg::Audio)); // its play bar, which the Trim page hides
            // Played from the trim start, then from a click on the play bar's slider past the middle.
            for (int i = 0; i < 2; ++i) {
                QWidget *bar = dlg->playBar()->m_playProgress;
                const quint64 before = player->GetPlayTime_Player();
                if (i == 1) {
                    rstest::xClickAt(bar, QPoint(bar->width() * 2 / 3, bar->height() / 2));
                    QTRY_VERIFY_WITH_TIMEOUT(player->GetPlayTime_Player() > before + 500000, rstest::kHangBoundMs);
                }
                const quint64 start = player->GetPlayTime_Player();
                rstest::xClickAt(dlg->playBar()->m_btnPlay);
                double at = 0;
                const rstest::Sound heard = heardAfter(player, start + 300000, &at);
                rstest::xClickAt(dlg->playBar()->m_btnPause);
                QVERIFY2(
                    isBackgroundAt(heard, at - show),
                    qPrintable(QStringLiteral("played from %1 s, at %2 s: %3 Hz at %4 dB; the background has %5 Hz")
                                   .arg(start / 1e6)
                                   .arg(at)
                                   .arg(heard.toneHz())
                                   .arg(heard.levelDb())
                                   .arg(stepHz(at - show))));
            }
            click(dlg->m_btnOK);
        });
        QVERIFY(ran);
        QVERIFY(!QTest::currentTestFailed());
        const quint64 trimStart = clip(0)->m_nTrimStart;
        QCOMPARE(clip(0)->m_editConfig.audioBackground.showTime.first, trimStart);

        QVERIFY(mwt::useCatalogueProfile(320, 240));
        const QString out = convert(120000);
        QVERIFY(!out.isEmpty());
        const rstest::Sound joined = rstest::Sound::ofFile(out);
        const double first = joined.levelDb(0.02, 0.28);
        QVERIFY2(first > -30, qPrintable(QStringLiteral("the part's first 0.3 s at %1 dB").arg(first)));
        for (double at : {0.5, 2.5}) {
            const double hz = joined.toneHz(at - 0.1, 0.2);
            QVERIFY2(qAbs(hz - stepHz(at)) < 40, qPrintable(QStringLiteral("at %1 s: %2 Hz").arg(at).arg(hz)));
        }
    }

    // A background applied to all begins at each clip's own trim start, as the preview of each plays it: the
    // edited clip trimmed in its editor, the other in the preview's strip. OK writes it into the other clip, Cancel
    // into both.
    void backgroundAppliedToAllBeginsEachPart_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void backgroundAppliedToAllBeginsEachPart()
    {
        QFETCH(bool, ok);
        m_fileAnswer = steppedBackground();
        QVERIFY(only({silentTrackClip(), silentTrackClip()}));
        setLossless(false);
        rstest::doubleClickAt(list()->rows().at(1), QPoint(200, 25));
        QVERIFY(mwt::waitFor([this] { return m_w->playerForm()->currentItem() == clip(1); }, rstest::kHangBoundMs));
        trimInStrip(1.0);
        QVERIFY(edit(0, [&](QVideoEditingDlg *dlg) {
            trimAThirdInEditor(dlg);
            chooseBackground(dlg);
            click(dlg->audioPage()->findChild<QCommonButtonForm *>()->findChild<QPushButton *>(
                QStringLiteral("m_btnApplyToAll")));
            click(ok ? dlg->m_btnOK : dlg->m_btnCancel);
        }));
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(clip(1)->m_editConfig.audioBackground.filePath, m_fileAnswer.toUtf8());
        eachPartBeginsWithTheBackground(encodingJoin(), {partLength(0), partLength(1)});
    }

    // A trim made in the preview's strip after the background was chosen, or the strip's Reset, moves the
    // background's start with the clip's.
    void backgroundFollowsTheStripTrim_data()
    {
        QTest::addColumn<bool>("reset");
        QTest::newRow("start handle dragged") << false;
        QTest::newRow("Reset") << true;
    }
    void backgroundFollowsTheStripTrim()
    {
        QFETCH(bool, reset);
        m_fileAnswer = steppedBackground();
        QVERIFY(only({silentTrackClip()}));
        setLossless(false);
        if (reset)
            trimInStrip(1.0);
        QVERIFY(edit(0, [&](QVideoEditingDlg *dlg) {
            chooseBackground(dlg);
            click(dlg->m_btnOK);
        }));
        if (reset) {
            rstest::xClickAt(m_w->playerForm()->controlBar()->resetButton());
            QTRY_COMPARE_WITH_TIMEOUT(clip(0)->m_nTrimStart, quint64(0), rstest::kHangBoundMs);
        } else {
            trimInStrip(1.0);
        }
        eachPartBeginsWithTheBackground(encodingJoin(), {partLength(0)});
    }

    // A file the editor refuses (an empty mp3 as the background) is not kept: the join has the earlier one.
    void refusedBackgroundKeepsTheEarlier()
    {
        QVERIFY(only({silentTrackClip()}));
        setLossless(false);
        QVERIFY(edit(0, [&](QVideoEditingDlg *dlg) {
            m_fileAnswer = steppedBackground();
            chooseBackground(dlg);
            m_fileAnswer = rstest::MediaFixtures::badFile(QStringLiteral("empty.mp3"));
            QVERIFY(etk::closeBoxAfter(dlg, [dlg] { rstest::clickAt(dlg->audioPage()->m_btnSetBgVoice); }));
            click(dlg->m_btnOK);
        }));
        QVERIFY(!QTest::currentTestFailed());
        eachPartBeginsWithTheBackground(encodingJoin(), {partLength(0)});
    }
};

RS_TEST_MAIN(TestEditRoad)
#include "tst_editroad.moc"
