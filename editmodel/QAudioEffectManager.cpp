#include "QAudioEffectManager.h"

#include "QIAnyUtil.h"
#include "QPackageCatalogue.h"

QAudioEffectManager::QAudioEffectManager(QObject *parent) : QObject(parent)
{
    readData();
}

QAudioEffectManager::~QAudioEffectManager()
{
    qDeleteAll(m_list);
}

void QAudioEffectManager::readData()
{
    qDeleteAll(m_list);
    m_list = PackageCatalogue::load(QIAnyUtil::getResourcePath() + QStringLiteral("/AudioEffects/"));
}

QFrameChunk *QAudioEffectManager::getFrameChunk(int index) const
{
    return PackageCatalogue::at(m_list, index);
}
