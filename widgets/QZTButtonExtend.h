#pragma once
// Skinned push button that can show a picture fitted into a rectangle over a plain ground (cover art,
// watermark image) and a small colour swatch with a grey frame.

#include "QZTBaseButton.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <string>

class QZTButtonExtend : public QZTBaseButton
{
    Q_OBJECT
public:
    explicit QZTButtonExtend(QWidget *parent = nullptr);

    // Each returns whether a picture is now shown; an empty path, a null image or bytes that decode to
    // no image clear it (the button shows its ordinary look). A path that does not load returns false
    // and keeps the picture shown so far. Pictures are kept no larger than the rectangle needs, and one
    // that declares an absurd size is refused unread (UserPicture).
    bool setTagImg(const QRect &rect, const QString &path);
    bool setTagImg(const QRect &rect, const QImage &image);
    bool setTagImg(const QRect &rect, const std::string &bytes);
    void setBackgroundColor(const QColor &color) { m_background = color; }
    void setIconColor(const QColor &color);
    QColor iconColor() const { return m_iconColor; }
    void setIconColorRect(const QRect &rect);

    // Where a w x h picture lands inside rect when fitted keeping its aspect ratio.
    static QRect fittedRect(const QRect &rect, int w, int h);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    bool showTag(const QRect &rect, const QPixmap &picture);
    static QSize pictureBox(const QRect &rect);

    bool m_tag = false;
    QPixmap m_tagImage;
    QRect m_tagRect;
    QColor m_background = QColor(255, 0, 0);
    QColor m_iconColor = QColor(0, 0, 0);
    QRect m_iconColorRect;
};
