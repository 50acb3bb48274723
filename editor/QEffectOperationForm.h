#pragma once
// The editor's Effect page: brightness, contrast, saturation and hue on a common 0..200 scale (100
// neutral), and one picture package from each of the "Video effects" and "Frame" catalogues. Colour values
// go to the clip's video effect record, the picks to its effect and frame overlays; the edit model stores
// each and pushes it to the preview at once.

#include "VEEditConfig.h"
#include "ui_QEffectOperationForm.h"

#include <QList>
#include <QSize>
#include <QWidget>

class QFrameChunk;
class QFrameChunkManager;
class QVideoEditingSettings;
class QVideoEffectManager;
class QZTScrollBar;
struct FrameInfoItem;

// The slider value (0..200) of a slider position: the middle band snaps to the neutral 100.
int getTextValue(double fraction);

class QEffectOperationForm : public QWidget, public Ui::QEffectOperationForm
{
    Q_OBJECT
public:
    explicit QEffectOperationForm(QWidget *parent = nullptr);
    ~QEffectOperationForm() override;

    void setEditSettings(QVideoEditingSettings *settings) { m_settings = settings; }
    void getVideoEffectPath(int index, QSize size, VEWatermarkSettings &settings);
    QString getVideoEffectPath(QFrameChunk *chunk, QSize size);
    void initSlider(QZTBaseSlider *slider);
    void initLineEdit(QZTLineEdit *edit);
    void iniLabel(QLabel *label);

    // The picture of a package that suits a clip of the given size: the one whose shape is nearest the
    // clip's (the earlier one on a tie; entries without a size are never chosen), and the part of it that
    // covers the clip when scaled over it, centred. -1 when no entry has a size. A clip without a size
    // keeps the whole picture.
    static int choosePicture(const QList<FrameInfoItem> &items, QSize clip);
    static VERect coverRect(const FrameInfoItem &item, QSize clip);

    // Slider value (0..200) and stored value of each colour adjustment.
    static int brightnessFromSlider(int t);
    static int brightnessToSlider(int b);
    static int contrastFromSlider(int t);
    static int contrastToSlider(int c);
    static int hueFromSlider(int t);
    static int hueToSlider(int h);

signals:
    void emitApplyToAll();

public slots:
    void selectedTag(int index);
    void progressValue(double value);
    void textEdited(QString text);
    void effectsListIndexChanged(int index);
    void frameListIndexChanged(int index);
    void reset();
    void loadingSetting();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void fillLists();
    void showSliderValue(QZTBaseSlider *slider, QZTLineEdit *edit, int value);
    // Writes a slider value into the record's field for that slider; false for another sender.
    bool storeValue(QObject *control, int t, VEVideoEffectSettings &s) const;

    QFrameChunkManager *m_frames = nullptr;
    QVideoEffectManager *m_effects = nullptr;
    bool m_loaded = false;
    QZTScrollBar *m_effectsBar = nullptr;
    QZTScrollBar *m_framesBar = nullptr;
    QVideoEditingSettings *m_settings = nullptr;
};
