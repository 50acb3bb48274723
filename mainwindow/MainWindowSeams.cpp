#include "MainWindowSeams.h"

#include "QZTMessageBox.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace {
MainWindowSeams::OpenFiles &openFiles()
{
    static MainWindowSeams::OpenFiles f;
    return f;
}
MainWindowSeams::Message &message()
{
    static MainWindowSeams::Message f;
    return f;
}
MainWindowSeams::OpenUrl &openUrlSeam()
{
    static MainWindowSeams::OpenUrl f;
    return f;
}
} // namespace

QStringList MainWindowSeams::getOpenFileNames(QWidget *parent, const QString &dir, const QString &filter)
{
    if (openFiles())
        return openFiles()(parent, dir, filter);
    return QFileDialog::getOpenFileNames(parent, QString(), dir, filter);
}

int MainWindowSeams::showMessage(QWidget *parent, const QString &title, const QString &text, int icon, int buttons)
{
    if (message())
        return message()(parent, title, text, icon, buttons);
    return QZTMessageBox::ShowMessage(parent, title, text, QZTMessageBox::Icon(icon),
                                      QZTMessageBox::ButtonStyle(buttons));
}

bool MainWindowSeams::openUrl(const QUrl &url)
{
    if (openUrlSeam())
        return openUrlSeam()(url);
    return QDesktopServices::openUrl(url);
}

void MainWindowSeams::setOpenFiles(OpenFiles f)
{
    openFiles() = std::move(f);
}

void MainWindowSeams::setMessage(Message f)
{
    message() = std::move(f);
}

void MainWindowSeams::setOpenUrl(OpenUrl f)
{
    openUrlSeam() = std::move(f);
}
