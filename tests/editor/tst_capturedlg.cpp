// The snapshot settings dialog over the real settings file.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "QCaptureSettingDlg.h"
#include "QIAnyUtil.h"
#include "QVedioEditSettingXml.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QDir>
#include <QSignalSpy>
#include <QTimer>

class TestCaptureDlg : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void init() { QFile::remove(QVedioEditSettingXml::filePath()); }
    void cleanup() { EditorFileDialog::setOpenFolderForTesting(nullptr); }

    void showsTheStoredValues()
    {
        QVERIFY(QVedioEditSettingXml::setCaptureImgSuffix(QStringLiteral("PNG")));
        QVERIFY(QVedioEditSettingXml::setCaptrueImaPath(QStringLiteral("C:\\shots\\today")));
        QCaptureSettingDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(360, 230));
        QCOMPARE(dlg.m_cmbFormat->currentText(), QStringLiteral("PNG"));
        QCOMPARE(dlg.m_editPath->text(), QStringLiteral("C:/shots/today"));
        QVERIFY(!dlg.m_btnMin->isEnabled());
        QVERIFY(!dlg.m_btnMax->isEnabled());
        etk::saveGallery(&dlg, QStringLiteral("QCaptureSettingDlg"));
        rstest::clickAt(dlg.m_btnOk);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(QVedioEditSettingXml::getCaptrueImaSavePath(), QStringLiteral("C:/shots/today"));
    }

    void okStoresCancelKeeps_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void okStoresCancelKeeps()
    {
        QFETCH(bool, ok);
        QCaptureSettingDlg dlg;
        QSignalSpy closing(&dlg, &QCaptureSettingDlg::emitDlgClose);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.m_cmbFormat->currentText(), QStringLiteral("JPG"));
        const QString chosen = rstest::scratchDir(QStringLiteral("chosen"));
        EditorFileDialog::setOpenFolderForTesting([&](QWidget *, const QString &, const QString &) { return chosen; });
        rstest::clickAt(dlg.m_btnOpen);
        QCOMPARE(dlg.m_editPath->text(), chosen);
        dlg.m_cmbFormat->setCurrentIndex(1);
        rstest::clickAt(ok ? dlg.m_btnOk : dlg.m_btnCancel);
        QCOMPARE(dlg.result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(closing.count(), ok ? 0 : 1);
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), ok ? QStringLiteral("PNG") : QStringLiteral("JPG"));
        QCOMPARE(QVedioEditSettingXml::getCaptrueImaSavePath() == chosen, ok);
    }

    // OK that cannot store the values says so and keeps the dialog open.
    void failedSaveIsNotAccepted()
    {
        QCaptureSettingDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QFile::remove(QVedioEditSettingXml::filePath());
        QDir().mkpath(QVedioEditSettingXml::filePath()); // the file's name is taken by a folder
        bool answered = false;
        QTimer closer; // closes the message box whenever it comes up
        connect(&closer, &QTimer::timeout, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (box && box != &dlg) {
                answered = true;
                closer.stop();
                box->close();
            }
        });
        closer.start(50);
        rstest::clickAt(dlg.m_btnOk);
        QTRY_VERIFY(answered);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        QDir(QVedioEditSettingXml::filePath()).removeRecursively();
    }
};

RS_TEST_MAIN(TestCaptureDlg)
#include "tst_capturedlg.moc"
