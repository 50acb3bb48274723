#include "QZTFontSubstitution.h"

#include <QCoreApplication>
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

namespace {
void installAtStart()
{
    QZTFontSubstitution::install();
}
} // namespace

// Runs when the application object is constructed, before any window picks its fonts.
Q_COREAPP_STARTUP_FUNCTION(installAtStart)
