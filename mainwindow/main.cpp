#include "MacMainWindow.h"
#include "QIAnyUtil.h"
#include "QMainDlg.h"
#include "TerminationSignals.h"
#include "WindowFilters.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QUiAnyUtiliy::QDpiScaleInit();
    QApplication app(argc, argv);
    rs::installWindowFilters();
    TerminationSignals termination;
    int result = 0;
    {
        MacMainWindow window(nullptr);
        // A logout or a kill: the running work stops as by its Stop button, then the loop ends, nested
        // dialog loops too, without the close choice.
        QObject::connect(&termination, &TerminationSignals::sendTerminate, &app, [&window](int signo) {
            if (QMainDlg *list = window.mainDlg())
                list->stopRunningWork();
            QCoreApplication::exit(TerminationSignals::exitStatusFor(signo));
        });
        window.show();
        result = app.exec();
    }
    return result;
}
