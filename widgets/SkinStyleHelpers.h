#pragma once
// Small pieces shared by the light and dark styling routines.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace SkinStyleHelpers {

// The resource folder followed by path (which begins with "/").
QString res(const char *path);
// A copy of font with the family "Tahoma" at the pixel size.
QFont tahoma(QFont font, int pixelSize);
// Window text of check and radio boxes: one colour when enabled, another when disabled.
void setBoxTextColours(QWidget *box, const QColor &enabled, const QColor &disabled);

} // namespace SkinStyleHelpers
