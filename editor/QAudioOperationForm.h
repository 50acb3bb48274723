#pragma once
// The editor's Audio page: background audio with its repeat and weight, the clip's volume, the audio track
// and a sound effect from the packages. Every change goes through the edit model to the preview at once.

#include "ui_QAudioOperationForm.h"

#include <QMetaObject>
#include <QWidget>

class QAudioEffectManager;
class QVideoEditingSettings;
class QZTScrollBar;

class QAudioOperationForm : public QWidget, public Ui::QAudioOperationForm
{
    Q_OBJECT

public:
    explicit QAudioOperationForm(QWidget *parent = nullptr);
    ~QAudioOperationForm() override;

    void setEditSettings(QVideoEditingSettings *settings);
    void setIsM4VOrMP4Lossless(bool lossless) { m_lossless = lossless; }
    QAudioEffectManager *effectManager() const { return m_effects; }

    static QString audioFileFilter();

signals:
    void emitApplyToAll();

public slots:
    void onSetBgVoice();
    void onRepeat();
    void valuetextEdited(QString text);
    void progressValue(double value);
    void audioSelectedChanged(int index);
    void effectsCurrentIndexChanged(int index);
    void reset();
    void loadingSetting();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void connectTrackList();
    void disconnectTrackList();

    bool m_loaded = false;
    QZTScrollBar *m_effectScrollBar = nullptr; // owned by the list's scroll area once installed
    QAudioEffectManager *m_effects = nullptr;
    QVideoEditingSettings *m_settings = nullptr;
    bool m_lossless = false;
    QMetaObject::Connection m_trackConnection;
};
