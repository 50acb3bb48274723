#include "EditorFileDialog.h"

#include <QFileDialog>

namespace {
EditorFileDialog::OpenFile s_openFile;
EditorFileDialog::OpenFolder s_openFolder;
} // namespace

QString EditorFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                          const QString &filter)
{
    if (s_openFile)
        return s_openFile(parent, caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString EditorFileDialog::getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    if (s_openFolder)
        return s_openFolder(parent, caption, dir);
    return QFileDialog::getExistingDirectory(parent, caption, dir,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

void EditorFileDialog::setOpenFileForTesting(OpenFile answer)
{
    s_openFile = std::move(answer);
}

void EditorFileDialog::setOpenFolderForTesting(OpenFolder answer)
{
    s_openFolder = std::move(answer);
}
