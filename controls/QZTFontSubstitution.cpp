#include "QZTFontSubstitution.h"

#include <QFont>
#include <QStringList>

void QZTFontSubstitution::install()
{
    const QStringList narrowSans = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed"),
                                    QStringLiteral("DejaVu Sans")};
    for (const QString &family : {QStringLiteral("Tahoma"), QStringLiteral("helvetica neue")}) {
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, narrowSans);
    }
}
