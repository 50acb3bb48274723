#pragma once
// The subtitle style dialog ("Font"): how the clip's subtitle text looks. Every change goes straight into
// the edit model's subtitle style and so into the editor preview.

#include "QTextStyleDlg.h"

#include "ui_QSubtitleSettingDlg.h"

class QSubtitleSettingDlg : public QTextStyleDlg, public Ui::QSubtitleSettingDlg
{
    Q_OBJECT
public:
    explicit QSubtitleSettingDlg(QWidget *parent = nullptr);

protected:
    TextStyleFields readStyle() const override;
    void writeStyle(const TextStyleFields &fields) override;
};
