#pragma once
// The small frameless "Save file" window over the main window while a merge runs: the clip being
// joined, a progress bar for the whole run and Stop. Stop and the title bar's close button ask the run to
// stop (emitCancel, once); a window-manager close is ignored. The owner deletes the dialog when the run ends.

#include "QZTDialog.h"
#include "ui_QSaveFileDlg.h"

class QSaveFileDlg : public QZTDialog, public Ui::QSaveFileDlg
{
    Q_OBJECT
public:
    explicit QSaveFileDlg(QWidget *parent = nullptr);

    void setSumCount(int count) { m_sumCount = count; }
    int getSumCount() const { return m_sumCount; }
    void setProgressValue(float value);
    void setSaveCount(const QString &text);
    void setSaveFilename(const QString &name);
    bool isStopRequested() const { return m_stopRequested; }

signals:
    void emitCancel();

public slots:
    void onCancel();
    void onTimer() {}

protected:
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void initControl();

    int m_sumCount = 0;
    bool m_stopRequested = false;
};
