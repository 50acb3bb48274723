#include "QZTMessageDlg.h"

#include "MessageDlgLayout.h"
#include "NineGridDraw.h"
#include "QIAnyUtil.h"
#include "SkinImageLoad.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {
QSize primaryScreenSize()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}
} // namespace

QZTMessageDlg::QZTMessageDlg(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setWindowTitle(m_title);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground, true);
    // Images come from the bundle's resource folder, never from the process's current folder.
    m_appPath = QIAnyUtil::getResourcePath();
    setBackgroundImage(m_appPath + QStringLiteral("/pic/bg_msg.png"));
    m_baseRect = QRect(0, 0, 306, 189);
    const QSize screen = primaryScreenSize();
    const int left = (screen.width() - 306) / 2;
    const int top = (screen.height() - 189) / 2;
    m_windowRect = QRect(QPoint(left, top), QPoint(left + 306, top + 189));
    m_titleIcon = loadPixmap("/pic/msg_title_icon.png");
    InitConnects();
}

QZTMessageDlg::~QZTMessageDlg() = default;

QPixmap QZTMessageDlg::loadPixmap(const char *name) const
{
    QPixmap pixmap;
    SkinImageLoad::pixmap2x(m_appPath + QLatin1String(name), pixmap);
    return pixmap;
}

void QZTMessageDlg::InitConnects()
{
    connect(m_btnOk, &QPushButton::clicked, this, &QZTMessageDlg::OnBtnOk, Qt::UniqueConnection);
    m_btnOk->setDefault(true); // Enter answers OK
    connect(m_btnCancel, &QPushButton::clicked, this, &QZTMessageDlg::OnBtnCancel, Qt::UniqueConnection);
    connect(m_btnClose, &QPushButton::clicked, this, &QZTMessageDlg::OnBtnCancel, Qt::UniqueConnection);
}

void QZTMessageDlg::setMovePos(int x, int y)
{
    m_moveX = x;
    m_moveY = y;
}

bool QZTMessageDlg::setBackgroundImage(const QString &path)
{
    // Skin images are 2x assets: corners are a third of the logical size.
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    m_corners.thirdsOf(m_background);
    update();
    return true;
}

void QZTMessageDlg::setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight)
{
    m_corners.set(topLeft, topRight, bottomLeft, bottomRight);
    update();
}

void QZTMessageDlg::OnBtnOk()
{
    if (m_style & 0x200)
        return;
    done(m_style & 0x400 ? QMessageBox::Yes : QMessageBox::Ok);
}

void QZTMessageDlg::OnBtnCancel()
{
    done(m_style & 0x400 ? QMessageBox::No : QMessageBox::Cancel);
}

void QZTMessageDlg::showEvent(QShowEvent *e)
{
    for (QFont *font : {&m_titleFont, &m_messageFont}) {
        font->setFamily(QStringLiteral("Tahoma"));
        font->setPixelSize(12);
    }
    const MessageDlgLayout::Result laid =
        MessageDlgLayout::layout(m_message, QFontMetrics(m_messageFont), m_baseRect.size(), m_windowRect,
                                 primaryScreenSize(), (m_style & 0x2) != 0);
    m_windowRect = laid.window;
    m_messageRect = laid.message;

    m_btnClose->setBtnImage(m_appPath + QStringLiteral("/pic/btn_close.png"));
    // 8 pixels in from the panel's right edge and centred in its 22-pixel title band: the background's
    // first 8 pixels are its transparent shadow, and the panel's corner is rounded.
    const int shadow = 8, titleBand = 22;
    m_btnClose->move(m_windowRect.right() - m_windowRect.left() - 7 - shadow - m_btnClose->width(),
                     shadow + (titleBand - m_btnClose->height()) / 2);
    QString okText = QObject::tr("OK");
    QString cancelText = QObject::tr("Stop");
    int pixelSize = 12;
    if (m_style & 0x200) {
        okText = QStringLiteral("Restart");
        cancelText = QStringLiteral("Restart Later");
        pixelSize = 9;
    } else if (m_style & 0x400) {
        okText = QObject::tr("YES");
        cancelText = QObject::tr("NO");
        pixelSize = 9;
    }
    const QString strip = m_appPath + QStringLiteral("/pic/btn_common.png");
    m_btnOk->setBtnImageAndText(strip, okText, pixelSize);
    m_btnCancel->setBtnImageAndText(strip, cancelText, pixelSize);
    for (QTextImageButton *button : {m_btnOk, m_btnCancel}) {
        button->setImgBtnRect(QRect(0, 0, 80, 25));
        button->setTextColor(Qt::white, Qt::white, Qt::white, QColor(58, 48, 48));
    }

    m_statusIcon = QPixmap();
    if (m_style & 0x2) {
        switch (m_style & 0x30) {
        case 0x10:
            m_statusIcon = loadPixmap("/pic/warning.png");
            break;
        case 0x20:
            m_statusIcon = loadPixmap("/pic/Success.png");
            break;
        case 0x30:
            m_statusIcon = loadPixmap("/pic/error.png");
            break;
        default:
            break;
        }
    }
    setGeometry(m_windowRect);
    if (m_moveX != -1)
        move(m_moveX, m_moveY);
    m_titleRect = QRect(47, 16, 293, 23);
    placeButtons();
    QDialog::showEvent(e);
}

void QZTMessageDlg::placeButtons()
{
    const int Wd = m_windowRect.right() + 1 - m_windowRect.left();
    const int y = m_windowRect.bottom() - m_windowRect.top() - 19 - m_btnOk->height();
    if (twoButtons()) {
        m_btnCancel->show();
        int cancelX = Wd - m_btnCancel->width() - 20;
        int okX = Wd - m_btnCancel->width() - m_btnOk->width() - 30;
        m_btnCancel->move(cancelX, y);
        if (okX < 15) {
            okX = 15;
            cancelX = (Wd - m_btnCancel->width() - 20) + (Wd - 16 - m_btnCancel->geometry().right());
            m_btnCancel->move(cancelX, y);
        }
        m_btnOk->move(okX, y);
    } else {
        m_btnCancel->hide();
        m_btnOk->move(m_windowRect.right() - m_windowRect.left() - 24 - m_btnOk->width(), y);
    }
}

void QZTMessageDlg::SetTitleImageRect()
{
    m_titleIconRect = QRect(18, 13, m_titleIcon.width() / 2, m_titleIcon.height() / 2);
}

void QZTMessageDlg::SetIconRect()
{
    const int iw = m_statusIcon.width() / 2;
    const int ih = m_statusIcon.height() / 2;
    m_statusIconRect =
        QRect(m_messageRect.left() - 10 - iw, m_messageRect.top() + (m_messageRect.height() - ih) / 2 + 4, iw, ih);
}

void QZTMessageDlg::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (!m_background.isNull())
        NineGridDraw::drawCorners(p, width(), height(), m_background, m_corners);
    const QFont oldFont = p.font();
    p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    p.setFont(m_titleFont);
    p.drawText(m_titleRect, Qt::TextWordWrap, m_title);
    p.setFont(m_messageFont);
    p.drawText(m_messageRect, Qt::TextWordWrap, m_message);
    p.setFont(oldFont);
    SetTitleImageRect();
    if (!m_titleIcon.isNull())
        p.drawPixmap(m_titleIconRect.topLeft(), m_titleIcon);
    if ((m_style & 0x2) && !m_statusIcon.isNull()) {
        SetIconRect();
        p.drawPixmap(m_statusIconRect.topLeft(), m_statusIcon);
    }
}

void QZTMessageDlg::DrawTop(QPainter *p)
{
    if (p && !m_top.isNull())
        p->drawPixmap(QRect(0, 0, m_windowRect.right() + 1 - m_windowRect.left(), m_top.height()), m_top);
}

void QZTMessageDlg::DrawBottom(QPainter *p)
{
    if (p && !m_bottom.isNull())
        p->drawPixmap(QRect(0, m_windowRect.bottom() + 1 - m_windowRect.top() - m_bottom.height(),
                            m_windowRect.right() + 1 - m_windowRect.left(), m_bottom.height()),
                      m_bottom);
}

void QZTMessageDlg::DrawLeft(QPainter *p)
{
    if (p && !m_left.isNull())
        p->drawPixmap(
            QRect(0, m_top.height(), m_left.width(), m_windowRect.bottom() - m_windowRect.top() - 4 - m_top.height()),
            m_left);
}

void QZTMessageDlg::DrawRight(QPainter *p)
{
    if (p && !m_right.isNull()) {
        const int Wd = m_windowRect.right() + 1 - m_windowRect.left();
        p->drawPixmap(QRect(Wd - m_right.width(), m_top.height(), m_right.width(),
                            m_windowRect.bottom() - m_windowRect.top() - 4 - m_top.height()),
                      m_right);
    }
}

void QZTMessageDlg::DrawBorder(QPainter *p)
{
    if (p)
        p->drawRect(QRect(QPoint(0, 0), QPoint(width() - 1, height() - 1)));
}

void QZTMessageDlg::mousePressEvent(QMouseEvent *e)
{
    m_pressOffset = e->globalPos() - pos();
    QDialog::mousePressEvent(e);
}

void QZTMessageDlg::mouseMoveEvent(QMouseEvent *e)
{
    if (e->buttons() != Qt::NoButton && m_pressOffset.y() < 39)
        move(e->globalPos() - m_pressOffset);
    QDialog::mouseMoveEvent(e);
}

void QZTMessageDlg::mouseReleaseEvent(QMouseEvent *e)
{
    QDialog::mouseReleaseEvent(e);
}

int ShowMessage(const char *text, const char *title, unsigned int style)
{
    return ShowMessage(text ? QString::fromUtf8(text) : QString(), title ? QString::fromUtf8(title) : QString(), style);
}

int ShowMessage(const QString &text, const QString &title, unsigned int)
{
    return QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
}
