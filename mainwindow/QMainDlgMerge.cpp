// The media list's side of a merge: from Convert to the driver's end, with the progress dialog, Stop,
// the failure message and the finishing action (power off or reveal the merged file).

#include "QMainDlg.h"

#include "AttributeSetting.h"
#include "MainWindowSeams.h"
#include "MergeFlow.h"
#include "QConverterOperate.h"
#include "QNewConvertObject.h"
#include "QRirezaPlayerForm.h"
#include "QSaveFileDlg.h"
#include "QShowIsLosslassDlg.h"
#include "QVideoSettingXml.h"
#include "QZTMessageBox.h"
#include "VideoConvertBar.h"
#include "ZtCommonInterface.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

namespace {

QPoint centredOver(QWidget *over, QWidget *dlg)
{
    if (!over)
        return QPoint(50, 50);
    const QPoint origin = over->mapToGlobal(QPoint(0, 0));
    int x = origin.x() + (over->width() - dlg->width()) / 2;
    int y = origin.y() + (over->height() - dlg->height()) / 2;
    return QPoint(x < 1 ? 50 : x, y < 1 ? 50 : y);
}

} // namespace

void QMainDlg::setMerging(bool on)
{
    m_bMerging = on;
    m_scrollAreaWidget->setEnabled(!isBusy());
    emit seedListBusy(isBusy());
}

void QMainDlg::OnConvert()
{
    if (isBusy())
        return;
    QWidget *top = parentWidget();
    if (!MergeFlow::prepareOutputFolder(QConverterOperate::getOutputRoot())) {
        MainWindowSeams::showMessage(top, QString(), tr("The output path is invalid!"), QZTMessageBox::Critical,
                                     QZTMessageBox::StyleOk);
        return;
    }
    ZtVideoConvertManager *list = ZtVideoConvertManager::getConvertManagerObject();
    if (list->GetItemCount() == 0)
        return;
    const bool lossless = QSettingDlgState::attributeSetting().bLossless;
    if (MergeFlow::needsMismatchNotice(
            lossless, !lossless || list->IsLosslessMerger(),
            QVideoSettingXml::GetItemValue("IsLossless_Remind_Item", "IsLossless_Remind_show", "Y"))) {
        // The notice informs; whichever way it is closed the run goes on, and the library refuses the join.
        QShowIsLosslassDlg notice(top);
        notice.move(centredOver(top, &notice));
        const int result = notice.exec();
        if (MergeFlow::keepsSilence(result, notice.isNoShowThisDlg()))
            QVideoSettingXml::SetItemValue("IsLossless_Remind_Item", "IsLossless_Remind_show", "N");
    }

    setMerging(true);
    emit emitIsStartConverter(true);
    emit emitStopPlayer();
    delete m_pConvertObject;
    m_pConvertObject = new QNewConvertObject(nullptr);
    ZtVideoConvertItem *first = list->GetItem(0);
    first->getValidOutputName();
    first->getConverOutputDir();
    m_strMergeOutput = first->getConverPath();
    m_pConvertObject->ClearConvertItem();
    for (int i = 0; i < list->GetItemCount(); ++i)
        m_pConvertObject->AddConvertItem(list->GetItem(i));
    m_pConvertObject->setMergerOptputPath(m_strMergeOutput);
    connect(m_pConvertObject, &QNewConvertObject::emitStartConverter, this, &QMainDlg::StartConverter);
    connect(m_pConvertObject, &QNewConvertObject::emitStopConverter, this, &QMainDlg::StopConverter);
    connect(m_pConvertObject, &QNewConvertObject::emitConvertTotalPro, this, &QMainDlg::ConverterPro);
    connect(m_pConvertObject, &QNewConvertObject::emitMergerFinished, this, &QMainDlg::MergerFinished);
    connect(m_pConvertObject, &QNewConvertObject::emitMergerTotalFinished, this, &QMainDlg::MergerTotalFinished);
    if (m_pConvertObject->getTotalConut() == 0) {
        setMerging(false);
        emit emitIsStartConverter(false);
        return;
    }
    delete m_pSaveFileDlg.data();
    m_pSaveFileDlg = new QSaveFileDlg(this);
    m_bStopSave = false;
    connect(m_pSaveFileDlg, &QSaveFileDlg::emitCancel, this, &QMainDlg::OnStopSave);
    m_pSaveFileDlg->move(centredOver(top, m_pSaveFileDlg));
    m_pSaveFileDlg->setModal(true);
    m_pSaveFileDlg->show();
    m_pConvertObject->OnStartToMerger();
}

void QMainDlg::StartConverter()
{
    auto *driver = qobject_cast<QNewConvertObject *>(sender());
    const int n = driver ? driver->getTotalConut() : 0;
    if (n != 0 && m_pSaveFileDlg) {
        m_pSaveFileDlg->setSumCount(n);
        m_pSaveFileDlg->setSaveCount(QStringLiteral("%1/%2").arg(0).arg(n));
    }
}

void QMainDlg::ConverterPro(float progress)
{
    auto *driver = qobject_cast<QNewConvertObject *>(sender());
    if (!m_pSaveFileDlg || !driver)
        return;
    m_pSaveFileDlg->setProgressValue(progress);
    if (ZtVideoConvertItem *item = driver->GetCurrentItem())
        m_pSaveFileDlg->setSaveFilename(item->getFilePath());
}

void QMainDlg::MergerFinished(bool success)
{
    auto *driver = qobject_cast<QNewConvertObject *>(sender());
    if (success) {
        if (m_pSaveFileDlg && driver)
            m_pSaveFileDlg->setSaveCount(
                QStringLiteral("%1/%2").arg(driver->getConvertConut()).arg(driver->getTotalConut()));
        return;
    }
    discardStoppedOutput();
    if (m_bStopSave) {
        m_bStopSave = false;
        return;
    }
    MainWindowSeams::showMessage(
        parentWidget(), QString(),
        MergeFlow::failureText(tr("File conversion failed, please check whether the output format parameters "
                                  "\nand output file directory are set correctly."),
                               driver ? driver->errorText() : QString()),
        QZTMessageBox::Critical, QZTMessageBox::StyleOk);
}

void QMainDlg::discardStoppedOutput()
{
    // The library leaves no partial file (and never removes one it did not write); what a run that did
    // not complete still holds is the name it claimed, which the next run must be free to take.
    MergeFlow::releaseOutputName(m_strMergeOutput);
}

void QMainDlg::StopConverter()
{
    setMerging(false);
    emit emitIsStartConverter(false);
    // The dialog may be the one whose Stop is being handled: it goes when control returns to the loop.
    if (m_pSaveFileDlg) {
        m_pSaveFileDlg->hide();
        m_pSaveFileDlg->deleteLater();
        m_pSaveFileDlg = nullptr;
    }
}

void QMainDlg::MergerTotalFinished()
{
    auto *driver = qobject_cast<QNewConvertObject *>(sender());
    if (QVideoSettingXml::GetItemValue("SHOWDOWN_ITEM", "bIsShowDownComputer", "N") == QLatin1String("Y"))
        ZtCommonInterface::shutdownComputer();
    else if (driver)
        ZtCommonInterface::showFileInFolder(driver->getMergerOutputPath().toUtf8().toStdString());
}

void QMainDlg::OnStopSave()
{
    if (!m_pConvertObject || !m_bMerging)
        return;
    m_bStopSave = true;
    m_pConvertObject->OnStopConvert();
}
