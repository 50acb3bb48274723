#pragma once
// The editor's Subtitle page: which subtitle the clip gets (none, an own stream, its closed captions or a
// file), where it stands, its margin, transparency and scale. Every change goes through the edit model.

#include "ui_QSubtitleOperationForm.h"

#include <QMetaObject>
#include <QWidget>

class QVideoEditingSettings;
class QZTScrollBar;

class QSubtitleOperationForm : public QWidget, public Ui::QSubtitleOperationForm
{
    Q_OBJECT

public:
    explicit QSubtitleOperationForm(QWidget *parent = nullptr);

    void setEditSettings(QVideoEditingSettings *settings);
    void setIsM4VOrMP4Lossless(bool lossless) { m_lossless = lossless; }

    static QString subtitleFileFilter();
    // Scale slider position (0..1) to the scale in percent: 25 at the left, 100 in the middle band, 400 right.
    static double scaleOfPosition(double value);
    // "(name)[SRT]" for /a/b/name.srt.
    static QString entryName(const QString &path);

signals:
    void emitApplyToAll();
    void emitAddSubtitleToCmb(QString name, QString filePath);
    void emitSubtitleSetting();

public slots:
    void loadingSetting();
    void subtitleSelectedChanged(int index);
    void onSetFamily();
    void progressValue(double value);
    void valueTextEdited(QString text);
    void onRadioButton();
    void reset();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void connectList();
    void disconnectList();

    bool m_loaded = false;
    QZTScrollBar *m_listScrollBar = nullptr; // owned by the combo's list view
    QVideoEditingSettings *m_settings = nullptr;
    bool m_lossless = false;
    QMetaObject::Connection m_listConnection;
};
