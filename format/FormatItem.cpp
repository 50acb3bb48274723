#include "FormatItem.h"

#include "QIAnyUtil.h"
#include "QImageButton.h"

#include <QMouseEvent>
#include <QPainter>

FormatItem::FormatItem(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    qRegisterMetaType<QFormatItemState>("QFormatItemState");
    m_background.load(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format_Dlg/format_item.png"));
    m_btnSet->setBtnImage(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format_Dlg/btn_settings.png"));
    m_btnSet->setToolTip(tr("Set"));
    m_btnSet->hide();
    QFont font = m_labName->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    m_labName->setFont(font);
    // The title colour is fixed once here, not on every paint.
    QPalette palette = m_labName->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(g, QPalette::WindowText, QColor(228, 228, 228));
    m_labName->setPalette(palette);
    connect(m_btnSet, &QImageButton::clicked, this, &FormatItem::OnBtnSet);
    placeChildren();
}

FormatItem::~FormatItem() = default;

void FormatItem::setItemName(const QString &name)
{
    m_itemName = name;
    m_labName->setText(name);
    placeChildren();
}

void FormatItem::setIcon(const QString &name)
{
    m_iconFileName = QStringLiteral("icon_%1.png").arg(name);
    m_iconPath = QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format/") + m_iconFileName;
    m_icon = QPixmap();
    if (m_icon.load(m_iconPath))
        m_icon.setDevicePixelRatio(2.0);
    update();
}

void FormatItem::setBgImage(const QString &relativePath)
{
    QPixmap background;
    if (background.load(QIAnyUtil::getResourcePath() + relativePath))
        m_background = background;
    update();
}

void FormatItem::setItemState(QFormatItemState state)
{
    m_itemState = state;
    if (!m_hiddenSet)
        m_btnSet->setVisible(state == 2);
    repaint();
}

void FormatItem::setHiddenSet(bool hidden)
{
    m_hiddenSet = hidden;
    m_btnSet->setVisible(!hidden);
}

void FormatItem::OnBtnSet()
{
    emit emitOnSet(m_itemID);
}

void FormatItem::BtnPress()
{
    m_favorite = !m_favorite;
    m_favoriteChange = !m_favoriteChange;
}

// The "Set" button sits 5 pixels from the top-right corner and the title along the bottom edge; they
// follow the tile's size, so they are placed when it changes, never while painting.
void FormatItem::placeChildren()
{
    const int w = width();
    const int h = height();
    m_btnSet->move(w - 5 - m_btnSet->width(), 5);
    // A title that wraps gets the room of its second line (above the edge) instead of being cut off.
    const QRect needed = m_labName->fontMetrics().boundingRect(QRect(0, 0, w, 100), Qt::AlignCenter | Qt::TextWordWrap,
                                                               m_labName->text());
    if (needed.height() > 20)
        m_labName->setGeometry(0, h - 31, w, 29);
    else
        m_labName->setGeometry(0, h - 22, w, 20);
}

void FormatItem::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeChildren();
}

void FormatItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = width();
    const int h = height();
    if (!m_background.isNull()) {
        const int fw = m_background.width() / 4;
        painter.drawPixmap(QRect(0, 0, w, h), m_background, QRect(m_itemState * fw, 0, fw, m_background.height()));
    }
    if (!m_icon.isNull()) {
        QPixmap icon = m_icon.scaled(74, 74, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        icon.setDevicePixelRatio(2.0);
        painter.drawPixmap((w - icon.width() / 2) / 2, 8, icon);
    }
}

void FormatItem::enterEvent(QEvent *)
{
    if (m_itemState != 2) {
        m_itemState = 1;
        repaint();
    }
}

void FormatItem::leaveEvent(QEvent *)
{
    if (m_itemState != 2) {
        m_itemState = 0;
        repaint();
    }
}

void FormatItem::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || m_itemState == 2)
        return;
    m_itemState = 2;
    if (!m_hiddenSet)
        m_btnSet->show();
    emit emitItemPress(m_categories, m_itemID, false);
    repaint();
}

void FormatItem::mouseDoubleClickEvent(QMouseEvent *)
{
    emit emitItemDoubleClick();
}
