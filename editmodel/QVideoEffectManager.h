#pragma once
// The packages of the resource folder's "/VideoEffects/", read once at construction, in folder order.

#include "QFrameChunk.h"

#include <QList>
#include <QObject>

class QVideoEffectManager : public QObject
{
public:
    explicit QVideoEffectManager(QObject *parent = nullptr);
    ~QVideoEffectManager() override;

    // The records stay owned by the catalogue.
    QList<QFrameChunk *> getVideoEffectlist() const { return m_list; }
    QFrameChunk *getFrameChunk(int index) const;
    void readData();

private:
    QList<QFrameChunk *> m_list;
};
