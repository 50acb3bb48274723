#pragma once
// The editor's Adjust page: quarter turns, flips, the display aspect and the crop size in pixels. Every action
// reads the clip's crop record from the edit model, changes it and stores it whole; the preview controller
// answers with the record as applied, which the page shows.

#include "VEEditConfig.h"

#include "ui_QAdjustOperationForm.h"

#include <QSize>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

class QVideoEditingSettings;

class QAdjustOperationForm : public QWidget, public Ui::QAdjustOperationForm
{
    Q_OBJECT

public:
    explicit QAdjustOperationForm(QWidget *parent = nullptr);
    QAdjustOperationForm(QVideoEditingSettings *settings, QWidget *parent = nullptr);

    void setEditSettings(QVideoEditingSettings *settings);
    // Commits typing that is still waiting for its timer (the editor's OK).
    void saveEditingSettings();
    void setAspectRatio(int index);

    // The display size "Original Resolution" gives: the cropped source side, even, at least 2.
    static int croppedSide(unsigned videoSide, double fraction);
    // "Original Resolution" shows the crop at its own pixel size: sets the display size to the part of `video`
    // (the picture as the preview reports it, turned upright) that the crop box keeps inside the frame.
    static void setOriginalResolution(VECropSettings &s, const QSize &video);
    // Pan-scan crops with its own rectangle: pad on, pan-scan chosen, not "Full Screen".
    static bool panScanHolds(const VECropSettings &s)
    {
        return s.padEnabled != 0 && s.panScan == 1 && s.aspectMode != 2;
    }

signals:
    void emitApplyToAll();

public slots:
    void aspectRatioChanged(int index);
    void onRotate_R_90();
    void onRotate_L_90();
    void onFlipH();
    void onFlipV();
    void cropAreaChanged(QString text);
    void cropAreaChangedW(QString text);
    void cropAreaChangedH(QString text);
    void cropAreaChange(VECropSettings settings);
    void reset();
    void loadingSetting();
    void wideTimer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void rotate(int step, int mirroredStep);
    void push(VECropSettings &s);
    void typed(int field);
    void widthChanged(int w);
    void heightChanged(int h);
    void setCropAreaSize(const QSizeF &fractions);

    bool m_loaded = false;
    QVideoEditingSettings *m_settings = nullptr;
    QTimer m_timer;
    int m_lastTyped = 0;        // 1 width, 0 height
    bool m_pendingEdit = false; // a keystroke waits for its commit
};
