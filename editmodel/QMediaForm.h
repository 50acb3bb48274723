#pragma once
// The picture area of the clip editor: the source frame (with the crop box) on the left and the edited
// frame (with the watermark boxes) on the right; on the Trim tab the edited frame alone, full width; for
// media without video the audio level bars. The crop and watermark boxes live in two overlays kept exactly
// over the panes; their mouse events go to the preview controller, which drags the boxes and reports the
// new areas back.

#include "VEEditConfig.h"
#include "ui_QMediaForm.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

class QAudioDataWidget;
class QMediaBorderFrame;
class QMediaElementWindow;
class ZTPlayerManager;

class QMediaForm : public QWidget, public Ui::QMediaForm
{
    Q_OBJECT
public:
    explicit QMediaForm(QWidget *parent = nullptr);
    QMediaForm(ZTPlayerManager *player, QWidget *parent = nullptr);
    ~QMediaForm() override;

    void setPlayerManager(ZTPlayerManager *player);
    // The editor's tab (0 Trim .. 6 Tag) decides which panes and overlays show; other values are refused.
    void setOperationType(int type);
    int operationType() const { return m_operationType; }
    void setBoiderFrameRect(QRect rect, VECropSettings settings);
    void setBoiderFrameRect(QRect rect, VEWatermarkSettings settings);
    void setBoiderFrameSize(VECropSettings settings);
    void resetBorderFrameLocation();
    void hideBorder();
    void hiddenBorderFrame();
    void setDlgActivate(bool active);
    void ActivateStateToBorderDlg();

    // The box geometry, in the pane's coordinates, for a picture lying at `element` inside the pane.
    static QRect cropBoxRect(const QRect &element, const VECropSettings &settings);
    static QRect watermarkBoxRect(const QRect &element, double x, double y, double w, double h);

    QMediaElementWindow *sourceWindow() const { return m_sourceWindow; }
    QMediaElementWindow *previewWindow() const { return m_previewWindow; }
    QMediaBorderFrame *cropFrame() const { return m_cropFrame; }
    QMediaBorderFrame *watermarkFrame() const { return m_watermarkFrame; }
    QAudioDataWidget *audioView() const { return m_audioView; }
    bool hasVideo() const { return m_hasVideo; }

public slots:
    void isHaveVideo(bool hasVideo);
    void audioData(unsigned char *data, int sps);
    void playerChange();
    void CropAreaChange(VECropSettings settings);
    void originalVideoElementSizeChange(QRect rect);
    void previewVideoElementSizeChange(QRect rect);
    void watermarkRectChange(VEWatermarkSettings settings, int index);
    void borderDlgActivateState(bool active);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void layoutPanes();

    bool m_hasVideo = true;
    QAudioDataWidget *m_audioView = nullptr;
    QMediaElementWindow *m_sourceWindow = nullptr;
    QMediaElementWindow *m_previewWindow = nullptr;
    QMediaBorderFrame *m_cropFrame = nullptr;
    QMediaBorderFrame *m_watermarkFrame = nullptr;
    // Not owned; the editor may delete the controller first.
    QPointer<ZTPlayerManager> m_player;
    int m_operationType = 0;
    bool m_dlgActive = false;
    bool m_watermarkFrameActive = false;
    bool m_cropFrameActive = false;
};
