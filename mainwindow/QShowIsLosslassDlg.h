#pragma once
// The notice that the clips cannot be joined in the high-speed mode. OK goes on (the engine then reports
// its own refusal); closing it (close button, Cmd/Ctrl+W) cancels the run.

#include "QZTDialog.h"
#include "ui_QShowIsLosslassDlg.h"

class QShowIsLosslassDlg : public QZTDialog, public Ui::QShowIsLosslassDlg
{
    Q_OBJECT
public:
    explicit QShowIsLosslassDlg(QWidget *parent = nullptr);

    bool isNoShowThisDlg() const { return m_chkNote->isChecked(); }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void init();
    void initControls();
};
