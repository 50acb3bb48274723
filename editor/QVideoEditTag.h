#pragma once
// The row of tab buttons of the clip editor (and of the Effect page's two lists): one checkable image
// button per name, centred; a click reports the button's position. The current tab's button is checked
// and disabled, so it cannot be clicked again; a hidden tab passes a selection on to the next visible one.

#include "ui_QVideoEditTag.h"

#include <QColor>
#include <QList>
#include <QStringList>
#include <QWidget>

class QZTBaseButton;

class QVideoEditTag : public QWidget, public Ui::QVideoEditTag
{
    Q_OBJECT
public:
    explicit QVideoEditTag(QWidget *parent = nullptr);
    ~QVideoEditTag() override;

    void createTag(const QStringList &names);
    QZTBaseButton *initButton(const QString &name);
    void setSelectedTag(int index);
    void setHiddenTag(int index);
    void setBackgroundColor(const QColor &color) { m_backgroundColor = color; }

    int selectedIndex() const { return m_selectedIndex; }
    int count() const { return m_buttons.size(); }
    QZTBaseButton *button(int index) const { return m_buttons.value(index, nullptr); }
    QZTBaseButton *currentButton() const { return m_currentButton; }

signals:
    void emitSelectedTag(int index);

public slots:
    void onButton();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void selectFrom(int start);

    int m_selectedIndex = 0;
    QStringList m_names;
    QList<QZTBaseButton *> m_buttons;
    QZTBaseButton *m_currentButton = nullptr;
    QColor m_backgroundColor = QColor(255, 0, 0);
};
