#include "QMessageCommonDlg.h"

#include "AppBundleInfo.h"
#include "MainWindowSeams.h"
#include "QImageButton.h"
#include "SmallDialogs.h"

using SmallDialogs::res;

QMessageCommonDlg::QMessageCommonDlg(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    SmallDialogs::frame(this, 80, 380, 170);
    m_btnMin->setEnabled(false);
    m_btnMax->setEnabled(false);
    setTitle(QStringLiteral("Quorvane Reelsplice"));
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    setTextColor(Qt::white);
    setTextPixelSize(12);
    setTitleRect(QRect(0, 5, 0, 0));
    m_btnOk->setBtnImageAndText(res("/image/Common_bg/btn_common2.png"), tr("OK"), 12);
    m_btnOk->setTextColor(Qt::white);
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    m_btnOk->setDefault(true); // Enter answers OK
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::close);
    QFont f = m_labMsg->font();
    f.setFamily(QStringLiteral("helvetica neue"));
    f.setPixelSize(13);
    m_labMsg->setFont(f);
    m_labLink->setFont(f);
    QPalette pal = m_labMsg->palette();
    pal.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
    m_labMsg->setPalette(pal);
    const QString page = AppBundleInfo::downloadPage().toString();
    m_labLink->setTextFormat(Qt::RichText);
    m_labLink->setText(QStringLiteral("<style> a {text-decoration: 1} </style> <a style='color: %3;' href = %1> %2</a>")
                           .arg(page, page, SmallDialogs::bodyLinkColor().name()));
    m_labLink->adjustSize();
    connect(m_labLink, &QLabel::linkActivated, this, &QMessageCommonDlg::OnClickLink);
}

void QMessageCommonDlg::setMsgText(const QString &text)
{
    m_labMsg->setText(text);
    m_labMsg->adjustSize();
}

void QMessageCommonDlg::OnClickLink(const QString &)
{
    MainWindowSeams::openUrl(AppBundleInfo::downloadPage());
}

void QMessageCommonDlg::showEvent(QShowEvent *e)
{
    QNinePointsImageDialog::showEvent(e);
    const int W = width();
    const int H = height();
    // The message and the link below it are centred as one block, so a link longer than the message
    // is not cut by the dialog's edge.
    const int block = qMax(m_labMsg->width(), m_labLink->width());
    m_labMsg->move((W - block) / 2, (H - m_labMsg->height() - 88) / 2 + 22);
    m_labLink->move(m_labMsg->x(), m_labMsg->y() + m_labMsg->height() + 4);
    m_btnOk->move(W - m_btnOk->width() - 28, H - m_btnOk->height() - 20);
}
