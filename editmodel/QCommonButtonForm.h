#pragma once
// The button bar at the right edge of the editing pages: "Reset" over "Apply to all", centred. Each page
// connects emitReset() to its own reset and relays emitApplyToAll() to the editor dialog.

#include "ui_QCommonButtonForm.h"

#include <QWidget>

class QCommonButtonForm : public QWidget, public Ui::QCommonButtonForm
{
    Q_OBJECT
public:
    explicit QCommonButtonForm(QWidget *parent = nullptr);

    void initControls();

signals:
    void emitReset();
    void emitApplyToAll();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void styleButton(QZTBaseButton *button, const QString &text);
};
