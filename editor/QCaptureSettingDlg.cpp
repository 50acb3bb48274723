#include "QCaptureSettingDlg.h"

#include "EditorFileDialog.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVedioEditSettingXml.h"
#include "QZTMessageBox.h"
#include "SkinStyleHelpers.h"

#include <QCloseEvent>

namespace {
using SkinStyleHelpers::res;
} // namespace

QCaptureSettingDlg::QCaptureSettingDlg(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setDlgTitle(tr("Snapshot Setting"));
    setWindowTitle(tr("Snapshot Setting"));
    setTitleRect(QRect(0, 8, 0, 0));
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QVEInitCtrlStyle::SetPalette(this, QPalette::WindowText, QColor(255, 255, 255));
    setMoveTopHeight(30);
    setStretchWidth(6);
    setBackgroundImage(res("/VEditSource/bg_3.png"), false);
    setAttribute(Qt::WA_TranslucentBackground);
    QFont font = this->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    setFont(font);
    initControls();
    initCbbSuffix();
    setSavePath();
    setFixedSize(360, 230);
    setGridViewInfo(rectSize(50, 50), rectSize(50, 50), rectSize(50, 50), rectSize(50, 50));
}

void QCaptureSettingDlg::initControls()
{
    m_btnClose->setButtonImage(res("/VEditSource/btn_close.png"), true);
    m_btnMin->setButtonImage(res("/VEditSource/btn_min.png"), true);
    m_btnMax->setButtonImage(res("/VEditSource/btn_max.png"), true);
    m_btnMin->setEnabled(false);
    m_btnMax->setEnabled(false);
    m_btnOpen->setButtonImage(res("/VEditSource/btn_family.png"), true);
    m_btnOpen->setToolTip(tr("Please choose destination folder"));
    QVEInitCtrlStyle::SetQZTLineEdit(m_editPath);
    m_editPath->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_editPath->setReadOnly(true);
    QVEInitCtrlStyle::SetLabel2(m_labFormat, tr("Format:"), 12);
    QVEInitCtrlStyle::SetLabel2(m_labPath, tr("Save to:"), 12);
    m_btnOk->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
    QVEInitCtrlStyle::SetZTButton(m_btnCancel, 64, 28);
    QVEInitCtrlStyle::SetZTButton(m_btnOk, 64, 28);
    QVEInitCtrlStyle::SetQZTComboBox(m_cmbFormat);
    m_cmbFormat->setBtnMargins(83, 8, 0, 0);
    m_cmbFormat->addItems({QStringLiteral("JPG"), QStringLiteral("PNG")});
    m_cmbFormat->setCurrentIndex(0);
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(m_btnOpen, &QPushButton::clicked, this, &QCaptureSettingDlg::onOpenPath);
    connect(m_btnOk, &QPushButton::clicked, this, &QCaptureSettingDlg::onOk);
}

void QCaptureSettingDlg::initCbbSuffix()
{
    const QString stored = QVedioEditSettingXml::getCaptureImgSuffix();
    for (int i = 0; i < m_cmbFormat->count(); ++i) {
        if (m_cmbFormat->itemText(i) == stored) {
            m_cmbFormat->setCurrentIndex(i);
            break;
        }
    }
}

void QCaptureSettingDlg::setSavePath()
{
    m_savePath = QVedioEditSettingXml::getCaptrueImaSavePath();
    m_savePath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    m_editPath->setText(m_savePath);
}

void QCaptureSettingDlg::onOpenPath()
{
    const QString folder = EditorFileDialog::getExistingDirectory(this, tr("Save to"), QStringLiteral("."));
    if (folder.isEmpty())
        return;
    m_savePath = folder;
    m_editPath->setText(m_savePath);
}

void QCaptureSettingDlg::onOk()
{
    // A setting that could not be stored must not look stored: the dialog stays open and says so.
    if (!QVedioEditSettingXml::setCaptureImgSuffix(m_cmbFormat->currentText()) ||
        !QVedioEditSettingXml::setCaptrueImaPath(m_savePath)) {
        QZTMessageBox::ShowMessage(this, tr("Snapshot Setting"), tr("The snapshot settings could not be saved."),
                                   QZTMessageBox::Warning, QZTMessageBox::StyleOk);
        return;
    }
    accept();
}

void QCaptureSettingDlg::closeEvent(QCloseEvent *event)
{
    emit emitDlgClose();
    QDialog::closeEvent(event);
}

void QCaptureSettingDlg::resizeEvent(QResizeEvent *event)
{
    QZTDialog::resizeEvent(event);
    m_btnClose->move(13, 13);
    m_btnMin->move(m_btnClose->x() + m_btnClose->width() + 8, 13);
    m_btnMax->move(m_btnMin->x() + m_btnMin->width() + 8, 13);
    m_labFormat->move(28, 63);
    m_cmbFormat->move(m_labFormat->geometry().right() + 6, 63);
    m_labPath->move(28, m_labFormat->geometry().bottom() + 20);
    m_editPath->move(m_labPath->geometry().right() + 6, m_labPath->y());
    m_btnOpen->move(m_editPath->geometry().right(), m_labPath->y());
    m_btnOk->move(width() - 28 - m_btnOk->width(), height() - 28 - m_btnOk->height());
    m_btnCancel->move(m_btnOk->x() - 20 - m_btnCancel->width(), height() - 28 - m_btnCancel->height());
}
