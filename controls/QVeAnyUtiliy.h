#pragma once
// Small static helpers of the control library: the bundle's resource folder, size texts, the display
// scale (fixed at 1).

#include <QString>

class QVeAnyUtiliy
{
public:
    QVeAnyUtiliy() {}

    static void QDpiScaleInit() {}
    static float getDpiScale() { return 1.0f; }
    static QString converSize(unsigned long long bytes);
    static QString getResourcePath();
};
