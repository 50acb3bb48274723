#include "QProjectConfig.h"

#include "QZTFontSubstitution.h"

QProjectConfig *QProjectConfig::s_instance = nullptr;

QProjectConfig *QProjectConfig::getProjectConfig()
{
    if (!s_instance) {
        // Every program that configures the library also gets the font substitutions (and the
        // reference keeps their start-up function linked in from the static library).
        QZTFontSubstitution::install();
        s_instance = new QProjectConfig();
    }
    return s_instance;
}

void QProjectConfig::releaseProjectConfig()
{
    delete s_instance;
    s_instance = nullptr;
}
