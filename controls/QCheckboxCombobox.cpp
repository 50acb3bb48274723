#include "QCheckboxCombobox.h"

#include <QFileInfo>
#include <QListWidget>
#include <QMouseEvent>

QComboboxCheckbox::QComboboxCheckbox(QWidget *parent) : QZTCheckBox(parent) {}

void QComboboxCheckbox::mousePressEvent(QMouseEvent *e)
{
    if (!m_ignoreClick)
        QZTCheckBox::mousePressEvent(e);
    emit emitClick();
}

void QComboboxCheckbox::mouseReleaseEvent(QMouseEvent *e)
{
    if (!m_ignoreClick)
        QZTCheckBox::mouseReleaseEvent(e);
}

QCheckboxCombobox::QCheckboxCombobox(QWidget *parent) : QZTComboBox(parent)
{
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &QCheckboxCombobox::selectChange);
}

bool QCheckboxCombobox::setCheckImage(const QString &checked, const QString &unchecked)
{
    QImage c, u;
    if (!QFileInfo::exists(checked) || !c.load(checked) || !u.load(unchecked))
        return false;
    m_checkedImage = c;
    m_uncheckedImage = u;
    return true;
}

void QCheckboxCombobox::setItemCheckboxable(bool shown)
{
    m_boxesShown = shown;
    for (QComboboxCheckbox *box : qAsConst(m_boxes))
        box->setVisible(shown);
}

int QCheckboxCombobox::rowOfBox(QObject *box) const
{
    auto *row = box ? qobject_cast<QZTComboBoxItem *>(box->parent()) : nullptr;
    return row ? row->index() : -1;
}

QComboboxCheckbox *QCheckboxCombobox::checkBoxAt(int index) const
{
    return index >= 0 && index < m_boxes.size() ? m_boxes.at(index) : nullptr;
}

void QCheckboxCombobox::AddItemWidget(QZTComboBoxItem *row, int index)
{
    auto *box = new QComboboxCheckbox(row);
    box->setCheckImage(&m_checkedImage, &m_uncheckedImage, nullptr, false, false);
    if (m_checkedImage.isNull())
        box->resize(box->sizeHint());
    connect(box, &QAbstractButton::clicked, this, &QCheckboxCombobox::clickCheckbox);
    connect(box, &QComboboxCheckbox::emitClick, this, &QCheckboxCombobox::clickRadio);
    connect(box, &QCheckBox::stateChanged, this, &QCheckboxCombobox::slotStateChanged);
    m_boxes.insert(qBound(0, index, m_boxes.size()), box);
    row->setWidgt(box);
    box->setVisible(m_boxesShown);
    box->setIgnoreClick(!m_checkMode);
    // The first row becomes current before its box exists: in radio mode the box catches up here.
    if (!m_checkMode && index == currentIndex())
        box->setChecked(true);
    if (m_checkMode)
        setShowText(QString());
}

void QCheckboxCombobox::removeItemWidgt(QZTComboBoxItem *row)
{
    auto *box = qobject_cast<QComboboxCheckbox *>(row->getWidgt());
    if (box) {
        m_boxes.removeAll(box);
        row->setWidgt(nullptr);
        delete box;
    }
    if (m_checkMode)
        setShowText(QString());
}

void QCheckboxCombobox::setShowText(const QString &text)
{
    QZTComboBox::setShowText(m_checkMode ? getSelectItemText() : text);
}

QString QCheckboxCombobox::getSelectItemText() const
{
    QString text;
    for (int i = 0; i < m_boxes.size(); ++i) {
        if (!m_boxes.at(i)->isChecked())
            continue;
        if (!text.isEmpty())
            text += QLatin1Char(';');
        text += itemText(rowOfBox(m_boxes.at(i)));
    }
    return text;
}

void QCheckboxCombobox::setCheckMode(bool on)
{
    m_checkMode = on;
    for (QComboboxCheckbox *box : qAsConst(m_boxes))
        box->setIgnoreClick(!on);
    // Radio mode: only the current row's box stays ticked.
    if (!on)
        selectChange(currentIndex());
    setShowText(currentText());
}

bool QCheckboxCombobox::itemCheckState(int index) const
{
    QComboboxCheckbox *box = checkBoxAt(index);
    return box && box->isChecked();
}

void QCheckboxCombobox::setCheckState(int index, bool checked)
{
    if (QComboboxCheckbox *box = checkBoxAt(index))
        box->setChecked(checked);
}

void QCheckboxCombobox::setCheckAll(bool checked)
{
    for (QComboboxCheckbox *box : qAsConst(m_boxes))
        box->setChecked(checked);
}

void QCheckboxCombobox::deleteAllItem()
{
    clearItemWidgt();
    clear();
}

void QCheckboxCombobox::clearItemWidgt()
{
    for (QComboboxCheckbox *box : qAsConst(m_boxes)) {
        if (auto *row = qobject_cast<QZTComboBoxItem *>(box->parent()))
            row->setWidgt(nullptr);
        delete box;
    }
    m_boxes.clear();
}

void QCheckboxCombobox::selectChange(int index)
{
    if (m_checkMode)
        return;
    for (QComboboxCheckbox *box : qAsConst(m_boxes))
        box->setChecked(false);
    if (QComboboxCheckbox *box = checkBoxAt(index))
        box->setChecked(true);
}

// In check mode the press belongs to the box (it ticks on release) and the list stays open for more
// ticks; only radio mode turns a press into a choice of the row.
void QCheckboxCombobox::clickRadio()
{
    if (m_checkMode)
        return;
    const int row = rowOfBox(sender());
    if (row >= 0)
        setCurrentIndex(row);
    hidePopup();
}

void QCheckboxCombobox::clickCheckbox()
{
    emit emitClickCheckbox(rowOfBox(sender()));
}

void QCheckboxCombobox::slotStateChanged(int state)
{
    if (m_checkMode)
        setShowText(QString());
    emit emitStateChange(rowOfBox(sender()), state);
}

void QCheckboxCombobox::hidePopup()
{
    QZTComboBox::hidePopup();
}
