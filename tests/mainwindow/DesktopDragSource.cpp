// Another program to drag files from: a small window that starts a drag of the paths on its command line
// when pressed and prints "drop-result <action>" (0: refused). It keeps running: the target reads the
// dropped data from it after the drop.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>

class DragSource : public QWidget
{
public:
    QList<QUrl> urls;

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *mime = new QMimeData;
        mime->setUrls(urls);
        auto *drag = new QDrag(this);
        drag->setMimeData(mime);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
        std::printf("drop-result %d\n", int(action));
        std::fflush(stdout);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    DragSource source;
    for (int i = 1; i < argc; ++i)
        source.urls << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    source.setWindowTitle(QStringLiteral("Drag source"));
    source.resize(160, 160);
    source.show();
    return app.exec();
}
