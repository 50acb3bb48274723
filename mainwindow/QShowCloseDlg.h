#pragma once
// The question asked when the main window closes: minimise or exit, and whether to ask again. It
// pre-selects the stored choice and writes no setting itself.

#include "QNinePointsImageDialog.h"
#include "ui_QShowCloseDlg.h"

class QShowCloseDlg : public QNinePointsImageDialog, public Ui::QShowCloseDlg
{
    Q_OBJECT
public:
    explicit QShowCloseDlg(QWidget *parent = nullptr);

    bool isCloseDlg() const { return m_radioClose->isChecked(); }
    bool isNoShowThisDlg() const { return m_chkNote->checkState() == 2; }

public slots:
    void OnClickRadio();

protected:
    void paintEvent(QPaintEvent *e) override;
};
