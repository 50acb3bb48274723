#pragma once
// The advanced output-parameter panel of the format chooser: eight choice lists (video codec, resolution,
// frame rate, bit rate; audio codec, channels, sample rate, bit rate), two page buttons and a Default
// button. It fills the lists from a catalogue profile, applies the quality presets, remembers a custom
// quality per profile and rebuilds the process-wide conversion parameter record from its picks.
//
// The work is split by responsibility: QSettingDlg.cpp the widget, QSettingDlgFill.cpp the profile fill
// and the reaction to a pick, QSettingDlgPreset.cpp the presets and the stored custom quality,
// QSettingDlgRebuild.cpp the record.

#include "AttributeRebuild.h"
#include "AttributeSetting.h"
#include "ChoicePack.h"
#include "FormatInfo.h"
#include "QualitySet.h"
#include "ui_QSettingDlg.h"

#include <QImage>
#include <QWidget>

class QCustomComboBox;
class QPlistRead;

class QSettingDlg : public QWidget, public QSettingDlgState, public Ui::QSettingDlg
{
    Q_OBJECT
public:
    explicit QSettingDlg(QWidget *parent = nullptr);
    ~QSettingDlg() override;

    void setBgImage(const QString &path);
    void ShowVideoSet(bool video);
    void setAudioDlgCtrl(bool onlyAudio);
    void retranslateUi();
    void imageDrawRect(QPainter &painter, const QRect &rect, const QImage &image);

    // Record (creates it on first use).
    static void setFormatMode(bool lossless);

    // Profile fill and picks.
    void setFormatInfoToCtrl(FormatAllInfo *info);
    void setFormatInfoToCtrlLossLess(FormatAllInfo *info);
    static QString getChannelName(const QString &value);
    void getDefaultChagen();
    void setCheckValue();
    void SetCustomValue(QualitySet *set);
    void SaveCurrValue(int &pack);
    void ResetValue();
    ChoicePack currentChoices() const;

    // Presets and the stored custom quality.
    void setVideoQuality(VideoQuality q);
    bool SetDefaultValue(const QString &formatId);
    int getChangeQuality() const { return m_changeQuality; }

    // The record.
    void setAttributeSetting();
    void OnOkSet();
    void PrintValueText();
    PanelPicks currentPicks() const;
    // True when the panel's picks differ from the picks of the preset last applied.
    bool differsFromPreset() const { return currentChoices() != m_defaultChoices; }

    QString category() const { return m_category; }
    QString formatId() const { return m_formatId; }
    bool isOnlyAudio() const { return m_bOnlyAudio; }
    VideoQuality quality() const { return m_quality; }
    quint32 defaultPack() const { return m_defaultPack; }

signals:
    void emitIsCustomized(bool customized);
    void emitChangeText(VideoQuality q);

public slots:
    void OnClickVideo();
    void OnClickAudio();
    void OnClickDefault();
    void CmbItemChange(int index);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void InitBtn();
    void InitCtrl();
    void setLabelTexts();
    void OnInitDeault();
    void InitComboboxCtrl(QCustomComboBox *list);
    void placeButtons();
    void fillFrom(FormatAllInfo *info, QPlistRead *names);
    QList<QCustomComboBox *> lists() const;
    // Puts remembered picks back: the codec and channel lists by data string, the others by text.
    void restorePicks(const QualitySet &set, bool video);
    static QPlistRead *encodingReader();
    static QPlistRead *losslessReader();
    FormatAllInfo *readProfile(const QString &videoEncoder, const QString &resolution, const QString &audioEncoder,
                               const QString &channel);

    QImage m_bgImage;
    bool m_bOnlyAudio = false;
    QString m_category;
    QString m_formatId;
    QualitySet m_defaultValue;
    QString m_vEncoderText;
    QString m_resolutionText;
    QString m_aEncoderText;
    QString m_channelText;
    VideoQuality m_quality = HighQuality;
    VideoQuality m_changeQuality = HighQuality;
    quint32 m_defaultPack = 0;
    ChoicePack m_defaultChoices;
};
