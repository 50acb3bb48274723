// The parameter panel as a widget: construction, skinning, the page switch and painting.

#include "QSettingDlg.h"

#include "QConverterOperate.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QImagaeRatioDraw.h"
#include "QTextImageButton.h"

#include <QPainter>

namespace {

const char *const kMenuStyle =
    "QMenu{background-color:%1;margin:1px;}QMenu:item{background-color:%2;color:rgb(255,255,255);font-weight:1px;"
    "margin:0px 0px 0px 0px;height:18px;width:98;padding-left :5px;}QMenu:item:selected{background-color:%3;}"
    "QMenu:icon{left:20px;height:20px;}QMenu:item:!enabled{background-color:rgb(95,185,220);}QMenu::separator{"
    "height:1px;background-color:rgb(53,53,53);margin:1px 0px 1px 0px;}";

constexpr int kFrench = 3;

} // namespace

QSettingDlg::QSettingDlg(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    m_bgImage.load(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format_Dlg/bg_setting.png"));
    InitBtn();
    InitCtrl();
    OnInitDeault();
    qRegisterMetaType<VideoQuality>("VideoQuality");
}

QSettingDlg::~QSettingDlg() = default;

void QSettingDlg::setBgImage(const QString &path)
{
    QImage image;
    if (image.load(path))
        m_bgImage = image;
    update();
}

void QSettingDlg::InitBtn()
{
    const QString res = QIAnyUtil::getResourcePath();
    m_btnDefault->setBtnImage(res + QStringLiteral("/image/Format_Dlg/btn_Default.png"));
    m_btnDefault->setToolTip(tr("Default"));
    m_btnVideo->setBtnImageAndText(res + QStringLiteral("/image/Format_Dlg/btn_video.png"), tr("Video"), 11);
    m_btnAudio->setBtnImageAndText(res + QStringLiteral("/image/Format_Dlg/btn_audio.png"), tr("Audio"), 11);
    const QColor white(255, 255, 255);
    for (QTextImageButton *b : {m_btnVideo, m_btnAudio}) {
        b->setTextPixelSize(11);
        b->setTextColor(white, white, white, QColor(70, 70, 70));
    }
    connect(m_btnVideo, &QTextImageButton::clicked, this, &QSettingDlg::OnClickVideo);
    connect(m_btnAudio, &QTextImageButton::clicked, this, &QSettingDlg::OnClickAudio);
    connect(m_btnDefault, &QTextImageButton::clicked, this, &QSettingDlg::OnClickDefault);
}

void QSettingDlg::InitCtrl()
{
    const bool french = QConverterOperate::getLanguageType() == kFrench;
    m_labCodec->move(30, 45);
    m_cmbVEncoder->move(french ? 138 : 116, 43);
    m_labFrame->move(30, 85);
    m_cmbVFrame->move(french ? 138 : 116, 83);
    m_labReslution->move(271, 45);
    m_cmbVResolution->move(357, 43);
    m_labBitRate->move(271, 85);
    m_cmbVBitRate->move(357, 83);
    m_labACodec->move(30, 45);
    m_cmbAEncoder->move(116, 43);
    m_labSampleRate->move(30, 85);
    m_cmbASample->move(116, 83);
    m_labChannel->move(271, 45);
    m_cmbAChannel->move(357, 43);
    m_labABitRate->move(271, 85);
    m_cmbABitRate->move(357, 83);

    setLabelTexts();

    QFont font = m_labCodec->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    QPalette palette = m_labCodec->palette();
    palette.setColor(QPalette::WindowText, QColor(246, 246, 246));
    for (QLabel *label : {m_labCodec, m_labReslution, m_labFrame, m_labBitRate, m_labACodec, m_labChannel,
                          m_labSampleRate, m_labABitRate}) {
        label->setFont(font);
        label->setPalette(palette);
    }
    for (QCustomComboBox *list : lists())
        InitComboboxCtrl(list);
    for (QCustomComboBox *list : lists())
        connect(list, &QCustomComboBox::activated, this, &QSettingDlg::CmbItemChange);
    ShowVideoSet(true);
}

void QSettingDlg::OnInitDeault()
{
    m_defaultValue = QualitySet();
}

void QSettingDlg::InitComboboxCtrl(QCustomComboBox *list)
{
    const QString sheet =
        QString::fromLatin1(kMenuStyle)
            .arg(QStringLiteral("rgb(53,53,53)"), QStringLiteral("rgb(37,37,37)"), QStringLiteral("rgb(53,53,53)"));
    list->setImageForRect(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Common_bg/bg_combobox3.png"),
                          QRect(0, 0, 120, 22));
    list->setTextPixelSize(10);
    list->setItemFontPointSize(11);
    const QColor text(246, 246, 246);
    list->setTextColor(text, text, text, QColor(77, 77, 77));
    list->setIconRect(QRect(5, 4, 15, 15));
    list->setItemStyleSheet(sheet);
    list->setPopupX(0);
    list->setItemDefaultW(m_cmbVEncoder->width() - 7);
    list->clear();
}

QList<QCustomComboBox *> QSettingDlg::lists() const
{
    return {m_cmbVEncoder, m_cmbVResolution, m_cmbVFrame,  m_cmbVBitRate,
            m_cmbAEncoder, m_cmbAChannel,    m_cmbASample, m_cmbABitRate};
}

void QSettingDlg::ShowVideoSet(bool video)
{
    m_btnVideo->setCheckState(video);
    m_btnAudio->setCheckState(!video);
    for (QWidget *w : std::initializer_list<QWidget *>{m_labCodec, m_cmbVEncoder, m_labReslution, m_cmbVResolution,
                                                       m_labFrame, m_cmbVFrame, m_labBitRate, m_cmbVBitRate})
        w->setVisible(video);
    for (QWidget *w : std::initializer_list<QWidget *>{m_labACodec, m_cmbAEncoder, m_labChannel, m_cmbAChannel,
                                                       m_labSampleRate, m_cmbASample, m_labABitRate, m_cmbABitRate})
        w->setVisible(!video);
}

void QSettingDlg::setAudioDlgCtrl(bool onlyAudio)
{
    m_bOnlyAudio = onlyAudio;
    if (onlyAudio) {
        m_btnVideo->hide();
        ShowVideoSet(false);
    }
    placeButtons();
}

void QSettingDlg::OnClickVideo()
{
    ShowVideoSet(true);
}

void QSettingDlg::OnClickAudio()
{
    ShowVideoSet(false);
}

void QSettingDlg::OnClickDefault()
{
    setVideoQuality(HighQuality);
}

void QSettingDlg::setLabelTexts()
{
    m_labCodec->setText(tr("Codec:"));
    m_labReslution->setText(tr("Resolution:"));
    m_labFrame->setText(tr("Frame Rate:"));
    m_labBitRate->setText(tr("Bit Rate:"));
    m_labACodec->setText(tr("Codec:"));
    m_labChannel->setText(tr("Channel:"));
    m_labSampleRate->setText(tr("Sample Rate:"));
    m_labABitRate->setText(tr("Bit Rate:"));
}

void QSettingDlg::retranslateUi()
{
    setLabelTexts();
    m_btnAudio->setBtnText(tr("Audio"));
    m_btnVideo->setBtnText(tr("Video"));
    const bool french = QConverterOperate::getLanguageType() == kFrench;
    const int labelWidth = french ? 102 : 81;
    m_labCodec->setGeometry(30, 45, labelWidth, 20);
    m_labFrame->setGeometry(30, 85, labelWidth, 20);
    m_cmbVEncoder->move(french ? 138 : 116, 43);
    m_cmbVFrame->move(french ? 138 : 116, 83);
}

// The buttons follow the panel's width; they are placed on resize and on a page change, never while
// painting.
void QSettingDlg::placeButtons()
{
    const int w = width();
    m_btnVideo->move(w / 2 - m_btnVideo->width(), 8);
    if (m_bOnlyAudio)
        m_btnAudio->move((w - m_btnAudio->width()) / 2, 8);
    else
        m_btnAudio->move(w / 2, 8);
    m_btnDefault->move(w - m_btnDefault->width() - 4, 18);
}

void QSettingDlg::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeButtons();
}

void QSettingDlg::paintEvent(QPaintEvent *)
{
    if (m_bgImage.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    imageDrawRect(painter, rect(), m_bgImage);
}

void QSettingDlg::imageDrawRect(QPainter &painter, const QRect &rect, const QImage &image)
{
    const int iw = image.width() / 2;
    const int ih = image.height() / 2;
    const int w = rect.width();
    const int h = rect.height();
    const int cw = std::min(w, iw) / 3;
    const int ch = std::min(h, ih) / 3;
    auto piece = [&](const QRect &target, const QRect &source) {
        if (target.width() > 0 && target.height() > 0)
            QImagaeRatioDraw::drawImage(painter, target, source, image);
    };
    // Corners unscaled, edges stretched along their edge, centre both ways.
    piece(QRect(0, 0, cw, ch), QRect(0, 0, cw, ch));
    piece(QRect(w - cw, 0, cw, ch), QRect(iw - cw, 0, cw, ch));
    piece(QRect(0, h - ch, cw, ch), QRect(0, ih - ch, cw, ch));
    piece(QRect(w - cw, h - ch, cw, ch), QRect(iw - cw, ih - ch, cw, ch));
    piece(QRect(cw, 0, w - 2 * cw, ch), QRect(cw, 0, iw - 2 * cw, ch));
    piece(QRect(cw, h - ch, w - 2 * cw, ch), QRect(cw, ih - ch, iw - 2 * cw, ch));
    piece(QRect(0, ch, cw, h - 2 * ch), QRect(0, ch, cw, ih - 2 * ch));
    piece(QRect(w - cw, ch, cw, h - 2 * ch), QRect(iw - cw, ch, cw, ih - 2 * ch));
    piece(QRect(cw, ch, w - 2 * cw, h - 2 * ch), QRect(cw, ch, iw - 2 * cw, ih - 2 * ch));
}
