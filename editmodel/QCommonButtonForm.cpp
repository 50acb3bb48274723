#include "QCommonButtonForm.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QZTBaseButton.h"

#include <QPainter>

QCommonButtonForm::QCommonButtonForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

void QCommonButtonForm::styleButton(QZTBaseButton *button, const QString &text)
{
    button->setText(text);
    button->setToolTip(text);
    button->setButtonImage(QIAnyUtil::getResourcePath() + QStringLiteral("/VEditSource/btn_common.png"), true);
    const QColor white(255, 255, 255);
    button->setTextColor(white, white, white, QColor(101, 101, 101));
    button->resize(110, 22);
    QVEInitCtrlStyle::SetFont(button, 12);
}

void QCommonButtonForm::initControls()
{
    styleButton(m_btnReset, tr("Reset"));
    styleButton(m_btnApplyToAll, tr("Apply to all"));
    connect(m_btnReset, SIGNAL(clicked()), this, SIGNAL(emitReset()));
    connect(m_btnApplyToAll, SIGNAL(clicked()), this, SIGNAL(emitApplyToAll()));
}

void QCommonButtonForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
}

void QCommonButtonForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int W = width();
    const int H = height();
    // Integer division truncates toward zero, also for a bar smaller than its buttons.
    m_btnReset->move((W - m_btnReset->width()) / 2, (H - m_btnReset->height() - m_btnApplyToAll->height() - 10) / 2);
    const int resetBottom = m_btnReset->y() + m_btnReset->height() - 1;
    m_btnApplyToAll->move((W - m_btnApplyToAll->width()) / 2, resetBottom + 10);
}

void QCommonButtonForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
}
