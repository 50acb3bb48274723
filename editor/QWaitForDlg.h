#pragma once
// The translucent box with a spinning indicator that covers the clip editor while its clip is opened. It
// cannot be dismissed: Escape and close requests are ignored, the editor deletes it when loading ends.

#include "ui_QWaitForDlg.h"

#include <QDialog>

class QWaitForDlg : public QDialog, public Ui::QWaitForDlg
{
    Q_OBJECT
public:
    explicit QWaitForDlg(QWidget *parent = nullptr);

public slots:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
