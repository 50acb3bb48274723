#include "ZtVideoConvertManager.h"

#include "CAVEncodeParam.h"
#include "ZtVideoConvertItem.h"
#include "rscodec.h"

#include <QDebug>
#include <QPointer>
#include <QThread>

ZtVideoConvertManager *ZtVideoConvertManager::m_myConvertManager = nullptr;

ZtVideoConvertManager::ZtVideoConvertManager(QObject *parent) : QObject(parent) {}

ZtVideoConvertManager::~ZtVideoConvertManager()
{
    qDeleteAll(m_itemList);
    m_itemList.clear();
    if (m_myConvertManager == this)
        m_myConvertManager = nullptr;
}

ZtVideoConvertManager *ZtVideoConvertManager::getConvertManagerObject(QObject *parent)
{
    if (!m_myConvertManager)
        m_myConvertManager = new ZtVideoConvertManager(parent);
    return m_myConvertManager;
}

int ZtVideoConvertManager::addConverItem(ZtVideoConvertItem *item, int position)
{
    if (!item)
        return -1;
    if (QThread::currentThread() != thread()) {
        // A worker (the import) hands its clip over: the clip must live on the list's thread and the
        // list is only changed there.
        if (item->thread() == QThread::currentThread() && !item->parent())
            item->moveToThread(thread());
        if (item->thread() != thread()) {
            qWarning() << "addConverItem: the clip cannot be moved to the list's thread";
            return -1;
        }
        QPointer<ZtVideoConvertManager> self(this);
        QMetaObject::invokeMethod(
            this,
            [self, item, position] {
                if (!self) {
                    delete item;
                    return;
                }
                const int at = self->insertHere(item, position);
                emit self->emitItemAdded(item, at);
            },
            Qt::QueuedConnection);
        return -1;
    }
    return insertHere(item, position);
}

int ZtVideoConvertManager::insertHere(ZtVideoConvertItem *item, int position)
{
    const int count = m_itemList.size();
    if (position >= 0 && position < count) {
        m_itemList.insert(position, item);
        renumberFrom(position);
        return position;
    }
    item->setIndex(count);
    m_itemList.append(item);
    return count;
}

void ZtVideoConvertManager::renumberFrom(int position)
{
    for (int i = qMax(0, position); i < m_itemList.size(); ++i)
        m_itemList.at(i)->setIndex(i);
}

bool ZtVideoConvertManager::IsValid(int position) const
{
    return position >= 0 && position < m_itemList.size();
}

void ZtVideoConvertManager::DeleteItemAt(int position)
{
    if (!IsValid(position))
        return;
    delete m_itemList.takeAt(position);
    renumberFrom(position);
}

void ZtVideoConvertManager::RemoveOne(ZtVideoConvertItem *item)
{
    m_itemList.removeOne(item);
}

void ZtVideoConvertManager::ClearItems()
{
    qDeleteAll(m_itemList);
    m_itemList.clear();
}

int ZtVideoConvertManager::GetItemCount() const
{
    return m_itemList.size();
}

ZtVideoConvertItem *ZtVideoConvertManager::GetItem(int position) const
{
    return IsValid(position) ? m_itemList.at(position) : nullptr;
}

bool ZtVideoConvertManager::swapItem(int a, int b)
{
    if (!IsValid(a) || !IsValid(b))
        return false;
    m_itemList.swapItemsAt(a, b);
    return true;
}

bool ZtVideoConvertManager::OrginalItemInsert(int from, int to)
{
    if (!IsValid(from) || !IsValid(to))
        return false;
    ZtVideoConvertItem *item = m_itemList.takeAt(from);
    m_itemList.insert(to, item);
    renumberFrom(0);
    return true;
}

namespace {

template <typename List> const typename List::value_type *at(const List &list, int index)
{
    return index >= 0 && index < list.size() ? &list.at(index) : nullptr;
}

} // namespace

bool ZtVideoConvertManager::IsLosslessPair(const ZtVideoConvertItem *f, const ZtVideoConvertItem *c)
{
    if (!f || !c)
        return false;
    const VESubtitleValue_Info &fs = f->m_editConfig.subtitleValue;
    const VESubtitleValue_Info &cs = c->m_editConfig.subtitleValue;
    if (c->m_bHasAudio != f->m_bHasAudio || c->m_bHasVideo != f->m_bHasVideo)
        return false;
    if (f->m_bHasVideo) {
        if (cs.subtitleIndex == -3)
            return false;
        // A clip flagged as video without a track record cannot be judged: not joinable.
        const VideoTrackInfo *fv = at(f->m_videoTracks, 0);
        const VideoTrackInfo *cv = at(c->m_videoTracks, 0);
        if (!fv || !cv)
            return false;
        // The frame size matters too: a stream copy cannot change it at a join.
        if (fv->value1 != cv->value1 || fv->value2 != cv->value2 || fv->value3 != cv->value3 ||
            fv->width != cv->width || fv->height != cv->height || !fv->sameAs(*cv))
            return false;
        if (fs.subtitleIndex >= 0 && cs.subtitleIndex >= 0) {
            const SubtitleTrackInfo *ft = at(f->m_subtitleTracks, fs.subtitleIndex);
            const SubtitleTrackInfo *ct = at(c->m_subtitleTracks, cs.subtitleIndex);
            if (!ft || !ct || ft->value1 != ct->value1 || !ft->sameAs(*ct))
                return false;
        }
    }
    if (f->m_bHasAudio && fs.audioRow >= 0 && cs.audioRow >= 0) {
        const AudioTrackInfo *fa = at(f->m_audioTracks, fs.audioRow);
        const AudioTrackInfo *ca = at(c->m_audioTracks, cs.audioRow);
        if (!fa || !ca || fa->value1 != ca->value1 || fa->value2 != ca->value2 || fa->value3 != ca->value3 ||
            fa->value4 != ca->value4 || !fa->sameAs(*ca))
            return false;
    }
    return true;
}

bool ZtVideoConvertManager::IsLosslessMerger() const
{
    if (m_itemList.isEmpty())
        return false;
    const ZtVideoConvertItem *f = m_itemList.first();
    if (m_itemList.size() == 1)
        return true;
    // The output container the merge will use, asked with the library's own rule (raw FLAC takes one clip).
    CAVEncodeParam param;
    f->getEncodeParam(&param);
    if (rsc_job_container_is_single_clip(param.container()))
        return false;
    if (f->m_bHasVideo && f->m_editConfig.subtitleValue.subtitleIndex == -3)
        return false;
    for (int i = 1; i < m_itemList.size(); ++i) {
        if (!IsLosslessPair(f, m_itemList.at(i)))
            return false;
    }
    // Clips that match one another must still fit the output: the container must hold their codecs.
    return f->isLosslessWritableInto(QByteArray(param.container()));
}

bool ZtVideoConvertManager::isSubtitleCarried(int position) const
{
    const ZtVideoConvertItem *item = GetItem(position);
    if (!item)
        return false;
    const ZtVideoConvertItem *first = m_itemList.first();
    CAVEncodeParam param;
    first->getEncodeParam(&param);
    const QByteArray container(param.container());
    if (!item->isSubtitleCarriedInto(container))
        return false;
    if (item == first)
        return true;
    if (!first->isSubtitleCarriedInto(container))
        return false;
    const SubtitleTrackInfo *f = at(first->m_subtitleTracks, first->chosenSubtitleStream());
    const SubtitleTrackInfo *c = at(item->m_subtitleTracks, item->chosenSubtitleStream());
    return f && c && f->formatName == c->formatName;
}
