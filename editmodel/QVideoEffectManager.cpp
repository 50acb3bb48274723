#include "QVideoEffectManager.h"

#include "QIAnyUtil.h"
#include "QPackageCatalogue.h"

QVideoEffectManager::QVideoEffectManager(QObject *parent) : QObject(parent)
{
    readData();
}

QVideoEffectManager::~QVideoEffectManager()
{
    qDeleteAll(m_list);
}

void QVideoEffectManager::readData()
{
    qDeleteAll(m_list);
    m_list = PackageCatalogue::load(QIAnyUtil::getResourcePath() + QStringLiteral("/VideoEffects/"));
}

QFrameChunk *QVideoEffectManager::getFrameChunk(int index) const
{
    return PackageCatalogue::at(m_list, index);
}
