#pragma once
// The transport bar under the clip editor's preview: Snapshot and its menu, Play/Pause (one place), Stop,
// a position slider and the time text. User actions go out as signals; the player's progress, time and
// state come back through the slots.

#include "ui_QPlayerOperationForm.h"

#include <QWidget>

class QMouseEvent;

class QPlayerOperationForm : public QWidget, public Ui::QPlayerOperationForm
{
    Q_OBJECT
public:
    explicit QPlayerOperationForm(QWidget *parent = nullptr);

signals:
    void emitPlay();
    void emitPause();
    void emitStop();
    void emitProgressValue(double value);
    void emitSliderPress();
    void emitSliderRelease();
    void emitSnapshot();
    void emitSnapshotMenu();

public slots:
    void onBtnPlay();
    void onBtnPause();
    void onBtnStop();
    void showPlayOrPause(bool bPlay);
    void setTime(QString time);
    void playFinish();
    void setPlayProcess(double value);
    void sliderPressEvent(QMouseEvent *event);
    void sliderReleaseEvent(QMouseEvent *event);

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // The editor resizes the bar with its window: only the slider takes up the change.
    void resizeEvent(QResizeEvent *event) override;

private:
    void initControls();
    void layoutRow();
};
