#pragma once
// A QLineEdit drawn over a skin image, with a placeholder text in a colour of its own and a digits-only
// mode.

#include "QZTBaseRectImageDraw.h"

#include <QLineEdit>

class QZTLineEdit : public QLineEdit, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    explicit QZTLineEdit(QWidget *parent = nullptr);

    bool setBackgroundImage(const QString &path);
    void onlyInputNumber();
    void setAlignment(Qt::Alignment alignment) { QLineEdit::setAlignment(alignment); }
    void setPalette(const QPalette &palette);
    void setPlaceholderTextColor(const QColor &color, bool on);
    void setPlaceholderText(const QString &text);
    QColor textColor() const { return m_textColor; }

protected:
    void paintEvent(QPaintEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void showPlaceholder();
    void setTextRole(const QColor &color);

    QColor m_placeholderColor;
    QColor m_textColor;
    bool m_placeholderMode = false;
    QString m_placeholderText;
};
