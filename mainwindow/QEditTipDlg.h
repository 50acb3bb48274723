#pragma once
// The notice after an edit in the high-speed mode: edits take effect only in the encoding mode.

#include "QNinePointsImageDialog.h"
#include "ui_QEditTipDlg.h"

class QEditTipDlg : public QNinePointsImageDialog, public Ui::QEditTipDlg
{
    Q_OBJECT
public:
    explicit QEditTipDlg(QWidget *parent = nullptr);

    bool isNoShowThisDlg() const { return m_chkNote->checkState() == 2; }

protected:
    void resizeEvent(QResizeEvent *e) override;
};
