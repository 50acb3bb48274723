#include "QAudioOperationForm.h"

#include "EditorFileDialog.h"
#include "OperationPageGround.h"
#include "QAudioEffectManager.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "QZTScrollBar.h"
#include "SkinStyleHelpers.h"

#include <QDir>
#include <QPainter>

#include <vector>

namespace {

const QColor kPanel(53, 53, 53);

using SkinStyleHelpers::res;

// A record whose sound carries a package's effect (an equaliser curve or a changed rate).
bool effectApplied(const VEAudioSettings &a)
{
    return a.equalize.count > 0 || a.rate != 100;
}

} // namespace

QAudioOperationForm::QAudioOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

QAudioOperationForm::~QAudioOperationForm()
{
    delete m_effects;
    m_effects = nullptr;
}

QString QAudioOperationForm::audioFileFilter()
{
    // Both cases: file names on Linux are case-sensitive.
    auto patterns = [](const char *list) {
        QStringList out;
        for (const QString &ext : QString::fromLatin1(list).split(QLatin1Char(' ')))
            out << QStringLiteral("*.") + ext << QStringLiteral("*.") + ext.toUpper();
        return out.join(QLatin1Char(' '));
    };
    return tr("audio files(%1);;video files(%2);;all files(*)")
        .arg(patterns("wav mp3 aac m4a wma ogg ape flac"),
             patterns("avi mp4 mov 3gp flv mkv rmvb wmv mpg mpeg ts trp"));
}

void QAudioOperationForm::initControls()
{
    QVEInitCtrlStyle::SetCheckBox(m_cbxRepeat);
    m_cbxRepeat->setText(tr("Repeat"));
    connect(m_cbxRepeat, &QCheckBox::clicked, this, &QAudioOperationForm::onRepeat);

    QVEInitCtrlStyle::SetLabel(m_lblFile, tr("File:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblSoundEffects, tr("Sound effects:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblTrack, tr("Track:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblWeight, tr("Weight:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblVolume, tr("Volume:"), 12);

    m_btnSetBgVoice->setButtonImage(res("/VEditSource/btn_family.png"), true);
    m_btnSetBgVoice->setToolTip(tr("Open File"));
    connect(m_btnSetBgVoice, &QPushButton::clicked, this, &QAudioOperationForm::onSetBgVoice);

    QVEInitCtrlStyle::SetQZTLineEdit(m_leBgVoicePath);
    m_leBgVoicePath->setValidator(nullptr); // a path, not a number
    m_leBgVoicePath->setReadOnly(true);
    m_leBgVoicePath->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_leBgVoicePath->resize(110, 22);
    for (QZTLineEdit *e : {m_leBgVoiceValue, m_leVolumeValue}) {
        QVEInitCtrlStyle::SetQZTLineEdit(e);
        connect(e, &QLineEdit::textEdited, this, &QAudioOperationForm::valuetextEdited);
    }

    QVEInitCtrlStyle::SetQZTSlider(m_sliderBgVoice);
    m_sliderBgVoice->setRange(0, 100);
    m_sliderBgVoice->setValue(100);
    QVEInitCtrlStyle::SetQZTSlider(m_sliderVolume);
    m_sliderVolume->setRange(0, 200);
    m_sliderVolume->setValue(100);
    connect(m_sliderBgVoice, &QZTBaseSlider::sendProgressValue, this, &QAudioOperationForm::progressValue);
    connect(m_sliderVolume, &QZTBaseSlider::sendProgressValue, this, &QAudioOperationForm::progressValue);

    QVEInitCtrlStyle::SetQZTComboBox(m_cbbAudioList);
    m_cbbAudioList->resize(164, 22);
    m_cbbAudioList->setBtnMargins(146, 0, 0, 0);

    m_effectScrollBar = new QZTScrollBar(Qt::Horizontal);
    QVEInitCtrlStyle::SetQZTScrollBar(m_effectScrollBar);
    m_effectsList->setHorizontalScrollBar(m_effectScrollBar);
    m_effectsList->setBackgroundColor(kPanel);
    connect(m_effectsList, &QHorizontalListFrom::currentIndexChanged, this,
            &QAudioOperationForm::effectsCurrentIndexChanged);

    connect(m_buttonFrom, &QCommonButtonForm::emitReset, this, &QAudioOperationForm::reset);
    connect(m_buttonFrom, &QCommonButtonForm::emitApplyToAll, this, &QAudioOperationForm::emitApplyToAll);

    m_effects = new QAudioEffectManager(this);
    m_effectsList->clear();
    for (QFrameChunk *chunk : m_effects->getFrameChunklist())
        m_effectsList->addListItem(chunk->getThumbnailImage(), chunk->name);
}

void QAudioOperationForm::setEditSettings(QVideoEditingSettings *settings)
{
    m_settings = settings;
    m_loaded = false;
    disconnectTrackList();
}

void QAudioOperationForm::connectTrackList()
{
    disconnectTrackList(); // one connection, however often the page loads
    m_trackConnection = connect(m_cbbAudioList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                                &QAudioOperationForm::audioSelectedChanged);
}

void QAudioOperationForm::disconnectTrackList()
{
    if (m_trackConnection)
        disconnect(m_trackConnection);
    m_trackConnection = QMetaObject::Connection();
}

void QAudioOperationForm::loadingSetting()
{
    if (!m_settings)
        return;
    VEAudioBackgroundSettings background;
    m_settings->getAudioBackgroundSettings(background);
    m_sliderBgVoice->setValue(int(background.weight));
    m_leBgVoiceValue->setText(QString::number(background.weight));
    m_cbxRepeat->setChecked(background.loop != 0);
    m_leBgVoicePath->setText(QString::fromUtf8(background.filePath.constData()));

    VEAudioSettings audio;
    m_settings->getAudioSettings(audio);
    m_sliderVolume->setValue(int(audio.volume));
    m_leVolumeValue->setText(QString::number(audio.volume));
    // Only a sound effect that is applied is marked: a marked tile cannot be picked again.
    if (effectApplied(audio))
        m_effectsList->setCurrentIndex(audio.effectIndex);
    else
        m_effectsList->clearSelectState();

    disconnectTrackList();
    m_cbbAudioList->clear();
    QStringList tracks;
    m_settings->getAudiolist(tracks);
    m_cbbAudioList->addItems(tracks);
    VESubtitleValue_Info info;
    m_settings->getSubtitleInfo(info);
    m_cbbAudioList->setCurrentIndex(info.audioIndex);
    connectTrackList();
}

void QAudioOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    loadingSetting();
}

void QAudioOperationForm::onSetBgVoice()
{
    const QString path =
        EditorFileDialog::getOpenFileName(this, tr("Open Audio File"), QDir::homePath(), audioFileFilter());
    if (path.isEmpty() || path == m_leBgVoicePath->text() || !m_settings)
        return;
    VEAudioBackgroundSettings background;
    m_settings->getAudioBackgroundSettings(background);
    background.filePath = path.toUtf8();
    if (m_settings->getIsWatermarkAudioStartTime()) {
        background.showTime.first = m_settings->getTrimStartTime();
        background.showTime.second = 0;
    }
    m_settings->setAudioBackgroundSettings(background, true);
    // A file the preview refused is not kept: the field shows what the record holds.
    m_settings->getAudioBackgroundSettings(background);
    m_leBgVoicePath->setText(QString::fromUtf8(background.filePath.constData()));
}

void QAudioOperationForm::onRepeat()
{
    if (!m_settings)
        return;
    VEAudioBackgroundSettings background;
    m_settings->getAudioBackgroundSettings(background);
    background.loop = m_cbxRepeat->isChecked() ? 1 : 0;
    m_settings->setAudioBackgroundSettings(background, false);
}

void QAudioOperationForm::progressValue(double value)
{
    if (!m_settings)
        return;
    VEAudioBackgroundSettings background;
    m_settings->getAudioBackgroundSettings(background);
    if (sender() == m_sliderVolume) {
        const quint32 v = static_cast<quint32>(qMax(0.0, value * 200));
        m_leVolumeValue->setText(QString::number(v));
        if (background.volume != v) {
            background.volume = v;
            m_settings->setAudioBackgroundSettings(background, false);
        }
        VEAudioSettings audio;
        m_settings->getAudioSettings(audio);
        if (audio.volume != v) {
            audio.volume = v;
            m_settings->setAudioSettings(audio);
        }
    } else if (sender() == m_sliderBgVoice) {
        const quint32 w = static_cast<quint32>(qMax(0.0, value * 100));
        m_leBgVoiceValue->setText(QString::number(w));
        if (background.weight != w) {
            background.weight = w;
            m_settings->setAudioBackgroundSettings(background, false);
        }
    }
}

void QAudioOperationForm::valuetextEdited(QString text)
{
    if (!m_settings)
        return;
    int n = text.toInt();
    VEAudioBackgroundSettings background;
    m_settings->getAudioBackgroundSettings(background);
    if (sender() == m_leBgVoiceValue) {
        if (n >= 101) {
            m_leBgVoiceValue->setText(QStringLiteral("100"));
            n = 100;
        }
        background.weight = static_cast<quint32>(n);
        m_sliderBgVoice->setValue(n);
        m_settings->setAudioBackgroundSettings(background, false);
    } else if (sender() == m_leVolumeValue) {
        if (n >= 201) {
            m_leVolumeValue->setText(QStringLiteral("200"));
            n = 200;
        }
        m_sliderVolume->setValue(n);
        VEAudioSettings audio;
        m_settings->getAudioSettings(audio);
        if (audio.volume != quint32(n)) {
            audio.volume = static_cast<quint32>(n);
            m_settings->setAudioSettings(audio);
        }
        if (background.volume != quint32(n)) {
            background.volume = static_cast<quint32>(n);
            m_settings->setAudioBackgroundSettings(background, false);
        }
    }
}

void QAudioOperationForm::audioSelectedChanged(int index)
{
    // An emptied list reports -1: that is no track choice.
    if (!m_settings || index < 0)
        return;
    VESubtitleValue_Info info;
    m_settings->getSubtitleInfo(info);
    if (info.audioIndex == index)
        return;
    info.audioRow = index;
    info.audioIndex = index;
    m_settings->setSubtitleInfo(info);
}

void QAudioOperationForm::effectsCurrentIndexChanged(int index)
{
    QFrameChunk *chunk = m_effects ? m_effects->getFrameChunk(index) : nullptr;
    if (!chunk || !m_settings)
        return;
    VEAudioSettings audio;
    m_settings->getAudioSettings(audio);
    std::vector<double> hz, db;
    for (auto it = chunk->eqMap.constBegin(); it != chunk->eqMap.constEnd(); ++it) {
        hz.push_back(it.key());
        db.push_back(it.value());
    }
    audio.equalize.setBands(hz.data(), db.data(), static_cast<int>(hz.size()));
    audio.rate = static_cast<quint32>(qMax(1, chunk->rate));
    audio.effectIndex = index;
    m_settings->setAudioSettings(audio);
}

void QAudioOperationForm::reset()
{
    if (!m_settings)
        return;
    m_leBgVoicePath->clear();
    VEAudioBackgroundSettings background;
    m_settings->setAudioBackgroundSettings(background, true);
    VEAudioSettings audio;
    m_settings->setAudioSettings(audio);
    // The track goes back to the first one.
    VESubtitleValue_Info info;
    m_settings->getSubtitleInfo(info);
    QStringList tracks;
    m_settings->getAudiolist(tracks);
    if (!tracks.isEmpty() && info.audioIndex != 0) {
        info.audioRow = 0;
        info.audioIndex = 0;
        m_settings->setSubtitleInfo(info);
    }
    loadingSetting();
    m_effectsList->clearSelectState();
}

void QAudioOperationForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    using namespace OperationPageGround;
    paint(p, this, {190, kShareRest, 241, 134});
}

void QAudioOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_lblTrack->move(13, 12);
    m_cbbAudioList->move(13, m_lblTrack->geometry().bottom() + 10);
    m_lblVolume->move(13, m_cbbAudioList->geometry().bottom() + 10);
    m_sliderVolume->move(7, m_lblVolume->geometry().bottom() + 10);
    m_leVolumeValue->move(m_sliderVolume->geometry().right() + 6, m_sliderVolume->y());

    m_lblFile->move(205, 12);
    m_leBgVoicePath->move(205, m_lblFile->geometry().bottom() + 10);
    m_btnSetBgVoice->move(m_leBgVoicePath->geometry().right(), m_leBgVoicePath->y());
    m_cbxRepeat->move(m_btnSetBgVoice->geometry().right() + 6, m_leBgVoicePath->y());
    m_lblWeight->move(205, m_leBgVoicePath->geometry().bottom() + 10);
    m_sliderBgVoice->move(199, m_lblWeight->geometry().bottom() + 10);
    m_leBgVoiceValue->move(m_sliderBgVoice->geometry().right() + 6, m_sliderBgVoice->y());

    m_lblSoundEffects->move(width() - 366, 12);
    m_effectsList->resize(231, m_effectsList->height());
    m_effectsList->move(width() - 371, m_lblSoundEffects->geometry().bottom() + 8);
    m_buttonFrom->resize(134, height());
    m_buttonFrom->move(width() - 134, 0);
}
