#include "QSaveFileDlg.h"

#include "QIAnyUtil.h"
#include "SmallDialogs.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace {
QString res(const char *path)
{
    return QIAnyUtil::getResourcePath() + QLatin1String(path);
}
} // namespace

QSaveFileDlg::QSaveFileDlg(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setBackgroundImage(res("/image/Common_bg/bg_2.png"), false);
    setLogoRect(QRect(135, 5, 0, 0));
    setTitleRect(QRect(0, 8, 0, 0));
    setAlignment(Qt::AlignCenter);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setStretchPolicy(0);
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    setFont(f);
    setDlgTitle(tr("Save file"));
    setWindowIcon(QIcon(res("/image/main_logo.png")));
    setWindowTitle(tr("Save file"));
    setMoveTopHeight(30);
    setGridViewInfo(rectSize(80, 80), rectSize(80, 80), rectSize(80, 80), rectSize(80, 80));
    resize(481, 150);
    initControl();
}

void QSaveFileDlg::initControl()
{
    m_btnClose->setButtonImage(res("/image/btn_close.png"), true);
    connect(m_btnClose, &QPushButton::clicked, this, &QSaveFileDlg::onCancel);
    m_btnMin->setButtonImage(res("/image/btn_min.png"), true);
    m_btnMin->setEnabled(false);
    m_btnMax->setButtonImage(res("/image/btn_max.png"), true);
    m_btnMax->setEnabled(false);
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
    m_btnClose->move(18, 13);
    m_btnMin->move(m_btnClose->x() + m_btnClose->width() + 8, 13);
    m_btnMax->move(m_btnMin->x() + m_btnMin->width() + 8, 13);
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
    // A window-manager close must not hide the dialog while the run goes on: it is a Stop, and the
    // dialog goes when the run has ended.
    e->ignore();
    onCancel();
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
