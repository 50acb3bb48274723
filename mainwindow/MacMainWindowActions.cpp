// The main window's menu and the slots behind its buttons and menu entries: minimise, maximise, the close
// choice, the format chooser, Add File, the web pages, about, preferences, the update check and its
// answer, the log file.

#include "MacMainWindow.h"

#include "AppBundleInfo.h"
#include "FormatChooserLink.h"
#include "FormatWidget.h"
#include "ImportRules.h"
#include "MainWindowSeams.h"
#include "QAboutDlg.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "QMainDlg.h"
#include "QPreferencesDlg.h"
#include "QRirezaPlayerForm.h"
#include "QShowCloseDlg.h"
#include "QVideoSettingXml.h"
#include "QZTMenu.h"
#include "QZTMessageBox.h"
#include "ZtCommonInterface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QMenuBar>

void MacMainWindow::CreatMenu()
{
    m_actHome = new QAction(tr("Home"), this);
    m_actHelp = new QAction(tr("Help"), this);
    m_actAbout = new QAction(tr("About"), this);
    m_actPreferences = new QAction(tr("Preferences"), this);
    m_actUpdates = new QAction(tr("Check for Updates"), this);
    m_menu = new QZTMenu(this);
    m_menu->setFrameWidth(1);
    m_menu->setFrameColor(QColor(74, 74, 74));
    m_menu->setAreaColor(QColor(51, 51, 51));
    m_menu->setItemColor(QColor(51, 51, 51));
    m_menu->setItemTextColor(QColor(255, 255, 255));
    m_menu->setItemSelectColor(QColor(79, 78, 78));
    m_menu->setItemTextEabledColor(QColor(87, 87, 87));
    m_menu->setItemEabledColor(QColor(51, 51, 51));
    m_menu->setSeparatorColor(QColor(74, 74, 74));
    QFont f = m_menu->font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPointSize(12);
    m_menu->setFont(f);
    m_menu->setAutoFillBackground(true);
    m_menu->addAction(m_actPreferences);
    m_menu->addAction(m_actAbout);
    // On Linux there is no application menu to take Preferences and About: the popup menu stands in
    // the menu bar under the program's short name.
    m_menu->setTitle(QStringLiteral("Reelsplice"));

    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    m_menuBar->setStyleSheet(
        QStringLiteral("QMenuBar { background: transparent; color: white; }"
                       "QMenuBar::item { background: transparent; padding: 3px 8px; }"
                       "QMenuBar::item:selected { background: rgb(79, 78, 78); }"
                       "QMenu { background: rgb(51, 51, 51); color: white; border: 1px solid rgb(74, 74, 74); }"
                       "QMenu::item { padding: 4px 20px; }"
                       "QMenu::item:selected { background: rgb(79, 78, 78); }"));
    m_helpMenu = m_menuBar->addMenu(tr("Help"));
    m_helpMenu->addAction(m_actHelp);
    m_helpMenu->addAction(m_actHome);
    m_helpMenu->addAction(m_actUpdates);
    m_menuBar->addMenu(m_menu);
    connect(m_actHome, &QAction::triggered, this, &MacMainWindow::ActOnHome);
    connect(m_actHelp, &QAction::triggered, this, &MacMainWindow::ActOnHelp);
    connect(m_actAbout, &QAction::triggered, this, &MacMainWindow::ActOnAbout);
    connect(m_actPreferences, &QAction::triggered, this, &MacMainWindow::ActOnPreferDlg);
    connect(m_actUpdates, &QAction::triggered, this, &MacMainWindow::ActOnUpdates);
}

void MacMainWindow::retranslateUi()
{
    if (m_menu) {
        m_actHome->setText(tr("Home"));
        m_actHelp->setText(tr("Help"));
        m_actUpdates->setText(tr("Check for Updates"));
    }
    if (m_helpMenu)
        m_helpMenu->setTitle(tr("Help"));
    m_btnClose->setToolTip(tr("Close"));
    m_btnMax->setToolTip(tr("Maximization"));
    m_btnRestore->setToolTip(tr("Restore"));
    m_btnMenu->setToolTip(tr("Menu"));
    m_btnMin->setToolTip(tr("Minimize"));
    m_btnFormat->setToolTip(tr("Format"));
    m_btnConvert->setToolTip(tr("Convert"));
    m_btnAddFile->setToolTip(tr("Open File"));
    if (m_formatWidget)
        m_formatWidget->retranslateUi();
    if (m_mainDlg)
        m_mainDlg->retranslateUi();
    if (m_playerForm)
        m_playerForm->retranslateUi();
}

void MacMainWindow::OnBtnMin()
{
    showMinimized();
}

void MacMainWindow::OnMaxSize()
{
    m_btnRestore->show();
    m_btnMax->hide();
    QBaseDrawWidget::OnBtnMax();
}

void MacMainWindow::OnRestoreSize()
{
    m_btnMax->show();
    m_btnRestore->hide();
    QBaseDrawWidget::OnBtnMax();
}

void MacMainWindow::OnMenu()
{
    m_menu->popup(QCursor::pos() - QPoint(50, 0));
}

void MacMainWindow::OnClose()
{
    const QString remind = QVideoSettingXml::GetItemValue("REMIND_ITEM", "isShowRemind", "Y");
    QShowCloseDlg dlg(nullptr);
    CenterDlg(dlg);
    if (remind != QLatin1String("Y")) {
        if (QVideoSettingXml::GetItemValue("CLOSE_ITEM", "bIsCloseDlg", "Y") == QLatin1String("Y")) {
            m_bClosing = true;
            close();
        } else {
            showMinimized();
        }
        return;
    }
    if (dlg.exec() != QDialog::Accepted)
        return;
    if (dlg.isNoShowThisDlg())
        QVideoSettingXml::SetItemValue("REMIND_ITEM", "isShowRemind", "N");
    if (dlg.isCloseDlg()) {
        QVideoSettingXml::SetItemValue("CLOSE_ITEM", "bIsCloseDlg", "Y");
        m_bClosing = true;
        close();
    } else {
        QVideoSettingXml::SetItemValue("CLOSE_ITEM", "bIsCloseDlg", "N");
        showMinimized();
    }
}

void MacMainWindow::closeEvent(QCloseEvent *e)
{
    // A close from the window manager (or Alt+F4) takes the same road as the title-bar button.
    if (m_bClosing) {
        QZTDialog::closeEvent(e);
        return;
    }
    e->ignore();
    OnClose();
}

void MacMainWindow::OnFormatDlg()
{
    if (m_bBusy)
        return;
    FormatChooserLink::openChooser(this);
}

void MacMainWindow::OnAddFile()
{
    if (m_bBusy || !m_mainDlg)
        return;
    const QString start = QVideoSettingXml::GetItemValue("Open_path", "Open_path_value", ".");
    const QStringList files = MainWindowSeams::getOpenFileNames(this, start, ImportRules::fileDialogFilter());
    if (!files.isEmpty())
        QVideoSettingXml::SetItemValue("Open_path", "Open_path_value", QFileInfo(files.first()).path());
    m_mainDlg->addImportFile(files);
}

void MacMainWindow::OnConvert()
{
    if (m_mainDlg)
        m_mainDlg->OnConvert();
}

void MacMainWindow::ActOnHome()
{
    MainWindowSeams::openUrl(AppBundleInfo::homePage());
}

void MacMainWindow::ActOnHelp()
{
    MainWindowSeams::openUrl(AppBundleInfo::helpPage());
}

void MacMainWindow::ActOnAbout()
{
    QAboutDlg dlg(this);
    CenterDlg(dlg);
    dlg.exec();
}

void MacMainWindow::ActOnPreferDlg()
{
    QPreferencesDlg dlg(this);
    connect(&dlg, &QPreferencesDlg::emitAutoUpdate, this, &MacMainWindow::setAutoUpdate);
    CenterDlg(dlg);
    connect(&dlg, &QPreferencesDlg::emitLangugeChangeSet, this, &MacMainWindow::LangugeChangeSet);
    dlg.exec();
    // The preferences hand a new output folder over without storing it: it is stored here.
    SetOutPath(QConverterOperate::getConverterPath());
}

void MacMainWindow::ActOnUpdates()
{
    ZtCommonInterface::checkForUpdate();
}

void MacMainWindow::OnUpdateChecked(bool interactive, bool ok, bool newer, const QString &latestVersion,
                                    const QString &link)
{
    if (!interactive && !(ok && newer))
        return;
    QString text;
    if (!ok)
        text = tr("The check for updates failed. Please check your network connection and try again later.");
    else if (newer)
        text = tr("Version %1 is available.").arg(latestVersion) +
               (link.isEmpty() ? QString() : QStringLiteral("\n") + link);
    else
        text = tr("You are using the latest version (%1).").arg(AppBundleInfo::shortVersion());
    MainWindowSeams::showMessage(this, QString(), text, ok ? QZTMessageBox::Information : QZTMessageBox::Warning,
                                 QZTMessageBox::StyleOk);
}

void MacMainWindow::ActShowLog()
{
    ZtCommonInterface::showFileInFolder(QConverterOperate::getLogFilePath().toUtf8().toStdString());
}

void MacMainWindow::SetOutPath(const QString &path)
{
    QConverterOperate::setConverterPath(path);
    QVideoSettingXml::SetItemValue("OutPut_path", "path_value", path);
}

void MacMainWindow::setAutoUpdate(bool bUpdate)
{
    ZtCommonInterface::setAutoCheckUpdate(bUpdate);
}

void MacMainWindow::LangugeChangeSet(bool)
{
    if (m_translator)
        QCoreApplication::installTranslator(m_translator);
}

void MacMainWindow::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (m_bInTray && (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger))
        showNormal();
}

void MacMainWindow::InitSystemTray()
{
    m_trayIcon = new QSystemTrayIcon(this);
    m_trayIcon->setIcon(QIcon(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Common_bg/no_title_logo.png")));
    m_actHide = new QAction(tr("Hidden (&H)"), this);
    m_actShow = new QAction(tr("Show Window (&S)"), this);
    m_actQuit = new QAction(tr("Quit (&Q)"), this);
    m_trayMenu = new QMenu(this);
    m_trayMenu->addAction(m_actHide);
    m_trayMenu->addAction(m_actShow);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_actQuit);
    m_trayIcon->setContextMenu(m_trayMenu);
    connect(m_actHide, &QAction::triggered, this, &QWidget::hide);
    connect(m_actShow, &QAction::triggered, this, &QWidget::show);
    connect(m_actQuit, &QAction::triggered, qApp, &QApplication::quit);
    m_trayIcon->setVisible(true);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &MacMainWindow::iconActivated);
}
