#pragma once
// The editor's Tag page: the clip's audio tags and cover picture. Every change goes into the edit model at
// once, one field at a time; the page keeps nothing pending.

#include "VEEditConfig.h"

#include "ui_QAudioTagForm.h"

#include <QWidget>

#include <string>

class QVideoEditingSettings;

class QAudioTagForm : public QWidget, public Ui::QAudioTagForm
{
    Q_OBJECT

public:
    explicit QAudioTagForm(QWidget *parent = nullptr);

    void setEditSettings(QVideoEditingSettings *settings) { m_settings = settings; }
    void loadingSetting();

    // "3/12" -> 3 and 12; a backslash separates too; an empty value keeps both.
    static void analysisTrackValue(QString value, QString &number, QString &total);
    // 3 and 12 -> "3/12"; a number below 1 gives "".
    static QString getDiscAndTrackStr(const QString &number, const QString &total);
    static void getYearForDate(QString &year, const QString &date);
    static QString charToQString(const std::string &text);

    bool setTagImg(const std::string &bytes, int length);
    QString getThumbnailPath() const { return m_coverPath; }
    bool audioTagInfoChange() const;

    // A cover larger than this is refused: the record counts its bytes in 32 bits and carries them whole.
    static constexpr qint64 kMaxCoverBytes = 16 * 1024 * 1024;
    static QString g_path; // where the cover dialog opens; shared by every tag page of the process

public slots:
    void onTextChanged(QString str);
    void genreTextChanged(QString text);
    void onCommentsTextChanged();
    void setTagImage();
    void onDeleteImage();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initControls();
    // Reads a cover file whole; false (and nothing read) when it cannot be read or is too large.
    static bool readCover(const QString &path, QByteArray &bytes);
    template <typename Change> void changeTags(Change change);

    QVideoEditingSettings *m_settings = nullptr;
    bool m_loaded = false;
    bool m_loading = false;
    QString m_coverPath;
    VEAudioTagInfo m_snapshot;
};
