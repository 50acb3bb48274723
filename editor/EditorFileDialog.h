#pragma once
// The file dialogs of the editor's pages, behind one seam: tests answer them instead of a user.

#include <QString>

#include <functional>

class QWidget;

class EditorFileDialog
{
public:
    using OpenFile =
        std::function<QString(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)>;
    using OpenFolder = std::function<QString(QWidget *parent, const QString &caption, const QString &dir)>;

    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    static QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);

    // Null restores the real dialogs.
    static void setOpenFileForTesting(OpenFile answer);
    static void setOpenFolderForTesting(OpenFolder answer);
};
