// The main window's small dialogs driven as a user would, with their screenshots in the gallery: the
// merge progress dialog, the add-files dialog, the close choice, the high-speed notice, the edit tip,
// the about box and the common message dialog.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "AttributeSetting.h"
#include "MacMainWindow.h"
#include "QAboutDlg.h"
#include "QEditTipDlg.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QLoadingDlg.h"
#include "QMessageCommonDlg.h"
#include "QSaveFileDlg.h"
#include "QShowCloseDlg.h"
#include "QShowIsLosslassDlg.h"
#include "QVideoSettingXml.h"
#include "rscodec_fake.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>
#include <QWindow>

class TestDialogs : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;

    // Shows a modal dialog, lets `act` drive it, answers its result.
    template <class Dlg> int run(Dlg &dlg, const std::function<void(Dlg &)> &act)
    {
        int result = -1;
        QTimer::singleShot(0, &dlg, [&] {
            QTest::qWaitForWindowExposed(&dlg);
            act(dlg);
        });
        result = dlg.exec();
        return result;
    }

    // A label's text must read on the dialog body behind it (the common background is dark or light
    // with the skin).
    static void checkContrast(QWidget *dlg, QWidget *label)
    {
        const QImage shot = dlg->grab().toImage();
        const qreal dpr = shot.devicePixelRatio();
        const QPoint at = label->mapTo(dlg, QPoint(1, 1)) * dpr;
        const int ground = qGray(shot.pixel(at));
        const int text = qGray(label->palette().color(QPalette::WindowText).rgb());
        QVERIFY2(qAbs(ground - text) >= 100,
                 qPrintable(label->objectName() + QStringLiteral(": text %1 on %2").arg(text).arg(ground)));
    }

private slots:
    void initTestCase() { m_rec = &mwt::installRecorders(); }

    void startUp()
    {
        // A first start: the window's three library calls come once, in order, before any worker; the
        // settings get their defaults; the bundle is not written.
        rscfake::reset();
        const QString plist = QIAnyUtil::getApplicationDirPath() + QStringLiteral("Info.plist");
        const QDateTime before = QFileInfo(plist).lastModified();
        {
            MacMainWindow w(nullptr);
            const std::vector<std::string> global = rscfake::calls("rsc_global_");
            QCOMPARE(int(global.size()), 3);
            QCOMPARE(global.at(0), std::string("rsc_global_set_options(1, 1)"));
            QCOMPARE(QString::fromStdString(global.at(1)),
                     QStringLiteral("rsc_global_set_data_folder(\"%1\")").arg(QIAnyUtil::getAppDataPath()));
            QCOMPARE(global.at(2), std::string("rsc_global_set_frame_formats([0, 30], 2)"));
            QCOMPARE(w.minimumSize(), QSize(1035, 623));
            QVERIFY(!w.m_btnConvert->isEnabled());
            QVERIFY(w.m_btnRestore->isHidden() && w.m_btnMenu->isHidden() && !w.m_btnMax->isEnabled());
            QCOMPARE(QVideoSettingXml::GetItemValue("LOSSLESS_ITEM", "Lossless_convert", "?"), QStringLiteral("N"));
            QCOMPARE(QVideoSettingXml::GetItemValue("FormatSet", "Format_ID", "?"), QStringLiteral("1136"));
            QCOMPARE(QVideoSettingXml::GetItemValue("VIDEO_QUALITY_ITEM", "quality_value", "?"), QStringLiteral("0"));
            QCOMPARE(QVideoSettingXml::GetItemValue("OutPut_path", "path_value", "?"),
                     QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted/"));
            QVERIFY(QFileInfo(QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted")).isDir());
            QVERIFY(!QSettingDlgState::attributeSetting().bLossless);
        }
        QCOMPARE(QFileInfo(plist).lastModified(), before);
    }

    void saveFileDialog()
    {
        QWidget owner;
        owner.resize(800, 600);
        owner.show();
        QSaveFileDlg dlg(&owner);
        QSignalSpy cancels(&dlg, &QSaveFileDlg::emitCancel);
        dlg.setModal(true);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(481, 150));
        const QString longPath = QStringLiteral("/home/user/Videos/") + QString(160, QLatin1Char('x')) +
                                 QStringLiteral("/the end of the name.mp4");
        dlg.setSaveFilename(longPath);
        dlg.setProgressValue(42.f);
        const QString shown = dlg.m_lblSavefile2->text();
        QVERIFY(shown.contains(QChar(0x2026)));
        QVERIFY(shown.startsWith(QStringLiteral("/home/user")));
        QVERIFY(shown.endsWith(QStringLiteral(".mp4")));
        QVERIFY(!dlg.m_lblSaveCount1->isVisible() && !dlg.m_lblSaveCount2->isVisible());
        mwt::shot(&dlg, QStringLiteral("QSaveFileDlg"));
        checkContrast(&dlg, dlg.m_lblSavefile2);
        // Escape and Return do nothing.
        rstest::keyClick(&dlg, Qt::Key_Escape);
        rstest::keyClick(&dlg, Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QCOMPARE(cancels.count(), 0);
        // A window-manager close (the window's close through the platform) neither hides the dialog nor
        // stops the run: the dialog stays until its owner ends the run.
        QVERIFY(!dlg.windowHandle()->close());
        QVERIFY(dlg.isVisible());
        QCOMPARE(cancels.count(), 0);
        // The title bar's close is a Stop, and asks once.
        rstest::clickAt(dlg.m_btnClose);
        QVERIFY(!dlg.m_btnCancel->isEnabled());
        rstest::clickAt(dlg.m_btnClose);
        QCOMPARE(cancels.count(), 1);
        QVERIFY(dlg.isVisible());
    }

    void saveFileDialogStopButton()
    {
        QSaveFileDlg dlg;
        QSignalSpy cancels(&dlg, &QSaveFileDlg::emitCancel);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        rstest::clickAt(dlg.m_btnCancel);
        rstest::clickAt(dlg.m_btnCancel);
        QCOMPARE(cancels.count(), 1);
        QVERIFY(dlg.isVisible());
    }

    void loadingDialog()
    {
        QLoadingDlg dlg;
        QSignalSpy stops(&dlg, &QLoadingDlg::seedStopAddFile);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(440, 170));
        QCOMPARE(dlg.m_labAddingPath_2->text(), QStringLiteral("UnKown"));
        QCOMPARE(dlg.m_labAdded_2->text(), QStringLiteral("0/0"));
        QCOMPARE(dlg.m_btnCancel->getBtnText(), QStringLiteral("Stop"));
        dlg.setAddFilePath(QStringLiteral("/media/clips/") + QString(120, QLatin1Char('y')) + QStringLiteral("/z.mov"));
        const QString shown = dlg.m_labAddingPath_2->text();
        QVERIFY(shown.startsWith(QStringLiteral("/media")) && shown.endsWith(QStringLiteral("z.mov")));
        QVERIFY(dlg.m_labAddingPath_2->fontMetrics().horizontalAdvance(shown) <= dlg.m_labAddingPath_2->width());
        dlg.setAddCount(QStringLiteral("2/3"));
        dlg.setProgressVale(150.f); // clamped: a full track
        QCOMPARE(dlg.m_labAdded_2->text(), QStringLiteral("2/3"));
        mwt::shot(&dlg, QStringLiteral("QLoadingDlg"));
        checkContrast(&dlg, dlg.m_labAddingPath);
        // Stop asks once and keeps the dialog until the import has ended.
        rstest::clickAt(dlg.m_btnCancel);
        rstest::clickAt(dlg.m_btnCancel);
        QCOMPARE(stops.count(), 1);
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.close());
        QCOMPARE(stops.count(), 1);
    }

    void closeChoice_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("exitChecked");
        QTest::newRow("no entry yet") << QString() << true;
        QTest::newRow("N") << "N" << false;
        QTest::newRow("lower-case y") << "y" << false;
        QTest::newRow("Y") << "Y" << true;
    }
    void closeChoice()
    {
        QFETCH(QString, stored);
        if (!stored.isEmpty())
            QVideoSettingXml::SetItemValue("CLOSE_ITEM", "bIsCloseDlg", stored);
        QShowCloseDlg dlg;
        QTEST(dlg.isCloseDlg(), "exitChecked");
        QCOMPARE(QVideoSettingXml::GetItemValue("CLOSE_ITEM", "bIsCloseDlg", "?"), stored.isEmpty() ? "Y" : stored);
        QVideoSettingXml::SetItemValue("CLOSE_ITEM", "bIsCloseDlg", "Y");
    }

    void closeChoiceDriven()
    {
        QShowCloseDlg dlg;
        // Clicking the checked radio keeps it; the other one switches; the box ticks.
        int result = run<QShowCloseDlg>(dlg, [](QShowCloseDlg &d) {
            rstest::clickAt(d.m_radioClose, QPoint(5, 10));
            QVERIFY(d.isCloseDlg());
            rstest::clickAt(d.m_radioMin, QPoint(5, 10));
            QVERIFY(!d.isCloseDlg() && d.m_radioMin->isChecked());
            rstest::clickAt(d.m_chkNote, QPoint(5, 10));
            mwt::shot(&d, QStringLiteral("QShowCloseDlg"));
            rstest::clickAt(d.m_btnOk);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(dlg.isNoShowThisDlg());
        QVERIFY(!dlg.isCloseDlg());
        // The title-bar close rejects.
        QShowCloseDlg again;
        result = run<QShowCloseDlg>(again, [](QShowCloseDlg &d) { rstest::clickAt(d.findChild<QImageButton *>()); });
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void losslessNotice()
    {
        QShowIsLosslassDlg ok;
        int result = run<QShowIsLosslassDlg>(ok, [](QShowIsLosslassDlg &d) {
            QCOMPARE(d.size(), QSize(481, 163));
            QCOMPARE(d.m_btnOk->pos(), QPoint(398, 119));
            QCOMPARE(d.m_chkNote->y(), d.m_lblMsg->y() + d.m_lblMsg->height() + 12);
            // Escape does not close it, Ctrl+Shift+W is not its key.
            rstest::keyClick(&d, Qt::Key_Escape);
            rstest::keyClick(&d, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY(d.isVisible());
            rstest::clickAt(d.m_chkNote, QPoint(5, 10));
            mwt::shot(&d, QStringLiteral("QShowIsLosslassDlg"));
            checkContrast(&d, d.m_lblMsg);
            rstest::clickAt(d.m_btnOk);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(ok.isNoShowThisDlg());
        QShowIsLosslassDlg closed;
        result = run<QShowIsLosslassDlg>(closed, [](QShowIsLosslassDlg &d) {
            rstest::clickAt(d.m_chkNote, QPoint(5, 10));
            rstest::keyClick(&d, Qt::Key_W, Qt::ControlModifier);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QShowIsLosslassDlg byButton;
        result = run<QShowIsLosslassDlg>(byButton, [](QShowIsLosslassDlg &d) { rstest::clickAt(d.m_btnClose); });
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void editTip()
    {
        QEditTipDlg dlg;
        const int result = run<QEditTipDlg>(dlg, [](QEditTipDlg &d) {
            QCOMPARE(d.size(), QSize(425, 170));
            QCOMPARE(d.m_lblText->width(), 345);
            QVERIFY(d.m_lblText->wordWrap());
            // The wrapped note fits its label.
            QVERIFY(d.m_lblText->heightForWidth(345) <= d.m_lblText->height());
            mwt::shot(&d, QStringLiteral("QEditTipDlg"));
            checkContrast(&d, d.m_lblText);
            rstest::clickAt(d.m_chkNote, QPoint(5, 10));
            rstest::clickAt(d.findChild<QImageButton *>());
        });
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void aboutBox()
    {
        QAboutDlg dlg;
        m_rec->urls.clear();
        run<QAboutDlg>(dlg, [this](QAboutDlg &d) {
            QCOMPARE(d.size(), QSize(400, 250));
            QVERIFY(d.m_labVersion->text().endsWith(QStringLiteral("1.0.1")));
            QCOMPARE(d.m_labProjectVersion->x(), 125 + d.m_labProject->width());
            mwt::shot(&d, QStringLiteral("QAboutDlg"));
            checkContrast(&d, d.m_labVersion);
            // Whatever the link says, the home page opens.
            emit d.m_labHome->linkActivated(QStringLiteral("https://elsewhere.example/"));
            QCOMPARE(m_rec->urls.size(), 1);
            QCOMPARE(m_rec->urls.first().path(), QStringLiteral("/"));
            d.close();
        });
    }

    void commonMessage()
    {
        QMessageCommonDlg dlg;
        dlg.setMsgText(QStringLiteral("This file cannot be used."));
        const int result = run<QMessageCommonDlg>(dlg, [](QMessageCommonDlg &d) {
            QCOMPARE(d.size(), QSize(380, 170));
            QCOMPARE(d.m_labLink->y(), d.m_labMsg->y() + d.m_labMsg->height() + 4);
            QCOMPARE(d.m_btnOk->pos(), QPoint(380 - d.m_btnOk->width() - 28, 170 - d.m_btnOk->height() - 20));
            mwt::shot(&d, QStringLiteral("QMessageCommonDlg"));
            checkContrast(&d, d.m_labMsg);
            rstest::clickAt(d.m_btnOk);
        });
        QCOMPARE(result, int(QDialog::Accepted));
    }
};

RS_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
