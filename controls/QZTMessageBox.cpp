#include "QZTMessageBox.h"

#include "QProjectConfig.h"
#include "QVeAnyUtiliy.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

void (*QZTMessageBox::s_optionCallback)(QZTMessageBoxOption *) = nullptr;

QZTMessageBoxOption::QZTMessageBoxOption()
    : okText(QCoreApplication::translate("QZTMessageBox", "OK")),
      cancelText(QCoreApplication::translate("QZTMessageBox", "Cancel")),
      yesText(QCoreApplication::translate("QZTMessageBox", "Yes")),
      noText(QCoreApplication::translate("QZTMessageBox", "No")), buttonTextColors{Qt::black, Qt::black, Qt::black,
                                                                                   Qt::black}
{
    QProjectConfig *config = QProjectConfig::getProjectConfig();
    titleFont = config->font();
    messageFont = config->font();
    dlgTop = config->dlgTop();
    dlgBottom = config->dlgBottom();
    transparentMargins = config->getTransparentMargins();
}

QZTMessageBox::QZTMessageBox(QWidget *parent) : QZTDialog(parent, 1)
{
    m_closeButton = new QZTBaseButton(this);
    if (s_optionCallback)
        s_optionCallback(&m_option);
    QWidget::setPalette(m_option.palette);

    setAttribute(Qt::WA_TranslucentBackground, true);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    const QString res = QVeAnyUtiliy::getResourcePath();
    setBackgroundImage(res + QStringLiteral("/pic/bg_msg.png"), false);
    const QString name = QProjectConfig::getProjectConfig()->projectName();
    setWindowTitle(name);
    setDlgTitle(name);
    const QMargins &m = m_option.transparentMargins;
    setTitleRect(QRect(0, m.top(), 0, 0));
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    setMoveTopHeight(m_option.dlgTop + m.top());
    setFont(m_option.titleFont);
    setStretchPolicy(0);
    setGridViewInfo(rectSize(58, 58), rectSize(58, 58), rectSize(58, 58), rectSize(58, 58));

    const int h = m.bottom() + m_option.dlgTop + m_option.dlgBottom + m.top() + 82;
    m_minimumSize = QSize(int(h * 1.618), h);
    resize(m_minimumSize);

    m_closeButton->setButtonImage(res + QStringLiteral("/pic/btn_close.png"), true);
    connect(m_closeButton, &QAbstractButton::clicked, this, &QZTMessageBox::OnBtnClose);
}

QZTMessageBox::~QZTMessageBox()
{
    releaseBtnList();
}

void QZTMessageBox::setOptionCallback(void (*callback)(QZTMessageBoxOption *))
{
    s_optionCallback = callback;
}

int QZTMessageBox::ShowMessage(QWidget *parent, const QString &title, const QString &message, QZTMessageBox::Icon icon,
                               QZTMessageBox::ButtonStyle style)
{
    QZTMessageBox box(parent);
    if (!title.isEmpty())
        box.setTitle(title);
    if (parent && (parent->windowFlags() & Qt::WindowStaysOnTopHint))
        box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint);
    box.setButtonStyle(style);
    box.setMessageIcon(icon);
    box.setMessage(message);
    return box.exec();
}

void QZTMessageBox::setMessage(const QString &message)
{
    m_message = message;
    calcTextSize(message);
}

void QZTMessageBox::setButtonStyle(QZTMessageBox::ButtonStyle style)
{
    m_buttonStyle = style;
    creatStyleButton();
}

void QZTMessageBox::setMessageBoxOption(const QZTMessageBoxOption &option)
{
    m_option = option;
    QWidget::setPalette(m_option.palette);
}

void QZTMessageBox::setPalette(const QPalette &palette)
{
    m_option.palette = palette;
    QWidget::setPalette(palette);
}

void QZTMessageBox::setButtonColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                   const QColor &disabled)
{
    m_option.buttonTextColors[0] = normal;
    m_option.buttonTextColors[1] = hover;
    m_option.buttonTextColors[2] = pressed;
    m_option.buttonTextColors[3] = disabled;
}

QRect QZTMessageBox::getBtnRect() const
{
    const QMargins &m = m_option.transparentMargins;
    return QRect(QPoint(m.left(), height() - m.bottom() - m_option.dlgBottom),
                 QPoint(width() - 1 - m.right(), height() - m.bottom() - 1));
}

void QZTMessageBox::releaseBtnList()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
}

void QZTMessageBox::creatStyleButton()
{
    releaseBtnList();
    switch (m_buttonStyle) {
    case StyleOk:
        addButton(m_option.okText, QMessageBox::Ok);
        break;
    case StyleCancel:
        addButton(m_option.cancelText, QMessageBox::Cancel);
        break;
    case StyleYesNo:
        addButton(m_option.yesText, QMessageBox::Yes);
        addButton(m_option.noText, QMessageBox::No);
        break;
    default:
        break;
    }
    // Enter answers the first button, as Escape answers the close.
    if (!m_buttons.isEmpty())
        m_buttons.first()->setDefault(true);
}

QZTBaseButton *QZTMessageBox::addButton(const QString &text, int result)
{
    auto *button = new QZTBaseButton(this);
    button->setButtonImage(QVeAnyUtiliy::getResourcePath() + QStringLiteral("/pic/btn_common.png"), true);
    const QColor *c = m_option.buttonTextColors;
    button->setTextColor(c[0], c[1], c[2], c[3]);
    button->setFont(m_option.buttonFont);
    button->setText(text);
    button->setDoneSign(result);
    const int textW = QFontMetrics(m_option.buttonFont).boundingRect(QRect(), Qt::TextSingleLine, text).width();
    button->resize(qMax(m_minButtonWidth, textW + 20), button->height());
    m_buttons.append(button);
    connect(button, &QAbstractButton::clicked, this, &QZTMessageBox::OnBtnDone);
    return button;
}

int QZTMessageBox::textWidth(const QString &text) const
{
    return QFontMetrics(m_option.messageFont).boundingRect(QRect(), Qt::TextSingleLine, text).width();
}

QString QZTMessageBox::splitStringline(const QString &line) const
{
    QStringList words = line.split(QLatin1Char(' '));
    if (words.isEmpty())
        return line;
    const QString first = words.first();
    if (textWidth(first) > m_maxLineWidth) {
        int n = 1;
        while (n < first.size() && textWidth(first.left(n + 1)) <= m_maxLineWidth)
            ++n;
        const QString rest = first.mid(n);
        QStringList remaining = words.mid(1);
        if (!rest.isEmpty())
            remaining.prepend(rest);
        return first.left(n) + QLatin1Char('\n') + splitStringline(remaining.join(QLatin1Char(' ')));
    }
    QString current = first;
    for (int i = 1; i < words.size(); ++i) {
        const QString grown = current + QLatin1Char(' ') + words.at(i);
        if (textWidth(grown) > m_maxLineWidth)
            return current + QLatin1Char('\n') + splitStringline(words.mid(i).join(QLatin1Char(' ')));
        current = grown;
    }
    return line;
}

void QZTMessageBox::calcTextSize(const QString &text)
{
    m_displayText = text;
    m_textSize = QSize(0, 0);
    if (text.isEmpty())
        return;
    const QStringList parts = text.split(QLatin1Char('\n'));
    QStringList wrapped;
    for (const QString &part : parts)
        wrapped << splitStringline(part);
    m_displayText = wrapped.join(QLatin1Char('\n'));
    const QFontMetrics fm(m_option.messageFont);
    int widest = 0, total = 0;
    for (const QString &l : m_displayText.split(QLatin1Char('\n'))) {
        const QRect r = fm.boundingRect(QRect(), Qt::TextSingleLine, l);
        widest = qMax(widest, r.width());
        // An empty line still takes a line's height, so blank lines between paragraphs stay.
        total += qMax(r.height(), fm.height());
    }
    m_textSize = QSize(widest, total);
}

void QZTMessageBox::InitIcon()
{
    m_iconImage = QImage();
    QString name;
    switch (m_icon) {
    case Warning:
        name = QStringLiteral("/pic/warning.png");
        break;
    case Success:
        name = QStringLiteral("/pic/Success.png");
        break;
    case Critical:
        name = QStringLiteral("/pic/error.png");
        break;
    default:
        return;
    }
    if (m_iconImage.load(QVeAnyUtiliy::getResourcePath() + name))
        m_iconImage.setDevicePixelRatio(2.0);
}

void QZTMessageBox::calcBoxRect()
{
    const int tw = m_textSize.width(), th = m_textSize.height();
    const QMargins &m = m_option.transparentMargins;
    const int L = m.left(), T = m.top(), R = m.right(), B = m.bottom();
    const int DT = m_option.dlgTop, DB = m_option.dlgBottom;
    int ic = 0, tb = 0;
    if (!m_iconImage.isNull()) {
        ic = m_iconImage.width() / 2 + 40;
        m_textIndent = 0;
        tb = tw + 20;
    } else {
        m_textIndent = 20;
        tb = tw + 40;
    }
    int rowWidth = L + R + 2 * m_option.buttonMargin;
    for (int i = 0; i < m_buttons.size(); ++i)
        rowWidth += m_buttons.at(i)->width() + (i > 0 ? m_option.buttonSpacing : 0);
    const int w = m_option.fixedWidth >= 1 ? qMax(m_option.fixedWidth, m_minimumSize.width())
                                           : qMax(qMax(L + ic + tb + R, m_minimumSize.width()), rowWidth);
    const int h = m_option.fixedHeight >= 1 ? qMax(m_option.fixedHeight, m_minimumSize.height())
                                            : qMax(th + 40 + T + DT + DB + B, m_minimumSize.height());
    const int y0 = T + DT + (h - 40 - th - T - DT - DB - B) / 2;
    m_iconRect = QRect(L, y0, ic, th + 40);
    m_textRect = QRect(L + ic, y0, tb, th + 40);
    resize(w, h);
}

void QZTMessageBox::showEvent(QShowEvent *e)
{
    InitIcon();
    calcBoxRect();
    if (!m_shownOnce) {
        m_shownOnce = true;
        QWidget *p = parentWidget();
        int x, y;
        if (p) {
            const QPoint g = p->mapToGlobal(QPoint(0, 0));
            x = g.x() + (p->width() - width()) / 2;
            y = g.y() + (p->height() - height()) / 2;
            if (x < 1)
                x = 50;
            if (y < 1)
                y = 50;
        } else {
            const QRect s = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                             : QRect(0, 0, 1280, 800);
            x = (s.width() - width()) / 2;
            y = (s.height() - height()) / 2;
        }
        move(x, y);
    }
    QDialog::showEvent(e);
    resetControlLocation();
}

void QZTMessageBox::resetControlLocation()
{
    const QMargins &m = m_option.transparentMargins;
    if (m_closeButton)
        m_closeButton->move(m.left() + m_option.closeButtonOffsetX + 8, m.top() + m_option.closeButtonOffsetY + 5);
    int right = width() - m.right() - m_option.buttonMargin;
    for (int i = m_buttons.size() - 1; i >= 0; --i) {
        QZTBaseButton *b = m_buttons.at(i);
        const int top = (height() - m_option.dlgBottom - m.bottom()) + (m_option.dlgBottom - b->height()) / 2;
        b->move(right - b->width(), top);
        right = right - b->width() - m_option.buttonSpacing;
    }
}

void QZTMessageBox::paintEvent(QPaintEvent *e)
{
    QZTDialog::paintEvent(e);
    QPainter painter(this);
    drawIcon(&painter);
    drawMessage(&painter);
}

void QZTMessageBox::drawIcon(QPainter *painter)
{
    if (!painter || m_iconImage.isNull())
        return;
    const int iw = m_iconImage.width() / 2, ih = m_iconImage.height() / 2;
    const int x = m_iconRect.left() + (m_iconRect.width() - iw) / 2;
    const int y = m_iconRect.top() - m_option.iconOffset + (m_iconRect.height() - ih) / 2;
    painter->drawImage(QRect(x, y, iw, ih), m_iconImage);
}

void QZTMessageBox::drawMessage(QPainter *painter)
{
    if (!painter || m_displayText.isEmpty())
        return;
    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->setFont(m_option.messageFont);
    painter->setPen(palette().color(QPalette::Text));
    const QRect r(m_textRect.x() + m_textIndent, m_textRect.y() + (m_textRect.height() - m_textSize.height()) / 2,
                  m_textSize.width(), m_textSize.height());
    painter->drawText(r, Qt::TextWrapAnywhere, m_displayText);
}

void QZTMessageBox::OnBtnClose()
{
    done(QMessageBox::Close);
}

void QZTMessageBox::OnBtnDone()
{
    auto *button = qobject_cast<QZTBaseButton *>(sender());
    if (button)
        done(button->getDoneSign());
}
