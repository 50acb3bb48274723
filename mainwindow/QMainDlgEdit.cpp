// The media list's changes of rows: deletion, clearing, reordering, the search filter, renaming,
// revealing and the context menus.

#include "QMainDlg.h"

#include "QRirezaPlayerForm.h"
#include "QZTMenu.h"
#include "VideoConvertBar.h"
#include "ZtCommonInterface.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QCursor>
#include <QFile>

namespace {
ZtVideoConvertManager *clipList()
{
    return ZtVideoConvertManager::getConvertManagerObject();
}
} // namespace

void QMainDlg::SearchTextChanged(const QString &text)
{
    m_strSearch = text;
    m_showBarList.clear();
    for (VideoConvertBar *bar : qAsConst(m_barList)) {
        const bool shown = text.isEmpty() || bar->getVideoName().contains(text, Qt::CaseInsensitive);
        bar->setVisible(shown);
        if (shown)
            m_showBarList.append(bar);
    }
}

void QMainDlg::previewAfterRemoval(int removedIndex)
{
    // The next row, else the previous one, is loaded (not started).
    if (m_pPlayerForm)
        m_pPlayerForm->clearCurrentPlayer();
    VideoConvertBar *next = nullptr;
    if (removedIndex + 1 < m_barList.size())
        next = m_barList.at(removedIndex + 1);
    else if (removedIndex - 1 >= 0)
        next = m_barList.at(removedIndex - 1);
    m_pPlayerBar = next;
    if (next) {
        next->setIsPlayer(true);
        emit emitPreparePlayer(next->getVideoItemInfo());
    }
}

void QMainDlg::removeRow(VideoConvertBar *bar)
{
    const int k = m_barList.indexOf(bar);
    if (k < 0)
        return;
    m_listLayout->removeWidget(bar);
    if (bar == m_pPlayerBar)
        previewAfterRemoval(k);
    // The row may be the sender of the signal being handled: it goes later, without its clip.
    bar->hide();
    bar->setVideoItemInfo(nullptr);
    bar->deleteLater();
    m_barList.removeAt(k);
    clipList()->DeleteItemAt(k);
    if (bar == m_pCurrentBar)
        m_pCurrentBar = nullptr;
    if (bar == m_pAnchorBar)
        m_pAnchorBar = nullptr;
    if (bar == m_pDeleteBar)
        m_pDeleteBar = nullptr;
    m_showBarList.removeOne(bar);
}

void QMainDlg::commonDeleteEnd()
{
    if (m_showBarList.isEmpty())
        SearchTextChanged(m_strSearch);
    if (m_barList.isEmpty()) {
        scrollArea->hide();
        emit seedIsAddItem(false);
    }
    TrimChanged();
    if (m_pPlayerBar)
        noticeBtnEnable(m_barList.indexOf(m_pPlayerBar));
    else
        emit emitBtnEnable(false, false);
}

void QMainDlg::respondDeleteEmit()
{
    if (isBusy())
        return;
    m_pDeleteBar = qobject_cast<VideoConvertBar *>(sender());
    OnBarbtnDelete();
}

void QMainDlg::OnBarbtnDelete()
{
    if (!m_pDeleteBar || !m_showBarList.contains(m_pDeleteBar))
        return;
    removeRow(m_pDeleteBar);
    m_pDeleteBar = nullptr;
    commonDeleteEnd();
}

void QMainDlg::OnACtionDelete()
{
    if (isBusy())
        return;
    // A snapshot of the selected rows the filter shows, each deleted once; hidden selected rows stay.
    QVector<QConvertMouseState> states;
    QVector<bool> visible;
    for (VideoConvertBar *bar : qAsConst(m_barList)) {
        states.append(bar->getMouseState());
        visible.append(m_showBarList.contains(bar));
    }
    const QList<int> rows = MediaListRules::deletionSnapshot(states, visible);
    QList<VideoConvertBar *> doomed;
    for (int i : rows)
        doomed.append(m_barList.at(i));
    for (VideoConvertBar *bar : qAsConst(doomed))
        removeRow(bar);
    commonDeleteEnd();
}

void QMainDlg::ActionDeleteBar()
{
    if (!m_pCurrentBar || isBusy())
        return;
    m_pDeleteBar = m_pCurrentBar;
    OnBarbtnDelete();
    m_pCurrentBar = nullptr;
}

void QMainDlg::OnACtionDeleteAll()
{
    ActionDeleteALL();
}

void QMainDlg::ActionDeleteALL()
{
    if (isBusy())
        return;
    m_pCurrentBar = nullptr;
    if (m_pPlayerForm)
        m_pPlayerForm->clearCurrentPlayer();
    if (m_showBarList.size() == m_barList.size()) {
        for (VideoConvertBar *bar : qAsConst(m_barList)) {
            m_listLayout->removeWidget(bar);
            bar->hide();
            bar->setVideoItemInfo(nullptr);
            bar->deleteLater();
        }
        m_barList.clear();
        m_showBarList.clear();
        clipList()->ClearItems();
    } else {
        const QList<VideoConvertBar *> shown = m_showBarList;
        for (VideoConvertBar *bar : shown) {
            const int k = m_barList.indexOf(bar);
            m_listLayout->removeWidget(bar);
            bar->hide();
            bar->setVideoItemInfo(nullptr);
            bar->deleteLater();
            m_barList.removeAt(k);
            clipList()->DeleteItemAt(k);
        }
        m_showBarList.clear();
    }
    m_pPlayerBar = nullptr;
    m_pDeleteBar = nullptr;
    m_pAnchorBar = nullptr;
    SearchTextChanged(m_strSearch);
    commonDeleteEnd();
}

void QMainDlg::OnACtionClearInvalidFile()
{
    if (isBusy())
        return;
    QList<VideoConvertBar *> invalid;
    for (VideoConvertBar *bar : qAsConst(m_barList))
        if (!QFile::exists(bar->getVideoPath()))
            invalid.append(bar);
    // From the last to the first, so that a removed previewed row hands over to a row that stays.
    for (int i = invalid.size() - 1; i >= 0; --i)
        removeRow(invalid.at(i));
    if (m_barList.isEmpty()) {
        scrollArea->hide();
        emit seedIsAddItem(false);
    }
    TrimChanged();
}

void QMainDlg::respondFromInsertTo(int orginalPos, int insertPos, QDragMouseState mouseState)
{
    if (isBusy())
        return;
    const int target = MediaListRules::reorderTarget(orginalPos, insertPos, mouseState);
    if (target < 0 || !clipList()->OrginalItemInsert(orginalPos, target))
        return;
    ZtVideoConvertItem *previewed = m_pPlayerBar ? m_pPlayerBar->getVideoItemInfo() : nullptr;
    for (int i = 0; i < m_barList.size(); ++i)
        m_barList.at(i)->updateItemInfo(clipList()->GetItem(i));
    m_pPlayerBar = nullptr;
    for (VideoConvertBar *bar : qAsConst(m_barList)) {
        bar->setMouseState(0);
        const bool carries = previewed && bar->getVideoItemInfo() == previewed;
        bar->setIsPlayer(carries);
        if (carries)
            m_pPlayerBar = m_pCurrentBar = m_pAnchorBar = bar;
    }
    SearchTextChanged(m_strSearch);
    if (m_pPlayerBar)
        noticeBtnEnable(m_barList.indexOf(m_pPlayerBar));
}

void QMainDlg::OnACtionRename()
{
    if (m_pCurrentBar && !isBusy())
        m_pCurrentBar->OnBtnEditName();
}

void QMainDlg::OnACtionOpenFile()
{
    if (m_pCurrentBar)
        ZtCommonInterface::showFileInFolder(m_pCurrentBar->getVideoPath().toUtf8().toStdString());
}

void QMainDlg::respondFileEmit()
{
    if (auto *bar = qobject_cast<VideoConvertBar *>(sender()))
        ZtCommonInterface::showFileInFolder(bar->getVideoPath().toUtf8().toStdString());
}

void QMainDlg::OnACtionConvert()
{
    OnConvert();
}

void QMainDlg::respondShowTreeMenu()
{
    if (isBusy())
        return;
    // Rename and Open File act on the row the menu opened on, also when its press kept a selection and
    // so did not make it the current row.
    if (auto *bar = qobject_cast<VideoConvertBar *>(sender()))
        m_pCurrentBar = bar;
    showMenu(true);
}

void QMainDlg::showMenu(bool onRow)
{
    if (isBusy())
        return;
    m_pMenu->clear();
    if (onRow) {
        m_actOpenFile->setEnabled(true);
        m_actDelete->setEnabled(true);
        m_actRename->setEnabled(true);
    } else {
        const bool rows = !m_barList.isEmpty();
        m_actConvert->setEnabled(rows);
        m_actDeleteAll->setEnabled(rows);
        m_actOpenFile->setEnabled(false);
        m_actDelete->setEnabled(false);
        m_actRename->setEnabled(false);
        m_pMenu->addAction(m_actConvert);
    }
    addMenuActionsAfterConvert();
    m_pMenu->popup(QCursor::pos());
}
