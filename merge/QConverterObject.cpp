#include "QConverterObject.h"

#include "QConverterOperate.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "ZtCommonInterface.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>

#include <memory>

QConverterObject::QConverterObject(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<convertState>("convertState");
    connect(this, &QConverterObject::seedConvertPro, this, &QConverterObject::UpdataConverPro, Qt::AutoConnection);
    connect(this, &QConverterObject::emitConvertedFinish, this, &QConverterObject::converterFinishCount,
            Qt::AutoConnection);
}

QConverterObject::~QConverterObject()
{
    // The converters' workers are joined here, so no report reaches a destroyed driver.
    const QSignalBlocker blocker(this);
    m_bStopConvert = true;
    releaseMergeConverter(true);
    releaseConverter();
}

void QConverterObject::convertPro(unsigned int pro, void *user, convertState state)
{
    if (auto *self = static_cast<QConverterObject *>(user))
        emit self->seedConvertPro(pro, state);
}

void QConverterObject::MergerPro(unsigned int pro, void *user, convertState state)
{
    convertPro(pro, user, state);
}

void QConverterObject::setConverProgress(unsigned int pro, convertState state)
{
    emit seedConvertPro(pro, state);
}

bool QConverterObject::releaseMergeConverter(bool wait)
{
    if (!m_pMergerConverter)
        return true;
    m_pMergerConverter->StopMerger(wait);
    const bool complete = m_pMergerConverter->MergerOutputComplete();
    DestroyAVConverter(m_pMergerConverter);
    m_pMergerConverter = nullptr;
    return complete;
}

void QConverterObject::releaseConverter()
{
    if (!m_pConverter)
        return;
    m_pConverter->StopConvert();
    DestroyAVConverter(m_pConverter);
    m_pConverter = nullptr;
}

void QConverterObject::OnStartToCoverter(bool merge)
{
    m_bMerger = merge;
    // A cancel of the previous run is over: this run starts for real.
    m_bStopConvert = false;
    ZtVideoConvertManager *list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
    if (list->GetItemCount() == 0)
        return;
    m_convertList.clear();
    m_strMergerPath.clear();
    for (int i = 0; i < list->GetItemCount(); ++i)
        m_convertList.append(list->GetItem(i));
    if (!m_convertList.isEmpty()) {
        emit emitIsStartConverter(true);
        m_nConvertIndex = 0;
        StartToConvertVideo(m_convertList.first(), false);
    }
}

void QConverterObject::OnConverterAllCheck()
{
    m_bStopConvert = false;
    emit emitIsStartConverter(true);
    m_nConvertIndex = 0;
    if (!m_convertList.isEmpty())
        StartToConvertVideo(m_convertList.first(), false);
}

void QConverterObject::StartToConvertVideo(ZtVideoConvertItem *item, bool)
{
    if (!item)
        return;
    m_pCurItem = item;
    if (m_bStopConvert) {
        if (m_bMerger)
            releaseMergeConverter(true);
        else
            releaseConverter();
        m_bStopConvert = false;
        return;
    }
    const QByteArray source = item->getFilePath().toUtf8();
    const QString output = QConverterOperate::getConvertPath();
    const QByteArray outputUtf8 = output.toUtf8();

    if (m_bMerger) {
        // The merge only reads the parameters while it sets the clip up.
        std::unique_ptr<CAVEncodeParam> param(new CAVEncodeParam);
        item->getEncodeParam(param.get());
        if (!m_pMergerConverter) {
            m_strMergerPath = output;
            m_pMergerConverter = CreateAVConverter();
            if (!m_pMergerConverter->StartMerger(outputUtf8.constData(), param.get())) {
                emit emitConvertedFinish(false);
                return;
            }
        }
        if (!m_pMergerConverter->AddMergerTask(source.constData(), param.get(), this, &QConverterObject::MergerPro))
            emit emitConvertedFinish(false);
        return;
    }

    auto *param = new CAVEncodeParam;
    item->getEncodeParam(param);
    m_strCurOutputPath = output;
    releaseConverter();
    m_pConverter = CreateAVConverter();
    // The converter owns `param` from here on.
    if (!m_pConverter->StartConvert(source.constData(), outputUtf8.constData(), param, this,
                                    &QConverterObject::convertPro, false))
        emit emitConvertedFinish(false);
}

void QConverterObject::UpdataConverPro(unsigned int nPro, convertState state)
{
    const int n = ZtVideoConvertManager::getConvertManagerObject(nullptr)->GetItemCount();
    const float share = n >= 1 ? float(100.0 / n) : 100.0f;
    const float base = float(m_nConvertIndex) * share;
    const double overall = double(share) * (double(qMin(nPro, 100u)) / 100.0) + double(base);
    emit emitConvertProToCtrl(qBound(0, int(overall), 100));
    if (state == convertProgress)
        return;
    emit emitConvertedFinish(state == convertFinished);
}

void QConverterObject::removeFailedOutput()
{
    // The output file itself is never written in place (the library writes it under a temporary name and
    // removes that on failure): only an output folder this run left empty goes.
    const QString dirPath = QConverterOperate::getOutputDir();
    QDir dir(dirPath);
    if (dirPath.isEmpty() || !dir.exists())
        return;
    const int count = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).count();
    qDebug() << ".......entryInfoList.count.........." << count << dirPath;
    if (count == 0)
        QDir().rmdir(dirPath);
}

void QConverterObject::converterFinishCount(bool bSucceed)
{
    m_convertList.removeOne(m_pCurItem);
    if (m_convertList.isEmpty()) {
        // A merge output that cannot be completed on close is a failed run.
        if (m_bMerger && bSucceed && !releaseMergeConverter(false)) {
            qWarning() << "the merged output could not be completed:" << m_strMergerPath;
            bSucceed = false;
        }
        emit emitIsStartConverter(false);
    }
    if (!bSucceed) {
        // The library keeps nothing of a failed job; a file that was at the path before stays.
        if (m_pMergerConverter) {
            m_pMergerConverter->DiscardMerger();
            DestroyAVConverter(m_pMergerConverter);
            m_pMergerConverter = nullptr;
        }
        releaseConverter();
        removeFailedOutput();
        if (!m_bStopConvert)
            emit emitIsStartConverter(false);
        return;
    }
    if (!m_bMerger)
        emit emitConvertedFinishCount();
    const int total = ZtVideoConvertManager::getConvertManagerObject(nullptr)->GetItemCount();
    if (m_nConvertIndex + 1 < total) {
        ++m_nConvertIndex;
        if (!m_convertList.isEmpty())
            StartToConvertVideo(m_convertList.first(), false);
    } else if (m_bMerger) {
        emit emitConvertedFinishCount();
    }
    if (m_convertList.isEmpty() && !m_bStopConvert &&
        QVideoSettingXml::GetItemValue(SettingKeys::ShutdownComputer) == QLatin1String("Y")) {
        qDebug() << "\n\n\nshutdown---------\n\n\n";
        ZtCommonInterface::shutdownComputer();
    }
}

void QConverterObject::OnCancelConvert()
{
    m_bStopConvert = true;
    if (m_bMerger)
        releaseMergeConverter(true);
    else
        releaseConverter();
    // The stopped worker has posted its last reports by now. Handle them here, so that none of them
    // is taken for a report of the next run once that has started.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void QConverterObject::StopConvert()
{
    OnCancelConvert();
    m_convertList.clear();
    emit emitIsStartConverter(false);
}

void QConverterObject::setMergerFinish()
{
    releaseMergeConverter(false);
}
