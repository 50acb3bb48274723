#pragma once
// The editor's Trim tab. The slider spans the current trim window (start S, length L): a handle at fraction f
// stands for S + f x L. Trim narrows the window to the handles, a chapter choice or Reset replaces it; each
// goes to the preview controller, whose trim report is what reaches the record. Frame stepping moves the
// focused handle; the section between the handles can be played.

#include "ui_QTrimOperationForm.h"

#include <QWidget>

#include <cstdint>

class QVideoEditingSettings;

class QTrimOperationForm : public QWidget, public Ui::QTrimOperationForm
{
    Q_OBJECT
public:
    explicit QTrimOperationForm(QWidget *parent = nullptr);

    void setEditSettings(QVideoEditingSettings *settings) { m_editSettings = settings; }
    void setDisableSnapshot(bool disable);
    void updateLocation();

    static QString timeToString(unsigned long long us);
    static QString timeToString2(unsigned long long us);
    // The time of a handle at `fraction` of the window (start, length), to the nearest microsecond.
    static uint64_t windowTime(uint64_t start, uint64_t length, double fraction);

signals:
    void emitPreviousStep(bool isSeek, float pos);
    void emitNextStep(bool isSeek, float pos);
    void emitTrimPlay(float startPos, float endPos);
    void emitTrimPause();
    void emitPause();
    void emitStop();
    void emitPlay();
    void emitSliderSendPlayProToPlay(double value);
    void emitSliderMousePress();
    void emitSliderMouseRelease();
    void emitSnapshot();
    void emitSnapshotMenu();
    void emitTrim(uint64_t startTime, uint64_t endTime);
    void emitTrimChapter(uint64_t startTime, uint64_t endTime);
    void emitReset();

public slots:
    void showPlayOrPause(bool bPlay);
    void showTrimPlayOrPause(bool bTrimPlay);
    void setTime(QString time);
    void setPlayProcess(double value);
    void playFinish();
    void setStartEndProgressValue(float value);
    void trimTimeChange(uint64_t trimStartTime, uint64_t trimEndTime);
    void startProgressValue(double startPro);
    void endProgressValue(double endPro);
    void onPrevious();
    void onNext();
    void onTrimPlay();
    void onTrimPause();
    void onBtnPlay();
    void onBtnPause();
    void onBtnStop();
    void onTrim();
    void onReset();
    void loadingSetting();
    void chapterSelectedChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void resetHandles();
    void showRangeTexts(uint64_t start, uint64_t end);
    // Entry 0 of the record's chapter list becomes (start, end); its label goes to combo item 0.
    void setCurrentChapter(uint64_t start, uint64_t end);
    // Applies (start, end) as the chapter range: through item 0 when another item is current, else directly.
    void applyCurrentChapter(uint64_t start, uint64_t end);

    QVideoEditingSettings *m_editSettings = nullptr;
    bool m_chapterConnected = false;
};
