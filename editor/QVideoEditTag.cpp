#include "QVideoEditTag.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QZTBaseButton.h"

QVideoEditTag::QVideoEditTag(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    setLayout(m_verticalLayout);
    delete verticalLayoutWidget;
    verticalLayoutWidget = nullptr;
}

QVideoEditTag::~QVideoEditTag()
{
    qDeleteAll(m_buttons);
}

void QVideoEditTag::createTag(const QStringList &names)
{
    if (names.isEmpty())
        return;
    m_currentButton = nullptr;
    const QList<QZTBaseButton *> old = m_buttons;
    m_buttons.clear();
    qDeleteAll(old);
    m_names = names;
    for (const QString &name : names) {
        QZTBaseButton *button = initButton(name);
        button->setFixedHeight(25);
        button->setTextRect(QRect(0, 0, 0, 15));
        m_buttons.append(button);
        m_horizontalLayout->addWidget(button);
    }
}

QZTBaseButton *QVideoEditTag::initButton(const QString &name)
{
    auto *button = new QZTBaseButton(this);
    button->setText(name);
    button->setButtonImage(QIAnyUtil::getResourcePath() + QStringLiteral("/VEditSource/tab_btn_bg_image.png"), true);
    button->setTextColor(QColor(255, 255, 255), QColor(255, 255, 255), QColor(215, 63, 63), QColor(101, 101, 101));
    QVEInitCtrlStyle::SetFont(button, 12);
    // The row lays the buttons out at their own width: as wide as the image, wider for a long name.
    button->setFixedWidth(qMax(button->width(), button->fontMetrics().horizontalAdvance(name) + 24));
    button->setCheckable(true);
    connect(button, &QAbstractButton::clicked, this, &QVideoEditTag::onButton);
    return button;
}

void QVideoEditTag::onButton()
{
    auto *source = qobject_cast<QZTBaseButton *>(sender());
    if (m_currentButton) {
        m_currentButton->setChecked(false);
        m_currentButton->setEnabled(true);
    }
    if (source) {
        source->setChecked(true);
        source->setEnabled(false);
    }
    m_currentButton = source;
    emit emitSelectedTag(m_buttons.indexOf(source));
}

void QVideoEditTag::selectFrom(int start)
{
    int i = start;
    while (m_buttons[i]->isHidden()) {
        if (++i >= m_buttons.size()) {
            m_selectedIndex = m_buttons.size();
            return;
        }
    }
    m_buttons[i]->click(); // the current tab's button is disabled: clicking it does nothing
    m_selectedIndex = i;
}

void QVideoEditTag::setSelectedTag(int index)
{
    if (index < 0 || index >= m_buttons.size())
        return;
    selectFrom(index);
}

void QVideoEditTag::setHiddenTag(int index)
{
    if (index < 0 || index >= m_buttons.size())
        return;
    m_buttons[index]->hide();
    m_buttons[index]->setEnabled(false);
    if (m_selectedIndex >= 0 && m_selectedIndex < m_buttons.size())
        selectFrom(m_selectedIndex);
}

void QVideoEditTag::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
}
