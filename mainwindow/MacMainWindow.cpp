#include "MacMainWindow.h"

#include "AppBundleInfo.h"
#include "FormatChooserLink.h"
#include "FormatWidget.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "QInitProject.h"
#include "QMainDlg.h"
#include "QRirezaPlayerForm.h"
#include "QVideoSettingXml.h"
#include "UpdateChecker.h"
#include "VideoConvertBar.h"
#include "ZtVideoConvertItem.h"
#include "rscodec.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QTranslator>

namespace {
// The frame formats the codec library hands over: planar YUV 4:2:0 and packed BGRX.
const int32_t s_frameFormats[2] = {0, 30};

QString res(const char *path)
{
    return QIAnyUtil::getResourcePath() + QLatin1String(path);
}
} // namespace

MacMainWindow::MacMainWindow(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setMouseTracking(true);
    setBackgroundImage(res("/image/background.png"), true);
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    setTitleRect(QRect(0, 0, 0, 22));
    setAlignment(Qt::AlignCenter);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    setLogoImage(QImage()); // no logo (an empty image: nothing is read)
    // The bundle is read, never written at start: it may be read-only, and the build wrote its keys.
    AppBundleInfo::load();
    f.setPixelSize(12);
    setFont(f);
    setMoveTopHeight(22);
    setStretchPolicy(3);
    setStretchWidth(2);
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    setDlgTitle(QStringLiteral("Quorvane Reelsplice"));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 255));
    setPalette(pal);
    initControls();
    InitLogInfo();
    InitAppInfo();
    retranslateUi();
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    setGlobalFunction();
    QInitProject::InitProject(this);
    resize(1035, 623);
    setMinimumSize(1035, 623);
    qRegisterMetaType<ZtVideoConvertItem *>("ZtVideoConvertItem*");
    qRegisterMetaType<QList<QImage>>("QList<QImage>");
    connect(&UpdateChecker::instance(), &UpdateChecker::sendUpdateChecked, this, &MacMainWindow::OnUpdateChecked);
    if (QVideoSettingXml::GetItemValue("UPDATES_ITEM", "bIsAutoUpdate", "N") == QLatin1String("Y"))
        setAutoUpdate(true);
}

MacMainWindow::~MacMainWindow()
{
    QInitProject::releseProject();
    // The list and its rows go before the rows' shared images.
    delete m_mainDlg;
    m_mainDlg = nullptr;
    VideoConvertBar::ReleaseResources();
    delete m_formatWidget;
    m_formatWidget = nullptr;
    delete m_trayIcon;
    m_trayIcon = nullptr;
    delete m_translator;
    m_translator = nullptr;
    delete m_playerForm;
    m_playerForm = nullptr;
    delete m_showTimer;
    m_showTimer = nullptr;
}

void MacMainWindow::initControls()
{
    m_btnClose->setButtonImage(res("/image/btn_close.png"), true);
    m_btnMin->setButtonImage(res("/image/btn_min.png"), true);
    m_btnMenu->setButtonImage(res("/image/btn_meun.png"), true);
    m_btnMax->setButtonImage(res("/image/btn_max.png"), true);
    m_btnRestore->setButtonImage(res("/image/btn_restore.png"), true);
    m_btnMenu->hide();
    m_btnMax->setEnabled(false);
    m_btnRestore->hide();
    connect(m_btnMin, &QPushButton::clicked, this, &MacMainWindow::OnBtnMin);
    connect(m_btnClose, &QPushButton::clicked, this, &MacMainWindow::OnClose);
    connect(m_btnMenu, &QPushButton::clicked, this, &MacMainWindow::OnMenu);
    connect(m_btnMax, &QPushButton::clicked, this, &MacMainWindow::OnMaxSize);
    connect(m_btnRestore, &QPushButton::clicked, this, &MacMainWindow::OnRestoreSize);
    m_btnConvert->setButtonImage(res("/image/btn_convert.png"), true);
    m_btnConvert->setEnabled(false);
    m_btnAddFile->setButtonImage(res("/image/btn_addfile.png"), true);
    m_btnFormat->setButtonImage(res("/image/btn_format.png"), true);

    m_mainDlg = new QMainDlg(this);
    m_playerForm = new QRirezaPlayerForm(this);
    m_playerForm->show();
    m_mainDlg->setPlayerForm(m_playerForm);
    connect(m_mainDlg, &QMainDlg::seedIsAddItem, this, &MacMainWindow::SetConverterBtn);
    connect(m_mainDlg, &QMainDlg::emitIsStartConverter, this, &MacMainWindow::IsStartConverter);
    connect(m_mainDlg, &QMainDlg::seedListBusy, this, &MacMainWindow::setListBusy);

    m_formatWidget = FormatChooserLink::restoreChoice(this);

    QString output = QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted/");
    if (!QDir(output).exists())
        QDir().mkdir(output);
    output.replace(QLatin1Char('\\'), QLatin1Char('/'));
    SetOutPath(QVideoSettingXml::GetItemValue("OutPut_path", "path_value", output));
    CreatMenu();
    m_showTimer = new QTimer(this);
    connect(m_showTimer, &QTimer::timeout, this, &MacMainWindow::showTimer);
    connect(m_btnAddFile, &QPushButton::clicked, this, &MacMainWindow::OnAddFile);
    connect(m_btnConvert, &QPushButton::clicked, this, &MacMainWindow::OnConvert);
    connect(m_btnFormat, &QPushButton::clicked, this, &MacMainWindow::OnFormatDlg);
}

void MacMainWindow::InitLogInfo()
{
    QConverterOperate::setLogFilePath(QIAnyUtil::getAppDataPath() + QStringLiteral("/") + QStringLiteral("log.txt"));
}

void MacMainWindow::InitAppInfo()
{
    // The version comes from the bundle read at start; nothing is written.
}

void MacMainWindow::setGlobalFunction()
{
    rsc_global_set_options(1, 1);
    const QByteArray folder = QIAnyUtil::getAppDataPath().toUtf8();
    rsc_global_set_data_folder(folder.constData());
    rsc_global_set_frame_formats(s_frameFormats, 2);
}

void MacMainWindow::SetConverterBtn(bool flag)
{
    m_bHasItems = flag;
    applyBusy();
}

void MacMainWindow::IsStartConverter(bool bStart)
{
    // The window stays enabled so that the progress dialog's Stop works; the list blocks itself and the
    // buttons that would change it or start another run are blocked here.
    setListBusy(bStart);
}

void MacMainWindow::setListBusy(bool busy)
{
    m_bBusy = busy;
    applyBusy();
}

void MacMainWindow::applyBusy()
{
    m_btnConvert->setEnabled(m_bHasItems && !m_bBusy);
    m_btnAddFile->setEnabled(!m_bBusy);
    m_btnFormat->setEnabled(!m_bBusy);
    if (m_menuBar)
        m_menuBar->setEnabled(!m_bBusy);
}

void MacMainWindow::resetControlLocation()
{
    const int W = width();
    const int H = height();
    m_btnClose->move(6, 5);
    m_btnMin->move(26, 5);
    m_btnMax->move(46, 5);
    m_btnMenu->move(46, 5);
    m_btnRestore->move(56, 5);
    if (m_mainDlg)
        m_mainDlg->setGeometry(2, 22, 300, H - 72);
    if (m_playerForm && m_mainDlg)
        m_playerForm->setGeometry(302, 22, W - 4 - m_mainDlg->width(), H - 72);
    auto bandY = [H](QWidget *w) { return H - 50 + (50 - w->height()) / 2; };
    m_btnAddFile->move(20, bandY(m_btnAddFile));
    m_btnConvert->move(W - 20 - m_btnConvert->width(), bandY(m_btnConvert));
    m_btnFormat->move(m_btnConvert->x() - m_btnFormat->width(), bandY(m_btnFormat));
    if (m_menuBar)
        m_menuBar->setGeometry(70, 0, 200, 22);
}

void MacMainWindow::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    resetControlLocation();
}

void MacMainWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    resetControlLocation();
}

void MacMainWindow::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton)
        return;
    const QPoint p = e->localPos().toPoint();
    if (QRect(QPoint(0, 0), QPoint(width() - 1, 21)).contains(p))
        QZTDialog::mouseDoubleClickEvent(e);
}

// The window is the program: Escape must not reject it as a dialog (only the close choice ends it), and
// Enter has no default button to press here (it also arrives from a row's finished rename).
void MacMainWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void MacMainWindow::showTimer()
{
    m_showTimer->stop();
    const QSize s = size();
    resize(s.width() - 1, s.height());
    resize(s);
}
