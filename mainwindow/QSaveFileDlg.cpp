#include "QSaveFileDlg.h"

#include "SmallDialogs.h"

#include <QCloseEvent>
#include <QKeyEvent>

using SmallDialogs::res;

QSaveFileDlg::QSaveFileDlg(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    SmallDialogs::ztFrame(this, tr("Save file"));
    setLogoRect(QRect(135, 5, 0, 0));
    resize(481, 150);
    initControl();
}

void QSaveFileDlg::initControl()
{
    SmallDialogs::ztTitleButtons(m_btnClose, m_btnMin, m_btnMax);
    connect(m_btnClose, &QPushButton::clicked, this, &QSaveFileDlg::onCancel);
    m_btnCancel->setButtonImage(res("/image/Common_bg/btn_common.png"), true);
    m_btnCancel->setText(tr("Stop"));
    m_btnCancel->resize(59, 20);
    m_btnCancel->setTextColor(Qt::white);
    connect(m_btnCancel, &QPushButton::clicked, this, &QSaveFileDlg::onCancel);
    m_progressBar->setBottomImage(res("/image/Common_bg/loading_trake.png"));
    m_progressBar->setTopImage(res("/image/Common_bg/loading_trake2.png"));
    m_progressBar->setCircle(true);
    m_progressBar->setFormat(QString());
    m_progressBar->setValue(0);
    for (QLabel *label : {m_lblSavefile1, m_lblSaveCount1, m_lblSavefile2, m_lblSaveCount2}) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
        label->setPalette(pal);
        QFont f = label->font();
        f.setFamily(QStringLiteral("helvetica neue"));
        f.setPixelSize(11);
        label->setFont(f);
    }
    m_lblSavefile1->setText(tr("Save file:"));
    m_lblSavefile1->adjustSize();
    m_lblSaveCount1->setText(tr("Saved:"));
    m_lblSaveCount2->hide();
    m_lblSaveCount1->hide();
}

void QSaveFileDlg::setProgressValue(float value)
{
    m_progressBar->setValue(double(value));
}

void QSaveFileDlg::setSaveCount(const QString &text)
{
    m_lblSaveCount2->setText(text);
}

void QSaveFileDlg::setSaveFilename(const QString &name)
{
    m_lblSavefile2->setText(name);
    m_lblSavefile2->setToolTip(name);
    m_lblSavefile2->setText(m_lblSavefile2->fontMetrics().elidedText(name, Qt::ElideMiddle, m_lblSavefile2->width()));
}

void QSaveFileDlg::onCancel()
{
    m_btnCancel->setEnabled(false);
    if (m_stopRequested)
        return;
    m_stopRequested = true;
    emit emitCancel();
}

void QSaveFileDlg::resizeEvent(QResizeEvent *e)
{
    QZTDialog::resizeEvent(e);
    const int W = width();
    const int H = height();
    SmallDialogs::placeTitleButtons(m_btnClose, m_btnMin, m_btnMax);
    m_btnCancel->move(W - m_btnCancel->width() - 38, H - m_btnCancel->height() - 23);
    m_lblSavefile1->move(38, 45);
    m_lblSavefile2->setGeometry(m_lblSavefile1->width() + 42, 45, W - m_lblSavefile1->width() - 42 - 38,
                                m_lblSavefile2->height());
    const int barWidth = W - 76;
    m_progressBar->setGeometry((W - barWidth) / 2, m_lblSavefile2->y() + m_lblSavefile2->height() - 1 + 15, barWidth,
                               8);
}

void QSaveFileDlg::closeEvent(QCloseEvent *e)
{
    // A window-manager close neither hides the dialog nor stops the run: only Stop and the title bar's own
    // close stop it, and the owner deletes the dialog when the run has ended.
    e->ignore();
}

bool QSaveFileDlg::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter ||
            (k->key() == Qt::Key_W && k->modifiers() == Qt::ControlModifier))
            return true;
    }
    return QZTDialog::eventFilter(watched, e);
}

void QSaveFileDlg::keyPressEvent(QKeyEvent *e)
{
    QWidget::keyPressEvent(e);
}
