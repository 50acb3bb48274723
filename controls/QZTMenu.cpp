#include "QZTMenu.h"

#include "WindowFilters.h"

#include <QFileInfo>

QZTMenu::QZTMenu(QWidget *parent) : QMenu(parent)
{
    InitMenu();
}

QZTMenu::QZTMenu(const QString &title, QWidget *parent) : QMenu(title, parent)
{
    InitMenu();
}

QZTMenu::~QZTMenu()
{
    setStyle(nullptr);
    delete m_style;
}

void QZTMenu::InitMenu()
{
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground, true);
    rs::installWindowFilters();
    QZTMenuStyle *old = m_style;
    m_style = new QZTMenuStyle(nullptr);
    setStyle(m_style);
    delete old;
}

QAction *QZTMenu::addMenu(QZTMenu *menu)
{
    return QMenu::addMenu(menu);
}

QZTMenu *QZTMenu::addMenu(const QString &title)
{
    auto *menu = new QZTMenu(title, this);
    QMenu::addAction(menu->menuAction());
    return menu;
}

QZTMenu *QZTMenu::addMenu(const QIcon &icon, const QString &title)
{
    auto *menu = new QZTMenu(title, this);
    menu->setIcon(icon);
    QMenu::addAction(menu->menuAction());
    return menu;
}

void QZTMenu::setStyleAttribute(QZTMenuStyleAttribute *attribute)
{
    if (attribute)
        *m_style->attribute() = *attribute;
}

QZTMenuStyleAttribute *QZTMenu::styleAttribute() const
{
    return m_style->attribute();
}

void QZTMenu::setBackgroundImage(const QString &path, bool)
{
    styleAttribute()->backgroundImage = QImage(path);
    styleAttribute()->backgroundImage.setDevicePixelRatio(2.0);
    update();
}

namespace {
QImage loadMark(const QString &path)
{
    QImage image;
    if (QFileInfo::exists(path) && image.load(path))
        image.setDevicePixelRatio(2.0);
    return image;
}
} // namespace

void QZTMenu::setRadioImage(const QString &path)
{
    styleAttribute()->radioImage = loadMark(path);
}

void QZTMenu::setCheckStateImage(const QString &checked, const QString &unchecked)
{
    styleAttribute()->checkedImage = loadMark(checked);
    styleAttribute()->uncheckedImage = loadMark(unchecked);
}

// QMenu's own event handling stays in the chain: it answers shortcut overrides (so a menu's keys do not
// trigger window shortcuts) and shows the actions' tool tips.
bool QZTMenu::event(QEvent *e)
{
    return QMenu::event(e);
}
