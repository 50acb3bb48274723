#include "QNewConvertObject.h"

#include "EncoderCheck.h"

#include "OutputGuard.h"
#include "ZtVideoConvertItem.h"

#include <QDebug>
#include <QFileInfo>

#include <memory>

QNewConvertObject::QNewConvertObject(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<convertState>("convertState");
    connect(this, &QNewConvertObject::emitConvertPro, this, &QNewConvertObject::UpdataConvertPro, Qt::AutoConnection);
}

QNewConvertObject::~QNewConvertObject()
{
    // Ending the converters joins their workers: no report can reach a destroyed driver.
    const QSignalBlocker blocker(this);
    if (m_pMergerConverter || m_pConverter)
        OnStopConvert();
}

void QNewConvertObject::AddConvertItem(ZtVideoConvertItem *item)
{
    m_convertList.append(item);
    m_nTotalCount = m_convertList.size();
}

void QNewConvertObject::AddConvertItem(QList<ZtVideoConvertItem *> items)
{
    m_convertList = items;
    m_nTotalCount = m_convertList.size();
}

void QNewConvertObject::ClearConvertItem()
{
    m_convertList.clear();
    m_nTotalCount = 0;
}

void QNewConvertObject::NewMergerPro(unsigned int pro, void *user, convertState state)
{
    if (auto *self = static_cast<QNewConvertObject *>(user))
        emit self->emitConvertPro(pro, state);
}

void QNewConvertObject::NewConvertPro(unsigned int pro, void *user, convertState state)
{
    NewMergerPro(pro, user, state);
}

void QNewConvertObject::SetConvertProgress(unsigned int pro, convertState state)
{
    emit emitConvertPro(pro, state);
}

void QNewConvertObject::OnStartToConvert()
{
    m_bMerger = false;
    m_nConvertIndex = 0;
    m_nTotalCount = m_convertList.size();
    emit emitStartConverter();
}

void QNewConvertObject::OnStartToMerger()
{
    m_bMerger = true;
    m_nConvertIndex = 0;
    m_nTotalCount = m_convertList.size();
    m_bEnded = false;
    m_strError.clear();
    emit emitStartConverter();
    if (m_convertList.isEmpty()) {
        // Nothing to join: the job ends at once rather than waiting for reports that never come.
        m_bEnded = true;
        emit emitStopConverter();
        emit emitMergerFinished(false);
        return;
    }
    StartToMerger(m_convertList.first());
}

void QNewConvertObject::StartToMerger(ZtVideoConvertItem *item)
{
    if (!item)
        return;
    m_pCurItem = item;
    if (m_bStopConvert) {
        destroyConverters();
        m_bStopConvert = false;
        return;
    }
    // The converter only reads the parameters while it sets the clip up.
    std::unique_ptr<CAVEncodeParam> param(new CAVEncodeParam);
    item->getEncodeParam(param.get());
    if (!m_pMergerConverter) {
        // Before the first byte: an output that names one of the clips would destroy it.
        QStringList sources;
        for (const ZtVideoConvertItem *clip : qAsConst(m_convertList))
            sources << clip->getFilePath();
        // An encoder the library cannot use would silently become another codec.
        const QString missing = EncoderCheck::unavailableEncoder(QSettingDlgState::attributeSetting());
        if (!missing.isEmpty()) {
            m_strError = EncoderCheck::message(missing);
            qWarning() << "the merge cannot encode with" << missing;
            ConverteFinishedCount(false);
            return;
        }
        const QString clash = OutputGuard::sourceAtOutput(m_strMergerPath, sources);
        if (!clash.isEmpty()) {
            qWarning() << "the merge output is one of its clips:" << clash;
            noteFailure(clash, tr("the output file is this clip"));
            ConverteFinishedCount(false);
            return;
        }
        // The files the clips' edits name, in both modes: the high-speed mode leaves the edits unapplied,
        // but the files are the user's all the same.
        for (const ZtVideoConvertItem *clip : qAsConst(m_convertList)) {
            const QString used =
                OutputGuard::sourceAtOutput(m_strMergerPath, OutputGuard::namedFiles(clip->m_editConfig));
            if (!used.isEmpty()) {
                qWarning() << "the merge output is a file the edits use:" << used;
                noteFailure(used, tr("the output file is this file, which the edits of %1 use")
                                      .arg(QFileInfo(clip->getFilePath()).fileName()));
                ConverteFinishedCount(false);
                return;
            }
        }
        m_pMergerConverter = CreateAVConverter();
        if (!m_pMergerConverter->StartMerger(m_strMergerPath.toUtf8().constData(), param.get())) {
            noteFailure(m_strMergerPath, m_pMergerConverter->MergerErrorText());
            ConverteFinishedCount(false);
            return;
        }
    }
    if (!m_pMergerConverter->AddMergerTask(item->getFilePath().toUtf8().constData(), param.get(), this,
                                           &QNewConvertObject::NewMergerPro)) {
        noteFailure(item->getFilePath(), m_pMergerConverter->MergerErrorText());
        ConverteFinishedCount(false);
    }
}

void QNewConvertObject::noteFailure(const QString &path, const QString &why)
{
    // The first failure is the one the user must read; what follows from it adds nothing.
    if (!m_strError.isEmpty() || why.isEmpty())
        return;
    m_strError = QFileInfo(path).fileName() + QStringLiteral(": ") + why;
}

float QNewConvertObject::totalPercent(unsigned int pro, int finishedBefore, int total)
{
    const float share = total > 0 ? float(100.0 / total) : 100.0f;
    const float base = float(qMax(0, finishedBefore)) * share;
    float t = float(double(share) * (double(qMin(pro, 100u)) / 100.0) + double(base));
    return qBound(0.0f, t, 100.0f);
}

void QNewConvertObject::UpdataConvertPro(unsigned int nPro, convertState state)
{
    // Reports still queued from a job that was stopped or has ended change nothing.
    if (m_bStopConvert || m_bEnded)
        return;
    emit emitConvertTotalPro(totalPercent(nPro, m_nConvertIndex, m_nTotalCount));
    if (state == convertProgress)
        return;
    if (state != convertFinished && m_pMergerConverter && m_pCurItem)
        noteFailure(m_pCurItem->getFilePath(), m_pMergerConverter->MergerErrorText());
    ConverteFinishedCount(state == convertFinished);
}

void QNewConvertObject::destroyConverters()
{
    if (m_pMergerConverter) {
        // A stopped merge keeps nothing: the output path stays as it was before the job.
        m_pMergerConverter->DiscardMerger();
        DestroyAVConverter(m_pMergerConverter);
        m_pMergerConverter = nullptr;
    }
    if (m_pConverter) {
        m_pConverter->StopConvert();
        DestroyAVConverter(m_pConverter);
        m_pConverter = nullptr;
    }
}

void QNewConvertObject::discardMergeOutput()
{
    if (!m_pMergerConverter)
        return;
    m_pMergerConverter->DiscardMerger();
    DestroyAVConverter(m_pMergerConverter);
    m_pMergerConverter = nullptr;
}

void QNewConvertObject::OnMergerFinished()
{
    closeMergeOutput();
}

bool QNewConvertObject::closeMergeOutput()
{
    if (!m_pMergerConverter)
        return true;
    m_pMergerConverter->StopMerger(false);
    const bool complete = m_pMergerConverter->MergerOutputComplete();
    if (!complete)
        noteFailure(m_strMergerPath, m_pMergerConverter->MergerErrorText());
    DestroyAVConverter(m_pMergerConverter);
    m_pMergerConverter = nullptr;
    return complete;
}

void QNewConvertObject::ConverteFinishedCount(bool succeeded)
{
    m_convertList.removeOne(m_pCurItem);

    if (m_convertList.isEmpty()) {
        // Closing the merge object finishes the output file; an output that cannot be finished fails.
        if (m_bMerger && succeeded && !closeMergeOutput()) {
            qWarning() << "the merged output could not be completed:" << m_strMergerPath;
            succeeded = false;
        }
        emit emitStopConverter();
    }
    if (succeeded)
        ++m_nConvertCount;

    if (!succeeded) {
        m_bEnded = true;
        // The library removes what it wrote; a file that was at the output path before stays untouched.
        discardMergeOutput();
        if (!m_bStopConvert)
            emit emitStopConverter();
        emit emitMergerFinished(false);
        return;
    }

    if (m_bMerger)
        emit emitMergerFinished(true);
    else
        emit emitConvertedFinished(true);
    const int n = m_nConvertIndex + 1;
    if (m_bMerger) {
        if (n < m_nTotalCount) {
            m_nConvertIndex = n;
            if (!m_convertList.isEmpty()) {
                m_pCurItem = m_convertList.first();
                StartToMerger(m_pCurItem);
                if (m_bEnded)
                    return; // the next clip could not be started; that ended the job
            }
        } else {
            m_bEnded = true;
            emit emitMergerTotalFinished();
        }
    } else if (n < m_nTotalCount) {
        m_nConvertIndex = n;
        if (!m_convertList.isEmpty())
            m_pCurItem = m_convertList.first();
    }
    if (m_convertList.isEmpty())
        emit emitConvertTotalFinished();
}

void QNewConvertObject::OnStopConvert()
{
    const bool wasRunning = !m_bEnded && (m_pMergerConverter || m_pConverter);
    m_bStopConvert = true;
    destroyConverters();
    m_convertList.clear();
    emit emitStopConverter();
    if (wasRunning) {
        m_bEnded = true;
        emit emitMergerFinished(false);
    }
}

void QNewConvertObject::OnCancelConvert()
{
    const bool wasRunning = !m_bEnded && (m_pMergerConverter || m_pConverter);
    m_bStopConvert = true;
    destroyConverters();
    if (wasRunning) {
        m_bEnded = true;
        emit emitMergerFinished(false);
    }
}
