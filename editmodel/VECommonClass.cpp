#include "VECommonClass.h"

#include "ZtCommonInterface.h"

void VECommonClass::setWindowTopHint(void *widget)
{
    ZtCommonInterface::setWindowTopHint(widget);
}

void VECommonClass::setOpenFinder(QString path)
{
    ZtCommonInterface::showFileInFolder(path.toUtf8().toStdString());
}
