#include "MacMainWindow.h"
#include "QIAnyUtil.h"
#include "TranslucentWindows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QUiAnyUtiliy::QDpiScaleInit();
    QApplication app(argc, argv);
    rs::fitTranslucentWindows();
    int result = 0;
    {
        MacMainWindow window(nullptr);
        window.show();
        result = app.exec();
    }
    return result;
}
