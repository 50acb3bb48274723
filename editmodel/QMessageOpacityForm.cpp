#include "QMessageOpacityForm.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"

#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

QMessageOpacityForm::QMessageOpacityForm(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    initControls();
    setFixedSize(351, 125);
    setGridViewInfo(rectSize(50, 50), rectSize(50, 50), rectSize(50, 50), rectSize(50, 50));
}

QMessageOpacityForm::~QMessageOpacityForm()
{
    delete m_timer;
    m_timer = nullptr;
}

void QMessageOpacityForm::initControls()
{
    m_timer = new QTimer(this);
    const QString res = QIAnyUtil::getResourcePath();
    m_btnClose->setButtonImage(res + QStringLiteral("/VEditSource/btn_close.png"), true);
    m_btnMin->setButtonImage(res + QStringLiteral("/VEditSource/btn_min.png"), true);
    m_btnMin->setEnabled(false);
    m_btnMax->setButtonImage(res + QStringLiteral("/VEditSource/btn_max.png"), true);
    m_btnMax->setEnabled(false);
    m_btnOk->setButtonImage(res + QStringLiteral("/VEditSource/btn_common.png"), true);
    m_btnOk->setText(tr("Ok"));
    m_btnOk->setTextColor(Qt::white, Qt::white, Qt::white, QColor(101, 101, 101));
    // The OK button belongs to the placed-text variant only.
    m_btnOk->hide();
    for (QLabel *label : {m_lblSuppport, m_lblText}) {
        QVEInitCtrlStyle::SetPalette(label, QPalette::WindowText, QColor(255, 255, 255));
        QVEInitCtrlStyle::SetFont(label, 12);
    }
    QVEInitCtrlStyle::SetPalette(m_ckbNote, QPalette::WindowText, QColor(255, 255, 255));
    m_lblSuppport->setText(
        tr("<html><head/><body><p><a href=\"https://www.quorvane.example/support\"><span style=\" font-size:8pt; "
           "text-decoration: underline; color:#0000ff;\">Click here for support!</span></a></p></body></html>"));
    connect(m_timer, &QTimer::timeout, this, &QMessageOpacityForm::onTimer);
    connect(m_btnClose, &QAbstractButton::clicked, this, &QMessageOpacityForm::onClose);
    connect(m_btnOk, &QAbstractButton::clicked, this, &QMessageOpacityForm::onClose);
    connect(m_lblSuppport, &QLabel::linkActivated, this, &QMessageOpacityForm::openUrl);
}

void QMessageOpacityForm::setBackgroundImage(const QString &path, bool resizable)
{
    QZTDialog::setBackgroundImage(path, resizable);
    setGridViewInfo(rectSize(50, 50), rectSize(50, 50), rectSize(50, 50), rectSize(50, 50));
}

void QMessageOpacityForm::startOpacity()
{
    setWindowOpacity(1.0);
    m_timer->start(kHoldMs);
}

void QMessageOpacityForm::placeText(const QString &text, int x, int y)
{
    // The owner sets the background before each message, possibly through the base class (which gives
    // it corners of a third of the image): the notice's own corners hold for every message.
    setGridViewInfo(rectSize(50, 50), rectSize(50, 50), rectSize(50, 50), rectSize(50, 50));
    m_lblText->setText(text);
    m_lblText->adjustSize();
    // The text keeps the same margin on both sides: as wide as the notice it would run past its right edge.
    m_lblText->setGeometry(x, y, qMax(0, width() - 2 * x), 40);
    m_lblText->setWordWrap(true);
    m_lblText->setAlignment(Qt::AlignTop);
}

void QMessageOpacityForm::setMessageText(const QString &text)
{
    placeText(text, 50, height() / 2 - 5);
}

void QMessageOpacityForm::setMessageText(const QString &text, int x, int y)
{
    placeText(text, x, y);
    m_btnOk->show();
}

void QMessageOpacityForm::setShowlink(int x, int y, bool show)
{
    m_lblSuppport->setVisible(show);
    m_lblSuppport->move(x, y);
}

void QMessageOpacityForm::setCheckShow(bool show)
{
    m_ckbNote->setVisible(show);
}

void QMessageOpacityForm::onTimer()
{
    const double o = windowOpacity();
    if (o > 0.9)
        m_timer->start(kStepMs);
    if (o < 0.1) {
        m_timer->stop();
        close();
        return;
    }
    setWindowOpacity(o - 0.1);
}

void QMessageOpacityForm::onClose()
{
    setWindowOpacity(1.0);
    m_timer->stop();
    close();
}

void QMessageOpacityForm::openUrl(QString link)
{
    QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}

void QMessageOpacityForm::enterEvent(QEvent *event)
{
    if (m_fadeOnHover) {
        setWindowOpacity(1.0);
        m_timer->stop();
    }
    QZTDialog::enterEvent(event);
}

void QMessageOpacityForm::leaveEvent(QEvent *event)
{
    // A notice closed under the pointer is told the pointer left as it goes: it must not start fading again.
    if (m_fadeOnHover && isVisible()) {
        setWindowOpacity(1.0);
        m_timer->start(kHoldMs);
    }
    QZTDialog::leaveEvent(event);
}

void QMessageOpacityForm::resizeEvent(QResizeEvent *event)
{
    QZTDialog::resizeEvent(event);
    m_btnClose->move(13, 13);
    m_btnMin->move(m_btnClose->x() + m_btnClose->width() + 8, 13);
    m_btnMax->move(m_btnMin->x() + m_btnMin->width() + 8, 13);
}
