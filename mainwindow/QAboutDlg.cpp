#include "QAboutDlg.h"

#include "AppBundleInfo.h"
#include "MainWindowSeams.h"
#include "QConverterOperate.h"
#include "QImageButton.h"
#include "SmallDialogs.h"
#include "ZtCommonInterface.h"

#include <QPainter>

using SmallDialogs::res;

QAboutDlg::QAboutDlg(QWidget *parent) : QNinePointsImageDialog(parent)
{
    setupUi(this);
    SmallDialogs::frame(this, 80, 400, 250);
    m_btnMin->setEnabled(false);
    m_btnMax->setEnabled(false);
    setTitle(tr("About"));
    setWindowTitle(tr("About"));
    setTextColor(Qt::white);
    setTextPixelSize(12);
    setTitleRect(QRect(0, 8, 0, 0));
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::close);

    m_labProject->setText(QStringLiteral("Quorvane Reelsplice"));
    m_labVersion->setText(QStringLiteral("%1 %2").arg(tr("Version"), AppBundleInfo::shortVersion()));
    m_labCopyright->setText(
        tr("Copyright %1 %2. All rights reserved.").arg(QChar(0x00A9)).arg(ZtCommonInterface::makerName()));
    const QString home = AppBundleInfo::homePage().toString();
    m_labHome->setText(QStringLiteral("<style> a {text-decoration: 1} </style> <a style='color: %3;' href = %1> %2</a>")
                           .arg(home, home, SmallDialogs::bodyTextColor().name()));
    m_labHome->setTextFormat(Qt::RichText);
    QPalette link = m_labHome->palette();
    link.setColor(QPalette::Link, SmallDialogs::bodyTextColor());
    link.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
    m_labHome->setPalette(link);
    m_labVisit->setText(tr("Visit:"));
    m_labProjectVersion->setText(QString());

    QFont f = m_labProject->font();
    f.setFamily(QStringLiteral("helvetica neue"));
    f.setPixelSize(15);
    m_labProject->setFont(f);
    m_labProject->adjustSize();
    f.setPixelSize(13);
    for (QLabel *l : {m_labVersion, m_labVisit, m_labHome})
        l->setFont(f);
    m_labVisit->adjustSize();
    m_labHome->adjustSize();
    if (QConverterOperate::getLanguageType() == 3) {
        f.setPixelSize(11);
        m_labCopyright->setFont(f);
    }
    QPalette pal = m_labProject->palette();
    pal.setColor(QPalette::WindowText, SmallDialogs::bodyTextColor());
    for (QLabel *l : {m_labProject, m_labVersion, m_labVisit, m_labCopyright})
        l->setPalette(pal);
    connect(m_labHome, &QLabel::linkActivated, this, &QAboutDlg::OnClickHome);
    m_logo = QImage(res("/image/Common_bg/no_title_logo.png"))
                 .scaled(120, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_logo.setDevicePixelRatio(2.0);
    placeLabels();
}

void QAboutDlg::OnClickHome(const QString &)
{
    MainWindowSeams::openUrl(AppBundleInfo::homePage());
}

void QAboutDlg::placeLabels()
{
    m_labProject->move(120, 82);
    m_labProjectVersion->move(125 + m_labProject->width(), 80);
    m_labVersion->setGeometry(120, 102, 300, 20);
    m_labVisit->move(50, 152);
    m_labHome->move(50 + m_labVisit->width() + 4, 150);
    m_labCopyright->move(50, 182);
}

void QAboutDlg::resizeEvent(QResizeEvent *e)
{
    QNinePointsImageDialog::resizeEvent(e);
    placeLabels();
}

void QAboutDlg::paintEvent(QPaintEvent *e)
{
    // Labels are placed on resize, not here: painting changes no geometry.
    QNinePointsImageDialog::paintEvent(e);
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QPoint(50, 75), m_logo);
}
