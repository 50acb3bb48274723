// The Audio page on a real preview: background audio, volume, track and sound effects go into the record,
// and a sound effect is heard in an encoding join of that record.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "MediaFixtures.h"
#include "QAudioEffectManager.h"
#include "QAudioOperationForm.h"
#include "QHorizontalListItem.h"
#include "QIAnyUtil.h"
#include "QVideoEditingSettings.h"
#include "SoundMeasure.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QDir>
#include <QScrollBar>

namespace {

// The main frequency of the first audio stream, over one second of it.
double toneFrequency(const QString &path)
{
    return rstest::Sound::ofFile(path).toneHz(0.5, 1.0);
}

} // namespace

class TestAudioPage : public QObject
{
    Q_OBJECT
private:
    struct Page : etk::PageRig<QAudioOperationForm>
    {
        explicit Page(const VEEditConfig &config = VEEditConfig())
            : PageRig(etk::patternClip(), config, QSize(1040, 202))
        {}
        VEAudioSettings audio() { return record(&QVideoEditingSettings::getAudioSettings); }
        VEAudioBackgroundSettings background() { return record(&QVideoEditingSettings::getAudioBackgroundSettings); }
        VESubtitleValue_Info tracks() { return record(&QVideoEditingSettings::getSubtitleInfo); }
    };

    static VEEditConfig twoTracks(int chosen)
    {
        VEEditConfig c;
        c.audioList = QStringList{QStringLiteral("English (AAC)"), QStringLiteral("Commentary (AAC)")};
        c.subtitleValue.audioRow = chosen;
        c.subtitleValue.audioIndex = chosen;
        return c;
    }

private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void cleanup() { EditorFileDialog::setOpenFileForTesting(nullptr); }

    void volumeAndWeight()
    {
        Page p;
        QVERIFY(p.exposed);
        emit p.page.m_sliderVolume->sendProgressValue(0.337);
        QCOMPARE(p.page.m_leVolumeValue->text(), QStringLiteral("67"));
        QCOMPARE(p.audio().volume, 67u);
        QCOMPARE(p.background().volume, 67u);
        etk::typeInto(p.page.m_leVolumeValue, QStringLiteral("250"));
        QCOMPARE(p.page.m_leVolumeValue->text(), QStringLiteral("200"));
        QCOMPARE(p.audio().volume, 200u);
        etk::typeInto(p.page.m_leBgVoiceValue, QStringLiteral("150"));
        QCOMPARE(p.page.m_leBgVoiceValue->text(), QStringLiteral("100"));
        QCOMPARE(p.background().weight, 100u);
        rstest::clickAt(p.page.m_cbxRepeat, QPoint(8, 11));
        QCOMPARE(p.background().loop, 0u);
    }

    void backgroundFile()
    {
        VEEditConfig config = twoTracks(0);
        config.trimStart = 1000000;
        Page p(config);
        p.preview.model->setIsWatermarkAudioStartTime(true);
        QString dir, filter;
        const QString music = rstest::MediaFixtures::standard(QStringLiteral("audio.m4a"));
        EditorFileDialog::setOpenFileForTesting([&](QWidget *, const QString &, const QString &d, const QString &f) {
            dir = d;
            filter = f;
            return music;
        });
        rstest::clickAt(p.page.m_btnSetBgVoice);
        QCOMPARE(dir, QDir::homePath());
        QVERIFY(filter.contains(QLatin1String("*.m4a")) && filter.contains(QLatin1String("*.M4A")));
        QCOMPARE(p.background().filePath, music.toUtf8());
        QCOMPARE(p.background().showTime.first, 1000000ull);
        QCOMPARE(p.page.m_leBgVoicePath->text(), music);
        etk::saveGallery(&p.page, QStringLiteral("QAudioOperationForm"));
    }

    // Loading shows the chosen track without storing; a reset chooses the first track, never "no track".
    void trackChoice()
    {
        Page p(twoTracks(1));
        QCOMPARE(p.page.m_cbbAudioList->count(), 2);
        QCOMPARE(p.page.m_cbbAudioList->currentIndex(), 1);
        p.page.m_cbbAudioList->setCurrentIndex(0);
        QCOMPARE(p.tracks().audioIndex, 0);
        p.page.m_cbbAudioList->setCurrentIndex(1);
        QCOMPARE(p.tracks().audioRow, 1);
        for (int i = 0; i < 2; ++i) {
            rstest::clickAt(p.page.m_buttonFrom->m_btnReset);
            QCOMPARE(p.tracks().audioIndex, 0);
            QCOMPARE(p.tracks().subtitleIndex, -1); // the subtitle part is not touched
        }
        Page none; // a clip without tracks: an emptied list stores nothing
        rstest::clickAt(none.page.m_buttonFrom->m_btnReset);
        QCOMPARE(none.tracks().audioIndex, 0);
        QCOMPARE(none.tracks().audioRow, 0);
    }

    // Nothing applied marks no tile, so the first sound effect can be chosen (it used to be marked, and a
    // marked tile does not answer a click).
    void firstSoundEffectCanBeChosen()
    {
        Page p;
        QCOMPARE(p.page.m_effectsList->getCurrentIndex(), -1);
        emit p.page.m_sliderVolume->sendProgressValue(0.4);
        rstest::clickAt(p.page.m_effectsList->item(0));
        const VEAudioSettings a = p.audio();
        QCOMPARE(a.effectIndex, 0);
        QVERIFY(a.equalize.count > 0);
        QCOMPARE(a.equalize.frequencies[0], 60.0);
        QCOMPARE(a.volume, 80u); // the volume stays the one shown
        rstest::clickAt(p.page.m_buttonFrom->m_btnReset);
        QCOMPARE(p.audio().equalize.count, 0);
        QCOMPARE(p.page.m_effectsList->getCurrentIndex(), -1);
        QCOMPARE(p.page.m_leVolumeValue->text(), QStringLiteral("100"));
        QVERIFY(p.page.m_cbxRepeat->isChecked());
    }

    // The chipmunk effect raises the pitch of the joined output: a 440 Hz tone comes out near 660 Hz.
    void soundEffectIsHeardInTheOutput()
    {
        Page p;
        // Four tiles show at the editor's size: the user scrolls the list on to the fifth.
        QScrollBar *bar = nullptr;
        for (QScrollBar *b : p.page.m_effectsList->findChildren<QScrollBar *>())
            bar = b->isVisible() && b->orientation() == Qt::Horizontal ? b : bar;
        QVERIFY(bar);
        for (int i = 0; i < 20 && !rstest::isOnTopAt(p.page.m_effectsList->item(4)); ++i)
            rstest::clickAt(bar, QPoint(bar->width() - 8, bar->height() / 2));
        rstest::clickAt(p.page.m_effectsList->item(4));
        const VEAudioSettings a = p.audio();
        QCOMPARE(a.effectIndex, 4);
        QCOMPARE(a.rate, 150u);
        VEEditConfig edited;
        p.preview.model->getEditConfig(edited);
        const QString output = etk::encodeWithEdits(etk::patternClip(), edited, QStringLiteral("chipmunk"));
        QVERIFY2(!output.isEmpty(), "the encoding join failed");
        const double source = toneFrequency(etk::patternClip());
        const double heard = toneFrequency(output);
        QVERIFY2(qAbs(source - 440) < 20, qPrintable(QString::number(source)));
        QVERIFY2(qAbs(heard - 660) < 30, qPrintable(QString::number(heard)));
    }
};

RS_TEST_MAIN(TestAudioPage)
#include "tst_audiopage.moc"
