#pragma once
// Field drawn from a four-state image strip as a nine-grid, with an optional icon and one line of text;
// the base of the menu-backed combo box and of the image spin box and time field.

#include "StripButtonState.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class QCustomImageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit QCustomImageWidget(QWidget *parent = nullptr);
    ~QCustomImageWidget() override;

    // The loaders report false and keep the previous strip and size when the file does not load.
    bool setBtnImage(const QString &path);
    bool setBtnImageAndText(const QString &path, const QString &text, int size);
    bool setImageForRect(const QString &path, const QRect &rect);
    void setImgBtnRect(const QRect &rect);
    QString getBtnText() const { return m_text; }
    void setBtnText(const QString &text);
    void setBtnMode(bool buttonMode) { m_buttonMode = buttonMode; }
    void setTextRect(const QRect &rect) { m_textRect = rect; }
    QRect textRect() const { return m_textRect; }
    void setTextPOS(int x, int y);
    void setTextPixelSize(int size) { m_textSize = size; }
    void setFontFormat(const QString &family) { m_fontFamily = family; }
    void setTextColor(const QColor &color);
    void setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    bool setBtnIcon(const QString &path, bool frames);
    void setIconRect(const QRect &rect) { m_iconRect = rect; }
    void setCheckState(bool checked);
    void setOverState(bool over) { m_look.setOverState(over); }
    int state() const { return m_look.state(); }
    QColor currentTextColor() const { return m_colours.current; }
    // The font the text is drawn in.
    QFont textFont() const;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void drawIcon(QPainter &p, const QPixmap &icon);

    StripButtonState m_look;
    QImage m_strip;
    QPixmap m_icon;
    bool m_iconFrames = false;
    QRect m_imageRect = QRect(0, 0, 0, 0);
    QRect m_textRect = QRect(0, 0, 0, 0);
    QRect m_iconRect = QRect(0, 0, 24, 24);
    bool m_checked = false;
    QString m_text;
    int m_textSize = 9;
    QString m_fontFamily = QStringLiteral("Tahoma");
    bool m_buttonMode = true;
    StripTextColours m_colours;
};
