#pragma once
// The "Convert" preferences page: turn the computer off after a merge, and the output folder. On the
// dialog's OK the turn-off choice is stored and the folder handed to the converter settings; the main
// window stores the folder once the dialog has closed.

#include "ui_ConvertWidget.h"

#include <QWidget>

#include <functional>

class ConvertWidget : public QWidget, public Ui::ConvertWidget
{
    Q_OBJECT
public:
    // Asks the user for a folder; empty when cancelled. Tests replace it (no real file dialog).
    using FolderChooser = std::function<QString(QWidget *parent, const QString &caption)>;

    explicit ConvertWidget(QWidget *parent = nullptr);

    void InitCtrl();
    void InitBtn();
    void initPath();
    void saveSetting();
    void retranslateUi();
    QString outputPath() const { return m_outputPath; }
    // Shows the text as the output folder, unchanged.
    void SetOutPath(QString path);

    static void setFolderChooser(FolderChooser chooser);

public slots:
    void OnChangePath();
    void OnResetPath();

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QString m_outputPath;
    static FolderChooser s_folderChooser;
};
