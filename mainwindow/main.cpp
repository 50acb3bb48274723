#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    window.resize(1035, 623);
    window.setMinimumSize(1035, 623);
    window.show();
    return app.exec();
}
