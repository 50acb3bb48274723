#include "QSubtitleOperationForm.h"

#include "EditorFileDialog.h"
#include "OperationPageGround.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "QZTScrollBar.h"
#include "SkinStyleHelpers.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSignalBlocker>

#include <cmath>

namespace {

using SkinStyleHelpers::res;

// A stored scale of 0 or less has no logarithm: it reads as the neutral 100.
double usableScale(quint32 stored)
{
    return static_cast<qint32>(stored) <= 0 ? 100.0 : double(stored);
}

} // namespace

QSubtitleOperationForm::QSubtitleOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

QString QSubtitleOperationForm::subtitleFileFilter()
{
    QStringList patterns;
    for (const char *ext : {"ass", "ssa", "srt", "sub", "smi", "sami", "sup", "lrc", "vtt", "webvtt"})
        patterns << QStringLiteral("*.") + QLatin1String(ext)
                 << QStringLiteral("*.") + QString::fromLatin1(ext).toUpper();
    return tr("Subtitles (%1)").arg(patterns.join(QLatin1Char(' ')));
}

double QSubtitleOperationForm::scaleOfPosition(double value)
{
    double s = 0.0;
    if (value <= 0.49)
        s = (0.5 - value) * -4000.0;
    else if (value >= 0.51)
        s = (value - 0.5) * 4000.0;
    return std::pow(2.0, s / 1000.0) * 100.0;
}

QString QSubtitleOperationForm::entryName(const QString &path)
{
    const QFileInfo info(path);
    return QStringLiteral("(%2)[%1]").arg(info.suffix().toUpper(), info.completeBaseName());
}

void QSubtitleOperationForm::initControls()
{
    QVEInitCtrlStyle::SetQZTSlider(m_sliderAlpha);
    m_sliderAlpha->setRange(0, 255);
    m_sliderAlpha->setValue(255);
    QVEInitCtrlStyle::SetQZTSlider(m_sliderPosition);
    m_sliderPosition->setRange(0, 1000);
    m_sliderPosition->setValue(50);
    QVEInitCtrlStyle::SetQZTSlider(m_sliderScale);
    m_sliderScale->setRange(0, 4000);
    m_sliderScale->setValue(2000);
    for (QZTBaseSlider *s : {m_sliderAlpha, m_sliderPosition, m_sliderScale})
        connect(s, &QZTBaseSlider::sendProgressValue, this, &QSubtitleOperationForm::progressValue);

    QVEInitCtrlStyle::SetLabel(m_lblPosition, tr("Position:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblTrack, tr("Track:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblTransparency, tr("Transparency:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblFile, tr("File:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblMargin, tr("Margin:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblScale, tr("Scale:"), 12);

    QVEInitCtrlStyle::SetQZTLineEdit(m_leFamilyPath);
    m_leFamilyPath->setValidator(nullptr); // a path, not a number
    m_leFamilyPath->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_leFamilyPath->setReadOnly(true);
    m_leFamilyPath->resize(122, 22);
    for (QZTLineEdit *e : {m_lePositionValue, m_leAlphaValue, m_leScaleValue}) {
        QVEInitCtrlStyle::SetQZTLineEdit(e);
        e->resize(46, 22);
        connect(e, &QLineEdit::textEdited, this, &QSubtitleOperationForm::valueTextEdited);
    }

    const QList<QPair<QZTRadioButton *, QString>> radios = {
        {m_rbtnBottom, tr("Bottom")}, {m_rbtnTop, tr("Top")}, {m_rbtnMiddle, tr("Middle")}};
    for (const auto &r : radios) {
        QVEInitCtrlStyle::SetRadioButton(r.first);
        r.first->setText(r.second);
        connect(r.first, &QAbstractButton::toggled, this, &QSubtitleOperationForm::onRadioButton);
    }

    m_btnSetSubtitleFont->setButtonImage(res("/VEditSource/btn_text_font.png"), true);
    m_btnSetSubtitleFont->setToolTip(tr("Set Font"));
    connect(m_btnSetSubtitleFont, &QPushButton::clicked, this, &QSubtitleOperationForm::emitSubtitleSetting);
    m_btnSetFamily->setButtonImage(res("/VEditSource/btn_family.png"), true);
    m_btnSetFamily->setToolTip(tr("Open File"));
    connect(m_btnSetFamily, &QPushButton::clicked, this, &QSubtitleOperationForm::onSetFamily);

    QVEInitCtrlStyle::SetQZTComboBox(m_cbbSubtitleList);
    m_cbbSubtitleList->resize(170, 22);
    m_cbbSubtitleList->setBtnMargins(152, 0, 0, 0);
    m_listScrollBar = new QZTScrollBar(Qt::Vertical);
    QVEInitCtrlStyle::SetQZTScrollBar(m_listScrollBar);
    m_cbbSubtitleList->view()->setVerticalScrollBar(m_listScrollBar);

    connect(m_buttonFrom, &QCommonButtonForm::emitReset, this, &QSubtitleOperationForm::reset);
    connect(m_buttonFrom, &QCommonButtonForm::emitApplyToAll, this, &QSubtitleOperationForm::emitApplyToAll);
}

void QSubtitleOperationForm::setEditSettings(QVideoEditingSettings *settings)
{
    m_settings = settings;
    m_loaded = false;
    disconnectList();
}

void QSubtitleOperationForm::connectList()
{
    disconnectList(); // one connection, however often the page loads
    m_listConnection = connect(m_cbbSubtitleList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                               &QSubtitleOperationForm::subtitleSelectedChanged);
}

void QSubtitleOperationForm::disconnectList()
{
    if (m_listConnection)
        disconnect(m_listConnection);
    m_listConnection = QMetaObject::Connection();
}

void QSubtitleOperationForm::loadingSetting()
{
    if (!m_settings)
        return;
    VESubtitleSettings style;
    m_settings->getSubtitleSettings(style);
    m_sliderAlpha->setValue(int(style.alpha));
    m_leAlphaValue->setText(QString::number(static_cast<int>(style.alpha / 2.55)));
    m_sliderPosition->setValue(style.marginV * 1000);
    m_lePositionValue->setText(QString::number(static_cast<int>(style.marginV * 100)));
    const double scale = usableScale(style.scaleX);
    m_sliderScale->setValue(std::log2(scale / 100.0) * 1000.0 + 2000.0);
    m_leScaleValue->setText(QString::number(scale, 'f', 0));
    {
        // Showing the stored position must not store it again.
        const QSignalBlocker b1(m_rbtnBottom), b2(m_rbtnTop), b3(m_rbtnMiddle);
        if (style.align == 0)
            m_rbtnBottom->setChecked(true);
        else if (style.align == 16)
            m_rbtnTop->setChecked(true);
        else if (style.align == 32)
            m_rbtnMiddle->setChecked(true);
    }

    QList<VESubltItemInfo> items;
    m_settings->getSubltItemInfoList(items);
    if (items.isEmpty())
        return;
    disconnectList();
    m_cbbSubtitleList->clear();
    for (const VESubltItemInfo &item : items)
        m_cbbSubtitleList->addItem(QString::fromUtf8(item.label.constData()),
                                   QString::fromUtf8(item.filePath.constData()));
    VESubtitleValue_Info info;
    m_settings->getSubtitleInfo(info);
    m_cbbSubtitleList->setCurrentIndex(info.subtitleRow);
    m_leFamilyPath->setText(QString::fromUtf8(info.subtitleFile.constData()));
    connectList();
}

void QSubtitleOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    loadingSetting();
}

void QSubtitleOperationForm::subtitleSelectedChanged(int index)
{
    // An emptied list reports -1: that is no choice (it used to be stored, and read as closed captions).
    if (!m_settings || index < 0)
        return;
    VESubtitleValue_Info info;
    m_settings->getSubtitleInfo(info);
    if (info.subtitleRow != index) {
        info.subtitleRow = index;
        const int n = info.subtitleCount;
        if (index > n + 1)
            info.subtitleIndex = -3;
        else if (index == n + 1)
            info.subtitleIndex = -2;
        else if (index == 0)
            info.subtitleIndex = -1;
        else
            info.subtitleIndex = index - 1;
        info.subtitleFile = m_cbbSubtitleList->itemData(index).toString().toUtf8();
    }
    m_settings->setSubtitleInfo(info);
    // A file the preview refused is not kept: the page shows the choice the record still holds.
    m_settings->getSubtitleInfo(info);
    if (info.subtitleRow != index) {
        disconnectList();
        m_cbbSubtitleList->setCurrentIndex(info.subtitleRow);
        connectList();
    }
    m_leFamilyPath->setText(QString::fromUtf8(info.subtitleFile.constData()));
}

void QSubtitleOperationForm::onSetFamily()
{
    const QString path =
        EditorFileDialog::getOpenFileName(this, tr("Open Subtitle File"), QDir::homePath(), subtitleFileFilter());
    if (path.isEmpty() || path == m_leFamilyPath->text() || !m_settings)
        return;
    QList<VESubltItemInfo> items;
    m_settings->getSubltItemInfoList(items);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].filePath == path.toUtf8()) {
            m_cbbSubtitleList->setCurrentIndex(i);
            VESubtitleValue_Info info;
            m_settings->getSubtitleInfo(info);
            m_leFamilyPath->setText(QString::fromUtf8(info.subtitleFile.constData()));
            return;
        }
    }
    m_leFamilyPath->setText(path);
    const QString name = entryName(path);
    if (!m_listConnection)
        connectList(); // a clip whose list was empty at loading: the new entry must still be chosen
    // The list model and the record's list are kept in step: the entry's index is its position in both.
    items.append(VESubltItemInfo{name.toUtf8(), path.toUtf8()});
    m_settings->setSubltItemInfoList(items);
    m_cbbSubtitleList->addItem(name, path);
    const int added = m_cbbSubtitleList->count() - 1;
    m_cbbSubtitleList->setCurrentIndex(added);
    if (m_cbbSubtitleList->currentIndex() != added) {
        // The preview refused the file, and the earlier choice stands: its entry goes again.
        m_cbbSubtitleList->removeItem(added);
        items.removeLast();
        m_settings->setSubltItemInfoList(items);
        return;
    }
    m_cbbSubtitleList->view()->scrollToTop();
    emit emitAddSubtitleToCmb(name, path);
}

void QSubtitleOperationForm::progressValue(double value)
{
    if (!m_settings)
        return;
    VESubtitleSettings style;
    m_settings->getSubtitleSettings(style);
    bool changed = false;
    if (sender() == m_sliderAlpha) {
        const quint32 alpha = static_cast<quint32>(255 * value);
        if (style.alpha != alpha) {
            style.alpha = alpha;
            m_leAlphaValue->setText(QString::number(static_cast<int>(value * 100)));
            changed = true;
        }
    } else if (sender() == m_sliderPosition) {
        if (style.marginV != value) {
            style.marginV = value;
            m_lePositionValue->setText(QString::number(static_cast<int>(value * 100)));
            changed = true;
        }
    } else if (sender() == m_sliderScale) {
        const double scale = scaleOfPosition(value);
        if (style.scaleX != static_cast<quint32>(scale)) {
            style.scaleX = style.scaleY = static_cast<quint32>(scale);
            m_leScaleValue->setText(QString::number(qRound(scale)));
            changed = true;
        }
    }
    if (changed)
        m_settings->setSubtitleSettings(style);
}

void QSubtitleOperationForm::valueTextEdited(QString text)
{
    if (!m_settings)
        return;
    const int n = text.toInt();
    VESubtitleSettings style;
    m_settings->getSubtitleSettings(style);
    if (sender() == m_leAlphaValue) {
        const int p = qMin(n, 100);
        m_leAlphaValue->setText(QString::number(p));
        const quint32 alpha = static_cast<quint32>(255 * p / 100);
        m_sliderAlpha->setValue(int(alpha));
        if (style.alpha != alpha) {
            style.alpha = alpha;
            m_settings->setSubtitleSettings(style);
        }
    } else if (sender() == m_lePositionValue) {
        const int p = qMin(n, 100);
        m_lePositionValue->setText(QString::number(p));
        m_sliderPosition->setValue(p * 10);
        if (style.marginV != p / 100.0) {
            style.marginV = p / 100.0;
            m_settings->setSubtitleSettings(style);
        }
    } else if (sender() == m_leScaleValue) {
        const int c = qBound(25, n, 400);
        m_sliderScale->setValue(2000.0 + std::log2(c / 100.0) * 1000.0);
        m_leScaleValue->setText(QString::number(c));
        if (style.scaleX != quint32(c)) {
            style.scaleX = style.scaleY = static_cast<quint32>(c);
            m_settings->setSubtitleSettings(style);
        }
    }
}

void QSubtitleOperationForm::onRadioButton()
{
    if (!m_settings)
        return;
    auto *button = qobject_cast<QAbstractButton *>(sender());
    if (!button || !button->isChecked())
        return; // the button being unchecked reports too; the checked one decides
    VESubtitleSettings style;
    m_settings->getSubtitleSettings(style);
    style.align = button == m_rbtnTop ? 16 : button == m_rbtnMiddle ? 32 : 0;
    m_settings->setSubtitleSettings(style);
}

void QSubtitleOperationForm::reset()
{
    if (!m_settings)
        return;
    VESubtitleSettings defaults;
    m_settings->setSubtitleSettings(defaults);
    VESubtitleValue_Info info;
    m_settings->getSubtitleInfo(info);
    info.subtitleRow = 0;
    info.subtitleIndex = -1;
    info.subtitleFile.clear();
    m_settings->setSubtitleInfo(info);
    loadingSetting();
}

void QSubtitleOperationForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    using namespace OperationPageGround;
    paint(p, this, {206, kShareRest, kShareRest, 134});
}

void QSubtitleOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int h = (width() - 346) / 2;
    m_lblTrack->move(18, 12);
    m_cbbSubtitleList->move(18, m_lblTrack->geometry().bottom() + 10);
    m_lblFile->move(18, m_cbbSubtitleList->geometry().bottom() + 10);
    m_leFamilyPath->move(18, m_lblFile->geometry().bottom() + 10);
    m_btnSetFamily->move(m_leFamilyPath->geometry().right(), m_leFamilyPath->y());
    m_btnSetSubtitleFont->move(m_btnSetFamily->geometry().right() + 6, m_leFamilyPath->y());

    m_lblPosition->move(226, 12);
    m_rbtnTop->move(226, m_lblPosition->geometry().bottom() + 10);
    m_rbtnMiddle->move(m_rbtnTop->geometry().right(), m_rbtnTop->y());
    m_rbtnBottom->move(m_rbtnMiddle->geometry().right() + 12, m_rbtnTop->y());
    m_lblMargin->move(226, m_rbtnTop->geometry().bottom() + 10);
    m_sliderPosition->move(220, m_lblMargin->geometry().bottom() + 10);
    m_lePositionValue->move(m_sliderPosition->geometry().right() + 6, m_sliderPosition->y());

    m_lblTransparency->move(h + 228, 12);
    m_sliderAlpha->move(h + 222, m_lblTransparency->geometry().bottom() + 10);
    m_leAlphaValue->move(m_sliderAlpha->geometry().right() + 6, m_sliderAlpha->y());
    m_lblScale->move(h + 228, m_leAlphaValue->geometry().bottom() + 10);
    m_sliderScale->move(h + 222, m_lblScale->geometry().bottom() + 10);
    m_leScaleValue->move(m_sliderScale->geometry().right() + 6, m_sliderScale->y());
    m_buttonFrom->resize(134, height());
    m_buttonFrom->move(width() - 134, 0);
}
