#pragma once
// A general notice: the caller's message, a link to the download page and OK.

#include "QNinePointsImageDialog.h"
#include "ui_QMessageCommonDlg.h"

class QMessageCommonDlg : public QNinePointsImageDialog, public Ui::QMessageCommonDlg
{
    Q_OBJECT
public:
    explicit QMessageCommonDlg(QWidget *parent = nullptr);

    void setMsgText(const QString &text);

public slots:
    void OnClickLink(const QString &);

protected:
    void showEvent(QShowEvent *e) override;
};
