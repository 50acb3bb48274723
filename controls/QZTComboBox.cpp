#include "QZTComboBox.h"

#include "QZTBaseButton.h"

#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>

namespace {
const char kSkinRules[] =
    "QComboBox {background-color:transparent;border:none}QComboBox QAbstractItemView{background-color:transparent;}";
}

QZTComboBox::QZTComboBox(QWidget *parent) : QComboBox(parent), QZTBaseRectImageDraw(this)
{
    setWindowFlags(Qt::FramelessWindowHint);
    QZTBaseRectImageDraw::setTextColor(QPalette().color(QPalette::Text));
    m_rowFont = font();
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { drawTextChange(itemText(index)); });
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &QZTComboBox::currentIndexChangeSlot);
    m_styleText = styleSheet();
    setEditable(true);
    if (lineEdit())
        lineEdit()->hide();
    connect(this, &QZTComboBox::emitShowPopup, this, &QZTComboBox::showPopup);
}

QZTComboBox::~QZTComboBox()
{
    delete m_button;
}

bool QZTComboBox::cutStyleString(QString &style, const QString &start, const QString &end)
{
    const int s = style.indexOf(start);
    if (s < 0)
        return false;
    const QString before = style.left(s);
    const int afterStart = s + start.size();
    const int e = style.indexOf(end, afterStart);
    const QString after = e < 0 ? style.mid(afterStart) : style.mid(e + end.size());
    style = before + after;
    return true;
}

void QZTComboBox::applyStyleRule(const QString &start, const QString &end, const QString &rule)
{
    cutStyleString(m_styleText, start, end);
    m_styleText += rule;
    restyle();
}

// Qt's style-sheet polish puts back the font the combo had when its first sheet went in, so a font
// set between two sheet changes would be lost: the chosen font is set again after each change.
void QZTComboBox::restyle()
{
    const bool ownFont = testAttribute(Qt::WA_SetFont);
    const QFont chosen = font();
    setStyleSheet(m_styleText);
    if (ownFont && font() != chosen)
        QComboBox::setFont(chosen);
}

void QZTComboBox::ensureRowView()
{
    if (m_view)
        return;
    // Items added to the plain model before the skin keep their place: they move into widget rows.
    QList<QPair<QString, QVariant>> existing;
    QList<QIcon> icons;
    for (int i = 0; i < QComboBox::count(); ++i) {
        existing.append({QComboBox::itemText(i), QComboBox::itemData(i)});
        icons.append(QComboBox::itemIcon(i));
    }
    const int current = QComboBox::currentIndex();
    m_view = new QListWidget();
    blockSignals(true);
    QComboBox::setModel(m_view->model());
    QComboBox::setView(m_view);
    blockSignals(false);
    for (int i = 0; i < existing.size(); ++i) {
        QImage image;
        if (!icons.at(i).isNull() && !icons.at(i).availableSizes().isEmpty())
            image = icons.at(i).pixmap(icons.at(i).availableSizes().first()).toImage();
        insertItem(i, image.isNull() ? nullptr : &image, existing.at(i).first, existing.at(i).second);
    }
    if (current >= 0 && current < existing.size())
        QComboBox::setCurrentIndex(current);
}

bool QZTComboBox::setBackgroundImage(const QString &path)
{
    if (!QZTBaseRectImageDraw::setBackgroundImage(path))
        return false;
    // The two skin rules go in once, however often a skin is set.
    if (!m_styleText.contains(QLatin1String(kSkinRules)))
        m_styleText += QLatin1String(kSkinRules);
    restyle();
    ensureRowView();
    return true;
}

bool QZTComboBox::setButtonImage(const QString &path, bool keepSize)
{
    delete m_button;
    m_button = nullptr;
    if (!QFileInfo::exists(path))
        return false;
    m_button = new QZTBaseButton(this);
    if (!m_button->setButtonImage(path, true)) {
        delete m_button;
        m_button = nullptr;
        return false;
    }
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->show();
    connect(m_button, &QAbstractButton::clicked, this, &QZTComboBox::showPopup);
    connect(m_button, &QAbstractButton::clicked, this, &QZTComboBox::emitClicked);
    m_keepSize = keepSize;
    placeButton();
    return true;
}

void QZTComboBox::setButtonKeepSize(bool keepSize)
{
    m_keepSize = keepSize;
    placeButton();
}

void QZTComboBox::setBtnMargins(int left, int top, int right, int bottom)
{
    m_buttonMargins = QMargins(qint16(left), qint16(top), qint16(right), qint16(bottom));
    placeButton();
    update();
    updateGeometry();
}

void QZTComboBox::setBtnMargins(const QMargins &margins)
{
    setBtnMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

void QZTComboBox::placeButton()
{
    if (!m_button)
        return;
    // A negative margin is worked out from the current size at every placement (show, resize, keep-size
    // change) and not stored: a combo resized after it was styled keeps its button at the right end.
    const int W = width(), H = height();
    const int left =
        m_buttonMargins.left() < 0 ? W - m_button->width() - m_buttonMargins.right() : m_buttonMargins.left();
    const int top =
        m_buttonMargins.top() < 0 ? (H - m_button->height() - m_buttonMargins.bottom()) / 2 : m_buttonMargins.top();
    if (m_keepSize)
        m_button->move(left, top);
    else
        m_button->setGeometry(
            QRect(QPoint(left, top), QPoint(W - 1 - m_buttonMargins.right(), H - 1 - m_buttonMargins.bottom())));
}

void QZTComboBox::applyRowLook(QZTComboBoxItem *row)
{
    row->setItemAttribute(m_attribute);
    row->setDrawTextMargins(m_rowTextMargins);
    row->setFont(m_rowFont);
    row->QZTBaseRectImageDraw::setTextColor(m_rowColors[0], m_rowColors[1], m_rowColors[2], m_rowColors[3]);
    row->setIconRect(m_rowIconRect);
}

QZTComboBoxItem *QZTComboBox::rowAt(int index) const
{
    if (!m_view || !IsValid(index))
        return nullptr;
    return qobject_cast<QZTComboBoxItem *>(m_view->itemWidget(m_view->item(index)));
}

void QZTComboBox::applyToRows()
{
    if (!m_view)
        return;
    for (int i = 0; i < m_view->count(); ++i)
        if (QZTComboBoxItem *row = rowAt(i))
            applyRowLook(row);
}

void QZTComboBox::addItem(const QString &text, const QVariant &data)
{
    if (!isCustomDraw()) {
        QComboBox::addItem(QIcon(), text, data);
        return;
    }
    addItem(nullptr, text, data);
}

void QZTComboBox::addItem(const QImage *image, const QString &text, const QVariant &data)
{
    ensureRowView();
    insertItem(m_view->count(), image, text, data);
}

void QZTComboBox::insertItem(int index, const QString &text, const QVariant &data)
{
    if (!isCustomDraw()) {
        QComboBox::insertItem(index, QIcon(), text, data);
        return;
    }
    insertItem(index, nullptr, text, data);
}

void QZTComboBox::insertItem(int index, const QImage *image, const QString &text, const QVariant &data)
{
    ensureRowView();
    auto *item = new QListWidgetItem(m_view);
    auto *row = new QZTComboBoxItem(nullptr, item);
    applyRowLook(row);
    if (m_rowWidth == 0)
        m_rowWidth = width();
    item->setData(Qt::SizeHintRole, QSize(m_rowWidth, m_rowHeight));
    if (image)
        row->setRectIcon(*image);
    row->setIconRect(m_rowIconRect);
    item->setData(Qt::DisplayRole, text);
    item->setData(Qt::UserRole, data);
    const int at = qBound(0, index, m_view->count() - 1);
    m_view->takeItem(m_view->row(item));
    m_view->insertItem(at, item);
    m_view->setItemWidget(item, row);
    AddItemWidget(row, at);
    if (m_view->count() == 1)
        drawTextChange(text);
}

void QZTComboBox::addItems(const QStringList &texts)
{
    insertItems(count(), texts);
}

void QZTComboBox::insertItems(int index, const QStringList &texts)
{
    if (!isCustomDraw()) {
        QComboBox::insertItems(index, texts);
        return;
    }
    for (int i = 0; i < texts.size(); ++i)
        insertItem(index + i, nullptr, texts.at(i), QVariant());
}

void QZTComboBox::removeItem(int index)
{
    if (!m_view) {
        QComboBox::removeItem(index);
        return;
    }
    if (!IsValid(index))
        return;
    QListWidgetItem *item = m_view->item(index);
    QZTComboBoxItem *row = rowAt(index);
    if (row)
        removeItemWidgt(row);
    m_view->removeItemWidget(item);
    delete m_view->takeItem(index);
}

void QZTComboBox::setItemText(int index, const QString &text)
{
    QComboBox::setItemText(index, text);
    if (m_view && IsValid(index) && index == currentIndex())
        drawTextChange(text);
}

void QZTComboBox::setShowText(const QString &text)
{
    setToolTip(text);
    setDrawText(text);
}

void QZTComboBox::drawTextChange(const QString &text)
{
    setShowText(text);
}

void QZTComboBox::setFont(const QFont &font)
{
    QComboBox::setFont(font);
    if (!m_rowFontSet) {
        m_rowFont = font;
        applyToRows();
    }
}

void QZTComboBox::setItemFont(const QFont &font)
{
    m_rowFont = font;
    m_rowFontSet = true;
    applyToRows();
}

void QZTComboBox::applyLineEditStyle(QLineEdit *edit)
{
    if (edit)
        edit->setStyleSheet(
            QStringLiteral("QLineEdit {background-color:transparent;border:none;color:%1}").arg(m_rowColors[0].name()));
}

void QZTComboBox::setTextColor(const QColor &color)
{
    QZTBaseRectImageDraw::setTextColor(color);
    applyLineEditStyle(lineEdit());
}

void QZTComboBox::setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled)
{
    QZTBaseRectImageDraw::setTextColor(normal, hover, pressed, disabled);
    if (!m_rowColorsSet) {
        m_rowColors[0] = normal;
        m_rowColors[1] = hover;
        m_rowColors[2] = pressed;
        m_rowColors[3] = disabled;
        applyToRows();
    }
    applyLineEditStyle(lineEdit());
}

void QZTComboBox::setItemTextColor(const QColor &color)
{
    setItemTextColor(color, color, color, color);
}

void QZTComboBox::setItemTextColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                   const QColor &disabled)
{
    m_rowColors[0] = normal;
    m_rowColors[1] = hover;
    m_rowColors[2] = pressed;
    m_rowColors[3] = disabled;
    m_rowColorsSet = true;
    applyToRows();
}

void QZTComboBox::setItemTextMargins(int left, int top, int right, int bottom)
{
    m_rowTextMargins = QMargins(qint16(left), qint16(top), qint16(right), qint16(bottom));
    applyToRows();
}

void QZTComboBox::setItemIconRect(const QRect &rect)
{
    m_rowIconRect = rect;
    applyToRows();
}

void QZTComboBox::setItemHeight(int height)
{
    m_rowHeight = height;
    applyToRows();
}

void QZTComboBox::setItemWidth(int width)
{
    m_rowWidth = width;
    m_autoRowWidth = false;
    applyStyleRule(QStringLiteral("QComboBox QAbstractItemView { min-height: 10px; min-width: "), QStringLiteral("px}"),
                   QStringLiteral("QComboBox QAbstractItemView { min-height: 10px; min-width: %1px}").arg(width));
    if (m_view && isCustomDraw())
        m_view->setAttribute(Qt::WA_MouseTracking, false);
}

void QZTComboBox::setItemBgColor(const QColor &color)
{
    if (color != m_attribute.backgroundColor) {
        m_attribute.backgroundColor = color;
        applyToRows();
    }
    applyStyleRule(QStringLiteral("QListView::item {background: "), QStringLiteral(";}"),
                   QStringLiteral("QListView::item {background: %1;}").arg(color.name()));
}

void QZTComboBox::setItemHoverColor(const QColor &color)
{
    m_attribute.hoverColorSet = true;
    if (color != m_attribute.hoverColor)
        m_attribute.hoverColor = color;
    applyToRows();
    applyStyleRule(QStringLiteral("QListView::item:hover {background: "), QStringLiteral(";}"),
                   QStringLiteral("QListView::item:hover {background: %1;}").arg(color.name()));
}

void QZTComboBox::setItemSelectedColor(const QColor &color)
{
    if (color != m_attribute.selectedColor) {
        m_attribute.selectedColor = color;
        applyToRows();
    }
    applyStyleRule(QStringLiteral("QListView::item:selected{background-color: "), QStringLiteral(";}"),
                   QStringLiteral("QListView::item:selected{background-color: %1;}").arg(color.name()));
}

void QZTComboBox::setItemBorder(int width, const QColor &color)
{
    m_borderWidth = width;
    applyStyleRule(QStringLiteral("QComboBox QAbstractItemView{background-color:gray; border: "), QStringLiteral("}"),
                   QStringLiteral("QComboBox QAbstractItemView{background-color:gray; border: %1px solid %2}")
                       .arg(width)
                       .arg(color.name()));
    if (m_view && isCustomDraw())
        m_view->setAttribute(Qt::WA_MouseTracking, false);
}

void QZTComboBox::setItemSpacing(int spacing, const QColor &color)
{
    if (spacing == m_attribute.spacing && color == m_attribute.spacingColor)
        return;
    m_attribute.spacing = spacing;
    m_attribute.spacingColor = color;
    applyToRows();
}

void QZTComboBox::setItemAlignment(Qt::Alignment alignment)
{
    if (alignment == m_attribute.alignment)
        return;
    m_attribute.alignment = alignment;
    applyToRows();
}

void QZTComboBox::setSeparatorColor(const QColor &color)
{
    if (color == m_attribute.separatorColor)
        return;
    m_attribute.separatorColor = color;
    applyToRows();
}

void QZTComboBox::addSeparator()
{
    if (m_view && m_view->count() > 0)
        setItemSeparator(m_view->count() - 1, true);
}

void QZTComboBox::setItemSeparator(int index, bool on)
{
    if (QZTComboBoxItem *row = rowAt(index))
        row->setSeparatorHeight(on ? 1 : 0);
}

void QZTComboBox::setItemWidgtPos(const QPoint &pos)
{
    if (pos == m_attribute.widgetPos)
        return;
    m_attribute.widgetPos = pos;
    if (!m_view)
        return;
    for (int i = 0; i < m_view->count(); ++i)
        if (QZTComboBoxItem *row = rowAt(i))
            row->setWidgtPos(pos);
}

QWidget *QZTComboBox::getItemWidgt(int index) const
{
    QZTComboBoxItem *row = rowAt(index);
    return row ? row->getWidgt() : nullptr;
}

bool QZTComboBox::IsValid(int index) const
{
    return m_view && index >= 0 && index < m_view->count();
}

void QZTComboBox::setEditable(bool on)
{
    QComboBox::setEditable(on);
    if (!on || !lineEdit())
        return;
    lineEdit()->show();
    applyLineEditStyle(lineEdit());
    connect(lineEdit(), &QLineEdit::textChanged, this, &QZTComboBox::changeEditColor, Qt::UniqueConnection);
}

void QZTComboBox::InitMacStyle()
{
    setEditable(true);
    if (lineEdit())
        lineEdit()->hide();
}

void QZTComboBox::changeEditColor(const QString &)
{
    applyLineEditStyle(qobject_cast<QLineEdit *>(sender()));
}

int QZTComboBox::calcItemMaxWidth() const
{
    int widest = width() - 2 * m_borderWidth;
    for (int i = 0; m_view && i < m_view->count(); ++i)
        if (QZTComboBoxItem *row = rowAt(i))
            widest = qMax(widest, row->calcItemWidth(m_view->item(i)->text(), m_rowFont));
    return widest;
}

void QZTComboBox::resetItemSize()
{
    if (!m_view)
        return;
    if (m_rowWidth == 0)
        m_rowWidth = width();
    if (m_autoRowWidth) {
        setItemWidth(calcItemMaxWidth());
        m_autoRowWidth = true;
    }
    const int n = m_view->count();
    const int s = m_attribute.spacing;
    for (int i = 0; i < n; ++i) {
        int extra = (i > 0 && s > 1) ? s / 2 : 0;
        if (i != n - 1)
            extra += (s + 1) / 2;
        QZTComboBoxItem *row = rowAt(i);
        const int separator = row ? row->separatorHeight() : 0;
        m_view->item(i)->setSizeHint(QSize(m_rowWidth, m_rowHeight + separator + extra));
        if (row)
            row->setFixedWidth(m_rowWidth);
    }
}

void QZTComboBox::showPopup()
{
    resetBtnState();
    resetItemSize();
    QComboBox::showPopup();
    applyLineEditStyle(lineEdit());
    if (m_popupOffset != QPoint(0, 0)) {
        if (QFrame *popup = findChild<QFrame *>()) {
            const QPoint below = mapToGlobal(QPoint(0, height()));
            popup->move(popup->x() + m_popupOffset.x(), below.y());
        }
    }
    if (m_view)
        m_view->scrollToTop();
}

void QZTComboBox::hidePopup()
{
    if (m_view)
        m_view->scrollToTop();
    QComboBox::hidePopup();
}

void QZTComboBox::paintEvent(QPaintEvent *e)
{
    if (!isCustomDraw()) {
        QComboBox::paintEvent(e);
        return;
    }
    QLineEdit *edit = lineEdit();
    setTextDrawable(!edit || edit->isHidden());
    QMargins m = drawTextMargins();
    if (m_button && m_button->x() > width() / 2 && m.right() < width() - m_button->x()) {
        m.setRight(width() - m_button->x());
        setDrawTextMargins(m);
    }
    QZTBaseRectImageDraw::paintEvent(e);
}

// The line edit follows the text rectangle; it is placed on resize and show rather than while painting.
void QZTComboBox::resizeEvent(QResizeEvent *e)
{
    QComboBox::resizeEvent(e);
    placeButton();
    if (QLineEdit *edit = lineEdit()) {
        const QMargins m = drawTextMargins();
        edit->setGeometry(QRect(QPoint(m.left(), m.top()), QPoint(width() - 1 - m.right(), height() - 1 - m.bottom())));
    }
}

void QZTComboBox::showEvent(QShowEvent *e)
{
    QComboBox::showEvent(e);
    placeButton();
}

void QZTComboBox::mousePressEvent(QMouseEvent *e)
{
    if (m_button && isEditable()) {
        emit emitClicked();
        return;
    }
    mousePressEventDraw(e);
    QComboBox::mousePressEvent(e);
    emit emitClicked();
}

void QZTComboBox::mouseReleaseEvent(QMouseEvent *e)
{
    mouseReleaseEventDraw(e);
    QComboBox::mouseReleaseEvent(e);
    if (lineEdit() && lineEdit()->isHidden())
        emit emitShowPopup();
}

void QZTComboBox::enterEvent(QEvent *e)
{
    enterEventDraw(e);
    QComboBox::enterEvent(e);
}

void QZTComboBox::leaveEvent(QEvent *e)
{
    leaveEventDraw(e);
    QComboBox::leaveEvent(e);
}

void QZTComboBox::changeEvent(QEvent *e)
{
    changeEventDraw(e);
    QComboBox::changeEvent(e);
}
