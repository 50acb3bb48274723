// Keys and clicks as a user gives them, through the window: in the main window Escape ends nothing, Enter
// presses no button and Space does not press again the button clicked last; in the small dialogs Enter
// answers OK and Escape cancels; the Preferences reached from the menu store a new output folder on OK
// only. Every top-level window carries a title a window manager can show.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "ConvertWidget.h"
#include "FormatWidget.h"
#include "MacMainWindow.h"
#include "MainWindowSeams.h"
#include "QAboutDlg.h"
#include "QCaptureSettingDlg.h"
#include "QEditTipDlg.h"
#include "QLoadingDlg.h"
#include "QMainDlg.h"
#include "QMediaBorderFrame.h"
#include "QMessageCommonDlg.h"
#include "QMessageOpacityForm.h"
#include "QPreferencesDlg.h"
#include "QProjectConfig.h"
#include "QSaveFileDlg.h"
#include "QShowCloseDlg.h"
#include "QShowIsLosslassDlg.h"
#include "QSubtitleSettingDlg.h"
#include "QVideoEditingDlg.h"
#include "QVideoSettingXml.h"
#include "QWaitForDlg.h"
#include "QWatermartTextSettingDlg.h"
#include "QZTMenu.h"
#include "QZTMessageBox.h"
#include "QZTMessageDlg.h"
#include "RetractLabel.h"
#include "VideoConvertBar.h"
#include "rscodec_fake.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

using Factory = std::function<QDialog *()>;
Q_DECLARE_METATYPE(Factory)
using WindowFactory = std::function<QWidget *()>;
Q_DECLARE_METATYPE(WindowFactory)

class TestKeys : public QObject
{
    Q_OBJECT
private:
    int m_openFileDialogs = 0;
    QStringList m_nextFiles;

    // A main window with one clip added through its Add File button (the fake library describes it).
    MacMainWindow *windowWithClip()
    {
        auto *w = new MacMainWindow(nullptr);
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return w;
        const QString clip = rstest::scratchDir(QStringLiteral("clips")) + QStringLiteral("/first take.mp4");
        QFile f(clip);
        f.open(QIODevice::WriteOnly);
        f.write("not read: the fake library describes it");
        f.close();
        m_nextFiles = QStringList{clip};
        rstest::clickAt(w->m_btnAddFile);
        mwt::waitFor([w] { return !w->mainDlg()->isBusy() && w->mainDlg()->rows().size() == 1; }, 20000);
        return w;
    }

private slots:
    void initTestCase()
    {
        mwt::installRecorders();
        MainWindowSeams::setOpenFiles([this](QWidget *, const QString &, const QString &) {
            ++m_openFileDialogs;
            const QStringList files = m_nextFiles;
            m_nextFiles.clear();
            return files;
        });
        rscfake::reset();
        rscfake::FakeMedia media;
        media.duration = 5000000;
        rscfake::FakeStream video;
        video.width = 320;
        video.height = 240;
        media.video.push_back(video);
        media.audio.push_back(rscfake::FakeStream());
        rscfake::setMedia("*", media);
    }

    void init()
    {
        m_openFileDialogs = 0;
        // The close choice is asked each time, so an accidental close would show a modal dialog.
        QVideoSettingXml::SetItemValue("REMIND_ITEM", "isShowRemind", "Y");
    }

    // Escape, Enter and Space in the main window, wherever the keyboard focus is.
    void mainWindowKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("before");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << QString();
        QTest::newRow("Enter") << int(Qt::Key_Enter) << QString();
        QTest::newRow("Space after a click on Add File") << int(Qt::Key_Space) << QStringLiteral("add");
        QTest::newRow("Return ending a rename") << int(Qt::Key_Return) << QStringLiteral("rename");
    }
    void mainWindowKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, before);
        std::unique_ptr<MacMainWindow> w(windowWithClip());
        QCOMPARE(w->mainDlg()->rows().size(), 1);
        VideoConvertBar *row = w->mainDlg()->rows().first();
        if (before == QLatin1String("add")) {
            rstest::clickAt(w->m_btnAddFile); // the file dialog answers nothing
            QCOMPARE(m_openFileDialogs, 2);
        } else if (before == QLatin1String("rename")) {
            // Rename from the row's menu, type a name, Return ends the edit.
            rstest::clickAt(row, QPoint(200, 25), Qt::RightButton);
            QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu *>(QApplication::activePopupWidget()), rstest::kHangBoundMs);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QAction *rename = w->mainDlg()->action(QStringLiteral("Rename"));
            QVERIFY(rename && menu->actions().contains(rename));
            rstest::clickAt(menu, menu->actionGeometry(rename).center());
            QLineEdit *editor = row->m_labVideoName->editor();
            QTRY_VERIFY_WITH_TIMEOUT(editor && editor->isVisible(), rstest::kHangBoundMs);
            QCOMPARE(w->focusWidget(), editor);
            rstest::typeText(w.get(), QStringLiteral("renamed"));
        }
        const int dialogsBefore = m_openFileDialogs;
        // A dialog the key must not open (the close choice) is answered at once, so the test goes on.
        QString opened;
        mwt::onNextModal(
            [&opened](QWidget *modal) {
                opened = QLatin1String(modal->metaObject()->className());
                if (auto *dlg = qobject_cast<QDialog *>(modal))
                    dlg->reject();
            },
            1000);
        rstest::keyClick(w.get(), Qt::Key(key));
        QTest::qWait(1100);
        QVERIFY(w->isVisible());
        QCOMPARE(opened, QString());
        QCOMPARE(m_openFileDialogs, dialogsBefore);
        QCOMPARE(w->mainDlg()->rows().size(), 1);
        if (before == QLatin1String("rename"))
            QCOMPARE(row->m_labVideoName->getName(), QStringLiteral("renamed"));
    }

    // Preferences from the window's menu: a folder chosen on the Convert page is stored on OK, not on Cancel.
    void preferencesStoreTheFolderOnOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void preferencesStoreTheFolderOnOk()
    {
        QFETCH(bool, ok);
        const QString chosen = rstest::scratchDir(QStringLiteral("chosen"));
        ConvertWidget::setFolderChooser([chosen](QWidget *, const QString &) { return chosen; });
        std::unique_ptr<MacMainWindow> w(new MacMainWindow(nullptr));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QString before = QVideoSettingXml::GetItemValue("OutPut_path", "path_value", "?");
        QStringList unreachable;
        bool driven = false;
        mwt::onNextModal([&](QWidget *modal) {
            auto *dlg = qobject_cast<QPreferencesDlg *>(modal);
            if (!dlg)
                return;
            unreachable << rstest::unreachableControls(dlg);
            rstest::clickAt(dlg->pageButtons().at(1));
            unreachable << rstest::unreachableControls(dlg);
            rstest::clickAt(dlg->convertPage()->m_btnChange);
            driven = dlg->convertPage()->outputPath() == chosen + QLatin1Char('/');
            rstest::clickAt(ok ? static_cast<QWidget *>(dlg->m_btnOk) : dlg->m_btnCancel);
            if (dlg->isVisible())
                dlg->reject(); // the click did not reach the button: end the dialog all the same
        });
        QMenuBar *bar = w->menuBar();
        rstest::clickAt(bar, bar->actionGeometry(w->popupMenu()->menuAction()).center());
        QTRY_VERIFY_WITH_TIMEOUT(w->popupMenu()->isVisible(), rstest::kHangBoundMs);
        QMenu *menu = w->popupMenu();
        QAction *preferences = nullptr;
        for (QAction *a : menu->actions())
            if (a->text() == QLatin1String("Preferences"))
                preferences = a;
        QVERIFY(preferences);
        rstest::clickAt(menu, menu->actionGeometry(preferences).center());
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), rstest::kHangBoundMs);
        ConvertWidget::setFolderChooser(nullptr);
        QVERIFY(driven);
        QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(QStringLiteral(", "))));
        QCOMPARE(QVideoSettingXml::GetItemValue("OutPut_path", "path_value", "?"),
                 ok ? chosen + QLatin1Char('/') : before);
    }

    // The small dialogs: Enter answers OK, Escape cancels (the notice stays until OK).
    void dialogKeys_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::addColumn<int>("enter");
        QTest::addColumn<int>("escape");
        const int ok = QDialog::Accepted, no = QDialog::Rejected, stays = -1;
        QTest::newRow("close choice") << Factory([] { return new QShowCloseDlg; }) << ok << no;
        QTest::newRow("common message") << Factory([] { return new QMessageCommonDlg; }) << ok << no;
        QTest::newRow("edit tip") << Factory([] { return new QEditTipDlg; }) << ok << no;
        QTest::newRow("high-speed notice") << Factory([] { return new QShowIsLosslassDlg; }) << ok << stays;
        QTest::newRow("message box") << Factory([] {
            auto *box = new QZTMessageBox;
            box->setMessage(QStringLiteral("Done."));
            box->setButtonStyle(QZTMessageBox::StyleOk);
            return box;
        }) << int(QMessageBox::Ok) << 0;
        QTest::newRow("about") << Factory([] { return new QAboutDlg; }) << stays << no;
    }
    void dialogKeys()
    {
        QFETCH(Factory, make);
        QFETCH(int, enter);
        QFETCH(int, escape);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            std::unique_ptr<QDialog> dlg(make());
            bool stayed = false;
            QTimer::singleShot(0, dlg.get(), [&] {
                rstest::keyClick(dlg.get(), key);
                QTest::qWait(50); // an answer ends the dialog's loop through the event loop
                if (dlg->isVisible()) {
                    stayed = true;
                    dlg->done(-2);
                }
            });
            const int answer = dlg->exec();
            QCOMPARE(stayed ? -1 : answer, key == Qt::Key_Return ? enter : escape);
        }
    }

    // What the window manager shows in its title bar, task bar and window list.
    void windowTitles_data()
    {
        QTest::addColumn<WindowFactory>("make");
        QTest::addColumn<QString>("title");
        const auto row = [](const char *name, WindowFactory make, const QString &title) {
            QTest::newRow(name) << make << title;
        };
        row(
            "MacMainWindow", [] { return new MacMainWindow(nullptr); }, QStringLiteral("Quorvane Reelsplice"));
        row(
            "QPreferencesDlg", [] { return new QPreferencesDlg; }, QStringLiteral("Preferences"));
        row(
            "QAboutDlg", [] { return new QAboutDlg; }, QStringLiteral("About"));
        row(
            "QShowCloseDlg", [] { return new QShowCloseDlg; }, QStringLiteral("Quorvane Reelsplice"));
        row(
            "QShowIsLosslassDlg", [] { return new QShowIsLosslassDlg; }, QStringLiteral("Quorvane Reelsplice"));
        row(
            "QMessageCommonDlg", [] { return new QMessageCommonDlg; }, QStringLiteral("Quorvane Reelsplice"));
        row(
            "QEditTipDlg", [] { return new QEditTipDlg; }, QStringLiteral("Quorvane Reelsplice"));
        row(
            "QSaveFileDlg", [] { return new QSaveFileDlg; }, QString());
        row(
            "QLoadingDlg", [] { return new QLoadingDlg; }, QString());
        row(
            "QZTMessageBox",
            [] {
                QProjectConfig::getProjectConfig()->setProjectName(QStringLiteral("Quorvane Reelsplice"));
                return new QZTMessageBox;
            },
            QStringLiteral("Quorvane Reelsplice"));
        row(
            "QZTMessageDlg", [] { return new QZTMessageDlg; }, QString());
        row(
            "QVideoEditingDlg", [] { return new QVideoEditingDlg; }, QStringLiteral("Video Edit"));
        row(
            "QWaitForDlg", [] { return new QWaitForDlg; }, QString());
        row(
            "QCaptureSettingDlg", [] { return new QCaptureSettingDlg; }, QStringLiteral("Snapshot Setting"));
        row(
            "QSubtitleSettingDlg", [] { return new QSubtitleSettingDlg; }, QString());
        row(
            "QWatermartTextSettingDlg", [] { return new QWatermartTextSettingDlg; }, QString());
        row(
            "QMessageOpacityForm", [] { return new QMessageOpacityForm; }, QString());
        row(
            "QMediaBorderFrame", [] { return new QMediaBorderFrame; }, QString());
    }
    void windowTitles()
    {
        QFETCH(WindowFactory, make);
        QFETCH(QString, title);
        std::unique_ptr<QWidget> w(make());
        if (!title.isEmpty())
            QCOMPARE(w->windowTitle(), title);
        // The window and every window it made (the main window makes the format chooser).
        QList<QWidget *> windows{w.get()};
        for (QWidget *child : w->findChildren<QWidget *>())
            if (child->isWindow() && (child->windowType() == Qt::Window || child->windowType() == Qt::Dialog ||
                                      child->windowType() == Qt::Tool))
                windows << child;
        static const QStringList designerTitles{QStringLiteral("Form"), QStringLiteral("Dialog"),
                                                QStringLiteral("MainWindow"), QStringLiteral("Widget")};
        for (QWidget *window : windows) {
            const QString shown = window->windowTitle();
            QVERIFY2(!shown.trimmed().isEmpty() && !designerTitles.contains(shown),
                     qPrintable(QStringLiteral("%1: \"%2\"").arg(window->metaObject()->className(), shown)));
        }
    }
};

RS_TEST_MAIN(TestKeys)
#include "tst_keys.moc"
