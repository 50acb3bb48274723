#pragma once
// The editor's Watermark tab: the user watermark's picture and text, each with its transparency (shown as
// 0..100). Boxes are moved in the preview; the text style is set in the text style dialog that the editor
// opens on request. Every change goes through the edit model as a whole watermark record.

#include "ui_QWatermarkOperationForm.h"

#include <QString>
#include <QWidget>

class QVideoEditingSettings;
class QZTScrollBar;

class QWatermarkOperationForm : public QWidget, public Ui::QWatermarkOperationForm
{
    Q_OBJECT
public:
    explicit QWatermarkOperationForm(QWidget *parent = nullptr);

    void setEditSettings(QVideoEditingSettings *settings) { m_editSettings = settings; }

    // Transparency as the user sees it (0..100) and as the record keeps it (0..255).
    static int shownValue(quint32 alpha);
    static quint32 alphaOfShown(int shown);
    static quint32 alphaOfSlider(double fraction);
    // A thumbnail of a picture file: Qt's readers first, then the codec library; null when neither decodes it.
    static QImage pictureThumbnail(const QString &path, int size);
    // The folder the next picture dialog starts in: the last one a picture came from, else home.
    static QString pictureFolder();

signals:
    void emitApplyToAll();
    void emitWatermartTextSetting();
    void emitOpenDlg(bool isShow);

public slots:
    void loadingSetting();
    void onSetAddWKImg();
    void onDeleteImage();
    void progressValue(double value);
    void wkTextEdited();
    void alphaTextEdited(QString text);
    void reset();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    void updateLocation();
    void showPicture(const QImage &thumbnail, bool hasPath);
    // The image's (or the text's) transparency into the record, pushed to the preview when it changed.
    void storeAlpha(bool image, quint32 alpha);

    bool m_isLoaded = false;
    QZTScrollBar *m_textScrollBar = nullptr; // owned by the text edit once installed
    QVideoEditingSettings *m_editSettings = nullptr;
    static QString s_lastFolder;
};
