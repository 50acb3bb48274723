#pragma once
// Check box or radio button drawn from two whole images (checked, unchecked) with a label beside it.
// Radio pairs are not grouped here: the owner unchecks the partner on clicked().

#include "QCommonWidget.h"

#include <QPixmap>

class QCheckButton : public QCommonWidget
{
    Q_OBJECT
public:
    explicit QCheckButton(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    // False when either image does not load (that image is then empty).
    bool setCheckImage(const QString &checkedPath, const QString &uncheckedPath);
    void setFont(const QFont &font);
    void adjustSize();
    void setTextRect(const QRect &rect) { m_textRect = rect; }
    QRect textRect() const { return m_textRect; }
    QRect imageRect() const { return m_imageRect; }
    void setChecked(bool checked);
    bool isChecked() const { return m_state == 2; }
    int checkState() const { return m_state; }
    void setButtonType(bool radio) { m_radio = radio; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QString m_text;
    QRect m_textRect = QRect(0, 0, 0, 0);
    QPixmap m_checked;
    QPixmap m_unchecked;
    QRect m_imageRect = QRect(0, 0, 0, 0);
    bool m_radio = false;
    int m_state = 0;
    QFont m_measureFont;
};
