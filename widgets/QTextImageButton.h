#pragma once
// The ordinary push button of the dialogs: a four-frame strip drawn as a stretched nine-grid, an optional
// icon and one line of elided text whose colour follows the state.

#include "StripButtonState.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

class QTextImageButton : public QPushButton
{
    Q_OBJECT
public:
    explicit QTextImageButton(QWidget *parent = nullptr);

    // Each loader reports false and keeps the previous strip and size when the file does not load.
    bool setBtnImage(const QString &path);
    bool setBtnImageAndText(const QString &path, const QString &text, int pixelSize);
    bool setBtnImageForRect(const QString &path, const QRect &rect);
    void setImgBtnRect(const QRect &rect);
    void setGridView(bool grid);
    QString getBtnText() const { return m_text; }
    void setBtnText(const QString &text);
    void setTextRect(const QRect &rect) { m_textRect = rect; }
    QRect textRect() const { return m_textRect; }
    void setTextPOS(int x, int y);
    void setCheckState(bool checked);
    void seedChick();
    void setOverState(bool over) { m_look.setOverState(over); }
    void setTextPixelSize(int size) { m_textPixelSize = size; }
    void setTextColor(const QColor &color);
    void setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    void setFontFormat(const QString &family) { m_fontFamily = family; }
    void setFontBold(bool bold) { m_bold = bold; }
    bool setBtnIcon(const QString &path);
    void setIconRect(const QRect &rect) { m_iconRect = rect; }
    int btnState() const { return m_look.state(); }
    QColor currentTextColor() const { return m_colours.current; }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;

    void imageDrawRect(QPainter &p, const QRect &rect, const QImage &frame);

private:
    QImage m_strip;
    QPixmap m_icon;
    QString m_text;
    QRect m_textRect;
    QRect m_iconRect = QRect(0, 0, 24, 24);
    bool m_checked = false;
    int m_textPixelSize = 12;
    StripTextColours m_colours;
    QString m_fontFamily = QStringLiteral("Tahoma");
    bool m_bold = false;
    StripButtonState m_look;
    bool m_grid = true;
    QRect m_imageRect;
};
