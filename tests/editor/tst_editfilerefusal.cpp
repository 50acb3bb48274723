// A file of the edits that the preview cannot take (a named pipe would have held the player, and with it
// the window, for ever) is refused, and the editor hears why, with the file's name, to tell the user.

#include "EditorTestKit.h"
#include "TestSupport.h"

#include "QVideoEditingSettings.h"
#include "ZTPlayerManager.h"

#include <QFile>
#include <QSignalSpy>

#include <sys/stat.h>

class TestEditFileRefusal : public QObject
{
    Q_OBJECT
private slots:
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
};

RS_TEST_MAIN(TestEditFileRefusal)
#include "tst_editfilerefusal.moc"
