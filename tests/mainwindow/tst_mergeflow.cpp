// The merge flow as a user meets it, in the real main window on the real codec library, clicked through
// the window system: a stopped run leaves its output name free for the next, a failed one says which clip
// failed and why under the fixed message, and closing the window after a run keeps the merged file.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "AttributeSetting.h"
#include "MacMainWindow.h"
#include "MediaFixtures.h"
#include "QConverterOperate.h"
#include "QMainDlg.h"
#include "QNewConvertObject.h"
#include "QSaveFileDlg.h"
#include "QZTBaseProgress.h"
#include "QZTMessageBox.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFailure = QStringLiteral("File conversion failed, please check whether the output format parameters "
                                        "\nand output file directory are set correctly.");

void useLossless()
{
    AttributeSetting a;
    a.bLossless = true;
    a.fileFormat = QStringLiteral("Original");
    QSettingDlgState::setAttributeSetting(a);
}

} // namespace

class TestMergeFlow : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;
    QString m_clips;

    QString copyAs(const QString &fixture, const QString &name)
    {
        const QString to = m_clips + QLatin1Char('/') + name;
        QFile::remove(to);
        return QFile::copy(fixture, to) ? to : QString();
    }

    static bool idle(QMainDlg *list)
    {
        return mwt::waitFor([list] { return !list->isBusy() && !list->saveFileDialog(); }, 120000);
    }

private slots:
    void initTestCase()
    {
        m_rec = &mwt::installRecorders();
        m_clips = rstest::scratchDir(QStringLiteral("clips"));
    }

    void init()
    {
        // Each test has a window of its own; the clip list outlives them.
        ZtVideoConvertManager::getConvertManagerObject()->ClearItems();
        ZtVideoConvertItem::clearOutputFileList();
        m_rec->messages.clear();
        m_rec->revealed.clear();
    }

    void stoppedRunLeavesItsNameFree()
    {
        const QString longClip =
            rstest::MediaFixtures::make({QStringLiteral("flow_long_720p.mp4"),
                                         {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=20", "-f",
                                          "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=20", "-c:v",
                                          "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"}});
        std::unique_ptr<MacMainWindow> w(
            mwt::openWithFiles(*m_rec, {copyAs(longClip, "perf_1.mp4"), copyAs(longClip, "perf_2.mp4")}));
        QVERIFY(w);
        QVERIFY(mwt::useCatalogueProfile(1280, 720)); // re-encoding: slow enough to stop half-way
        QMainDlg *list = w->mainDlg();
        QStringList outputs;
        for (int run = 0; run < 2; ++run) {
            rstest::clickAt(w->m_btnConvert);
            QVERIFY(list->isMerging());
            QSaveFileDlg *dlg = list->saveFileDialog();
            QVERIFY(dlg);
            outputs << list->convertObject()->getMergerOutputPath();
            QVERIFY(mwt::waitFor([dlg] { return dlg->m_progressBar->value() > 2; }, 60000));
            rstest::clickAt(dlg->m_btnCancel);
            QVERIFY(idle(list));
            QVERIFY2(!QFileInfo::exists(outputs.last()), qPrintable(outputs.last()));
        }
        QVERIFY2(m_rec->messages.isEmpty(), qPrintable(m_rec->messages.join('|')));
        // Nothing was written under the first name: the next run takes it again.
        QVERIFY2(QFileInfo(outputs.first()).completeBaseName() == QLatin1String("perf_1"), qPrintable(outputs.first()));
        QCOMPARE(outputs.last(), outputs.first());
    }

    void failedClipIsNamedWithItsReason()
    {
        const QString good = copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4")), "good.mp4");
        const QString bad = copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), "bad.mp4");
        std::unique_ptr<MacMainWindow> w(mwt::openWithFiles(*m_rec, {good, bad}));
        QVERIFY(w);
        useLossless();
        // The second clip cannot be read any more once it is listed.
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(4096, 'x'));
        f.close();
        const QString outDir = QConverterOperate::getConverterPath();
        const QStringList before = QDir(outDir).entryList(QDir::Files | QDir::Hidden);
        rstest::clickAt(w->m_btnConvert);
        QVERIFY(mwt::waitFor([this] { return !m_rec->messages.isEmpty(); }, 60000));
        QVERIFY(idle(w->mainDlg()));
        const QString message = m_rec->messages.first();
        QVERIFY2(message.startsWith(kFailure + QLatin1Char('\n')), qPrintable(message));
        const QString reason = message.mid(kFailure.size() + 1);
        QVERIFY2(reason.startsWith(QLatin1String("bad.mp4: ")) && reason.size() > 20 && !reason.contains('\n'),
                 qPrintable(reason));
        QCOMPARE(QDir(outDir).entryList(QDir::Files | QDir::Hidden), before);
        // The box the user reads holds every line of it.
        bool seen = false;
        mwt::onNextModal([&seen, reason](QWidget *m) {
            auto *box = qobject_cast<QZTMessageBox *>(m);
            seen = box && box->getTextRect().height() >= 3 * box->fontMetrics().height() &&
                   box->displayText().contains(reason.left(20));
            mwt::shot(m, QStringLiteral("QZTMessageBox-joinFailed"));
            m->close();
        });
        QZTMessageBox::ShowMessage(w.get(), QString(), message, QZTMessageBox::Critical, QZTMessageBox::StyleOk);
        QVERIFY(seen);
    }

    void closingTheWindowKeepsTheMergedFile()
    {
        const QString a = copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4")), "keep_a.mp4");
        const QString b = copyAs(rstest::MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), "keep_b.mp4");
        std::unique_ptr<MacMainWindow> w(mwt::openWithFiles(*m_rec, {a, b}));
        QVERIFY(w);
        useLossless();
        rstest::clickAt(w->m_btnConvert);
        QVERIFY(mwt::waitFor([this] { return !m_rec->revealed.isEmpty(); }, 60000));
        QVERIFY(idle(w->mainDlg()));
        const QString out = m_rec->revealed.first();
        QVERIFY2(QFileInfo(out).size() > 1000, qPrintable(out));
        w.reset();
        QVERIFY2(QFileInfo(out).size() > 1000, "closing the window removed the merged file");
    }
};

RS_TEST_MAIN(TestMergeFlow)
#include "tst_mergeflow.moc"
