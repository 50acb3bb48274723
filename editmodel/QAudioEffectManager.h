#pragma once
// The packages of the resource folder's "/AudioEffects/", read once at construction, in folder order.

#include "QFrameChunk.h"

#include <QList>
#include <QObject>

class QAudioEffectManager : public QObject
{
public:
    explicit QAudioEffectManager(QObject *parent = nullptr);
    ~QAudioEffectManager() override;

    // The records stay owned by the catalogue.
    QList<QFrameChunk *> getFrameChunklist() const { return m_list; }
    QFrameChunk *getFrameChunk(int index) const;
    void readData();

private:
    QList<QFrameChunk *> m_list;
};
