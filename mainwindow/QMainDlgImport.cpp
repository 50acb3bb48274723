// The media list's import: the file dialog of the Import action, drops, and the worker that searches the
// given files and folders and probes each file. The worker only probes: each usable clip is handed to the
// clip list, which takes it on the GUI thread in file order and announces it (emitItemAdded), and the
// row is added there. Dialog updates travel as queued signals.

#include "QMainDlg.h"

#include "ImportRules.h"
#include "MainWindowSeams.h"
#include "QLoadingDlg.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <thread>

void QMainDlg::OnACtionImport()
{
    if (isBusy())
        return;
    addImportFile(MainWindowSeams::getOpenFileNames(this, QStringLiteral("."), ImportRules::fileDialogFilter()));
}

void QMainDlg::dragEnterEvent(QDragEnterEvent *e)
{
    if (!isBusy() && e->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        e->acceptProposedAction();
    else
        e->ignore();
}

void QMainDlg::dropEvent(QDropEvent *e)
{
    if (isBusy() || !e->mimeData()->hasUrls()) {
        e->ignore();
        return;
    }
    m_importPathList.clear();
    const QList<QUrl> urls = e->mimeData()->urls();
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            m_importPathList.append(url.toLocalFile());
    e->acceptProposedAction();
    StartTraversalThread();
}

void QMainDlg::StartTraversalThread()
{
    if (m_importPathList.isEmpty() || isBusy())
        return;
    m_bTraversal = true;
    m_fileList.clear();
    m_nTraversalCount = 0;
    m_pTraversalTimer->start(1000);
    addImportFile(QStringList());
}

void QMainDlg::addImportFile(QStringList paths)
{
    if (m_bImporting || m_bMerging)
        return;
    if (!m_bTraversal)
        m_importPathList = paths;
    if (m_importPathList.isEmpty()) {
        m_bTraversal = false;
        m_pTraversalTimer->stop();
        return;
    }
    delete m_pLoadingDlg.data();
    m_pLoadingDlg = new QLoadingDlg(this);
    if (QWidget *top = window()) {
        const QPoint origin = top->mapToGlobal(QPoint(0, 0));
        m_pLoadingDlg->move(origin.x() + (top->width() - m_pLoadingDlg->width()) / 2,
                            origin.y() + (top->height() - m_pLoadingDlg->height()) / 2);
    }
    connect(m_pLoadingDlg, &QLoadingDlg::seedStopAddFile, this, &QMainDlg::StopAddFileThree);
    m_fileList.clear();
    m_pLoadingDlg->setModal(true);
    m_pLoadingDlg->show();
    m_bStopAdd = false;
    setImporting(true);
    StartThread();
}

void QMainDlg::setImporting(bool on)
{
    m_bImporting = on;
    m_scrollAreaWidget->setEnabled(!isBusy());
    emit seedListBusy(isBusy());
}

void QMainDlg::OnExecute()
{
    // Runs on the worker: it reads only what the GUI does not change during the run (the path list and
    // the file list are the worker's until the run ends; the list is blocked meanwhile).
    emit seedAddFilePath(tr("Searching..."));
    QStringList found;
    for (const QString &path : qAsConst(m_importPathList)) {
        if (m_bStopAdd)
            break;
        if (QFileInfo(path).isDir())
            addSubFolderImages(path, found);
        else if (ImportRules::IsSupportFile(path))
            found.append(path);
    }
    m_bTraversal = false;
    m_nTraversalCount = 20;
    m_fileList = found;
    if (found.isEmpty()) {
        emit seedAddComplete(false);
        return;
    }
    emit seedProgressValue(20.0f);
    const int n = found.size();
    const float base = 20.0f;
    for (int i = 1; i <= n; ++i) {
        if (m_bStopAdd) {
            emit seedAddComplete(true);
            return;
        }
        const QString &path = found.at(i - 1);
        emit seedAddFilePath(path);
        emit seedAddCount(QStringLiteral("%1/%2").arg(i).arg(n));
        emit seedProgressValue(base + float(i) * (100.0f - base) / float(n));
        if (ZtVideoConvertItem *item = CreateConvertItemInfo(path, 0))
            ZtVideoConvertManager::getConvertManagerObject()->addConverItem(item, -1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    emit seedAddComplete(true);
}

void QMainDlg::addSubFolderImages(const QString &folder, QStringList &found)
{
    if (!QDir(folder).exists())
        return;
    QDirIterator it(folder, QStringList(), QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    QStringList here;
    while (it.hasNext() && !m_bStopAdd) {
        const QString path = QFileInfo(it.next()).absoluteFilePath();
        if (ImportRules::IsSupportFile(path))
            here.append(path);
    }
    // The iterator's order depends on the file system: names in order keep runs repeatable.
    here.sort(Qt::CaseInsensitive);
    found.append(here);
}

ZtVideoConvertItem *QMainDlg::CreateConvertItemInfo(const QString &path, int index)
{
    auto *item = new ZtVideoConvertItem(nullptr);
    if (!item->setVideoPath(path, index)) {
        delete item;
        return nullptr;
    }
    return item;
}

void QMainDlg::traversalTime()
{
    if (m_nTraversalCount < 21) {
        const int value = ++m_nTraversalCount;
        if (m_pLoadingDlg)
            m_pLoadingDlg->setProgressVale(float(value));
        return;
    }
    m_pTraversalTimer->stop();
    m_nTraversalCount = 20;
}

void QMainDlg::StopAddFileThree()
{
    m_bStopAdd = true;
}

void QMainDlg::AddFileComplete(bool)
{
    m_pTraversalTimer->stop();
    // The worker has emitted its last signal; joining here is at most the return from OnExecute.
    StopThread();
    delete m_pLoadingDlg.data();
    m_pLoadingDlg = nullptr;
    setImporting(false);
}

void QMainDlg::onAddFilePath(const QString &path)
{
    if (m_pLoadingDlg)
        m_pLoadingDlg->setAddFilePath(path);
}

void QMainDlg::onAddCount(const QString &text)
{
    if (m_pLoadingDlg)
        m_pLoadingDlg->setAddCount(text);
}

void QMainDlg::onProgressValue(float value)
{
    if (m_pLoadingDlg)
        m_pLoadingDlg->setProgressVale(value);
}
