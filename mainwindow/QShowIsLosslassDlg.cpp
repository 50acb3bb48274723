#include "QShowIsLosslassDlg.h"

#include "SmallDialogs.h"

#include <QKeyEvent>

using SmallDialogs::res;

QShowIsLosslassDlg::QShowIsLosslassDlg(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    init();
    initControls();
    installEventFilter(this);
}

void QShowIsLosslassDlg::init()
{
    SmallDialogs::ztFrame(this, QStringLiteral("Quorvane Reelsplice"));
    resize(481, 163);
}

void QShowIsLosslassDlg::initControls()
{
    SmallDialogs::ztTitleButtons(m_btnClose, m_btnMin, m_btnMax);
    for (QZTBaseButton *b : {m_btnCancel, m_btnOk}) {
        b->setButtonImage(res("/image/Common_bg/btn_common.png"), true);
        b->resize(60, 22);
        b->setTextColor(Qt::white, Qt::white, Qt::white, QColor(55, 55, 55));
    }
    m_chkNote->setCheckImage(res("/image/Common_bg/btn_check_on1.png"), res("/image/Common_bg/btn_check_off1.png"),
                             QString(), false);
    QFont f = m_chkNote->font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    m_btnCancel->setFont(f);
    m_btnOk->setFont(f);
    m_lblMsg->setFont(f);
    f.setPixelSize(11);
    m_chkNote->setFont(f);
    for (QWidget *w : {static_cast<QWidget *>(m_chkNote), static_cast<QWidget *>(m_lblMsg)}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
        w->setPalette(pal);
    }
    m_btnCancel->setText(tr("Cancel"));
    m_btnOk->setText(tr("OK"));
    m_chkNote->setText(tr("Don't show this window again"));
    m_chkNote->adjustSize();
    m_lblMsg->setText(
        tr("The files are not in the same format, so they cannot be merged under the high-speed mode (lossless)."));
    m_lblMsg->resize(371, 51);
    m_btnCancel->hide();
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    m_btnOk->setDefault(true); // Enter answers OK
}

void QShowIsLosslassDlg::resizeEvent(QResizeEvent *e)
{
    QZTDialog::resizeEvent(e);
    const int W = width();
    const int H = height();
    SmallDialogs::placeTitleButtons(m_btnClose, m_btnMin, m_btnMax);
    m_lblMsg->move(60, 42);
    m_chkNote->move(38, m_lblMsg->y() + m_lblMsg->height() + 12);
    m_btnOk->move(W - m_btnOk->width() - 23, H - 58 + (50 - m_btnOk->height()) / 2);
    m_btnCancel->move(m_btnOk->x() - m_btnCancel->width() - 15, H - 58 + (50 - m_btnCancel->height()) / 2);
}

bool QShowIsLosslassDlg::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Escape)
            return true;
        if (k->key() == Qt::Key_W && k->modifiers() == Qt::ControlModifier) {
            close();
            return true;
        }
    }
    return QZTDialog::eventFilter(watched, e);
}
