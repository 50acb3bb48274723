// A file of the edits that the preview cannot take (a named pipe would have held the player, and with it
// the window, for ever) is refused, and the editor hears why, with the file's name, to tell the user. The
// refused file is not kept: the record and the page hold the earlier choice again.

#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "QAudioOperationForm.h"
#include "QIAnyUtil.h"
#include "QSubtitleOperationForm.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QVideoEditingSettings.h"
#include "ZTPlayerManager.h"

#include <QFile>
#include <QSignalSpy>

#include <sys/stat.h>

class TestEditFileRefusal : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void cleanup() { EditorFileDialog::setOpenFileForTesting(nullptr); }

    void refusalsAreReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("pipe");
        for (const char *kind : {"subtitle", "background sound", "watermark picture"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 from a named pipe").arg(QLatin1String(kind))))
                << QString::fromLatin1(kind) << true;
        }
        QTest::newRow("subtitle from a plain file") << QStringLiteral("subtitle") << false;
    }
    void refusalsAreReported()
    {
        QFETCH(QString, kind);
        QFETCH(bool, pipe);
        const QString dir = rstest::scratchDir(QStringLiteral("refusal"));
        QString path = dir + QStringLiteral("/named.srt");
        if (pipe) {
            QCOMPARE(::mkfifo(path.toUtf8().constData(), 0600), 0);
        } else {
            QFile srt(path);
            QVERIFY(srt.open(QIODevice::WriteOnly));
            srt.write("1\n00:00:00,500 --> 00:00:02,000\nHello\n");
        }
        etk::Preview preview;
        QVERIFY(preview.open(etk::greyClip()));
        QSignalSpy refused(preview.player.get(), &ZTPlayerManager::emitEditFileRefused);
        QVideoEditingSettings *model = preview.model.get();
        if (kind == QLatin1String("subtitle")) {
            VESubtitleValue_Info info;
            model->getSubtitleInfo(info);
            info.subtitleRow = info.subtitleCount + 2;
            info.subtitleIndex = -3;
            info.subtitleFile = path.toUtf8();
            model->setSubtitleInfo(info);
        } else if (kind == QLatin1String("background sound")) {
            VEAudioBackgroundSettings background;
            background.filePath = path.toUtf8();
            model->setAudioBackgroundSettings(background, true);
        } else {
            VEWatermarkSettings mark;
            model->getWatermarkSettings(mark);
            mark.image.imagePath = path.toUtf8();
            model->setWatermarkSettings(mark, true, true);
        }
        QCOMPARE(refused.count(), pipe ? 1 : 0);
        if (pipe)
            QVERIFY2(refused.first().first().toString().contains(QLatin1String("named.srt")),
                     qPrintable(refused.first().first().toString()));
    }

    // A usable file chosen, then one the preview refuses: once the message is closed, the record and the page
    // hold the usable one again (the refused one stayed in the record and failed the join). The Watermark page
    // refuses what it cannot draw itself, so its picture from a pipe is handed to the record directly.
    void refusedChoiceKeepsTheEarlier_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("refused");
        QTest::newRow("background sound, an empty mp3")
            << int(QVideoEditingDlg::Audio) << rstest::MediaFixtures::badFile(QStringLiteral("empty.mp3"));
        QTest::newRow("subtitle file without subtitles")
            << int(QVideoEditingDlg::Subtitle) << rstest::MediaFixtures::badFile(QStringLiteral("text.srt"));
        QTest::newRow("watermark picture from a named pipe") << int(QVideoEditingDlg::Watermark) << QString();
    }
    void refusedChoiceKeepsTheEarlier()
    {
        QFETCH(int, tab);
        QFETCH(QString, refused);
        const QString dir = rstest::scratchDir(QStringLiteral("refused_choice"));
        QString usable = dir + QStringLiteral("/usable.png");
        VEEditConfig record;
        if (tab == QVideoEditingDlg::Audio) {
            usable = rstest::MediaFixtures::make(
                {QStringLiteral("refusal_tone.wav"), {"-f", "lavfi", "-i", "sine=frequency=500:duration=2"}});
        } else if (tab == QVideoEditingDlg::Subtitle) {
            usable = dir + QStringLiteral("/usable.srt");
            QFile srt(usable);
            QVERIFY(srt.open(QIODevice::WriteOnly) && srt.write("1\n00:00:00,500 --> 00:00:02,000\nHello\n") > 0);
            record.subtitleItems << VESubltItemInfo{"No Subtitle", ""} << VESubltItemInfo{"Video Internal CC", ""};
        } else {
            QImage picture(32, 32, QImage::Format_RGB32);
            picture.fill(Qt::red);
            QVERIFY(picture.save(usable));
            refused = dir + QStringLiteral("/pipe.png");
            QCOMPARE(::mkfifo(refused.toUtf8().constData(), 0600), 0);
        }
        etk::EditorWindow editor(etk::greyClip(), record);
        QVideoEditingDlg &dlg = editor.dlg;
        QVERIFY(editor.waitLoaded());
        rstest::clickAt(dlg.editTag()->button(tab));
        QString answer;
        EditorFileDialog::setOpenFileForTesting(
            [&](QWidget *, const QString &, const QString &, const QString &) { return answer; });
        const auto choose = [&](const QString &path) {
            answer = path;
            if (tab == QVideoEditingDlg::Audio)
                rstest::clickAt(dlg.audioPage()->m_btnSetBgVoice);
            else if (tab == QVideoEditingDlg::Subtitle)
                rstest::clickAt(dlg.subtitlePage()->m_btnSetFamily);
            else {
                VEWatermarkSettings mark = etk::recordOf(dlg).watermark;
                mark.image.imagePath = path.toUtf8();
                dlg.editSettings()->setWatermarkSettings(mark, true, true);
            }
        };
        const auto chosenFile = [&] {
            const VEEditConfig now = etk::recordOf(dlg);
            return QString::fromUtf8(tab == QVideoEditingDlg::Audio      ? now.audioBackground.filePath
                                     : tab == QVideoEditingDlg::Subtitle ? now.subtitleValue.subtitleFile
                                                                         : now.watermark.image.imagePath);
        };
        choose(usable);
        QCOMPARE(chosenFile(), usable);
        const VEEditConfig before = etk::recordOf(dlg);
        QVERIFY2(etk::closeBoxAfter(&dlg, [&] { choose(refused); }), "the refusal is told");
        QCOMPARE(chosenFile(), usable);
        QVERIFY(etk::recordOf(dlg) == before);
        if (tab == QVideoEditingDlg::Audio)
            QCOMPARE(dlg.audioPage()->m_leBgVoicePath->text(), usable);
        if (tab == QVideoEditingDlg::Subtitle) {
            QCOMPARE(dlg.subtitlePage()->m_leFamilyPath->text(), usable);
            QCOMPARE(dlg.subtitlePage()->m_cbbSubtitleList->currentText(), QStringLiteral("(usable)[SRT]"));
            QCOMPARE(dlg.subtitlePage()->m_cbbSubtitleList->count(), before.subtitleItems.size());
        }
    }
};

RS_TEST_MAIN(TestEditFileRefusal)
#include "tst_editfilerefusal.moc"
