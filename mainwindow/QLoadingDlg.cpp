#include "QLoadingDlg.h"

#include "QImageButton.h"
#include "SmallDialogs.h"

#include <QCloseEvent>
#include <QKeyEvent>

using SmallDialogs::res;

QLoadingDlg::QLoadingDlg(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setBackgroundImage(res("/image/Common_bg/bg_2.png"), false);
    setLogoRect(QRect(135, 5, 0, 0));
    setTitleRect(QRect(0, 8, 0, 0));
    setTextPixelSize(11);
    setTitle(QStringLiteral("Quorvane Reelsplice"));
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    setTextColor(Qt::white);
    setMoveTop(30);
    setGridViewInfo(rectSize(80, 80), rectSize(80, 80), rectSize(80, 80), rectSize(80, 80));
    setFixedSize(440, 170);
    OnInitCtrl();
}

void QLoadingDlg::OnInitCtrl()
{
    addCloseBtn(res("/image/btn_close.png"), true);
    addMinBtn(res("/image/btn_min.png"), true);
    addMaxBtn(res("/image/btn_max.png"), true);
    m_btnCancel->setBtnImageAndText(res("/image/Common_bg/btn_common.png"), tr("Stop"), 9);
    m_btnCancel->move(315, 130);
    m_btnCancel->setTextColor(Qt::white, Qt::white, Qt::white, QColor(111, 111, 111));
    m_btnCancel->setTextPixelSize(11);
    QFont f = m_labAddingPath->font();
    f.setFamily(QStringLiteral("helvetica neue"));
    f.setPixelSize(11);
    for (QLabel *label : {m_labAddingPath, m_labAdded, m_labAddingPath_2, m_labAdded_2}) {
        label->setFont(f);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
        label->setPalette(pal);
    }
    m_progressBar->setBottomImage(res("/image/Common_bg/loading_trake.png"));
    m_progressBar->setTopImage(res("/image/Common_bg/loading_trake2.png"));
    m_progressBar->setCircle(true);
    m_progressBar->setCircleLenght(7);
    m_progressBar->setEnabledPull(false);
    m_progressBar->move(30, 95);
    m_progressBar->setFixedWidth(380);
    m_progressBar->setValue(0);
    m_labAddingPath->setText(tr("Adding File:"));
    m_labAddingPath->adjustSize();
    m_labAdded->setText(tr("Added:"));
    m_labAdded->adjustSize();
    connect(m_btnClose, &QPushButton::clicked, this, &QLoadingDlg::OnCloseStop);
    connect(m_btnCancel, &QPushButton::clicked, this, &QLoadingDlg::OnCloseStop);
}

void QLoadingDlg::setAddFilePath(const QString &path)
{
    m_labAddingPath_2->setToolTip(path);
    m_labAddingPath_2->setText(
        m_labAddingPath_2->fontMetrics().elidedText(path, Qt::ElideMiddle, m_labAddingPath_2->width()));
}

void QLoadingDlg::setAddCount(const QString &text)
{
    m_labAdded_2->setText(text);
}

void QLoadingDlg::setProgressVale(float value)
{
    m_progressBar->setValue(value);
}

void QLoadingDlg::OnCloseStop()
{
    // The import ends after at most the probe under way; until then the dialog stays (its owner deletes
    // it) so that the list stays blocked while clips may still arrive.
    m_btnCancel->setEnabled(false);
    if (m_stopRequested)
        return;
    m_stopRequested = true;
    m_labAddingPath_2->setText(tr("Stopping..."));
    emit seedStopAddFile();
}

void QLoadingDlg::paintEvent(QPaintEvent *e)
{
    QNinePointsImageDialog::paintEvent(e);
}

void QLoadingDlg::resizeEvent(QResizeEvent *e)
{
    QNinePointsImageDialog::resizeEvent(e);
    const int W = width();
    m_btnCancel->move(W - 30 - m_btnCancel->width(), 130);
    m_labAddingPath->move(30, 45);
    const int pathLeft = m_labAddingPath->x() + m_labAddingPath->width() + 5;
    m_labAddingPath_2->setGeometry(pathLeft, 45, W - 26 - pathLeft + 1, 15);
    m_labAdded->move(30, 70);
    m_labAdded_2->setGeometry(m_labAdded->x() + m_labAdded->width() + 5, 70, 50, 15);
}

void QLoadingDlg::closeEvent(QCloseEvent *e)
{
    e->ignore();
    OnCloseStop();
}

void QLoadingDlg::keyPressEvent(QKeyEvent *e)
{
    // Escape is a Stop too, never a silent hide.
    if (e->key() == Qt::Key_Escape) {
        OnCloseStop();
        return;
    }
    QNinePointsImageDialog::keyPressEvent(e);
}
