#pragma once
// The small "Snapshot Setting" dialog: the snapshots' image format and folder, written on OK.

#include "QZTDialog.h"

#include "ui_QCaptureSettingDlg.h"

class QCaptureSettingDlg : public QZTDialog, public Ui::QCaptureSettingDlg
{
    Q_OBJECT

public:
    explicit QCaptureSettingDlg(QWidget *parent = nullptr);
    QString savePath() const { return m_savePath; }

signals:
    void emitDlgClose();

public slots:
    void onOpenPath();
    void onOk();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void initControls();
    void initCbbSuffix();
    void setSavePath();

    QString m_savePath;
};
