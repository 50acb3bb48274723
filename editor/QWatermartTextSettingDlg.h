#pragma once
// The watermark text style dialog ("Font"): how the text of the clip's own watermark looks. Every change
// goes straight into the edit model's user watermark; the preview re-measures the text box at once.

#include "QTextStyleDlg.h"

#include "ui_QWatermartTextSettingDlg.h"

class QWatermartTextSettingDlg : public QTextStyleDlg, public Ui::QWatermartTextSettingDlg
{
    Q_OBJECT
public:
    explicit QWatermartTextSettingDlg(QWidget *parent = nullptr);

signals:
    void emitDlgClose();

protected:
    void closeEvent(QCloseEvent *event) override;
    TextStyleFields readStyle() const override;
    void writeStyle(const TextStyleFields &fields) override;
};
