#include "SkinStyleHelpers.h"

#include "QIAnyUtil.h"

#include <QPalette>
#include <QWidget>

namespace SkinStyleHelpers {

QString res(const char *path)
{
    return QIAnyUtil::getResourcePath() + QLatin1String(path);
}

QFont tahoma(QFont font, int pixelSize)
{
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    return font;
}

void setBoxTextColours(QWidget *box, const QColor &enabled, const QColor &disabled)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, enabled);
    palette.setColor(QPalette::Active, QPalette::WindowText, enabled);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    box->setPalette(palette);
}

} // namespace SkinStyleHelpers
