#include "QEditTipDlg.h"

#include "QImageButton.h"
#include "SmallDialogs.h"

using SmallDialogs::res;

QEditTipDlg::QEditTipDlg(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    SmallDialogs::frame(this, 50, 425, 170);
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    m_btnMin->setEnabled(false);
    m_btnMax->setEnabled(false);
    const QColor disabled(55, 55, 55);
    SmallDialogs::stripButton(m_btnCancel, tr("Cancel"), res("/image/Common_bg/btn_common.png"), 60, 22, disabled);
    SmallDialogs::stripButton(m_btnOk, tr("OK"), res("/image/Common_bg/btn_common.png"), 60, 22, disabled);
    m_btnCancel->move(330, 125);
    m_btnCancel->hide();
    m_btnOk->move(330, 120);
    SmallDialogs::checkButton(m_chkNote, false, tr("Don't show this window again"), 11);
    m_chkNote->setChecked(false);
    QFont f = m_chkNote->font();
    m_lblText->setFont(f);
    QPalette pal = m_lblText->palette();
    pal.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
    m_lblText->setPalette(pal);
    m_lblText->setWordWrap(true);
    m_lblText->resize(width() - 80, m_lblText->height());
    m_lblText->move(40, 50);
    m_chkNote->setGeometry(40, 120, 201, 21);
    m_lblText->setText(tr("Note: The currently selected output mode is High-Speed mode (Lossless). The edited effect "
                          "won't be applied to the output file."));
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    m_btnOk->setDefault(true); // Enter answers OK
}

void QEditTipDlg::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
}
