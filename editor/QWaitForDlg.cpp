#include "QWaitForDlg.h"

#include <QCloseEvent>

QWaitForDlg::QWaitForDlg(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Loading"));
    m_proWaitFor->setIndicatorPolicy(QProgressIndicator::Dots);
    m_proWaitFor->resize(80, 80);
    m_proWaitFor->setColor(QColor(215, 63, 63));
    m_proWaitFor->startAnimation();
}

void QWaitForDlg::reject()
{
    // Escape lands here: loading cannot be abandoned halfway, the editor ends the box itself.
}

void QWaitForDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void QWaitForDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_proWaitFor->move((width() - m_proWaitFor->width()) / 2, (height() - m_proWaitFor->height()) / 2);
}
