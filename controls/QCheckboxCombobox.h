#pragma once
// A skinned combo box whose popup rows each carry a small check box. In check mode any number of rows
// can be ticked (a click ticks the row and the list stays open) and the combo shows the ticked rows'
// texts joined with ";". In radio mode the boxes ignore clicks and mark the current row; a click picks
// the row and closes the list.

#include "QZTCheckBox.h"
#include "QZTComboBox.h"

#include <QImage>
#include <QList>

class QComboboxCheckbox : public QZTCheckBox
{
    Q_OBJECT
public:
    explicit QComboboxCheckbox(QWidget *parent = nullptr);
    void setIgnoreClick(bool ignore) { m_ignoreClick = ignore; }
    bool ignoresClick() const { return m_ignoreClick; }

signals:
    void emitClick();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    bool m_ignoreClick = false;
};

class QCheckboxCombobox : public QZTComboBox
{
    Q_OBJECT
public:
    explicit QCheckboxCombobox(QWidget *parent = nullptr);

    bool setCheckImage(const QString &checked, const QString &unchecked);
    void setItemCheckboxable(bool shown);
    void setCheckMode(bool on);
    bool isCheckMode() const { return m_checkMode; }
    void setCheckboxPos(const QPoint &pos) { setItemWidgtPos(pos); }
    bool itemCheckState(int index) const;
    void setCheckState(int index, bool checked);
    void setCheckAll(bool checked);
    void deleteAllItem();
    void clearItemWidgt();
    QString getSelectItemText() const;
    QComboboxCheckbox *checkBoxAt(int index) const;

signals:
    void emitClickCheckbox(int index);
    void emitStateChange(int index, int state);

public slots:
    void clickCheckbox();
    void clickRadio();
    void slotStateChanged(int state);
    void selectChange(int index);
    void hidePopup() override;

protected:
    void AddItemWidget(QZTComboBoxItem *row, int index) override;
    void removeItemWidgt(QZTComboBoxItem *row) override;
    void setShowText(const QString &text) override;

private:
    int rowOfBox(QObject *box) const;

    bool m_boxesShown = true;
    QList<QComboboxCheckbox *> m_boxes;
    QImage m_checkedImage;
    QImage m_uncheckedImage;
    bool m_checkMode = true;
};
