#pragma once
// The program's one top-level window: a frameless, skinned dialog holding the media list on the left,
// the preview pane on the right, the title-bar buttons and the Add File, Format and Convert buttons. Its
// constructor is the program's start-up sequence.
//
// MacMainWindow.cpp builds and lays out the window; MacMainWindowActions.cpp holds the menu, the buttons'
// and menu entries' slots, the close choice and the update answers.

#include "QZTDialog.h"
#include "ui_MacMainWindow.h"

#include <QSystemTrayIcon>

class QMainDlg;
class QRirezaPlayerForm;
class QTimer;
class QZTMenu;
class QMenuBar;
class QMenu;
class QAction;
class QTranslator;
class FormatWidget;

class MacMainWindow : public QZTDialog, public Ui::MacMainWindow
{
    Q_OBJECT
public:
    explicit MacMainWindow(QWidget *parent = nullptr);
    ~MacMainWindow() override;

    void retranslateUi();
    void resetControlLocation() override;
    void SetOutPath(const QString &path);

    QMainDlg *mainDlg() const { return m_mainDlg; }
    QRirezaPlayerForm *playerForm() const { return m_playerForm; }
    QMenuBar *menuBar() const { return m_menuBar; }
    QMenu *helpMenu() const { return m_helpMenu; }
    QZTMenu *popupMenu() const { return m_menu; }
    bool controlsBusy() const { return m_bBusy; }

public slots:
    void SetConverterBtn(bool flag);
    void IsStartConverter(bool bStart);
    void OnBtnMin();
    void OnClose();
    void OnMenu();
    void OnMaxSize();
    void OnRestoreSize();
    void OnFormatDlg();
    void OnAddFile();
    void OnConvert();
    void ActOnHome();
    void ActOnHelp();
    void ActOnAbout();
    void ActOnPreferDlg();
    void ActOnUpdates();
    void ActShowLog();
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void setAutoUpdate(bool bUpdate);
    void LangugeChangeSet(bool bChange);
    void showTimer();
    // The update check's answer: a question asked from the menu is always answered; the automatic
    // check speaks only of a newer version.
    void OnUpdateChecked(bool interactive, bool ok, bool newer, const QString &latestVersion, const QString &link);
    // An import or a merge runs: the buttons that change the list or start a run are blocked.
    void setListBusy(bool busy);

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void initControls();
    void InitLogInfo();
    void InitAppInfo();
    void setGlobalFunction();
    void CreatMenu();
    void InitSystemTray();
    void applyBusy();

    FormatWidget *m_formatWidget = nullptr;
    QMainDlg *m_mainDlg = nullptr;
    QRirezaPlayerForm *m_playerForm = nullptr;
    QTimer *m_showTimer = nullptr;
    QZTMenu *m_menu = nullptr;
    QMenuBar *m_menuBar = nullptr;
    QAction *m_actHome = nullptr;
    QAction *m_actHelp = nullptr;
    QAction *m_actAbout = nullptr;
    QAction *m_actPreferences = nullptr;
    QAction *m_actUpdates = nullptr;
    QMenu *m_helpMenu = nullptr;
    bool m_bInTray = false;
    QAction *m_actHide = nullptr;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QAction *m_actShow = nullptr;
    QAction *m_actQuit = nullptr;
    QMenu *m_trayMenu = nullptr;
    QTranslator *m_translator = nullptr;
    bool m_bHasItems = false;
    bool m_bBusy = false;
    bool m_bClosing = false;
};
