#include "QPreferencesDlg.h"

#include "ConvertWidget.h"
#include "GeneralWidget.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QTextImageButton.h"
#include "QVEInitCtrlStyle.h"
#include "QZTScrollBar.h"

#include <QCloseEvent>
#include <QPainter>

QPreferencesDlg::QPreferencesDlg(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    setWindowTitle(tr("Preferences"));
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setBackgroundImage(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Common_bg/bg_3.png"), false);
    setLogoRect(QRect(127, 5, 0, 0));
    setTitleRect(QRect(0, 8, 0, 0));
    setTextPixelSize(12);
    setTitle(tr("Preferences"));
    setTextColor(QColor(255, 255, 255));
    setMoveTop(30);
    setGridViewInfo(rectSize(80, 80), rectSize(80, 80), rectSize(80, 80), rectSize(80, 80));
    setFixedSize(441, 321);

    // The dialog and the page area take the designer containers' layouts; the emptied containers would
    // otherwise lie over Cancel and OK and swallow their clicks.
    setLayout(m_Layout);
    horizontalLayoutWidget->hide();
    m_Layout->setContentsMargins(8, 30, 8, 58);
    m_Layout->setSpacing(0);
    scrollArea->setFrameStyle(0);
    m_verticalLayout->setContentsMargins(0, 0, 0, 0);
    QPalette palette = m_scrollAreaWidget->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setBrush(g, QPalette::Window, QColor(51, 51, 51));
    m_scrollAreaWidget->setPalette(palette);

    m_scrollBar = new QZTScrollBar(Qt::Vertical);
    QVEInitCtrlStyle::SetQZTScrollBar(m_scrollBar);
    // The dark bar, slimmer, its track drawn only while the pointer is over it.
    QZTScrollBarStyleAttribute attribute = m_scrollBar->styleAttribute();
    attribute.width = 8;
    attribute.trackAlwaysShown = false;
    m_scrollBar->setStyleAttribute(attribute);
    scrollArea->setVerticalScrollBar(m_scrollBar);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_scrollAreaWidget->setLayout(m_ConvertLayout);
    verticalLayoutWidget_2->hide();
    m_listLayout->setSpacing(0);
    m_listLayout->setContentsMargins(0, 0, 0, 0);
    scrollArea->show();
    InitBtn();
    InitDlg();
}

QPreferencesDlg::~QPreferencesDlg()
{
    delete m_generalWidget;
    m_generalWidget = nullptr;
    delete m_convertWidget;
    m_convertWidget = nullptr;
    // The scroll area owns the bar it was given.
    m_scrollBar = nullptr;
}

void QPreferencesDlg::InitBtn()
{
    const QString res = QIAnyUtil::getResourcePath();
    const QStringList names{tr("General"), tr("Convert")};
    const QColor white(255, 255, 255);
    for (int i = 0; i < names.size(); ++i) {
        auto *button = new QTextImageButton(this);
        button->setBtnImageAndText(res + QStringLiteral("/image/btn_prefer.png"), names[i], 9);
        if (i == 0) {
            m_curBtn = button;
            button->setCheckState(true);
        }
        button->setImgBtnRect(QRect(0, 0, 87, 21));
        button->setTextPixelSize(12);
        button->setTextColor(white, white, white, QColor(111, 111, 111));
        connect(button, &QTextImageButton::clicked, this, &QPreferencesDlg::OnLeftBtn);
        m_btnList.append(button);
        m_BtnVerticalLayout_3->addWidget(button);
        m_BtnVerticalLayout_3->setSpacing(12);
    }
    addCloseBtn(res + QStringLiteral("/image/btn_close.png"), true);
    m_btnClose->move(16, 13);
    addMinBtn(res + QStringLiteral("/image/btn_min.png"), true);
    addMaxBtn(res + QStringLiteral("/image/btn_max.png"), true);

    m_btnCancel->setBtnImageAndText(res + QStringLiteral("/image/Common_bg/btn_common.png"), tr("Cancel"), 11);
    m_btnOk->setBtnImageAndText(res + QStringLiteral("/image/Common_bg/btn_common.png"), tr("OK"), 11);
    for (QTextImageButton *b : {m_btnCancel, m_btnOk}) {
        b->setTextPixelSize(11);
        b->setTextColor(white, white, white, QColor(111, 111, 111));
    }
    connect(m_btnClose, &QImageButton::clicked, this, &QPreferencesDlg::close);
    connect(m_btnCancel, &QTextImageButton::clicked, this, &QPreferencesDlg::close);
    connect(m_btnOk, &QTextImageButton::clicked, this, &QPreferencesDlg::OnBtnOk);
    m_btnOk->setDefault(true); // Enter answers OK
    placeButtons();
}

void QPreferencesDlg::InitDlg()
{
    const QSize minimum(width() - 105, height() - 123);
    m_generalWidget = new GeneralWidget(this);
    connect(m_generalWidget, &GeneralWidget::sendUpdate, this, &QPreferencesDlg::emitAutoUpdate);
    connect(m_generalWidget, &GeneralWidget::sendLanguageName, this, &QPreferencesDlg::setLanguge);
    m_generalWidget->setMinimumSize(minimum);
    m_generalWidget->show();
    m_convertWidget = new ConvertWidget(this);
    m_convertWidget->setMinimumSize(minimum);
    m_convertWidget->hide();
    m_listLayout->addWidget(m_generalWidget);
    m_listLayout->addWidget(m_convertWidget);
    m_generalWidget->hide();
    m_convertWidget->hide();
    m_generalWidget->show();
}

void QPreferencesDlg::OnLeftBtn()
{
    auto *button = qobject_cast<QTextImageButton *>(sender());
    if (!button || button == m_curBtn)
        return;
    if (m_curBtn)
        m_curBtn->setCheckState(false);
    m_curBtn = button;
    button->setCheckState(true);
    const int index = m_BtnVerticalLayout_3->indexOf(button);
    if (index == 0)
        showPreferencesWgt(ShowGeneral);
    else if (index == 1)
        showPreferencesWgt(ShowConvert);
}

void QPreferencesDlg::showPreferencesWgt(ShowSettingDlg page)
{
    m_generalWidget->hide();
    m_convertWidget->hide();
    if (page == ShowGeneral)
        m_generalWidget->show();
    else if (page == ShowConvert)
        m_convertWidget->show();
}

void QPreferencesDlg::OnBtnOk()
{
    if (m_generalWidget)
        m_generalWidget->saveSetting();
    if (m_convertWidget)
        m_convertWidget->saveSetting();
    close();
}

bool QPreferencesDlg::setLanguge(QString)
{
    return true;
}

void QPreferencesDlg::retranslateUi()
{
    const QStringList names{tr("General"), tr("Convert")};
    for (int i = 0; i < m_btnList.size() && i < names.size(); ++i)
        m_btnList[i]->setBtnText(names[i]);
    m_btnCancel->setBtnText(tr("Cancel"));
    m_btnOk->setBtnText(tr("OK"));
    m_convertWidget->retranslateUi();
    m_generalWidget->retranslateUi();
}

// Cancel and OK sit in the 50-pixel band above the bottom margin; they follow the dialog's size.
void QPreferencesDlg::placeButtons()
{
    const int w = width();
    const int h = height();
    m_btnOk->move(w - 28 - m_btnOk->width(), h - 58 + (50 - m_btnOk->height()) / 2);
    m_btnCancel->move(w - 44 - m_btnCancel->width() - m_btnOk->width(), h - 58 + (50 - m_btnCancel->height()) / 2);
}

void QPreferencesDlg::resizeEvent(QResizeEvent *e)
{
    QNinePointsImageDialog::resizeEvent(e);
    placeButtons();
}

void QPreferencesDlg::paintEvent(QPaintEvent *e)
{
    QNinePointsImageDialog::paintEvent(e);
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(9, 30), QPoint(95, height() - 59)), QColor(62, 62, 62));
}

void QPreferencesDlg::closeEvent(QCloseEvent *e)
{
    QDialog::closeEvent(e);
}
