#include "QVeAnyUtiliy.h"

#include "QIAnyUtil.h"

// The foundation's older size text is this library's too.
QString QVeAnyUtiliy::converSize(unsigned long long bytes)
{
    return QUiAnyUtiliy::converSize(bytes);
}

// One resource folder for the whole program (and one test hook): the foundation's.
QString QVeAnyUtiliy::getResourcePath()
{
    return QIAnyUtil::getResourcePath();
}
