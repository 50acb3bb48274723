#pragma once
// Base of a list tile: paints a background colour by mouse state (normal, hover, selected) and turns
// clicks with their modifier keys into signals.

#include <QColor>
#include <QWidget>

class QBaseItem : public QWidget
{
    Q_OBJECT
public:
    enum QMouseState { Normal = 0, Hover = 1, Selected = 2 };

    explicit QBaseItem(QWidget *parent = nullptr);

    void setBackgroundColor(const QColor &normal, const QColor &hover, const QColor &selected, const QColor &other);
    void setBackgroundColor(const QColor &color);
    void setMouseState(QMouseState state);
    QMouseState getMouseState() const { return m_mouseState; }

signals:
    void emitMousePress();
    void emitMouseShiftPress();
    void emitMouseCtrlPress();
    void emitShowTreeMenu();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void selectForMenu();

    QMouseState m_mouseState = Normal;
    QColor m_normalColor = QColor(53, 53, 68);
    QColor m_hoverColor = QColor(60, 60, 77);
    QColor m_selectedColor = QColor(60, 60, 77);
    QColor m_otherColor = QColor(53, 53, 68);
};
