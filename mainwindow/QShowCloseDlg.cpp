#include "QShowCloseDlg.h"

#include "QImageButton.h"
#include "QVideoSettingXml.h"
#include "SmallDialogs.h"

using SmallDialogs::res;

QShowCloseDlg::QShowCloseDlg(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    SmallDialogs::frame(this, 50, 325, 170);
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    m_btnMin->setEnabled(false);
    m_btnMax->setEnabled(false);
    const QColor disabled(55, 55, 55);
    SmallDialogs::stripButton(m_btnCancel, tr("Cancel"), res("/image/Common_bg/btn_common.png"), 60, 22, disabled);
    SmallDialogs::stripButton(m_btnOk, tr("OK"), res("/image/Common_bg/btn_common.png"), 60, 22, disabled);
    m_btnCancel->move(230, 125);
    m_btnCancel->hide();
    // The check text and OK share the bottom line: OK stands right of the text's box.
    m_btnOk->move(245, 120);
    SmallDialogs::checkButton(m_radioMin, true, tr("Minimize to Tray"), 11);
    SmallDialogs::checkButton(m_radioClose, true, tr("Exit"), 11);
    SmallDialogs::checkButton(m_chkNote, false, tr("Don't show this window again"), 11);
    m_chkNote->setFixedWidth(201);
    m_chkNote->setChecked(false);
    m_radioMin->setGeometry(50, 55, 201, 21);
    m_radioClose->setGeometry(50, 80, 111, 21);
    m_chkNote->setGeometry(35, 120, 201, 21);
    const bool exit = QVideoSettingXml::GetItemValue("CLOSE_ITEM", "bIsCloseDlg", "Y") == QLatin1String("Y");
    m_radioClose->setChecked(exit);
    m_radioMin->setChecked(!exit);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    m_btnOk->setDefault(true); // Enter answers OK
    connect(m_radioClose, &QCheckButton::clicked, this, &QShowCloseDlg::OnClickRadio);
    connect(m_radioMin, &QCheckButton::clicked, this, &QShowCloseDlg::OnClickRadio);
}

void QShowCloseDlg::OnClickRadio()
{
    const bool close = sender() == m_radioClose;
    m_radioClose->setChecked(close);
    m_radioMin->setChecked(!close);
}

void QShowCloseDlg::paintEvent(QPaintEvent *e)
{
    QNinePointsImageDialog::paintEvent(e);
}
