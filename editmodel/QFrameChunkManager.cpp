#include "QFrameChunkManager.h"

#include "QIAnyUtil.h"
#include "QPackageCatalogue.h"

QFrameChunkManager::QFrameChunkManager(QObject *parent) : QObject(parent)
{
    readData();
}

QFrameChunkManager::~QFrameChunkManager()
{
    qDeleteAll(m_list);
}

void QFrameChunkManager::readData()
{
    qDeleteAll(m_list);
    m_list = PackageCatalogue::load(QIAnyUtil::getResourcePath() + QStringLiteral("/VideoFrames/"));
}

QFrameChunk *QFrameChunkManager::getFrameChunk(int index) const
{
    return PackageCatalogue::at(m_list, index);
}
