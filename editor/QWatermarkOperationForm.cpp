#include "QWatermarkOperationForm.h"

#include "EditorFileDialog.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "QZTMessageBox.h"
#include "QZTScrollBar.h"
#include "SkinStyleHelpers.h"
#include "UserPicture.h"
#include "ZTInfoManager.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTextEdit>

#include <cmath>

QString QWatermarkOperationForm::s_lastFolder;

namespace {

const QRect kTagRect(0, 0, 64, 64);

using SkinStyleHelpers::res;

} // namespace

QWatermarkOperationForm::QWatermarkOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

void QWatermarkOperationForm::initControls()
{
    QVEInitCtrlStyle::SetLabel(m_lblWatermarkImage, tr("Image:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblTransparency, tr("Transparency:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblWatermarkText, tr("Text:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblTextTransparency, tr("Transparency:"), 12);

    m_btnAddWKImg->setText(QString());
    // Drawn at the box's own size: the larger cover-art face, squeezed through its nine grid, lost its glyph.
    m_btnAddWKImg->setButtonImage(res("/VEditSource/add_watermark_picture.png"), false);
    m_btnAddWKImg->setBackgroundColor(QColor(37, 37, 37));
    m_btnAddWKImg->resize(64, 64);
    m_btnAddWKImg->setToolTip(tr("Add Watermark Image"));
    m_btnDelete->setText(QString());
    m_btnDelete->setButtonImage(res("/VEditSource/delete_watermark_image.png"), true);
    m_btnDelete->setToolTip(tr("Delete"));
    m_btnDelete->hide();
    m_btnSetWKTFont->setText(QString());
    m_btnSetWKTFont->setButtonImage(res("/VEditSource/btn_text_font.png"), false);
    m_btnSetWKTFont->setToolTip(tr("Set Font"));

    for (QZTBaseSlider *slider : {m_sliderAlpha, m_sliderTextAlpha}) {
        QVEInitCtrlStyle::SetQZTSlider(slider);
        slider->resize(204, 22);
        slider->setRange(0, 255);
        slider->setValue(255);
        connect(slider, &QZTBaseSlider::sendProgressValue, this, &QWatermarkOperationForm::progressValue);
    }
    for (QZTLineEdit *edit : {m_leAlphaValue, m_leTextAlphaValue}) {
        QVEInitCtrlStyle::SetQZTLineEdit(edit);
        edit->resize(46, 22);
        edit->setText(QStringLiteral("100"));
        connect(edit, &QLineEdit::textEdited, this, &QWatermarkOperationForm::alphaTextEdited);
    }

    m_leAddWKText->setBackgroundImage(res("/VEditSource/edit_background.png"));
    m_leAddWKText->resize(220, 22);
    QTextEdit *edit = m_leAddWKText->textEdit();
    edit->setAlignment(Qt::AlignLeft);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QVEInitCtrlStyle::SetFont(edit, 12);
    QVEInitCtrlStyle::SetPalette(edit, QPalette::Text, QColor(255, 255, 255));
    m_textScrollBar = new QZTScrollBar(Qt::Vertical, this);
    QVEInitCtrlStyle::SetQZTScrollBar(m_textScrollBar);
    edit->setVerticalScrollBar(m_textScrollBar);
    connect(edit, &QTextEdit::textChanged, this, &QWatermarkOperationForm::wkTextEdited);

    connect(m_btnAddWKImg, &QPushButton::clicked, this, &QWatermarkOperationForm::onSetAddWKImg);
    connect(m_btnDelete, &QPushButton::clicked, this, &QWatermarkOperationForm::onDeleteImage);
    connect(m_btnSetWKTFont, &QPushButton::clicked, this, &QWatermarkOperationForm::emitWatermartTextSetting);
    connect(m_buttonFrom, &QCommonButtonForm::emitApplyToAll, this, &QWatermarkOperationForm::emitApplyToAll);
    connect(m_buttonFrom, &QCommonButtonForm::emitReset, this, &QWatermarkOperationForm::reset);
}

int QWatermarkOperationForm::shownValue(quint32 alpha)
{
    return static_cast<int>(std::min<quint32>(alpha, 255) * 100 / 255);
}

quint32 QWatermarkOperationForm::alphaOfShown(int shown)
{
    // Rounded, so that a typed 100 is fully opaque.
    return static_cast<quint32>((std::clamp(shown, 0, 100) * 255 + 50) / 100);
}

quint32 QWatermarkOperationForm::alphaOfSlider(double fraction)
{
    if (!(fraction > 0.0))
        return 0;
    return static_cast<quint32>(std::min(fraction, 1.0) * 255 + 0.5);
}

QString QWatermarkOperationForm::pictureFolder()
{
    if (!s_lastFolder.isEmpty() && QFileInfo(s_lastFolder).isDir())
        return s_lastFolder;
    return QDir::homePath();
}

QImage QWatermarkOperationForm::pictureThumbnail(const QString &path, int size)
{
    if (path.isEmpty())
        return QImage();
    // A picture is decoded no larger than its thumbnail, and one that declares an absurd size is refused
    // unread; anything else (a video, a format only the codec library reads) goes to the media probe.
    QImageReader reader(path);
    if (reader.canRead()) {
        const QImage image = UserPicture::fitted(reader, QSize(size, size), Qt::KeepAspectRatioByExpanding);
        return image.isNull() ? QImage() : ZTInfoManager::scaleImage(image, size);
    }
    ZTInfoManager info;
    info.createrPlayer();
    if (!info.setMediaFile(path))
        return QImage();
    return info.getThumbnail(size);
}

void QWatermarkOperationForm::showPicture(const QImage &thumbnail, bool hasPath)
{
    m_btnAddWKImg->setTagImg(kTagRect, thumbnail);
    m_btnDelete->setVisible(hasPath);
}

void QWatermarkOperationForm::loadingSetting()
{
    if (!m_editSettings)
        return;
    VEWatermarkSettings mark;
    m_editSettings->getWatermarkSettings(mark);
    m_sliderAlpha->setValue(static_cast<int>(mark.image.alpha));
    m_leAlphaValue->setText(QString::number(shownValue(mark.image.alpha)));
    m_sliderTextAlpha->setValue(static_cast<int>(mark.text.alpha));
    m_leTextAlphaValue->setText(QString::number(shownValue(mark.text.alpha)));
    // Setting the text pushes the record with its sources (wkTextEdited).
    m_leAddWKText->textEdit()->setPlainText(QString::fromUtf8(mark.text.text));
    const QString path = QString::fromUtf8(mark.image.imagePath);
    showPicture(pictureThumbnail(path, 50), !path.isEmpty());
}

void QWatermarkOperationForm::onSetAddWKImg()
{
    emit emitOpenDlg(true);
    const QString path = EditorFileDialog::getOpenFileName(this, tr("Open Image"), pictureFolder(),
                                                           tr("Images (*.jpg *.jpeg *.png *.gif *.bmp *.webp *.heic)"));
    emit emitOpenDlg(false);
    if (path.isEmpty() || !m_editSettings)
        return;
    s_lastFolder = QFileInfo(path).absolutePath();
    const QImage thumbnail = pictureThumbnail(path, 50);
    if (thumbnail.isNull()) {
        // The preview and the join could not draw it either: keep the record as it was.
        QZTMessageBox::ShowMessage(this, tr("Add Watermark Image"),
                                   tr("\"%1\" cannot be opened as a picture. Please choose a JPG, PNG, BMP or "
                                      "GIF file.")
                                       .arg(QFileInfo(path).fileName()),
                                   QZTMessageBox::Warning, QZTMessageBox::StyleOk);
        return;
    }
    VEWatermarkSettings mark;
    m_editSettings->getWatermarkSettings(mark);
    mark.image.imagePath = path.toUtf8();
    if (m_editSettings->getIsWatermarkAudioStartTime())
        mark.image.showTime = VETimePair{m_editSettings->getTrimStartTime(), 0};
    m_editSettings->setWatermarkSettings(mark, true, true);
    m_editSettings->getWatermarkSettings(mark);
    if (mark.image.imagePath == path.toUtf8())
        showPicture(thumbnail, true);
    else // refused by the preview: the record keeps its earlier picture
        showPicture(pictureThumbnail(QString::fromUtf8(mark.image.imagePath), 50), !mark.image.imagePath.isEmpty());
}

void QWatermarkOperationForm::onDeleteImage()
{
    if (!m_editSettings)
        return;
    VEWatermarkSettings mark;
    m_editSettings->getWatermarkSettings(mark);
    mark.image.imagePath.clear();
    m_editSettings->setWatermarkSettings(mark, true, true);
    m_btnAddWKImg->setTagImg(kTagRect, QString());
    m_btnDelete->hide();
}

void QWatermarkOperationForm::wkTextEdited()
{
    if (!m_editSettings)
        return;
    const QByteArray text = m_leAddWKText->textEdit()->toPlainText().toUtf8();
    VEWatermarkSettings mark;
    m_editSettings->getWatermarkSettings(mark);
    if (text != mark.text.text) {
        mark.text.text = text;
        if (m_editSettings->getIsWatermarkAudioStartTime())
            mark.text.showTime = VETimePair{m_editSettings->getTrimStartTime(), 0};
    }
    m_editSettings->setWatermarkSettings(mark, true, true);
}

void QWatermarkOperationForm::storeAlpha(bool image, quint32 alpha)
{
    VEWatermarkSettings mark;
    m_editSettings->getWatermarkSettings(mark);
    quint32 &stored = image ? mark.image.alpha : mark.text.alpha;
    if (alpha != stored) {
        stored = alpha;
        m_editSettings->setWatermarkSettings(mark, true, false);
    }
}

void QWatermarkOperationForm::progressValue(double value)
{
    if (!m_editSettings)
        return;
    const quint32 alpha = alphaOfSlider(value);
    const bool image = sender() == m_sliderAlpha;
    if (!image && sender() != m_sliderTextAlpha)
        return;
    storeAlpha(image, alpha);
    (image ? m_leAlphaValue : m_leTextAlphaValue)->setText(QString::number(shownValue(alpha)));
}

void QWatermarkOperationForm::alphaTextEdited(QString text)
{
    if (!m_editSettings)
        return;
    QLineEdit *edit = qobject_cast<QLineEdit *>(sender());
    const bool image = edit == m_leAlphaValue;
    if (!image && edit != m_leTextAlphaValue)
        return;
    int v = text.toInt();
    if (v >= 101) {
        v = 100;
        edit->setText(QStringLiteral("100"));
    }
    const quint32 alpha = alphaOfShown(v);
    storeAlpha(image, alpha);
    (image ? m_sliderAlpha : m_sliderTextAlpha)->setValue(static_cast<int>(alpha));
}

void QWatermarkOperationForm::reset()
{
    if (!m_editSettings)
        return;
    VEWatermarkSettings mark;
    m_editSettings->setWatermarkSettings(mark, true, false);
    loadingSetting();
}

void QWatermarkOperationForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(37, 37, 37));
    const QColor panel(53, 53, 53);
    painter.fillRect(QRect(QPoint(0, 0), QPoint(386, height() - 1)), panel);
    painter.fillRect(QRect(QPoint(389, 0), QPoint(width() - 137, height() - 1)), panel);
    painter.fillRect(QRect(QPoint(width() - 134, 0), QPoint(width() - 1, height() - 1)), panel);
}

void QWatermarkOperationForm::updateLocation()
{
    m_lblWatermarkImage->move(18, 12);
    m_btnAddWKImg->move(18, m_lblWatermarkImage->geometry().bottom() + 20);
    m_btnDelete->move(m_btnAddWKImg->geometry().right() - m_btnDelete->width(), m_btnAddWKImg->y() + 1);
    m_btnDelete->raise();
    m_lblTransparency->move(m_btnAddWKImg->geometry().right() + 40, m_lblWatermarkImage->y());
    m_sliderAlpha->move(m_btnAddWKImg->geometry().right() + 34, m_lblTransparency->geometry().bottom() + 35);
    m_leAlphaValue->move(m_sliderAlpha->geometry().right() + 8, m_sliderAlpha->y());

    m_lblWatermarkText->move(407, 12);
    m_leAddWKText->move(407, m_lblWatermarkText->geometry().bottom() + 10);
    m_btnSetWKTFont->move(m_leAddWKText->geometry().right() + 8,
                          m_leAddWKText->geometry().bottom() - 1 - m_btnSetWKTFont->height() + 1);
    m_lblTextTransparency->move(m_lblWatermarkText->x(), m_leAddWKText->geometry().bottom() + 10);
    m_sliderTextAlpha->move(m_lblTextTransparency->x() - 6, m_lblTextTransparency->geometry().bottom() + 10);
    m_leTextAlphaValue->move(m_sliderTextAlpha->geometry().right() + 8, m_sliderTextAlpha->y());

    m_buttonFrom->resize(134, height());
    m_buttonFrom->move(width() - 134, 0);
}

void QWatermarkOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateLocation();
}

void QWatermarkOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateLocation();
    if (!m_isLoaded) {
        m_isLoaded = true;
        loadingSetting();
    }
}
