#pragma once
// The packages of the resource folder's "/VideoFrames/", read once at construction, in folder order.

#include "QFrameChunk.h"

#include <QList>
#include <QObject>

class QFrameChunkManager : public QObject
{
public:
    explicit QFrameChunkManager(QObject *parent = nullptr);
    ~QFrameChunkManager() override;

    // The records stay owned by the catalogue.
    QList<QFrameChunk *> getFrameChunklist() const { return m_list; }
    QFrameChunk *getFrameChunk(int index) const;
    void readData();

private:
    QList<QFrameChunk *> m_list;
};
