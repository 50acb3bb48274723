#include "QProjectConfig.h"

QProjectConfig *QProjectConfig::s_instance = nullptr;

QProjectConfig *QProjectConfig::getProjectConfig()
{
    if (!s_instance)
        s_instance = new QProjectConfig();
    return s_instance;
}

void QProjectConfig::releaseProjectConfig()
{
    delete s_instance;
    s_instance = nullptr;
}
