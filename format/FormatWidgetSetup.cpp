// The format chooser's construction, texts, language-dependent sizes, layout and painting.

#include "CategoriesBtnWgt.h"
#include "FormatItemWidget.h"
#include "FormatWidget.h"
#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QPlistRead.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "QZTBaseButton.h"
#include "SettingKeys.h"

#include <QPainter>

namespace {

const char *const kMenuStyle =
    "QMenu{background-color:%1;margin:1px;}QMenu:item{background-color:%2;color:rgb(255,255,255);font-weight:1px;"
    "margin:0px 0px 0px 0px;height:18px;width:98;padding-left :5px;}QMenu:item:selected{background-color:%3;}"
    "QMenu:icon{left:20px;height:20px;}QMenu:item:!enabled{background-color:rgb(95,185,220);}QMenu::separator{"
    "height:1px;background-color:rgb(53,53,53);margin:0px 0px 0px 0px;}";

// The preset list's arrow at its logical size: the list draws an icon rectangle without a size at the
// image's pixel size, twice too large for a 2x image.
constexpr QSize kArrow(10, 8);

} // namespace

FormatWidget::FormatWidget(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    setWindowTitle(tr("Format"));
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    const QString res = QIAnyUtil::getResourcePath();
    setBackgroundImage(res + QStringLiteral("/image/Common_bg/bg_4.png"), true);
    setVariableResize(false);
    setLogoRect(QRect(115, 5, 0, 0));
    setTitleRect(QRect(0, 8, 0, 0));
    setTextPixelSize(12);
    setTitle(tr("Format Setting"));
    setTextColor(QColor(255, 255, 255, 255));
    setMoveTop(35);
    setGridViewInfo(rectSize(60, 60), rectSize(60, 60), rectSize(60, 60), rectSize(60, 60));
    resize(636, 496);
    installEventFilter(this);
    m_isLossless = QVideoSettingXml::GetItemValue(SettingKeys::LosslessPane) == QLatin1String("Y");
    InitDlg();
    InitBtn();
    retranslateUi();
}

void FormatWidget::InitDlg()
{
    m_formatItemDlg->move(181, 22);
    m_formatItemDlg->setGeometry(40, 155, 556, 248);
    m_formatItemDlg->setFixedWidth(556);
    m_formatItemLosslessDlg->setGeometry(40, 155, 556, 248);
    m_formatItemLosslessDlg->setFixedWidth(556);
    m_formatItemLosslessDlg->hide();
    m_btnCategoriesLosslessWgt->hide();
    m_settingDlg->move(174, 395);
    m_btnCategoriesWgt->setGeometry(40, 118, 556, 25);
    connect(m_settingDlg, &QSettingDlg::emitIsCustomized, this, &FormatWidget::isSelCustomized);
    connect(m_settingDlg, &QSettingDlg::emitChangeText, this, &FormatWidget::valueChangeText);
    connect(m_formatItemDlg, &FormatItemWidget::emitClickBtnSet, this, &FormatWidget::OnClickBtnSet);
    connect(m_formatItemDlg, &FormatItemWidget::emitClickFormatWgt, this, &FormatWidget::OnClickFormatWgt);
    connect(m_formatItemDlg, &FormatItemWidget::emitItemPress, this, &FormatWidget::ItemPress);
    connect(m_formatItemDlg, &FormatItemWidget::emitDoubleClick, this, &FormatWidget::OnBtnOk);
    m_btnCategoriesLosslessWgt->setGeometry(198, 118, 232, 25);
    connect(m_formatItemLosslessDlg, &FormatItemWidget::emitItemPress, this, &FormatWidget::ItemPressLossless);
    connect(m_formatItemLosslessDlg, &FormatItemWidget::emitDoubleClick, this, &FormatWidget::OnBtnOk);
    startShowSetDlgAnimtion(false);
}

QTextImageButton *FormatWidget::makeCategoryButton(const QString &name)
{
    auto *button = new QTextImageButton(this);
    // The category is the button's text: it must be there even when the skin image is missing.
    if (!button->setBtnImageAndText(
            QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format_Dlg/tab_btn_bg_image.png"), name, 9))
        button->setBtnText(name);
    button->setTextPixelSize(12);
    const QColor white(255, 255, 255);
    button->setTextColor(white, white, QColor(215, 63, 63), white);
    button->setImgBtnRect(QRect(0, 0, 90, 25));
    button->setTextRect(QRect(0, 0, 90, 15));
    return button;
}

void FormatWidget::InitBtn()
{
    const QString res = QIAnyUtil::getResourcePath();
    for (const std::string &name : encodingReader()->getCategories()) {
        QTextImageButton *button = makeCategoryButton(QString::fromUtf8(name.c_str()));
        connect(button, &QTextImageButton::clicked, this, &FormatWidget::OnTypeBtn);
        m_typeBtnList.append(button);
        m_btnCategoriesWgt->AddBtnItem(button);
    }
    for (const std::string &name : losslessReader()->getCategories()) {
        QTextImageButton *button = makeCategoryButton(QString::fromUtf8(name.c_str()));
        connect(button, &QTextImageButton::clicked, this, &FormatWidget::OnTypeLosslessBtn);
        m_typeLosslessBtnList.append(button);
        m_btnCategoriesLosslessWgt->AddBtnItem(button);
    }
    // The high-speed row is narrow; a catalogue with more categories than it holds gets the full row
    // rather than squeezed, overlapping buttons.
    if (m_typeLosslessBtnList.size() * 90 > m_btnCategoriesLosslessWgt->width())
        m_btnCategoriesLosslessWgt->setGeometry(m_btnCategoriesWgt->geometry());
    addCloseBtn(res + QStringLiteral("/image/btn_close.png"), true);
    m_btnClose->move(16, 18);

    m_btnCancel->setBtnImageAndText(res + QStringLiteral("/image/Common_bg/btn_common.png"), tr("Cancel"), 12);
    m_btnCancel->setTextRect(QRect(0, 0, 64, 28));
    m_btnCancel->setFixedSize(64, 28);
    m_btnOk->setBtnImageForRect(res + QStringLiteral("/image/Common_bg/btn_common.png"), QRect(0, 0, 64, 28));
    m_btnOk->setBtnText(tr("OK"));
    m_btnOk->setTextRect(QRect(0, 0, 64, 28));

    for (QCheckButton *mode : {m_radLosslessMode, m_radCustomize}) {
        mode->setCheckImage(res + QStringLiteral("/image/Common_bg/Edit_selections_yes.png"),
                            res + QStringLiteral("/image/Common_bg/Edit_selections_no.png"));
        mode->setTextColor(QColor(255, 255, 255));
        mode->setButtonType(true);
        mode->setTextRect(QRect(15, 0, 0, 15));
    }

    const bool lossless = QVideoSettingXml::GetItemValue(SettingKeys::LosslessConvert) == QLatin1String("Y");
    m_btnLosslessShow->setEnabled(lossless);
    m_btnLosslessHidden->setEnabled(lossless);
    if (lossless) {
        const bool shown = QVideoSettingXml::GetItemValue(SettingKeys::LosslessPane) == QLatin1String("Y");
        m_btnLosslessShow->setVisible(!shown);
        m_btnLosslessHidden->setVisible(shown);
    }

    connect(m_radLosslessMode, &QCheckButton::clicked, this, &FormatWidget::OnClickLossless);
    connect(m_btnLosslessShow, &QZTBaseButton::clicked, this, &FormatWidget::OnClickLosslessShow);
    connect(m_btnLosslessHidden, &QZTBaseButton::clicked, this, &FormatWidget::OnClickLosslessHidden);
    connect(m_radCustomize, &QCheckButton::clicked, this, &FormatWidget::OnClickCustomizeFormat);

    InitLossless();

    m_btnClose->move(16, 18);
    addMinBtn(res + QStringLiteral("/image/btn_min.png"), true);
    m_btnMin->move(36, 18);
    addMaxBtn(res + QStringLiteral("/image/btn_max.png"), true);
    m_btnMax->move(56, 18);

    m_btnOk->setTextPixelSize(12);
    m_btnCancel->setTextPixelSize(12);
    QFont modeFont = m_radLosslessMode->font();
    modeFont.setFamily(QStringLiteral("Tahoma"));
    modeFont.setPixelSize(12);
    m_radLosslessMode->setFont(modeFont);
    m_radCustomize->setFont(modeFont);
    const QColor white(255, 255, 255);
    m_btnOk->setTextColor(white, white, white, QColor(111, 111, 111));
    m_btnCancel->setTextColor(white, white, white, QColor(111, 111, 111));

    const QString sheet =
        QString::fromLatin1(kMenuStyle)
            .arg(QStringLiteral("rgb(53,53,53)"), QStringLiteral("rgb(37,37,37)"), QStringLiteral("rgb(53,53,53)"));
    m_cmbQuality->setImageForRect(res + QStringLiteral("/image/Common_bg/bg_combobox1.png"), QRect(0, 0, 90, 21));
    m_cmbQuality->setBtnIcon(res + QStringLiteral("/image/Format_Dlg/btn_quality.png"), true);
    m_cmbQuality->setTextPixelSize(11);
    m_cmbQuality->setItemFontPointSize(11);
    m_cmbQuality->setIconRect(QRect(75, 7, kArrow.width(), kArrow.height()));
    m_cmbQuality->setTextRect(QRect(10, 0, 80, 0));
    m_cmbQuality->setTextColor(white, white, white, QColor(74, 74, 74));
    m_cmbQuality->setItemStyleSheet(sheet);
    m_cmbQuality->setPopupX(0);
    m_cmbQuality->setItemDefaultW(m_cmbQuality->width() - 7);
    m_cmbQuality->clear();
    m_cmbQuality->addItem(tr("High Quality"));
    m_cmbQuality->addItem(tr("Small Size"));
    m_cmbQuality->addItem(tr("Customized"));

    connect(m_cmbQuality, &QCustomComboBox::activated, this, &FormatWidget::ItemChange);
    connect(m_btnClose, &QImageButton::clicked, this, &FormatWidget::OnBtnCancel);
    connect(m_btnCancel, &QTextImageButton::clicked, this, &FormatWidget::OnBtnCancel);
    connect(m_btnOk, &QTextImageButton::clicked, this, &FormatWidget::OnBtnOk);

    QFont advancedFont = modeFont;
    advancedFont.setPixelSize(11);
    m_btnLosslessShow->setText(tr("Show Advanced"));
    m_btnLosslessHidden->setText(tr("Hide Advanced"));
    for (QZTBaseButton *b : {m_btnLosslessShow, m_btnLosslessHidden}) {
        b->setFont(advancedFont);
        b->setButtonImage(res + QStringLiteral("/image/Common_bg/btn_common.png"), true);
        b->setTextColor(white, white, white, white);
        b->resize(100, 21);
    }
}

void FormatWidget::retranslateUi()
{
    const int language = QConverterOperate::getLanguageType();
    QFont f = m_btnLosslessHidden->font();
    QSize advancedSize(120, 21);
    QRect iconRect(QPoint(80, 7), kArrow);
    QRect textRect(10, 0, 85, 0);
    f.setPixelSize(10);
    if (language == 0) {
        f.setPixelSize(12);
        advancedSize = QSize(100, 21);
        iconRect = QRect(QPoint(75, 7), kArrow);
        textRect = QRect(10, 0, 80, 0);
    } else if (language == 3) {
        advancedSize = QSize(144, 21);
    } else if (language == 2) {
        textRect = QRect(5, 0, 85, 0);
    }
    for (QZTBaseButton *b : {m_btnLosslessShow, m_btnLosslessHidden}) {
        b->setFont(f);
        b->resize(advancedSize);
    }
    m_cmbQuality->setIconRect(iconRect);
    m_cmbQuality->setTextRect(textRect);

    m_cmbQuality->setIndexText(0, tr("High Quality"));
    m_cmbQuality->setIndexText(1, tr("Small Size"));
    m_cmbQuality->setIndexText(2, tr("Customized"));
    m_btnLosslessShow->setText(tr("Show Advanced"));
    m_btnLosslessHidden->setText(tr("Hide Advanced"));
    m_btnCancel->setBtnText(tr("Cancel"));
    m_btnOk->setBtnText(tr("OK"));
    m_LabPreset->setText(tr("Preset:"));
    m_LabPreset->hide();

    switch (language) {
    case 0:
        m_radLosslessMode->setTextRect(QRect(15, 0, 321, 16));
        m_radCustomize->setTextRect(QRect(15, 0, 371, 16));
        break;
    case 2:
        m_radLosslessMode->setTextRect(QRect(15, 0, 374, 16));
        m_radCustomize->setTextRect(QRect(15, 0, 412, 16));
        break;
    case 3: {
        m_radLosslessMode->setTextRect(QRect(15, 0, 333, 16));
        m_radCustomize->setTextRect(QRect(15, 0, 458, 16));
        QFont small = f;
        small.setPixelSize(11);
        m_radLosslessMode->setFont(small);
        m_radCustomize->setFont(small);
        break;
    }
    case 4:
        m_radLosslessMode->setTextRect(QRect(15, 0, 212, 16));
        m_radCustomize->setTextRect(QRect(15, 0, 452, 16));
        break;
    default:
        break;
    }
    m_radLosslessMode->setText(tr("High - Speed mode - Fast and Lossless (Recommended)"));
    m_radLosslessMode->adjustSize();
    m_radCustomize->setText(tr("Encoding mode - Customize file format, quality and codec (Slow)"));
    m_radCustomize->adjustSize();
    if (m_settingDlg)
        m_settingDlg->retranslateUi();
    resetControlLocation();
}

void FormatWidget::resetControlLocation()
{
    const int w = width();
    const int h = height();
    const int y = h - 63 + (50 - m_btnCancel->height()) / 2;
    m_btnOk->move(w - 28 - m_btnOk->width(), y);
    m_btnCancel->move(w - 38 - m_btnCancel->width() - m_btnOk->width(), y);
    m_radLosslessMode->move(40, 50);
    const int losslessRight = m_radLosslessMode->x() + m_radLosslessMode->width() - 1;
    m_btnLosslessShow->move(losslessRight + 10, 48);
    m_btnLosslessHidden->move(losslessRight + 10, 48);
    m_radCustomize->move(40, 82);
    m_cmbQuality->move(m_radCustomize->x() + m_radCustomize->width() - 1 + 10, 80);
    m_LabPreset->move(20, h - 50 + (58 - m_LabPreset->height()) / 2);
}

void FormatWidget::resizeEvent(QResizeEvent *e)
{
    QNinePointsImageDialog::resizeEvent(e);
    resetControlLocation();
}

void FormatWidget::paintEvent(QPaintEvent *e)
{
    QNinePointsImageDialog::paintEvent(e);
    if (m_isFold)
        return;
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(34, 34, 34), 1));
    painter.drawRect(QRect(QPoint(28, 110), QPoint(w - 29, h - 74)));
    painter.fillRect(QRect(QPoint(29, 111), QPoint(w - 29, h - 74)), QColor(45, 45, 45));
    painter.setPen(QPen(QColor(38, 38, 38), 1));
    const QRect row = m_btnCategoriesWgt->geometry();
    painter.drawLine(row.bottomLeft(), row.bottomRight());
}
