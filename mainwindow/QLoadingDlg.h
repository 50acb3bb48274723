#pragma once
// The add-files dialog shown while an import runs: the file being added, how many of how many, and a
// progress track. Stop (or its close button) asks the import to stop; the dialog stays, with Stop
// disabled, until the import has ended and its owner deletes it.

#include "QNinePointsImageDialog.h"
#include "ui_QLoadingDlg.h"

class QLoadingDlg : public QNinePointsImageDialog, public Ui::QLoadingDlg
{
    Q_OBJECT
public:
    explicit QLoadingDlg(QWidget *parent = nullptr);

    void setAddFilePath(const QString &path);
    void setAddCount(const QString &text);
    void setProgressVale(float value);
    bool isStopRequested() const { return m_stopRequested; }

signals:
    void seedStopAddFile();

public slots:
    void OnCloseStop();

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void OnInitCtrl();
    bool m_stopRequested = false;
};
