// The whole program as a user drives it: clips added to the real main window preview in its pane (ten strip
// pictures, the control bar and the volume acting on the real player, a trim on the strip); the clip editor
// opened from a row takes a trim, a turn, a crop, a text and a picture watermark, an effect, a sound effect
// and a subtitle style, some of them applied to all; the encoding join shows each edit as the editor
// previewed it.
// Cancel and the high-speed join after edits are driven in tst_editroad.

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
#include "QEffectOperationForm.h"
#include "QHorizontalListFrom.h"
#include "QHorizontalListItem.h"
#include "QImageDualSlider.h"
#include "QMainDlg.h"
#include "QRirezaPlaterBtnForm.h"
#include "QRirezaPlayerForm.h"
#include "QSubtitleOperationForm.h"
#include "QSubtitleSettingDlg.h"
#include "QTrimOperationForm.h"
#include "QVEDualSlider.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QVideoEditingSettings.h"
#include "QVideoSettingXml.h"
#include "QWatermarkOperationForm.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "QZTTextEdit.h"
#include "VideoConvertBar.h"
#include "VideoLetterbox.h"
#include "ZTPlayerClass.h"
#include "ZTQPlayObject.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QTextEdit>

namespace {

using mwt::click;
using mwt::editorOf;

constexpr uint64_t kFrameUs = 40000; // the clips run at 25 frames per second

void applyToAll(QWidget *page)
{
    click(page->findChild<QCommonButtonForm *>()->findChild<QWidget *>(QStringLiteral("m_btnApplyToAll")));
}

// 2 s at 320x240, a moving pattern and a tone: small enough for a whole-program run.
QString tinyClip(const QString &name, const QString &pattern)
{
    return rstest::MediaFixtures::make(
        {name, {"-f",       "lavfi",   "-i",      pattern + QStringLiteral("=size=320x240:rate=25:duration=2"),
                "-f",       "lavfi",   "-i",      "sine=frequency=440:sample_rate=44100:duration=2",
                "-c:v",     "libx264", "-preset", "ultrafast",
                "-pix_fmt", "yuv420p", "-g",      "25",
                "-c:a",     "aac",     "-b:a",    "96k",
                "-shortest"}});
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;
    MacMainWindow *m_w = nullptr;

    QMainDlg *list() const { return m_w->mainDlg(); }
    static ZtVideoConvertItem *clip(int i) { return mwt::clipAt(i); }

private slots:
    void initTestCase()
    {
        m_rec = &mwt::installRecorders();
        m_w = mwt::openWithFiles(*m_rec,
                                 QStringList{tinyClip(QStringLiteral("program_a.mp4"), QStringLiteral("testsrc2")),
                                             tinyClip(QStringLiteral("program_b.mp4"), QStringLiteral("smptebars"))});
        QVERIFY(m_w);
    }

    void cleanupTestCase()
    {
        delete m_w;
        m_w = nullptr;
    }

    // The first row plays in the pane; the bar, the strip and the volume act on the real player.
    void previewPane()
    {
        QRirezaPlayerForm *pane = m_w->playerForm();
        QVERIFY(mwt::waitFor([&] { return pane->currentItem() == clip(0); }, 10000));
        QVERIFY(mwt::waitFor([&] { return pane->strip()->imageCount() == 10; }, 20000));
        ZTQPlayObject *player = pane->player();
        if (player->IsPause()) // the first row is shown opened, ready to play
            click(pane->controlBar()->playButton());
        QVERIFY(mwt::waitFor([&] { return !player->IsPause() && pane->strip()->GetProgressValue() > 0.02; }, 10000));
        click(pane->controlBar()->pauseButton());
        QVERIFY(player->IsPause());

        // A click on the strip's time axis: the player lands on the frame at the time asked, within one frame.
        QImageDualSlider *strip = pane->strip();
        QSignalSpy asked(strip, &QImageDualSlider::emitProgressValueChanged);
        const QRect area = strip->imageAreaRect();
        rstest::clickAt(strip, QPoint(area.left() + area.width() * 6 / 10, 8));
        QVERIFY(!asked.isEmpty());
        const double target = asked.last().first().toDouble() * player->duration();
        const double landed = double(player->playerClass()->GetVideoTime_Player());
        QVERIFY2(qAbs(landed - target) <= kFrameUs, qPrintable(QStringLiteral("%1 vs %2").arg(landed).arg(target)));
        const uint64_t at = player->playerClass()->GetVideoTime_Player();
        player->videoFrameStepUp();
        QCOMPARE(player->playerClass()->GetVideoTime_Player(), at + kFrameUs);
        player->videoFrameStepDown();
        QCOMPARE(player->playerClass()->GetVideoTime_Player(), at);

        // The volume slider: its middle is the clip's own level, its far end twice that.
        QZTBaseSlider *volume = pane->controlBar()->volumeSlider();
        rstest::clickAt(volume, QPoint(volume->width() * 85 / 100, volume->height() / 2));
        QVERIFY2(pane->volume() > 130, qPrintable(QString::number(pane->volume())));
        QCOMPARE(player->soundVolume(), float(pane->volume()));

        // The start handle dragged to the middle trims the clip; Reset gives it back whole.
        const QPoint p = strip->startHandleRect().center();
        rstest::pressAt(strip, p);
        for (int dx = 10; dx <= area.width() / 2; dx += 10)
            rstest::moveTo(strip, p + QPoint(dx, 0));
        rstest::releaseAt(strip, p + QPoint(area.width() / 2, 0));
        QVERIFY2(clip(0)->m_nTrimStart > 800000 && clip(0)->m_nTrimStart < 1200000,
                 qPrintable(QString::number(clip(0)->m_nTrimStart)));
        click(pane->controlBar()->resetButton());
        QCOMPARE(clip(0)->m_nTrimStart, uint64_t(0));
    }

    // The editor on the first clip: every kind of edit, some applied to all; the encoding join shows them.
    void editAndJoin()
    {
        const QString dir = rstest::scratchDir(QStringLiteral("program_pictures"));
        const QString logo = dir + QStringLiteral("/logo.png");
        QImage picture(64, 48, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(logo));
        EditorFileDialog::setOpenFileForTesting(
            [&](QWidget *, const QString &, const QString &, const QString &) { return logo; });
        bool ran = false;
        mwt::onNextModal([&](QWidget *modal) {
            QVideoEditingDlg *dlg = editorOf(modal);
            if (!dlg || !QTest::qWaitFor([dlg] { return dlg->isLoaded(); }, 30000))
                return;
            ran = true;
            dlg->trimPage()->m_TrimDSlider->setStartValue(25);
            click(dlg->trimPage()->m_btnTrim);

            click(dlg->editTag()->button(QVideoEditingDlg::Adjust));
            click(dlg->adjustPage()->m_btnRotate_R_90);
            etk::typeInto(dlg->adjustPage()->m_leCropArea_W, QStringLiteral("160"));
            // Typed sizes are taken after a pause.
            QTest::qWaitFor(
                [dlg] {
                    return etk::sectionOf(dlg->editSettings(), &QVideoEditingSettings::getCropSettings).cropRect.width <
                           1.0;
                },
                5000);
            applyToAll(dlg->adjustPage());

            click(dlg->editTag()->button(QVideoEditingDlg::Watermark));
            click(dlg->watermarkPage()->m_leAddWKText->textEdit()); // into the text box, then the keys
            rstest::typeText(dlg->watermarkPage()->m_leAddWKText->textEdit(), QStringLiteral("Reel"));
            click(dlg->watermarkPage()->m_btnAddWKImg);

            click(dlg->editTag()->button(QVideoEditingDlg::Effect));
            click(dlg->effectPage()->m_effectsList->item(0));
            applyToAll(dlg->effectPage());

            click(dlg->editTag()->button(QVideoEditingDlg::Subtitle));
            mwt::onNextModal([](QWidget *modal) {
                if (auto *style = qobject_cast<QSubtitleSettingDlg *>(modal)) {
                    style->m_dspOutlineSize->setValue(3.0);
                    click(style->m_btnOK);
                }
            });
            click(dlg->subtitlePage()->m_btnSetSubtitleFont);

            click(dlg->editTag()->button(QVideoEditingDlg::Audio));
            click(dlg->audioPage()->m_effectsList->item(0)); // recorded at once; checked after OK
            click(dlg->m_btnOK);
        });
        QMetaObject::invokeMethod(list()->rows().at(0), "emitEdit");
        EditorFileDialog::setOpenFileForTesting(nullptr);
        QVERIFY(ran);

        const VEEditConfig first = clip(0)->m_editConfig;
        const VEEditConfig second = clip(1)->m_editConfig;
        QVERIFY2(first.trimStart > 400000 && first.trimStart < 600000, qPrintable(QString::number(first.trimStart)));
        QCOMPARE(clip(0)->m_nTrimStart, first.trimStart);
        QCOMPARE(first.crop.rotation, 90u);
        QVERIFY(first.crop.cropRect.width < 1.0);
        QCOMPARE(first.watermark.text.text, QByteArray("Reel"));
        QCOMPARE(first.watermark.image.imagePath, logo.toUtf8());
        QVERIFY(!first.effectOverlay.image.imagePath.isEmpty());
        QVERIFY(first.audio.equalize.count > 0);
        QCOMPARE(first.subtitle.outlineSize, 3.0);
        // Applied to all: the turn, the crop and the effect; not the watermark, the sound or the trim.
        const auto cropText = [](const VECropSettings &c) {
            return QStringLiteral("%1/%2 %3,%4 %5x%6 ps%7 %8x%9")
                .arg(c.rotation)
                .arg(c.aspectMode)
                .arg(c.cropRect.x)
                .arg(c.cropRect.y)
                .arg(c.cropRect.width)
                .arg(c.cropRect.height)
                .arg(c.panScan)
                .arg(c.panScanRect.width)
                .arg(c.panScanRect.height);
        };
        QVERIFY2(second.crop == first.crop, qPrintable(cropText(second.crop) + " vs " + cropText(first.crop)));
        QCOMPARE(second.effectOverlay, first.effectOverlay);
        QVERIFY(second.watermark.text.text.isEmpty() && second.watermark.image.imagePath.isEmpty());
        QCOMPARE(second.audio.equalize.count, 0);
        QCOMPARE(clip(1)->m_nTrimStart, uint64_t(0));

        // The editor's preview of each clip at its middle, as the join should draw it.
        QImage previewed[2];
        for (int i = 0; i < 2; ++i) {
            etk::Preview preview;
            QVERIFY(preview.open(clip(i)->getFilePath(), clip(i)->m_editConfig));
            previewed[i] = preview.grab(0.5);
            QVERIFY(!previewed[i].isNull());
        }

        QVERIFY(mwt::useCatalogueProfile(320, 240));
        m_rec->revealed.clear();
        m_rec->messages.clear();
        click(m_w->m_btnConvert);
        QVERIFY(mwt::waitFor([this] { return !m_rec->revealed.isEmpty() || !m_rec->messages.isEmpty(); }, 120000));
        QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->messages.join('|')));
        QVERIFY(mwt::waitFor([this] { return !list()->isBusy(); }, 30000));
        const QString out = m_rec->revealed.first();
        const double firstLength = (clip(0)->m_nDuration - first.trimStart) / 1e6;
        const double expected = firstLength + clip(1)->m_nDuration / 1e6;
        const double d = rstest::FFprobe::durationSeconds(out);
        QVERIFY2(qAbs(d - expected) < 0.2, qPrintable(QStringLiteral("%1 vs %2").arg(d).arg(expected)));
        const double middles[2] = {clip(0)->m_nDuration / 2e6 - first.trimStart / 1e6,
                                   firstLength + clip(1)->m_nDuration / 2e6};
        for (int i = 0; i < 2; ++i) {
            // The preview is the edited picture alone; the join fits it into the output with bars.
            const QImage frame = etk::frameAt(out, middles[i]);
            const QRect picture =
                letterboxVideoRect(previewed[i].width(), previewed[i].height(), frame.width(), frame.height());
            const QImage joined = frame.copy(picture);
            const QImage shown = previewed[i].scaled(joined.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const double diff = etk::meanDifference(joined, shown);
            qInfo("clip %d: joined frame differs from the preview by %.1f", i, diff);
            QVERIFY2(diff < 30, qPrintable(QStringLiteral("clip %1 differs by %2").arg(i).arg(diff)));
            // The edits are there to see: the untouched source differs well beyond that tolerance.
            const QImage source = etk::frameAt(clip(i)->getFilePath(), clip(i)->m_nDuration / 2e6);
            const double plain = etk::meanDifference(joined, source.scaled(joined.size()));
            qInfo("clip %d: joined frame differs from the source by %.1f", i, plain);
            QVERIFY2(plain > 2 * diff + 10, qPrintable(QStringLiteral("clip %1 shows no edit (%2)").arg(i).arg(plain)));
        }
    }
};

RS_TEST_MAIN(TestProgram)
#include "tst_program.moc"
