#include "WindowFilters.h"

#include "TranslucentWindows.h"
#include "WindowPositions.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
// Parent of the filters: they go with the application object, and a later one gets its own.
QPointer<QObject> s_filters;
} // namespace

namespace rs {

void installWindowFilters()
{
    if (s_filters || !qApp)
        return;
    s_filters = new QObject(qApp);
    qApp->installEventFilter(newTranslucentWindowFilter(s_filters));
    qApp->installEventFilter(newWindowPositionFilter(s_filters));
}

} // namespace rs

namespace {
void installAtStartup()
{
    rs::installWindowFilters();
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(installAtStartup)
