#pragma once
// Paints a check box or radio button from 2x images: a check image chosen by the check state (optionally
// two frames: enabled left half, disabled right half), an optional icon and the elided text. A mix-in
// without QObject. Images are held by value; a failed load keeps the previous images.

#include <QImage>
#include <QRect>
#include <QString>
#include <QVariant>
#include <memory>

class QAbstractButton;
class QPainter;
class QPaintEvent;

struct ZtBaseBoxDrawPrivate;

class QZTBaseBoxDraw
{
public:
    enum enumBoxType { CheckBox = 0, RadioButton = 1 };

    QZTBaseBoxDraw(QAbstractButton *host, enumBoxType type);
    ~QZTBaseBoxDraw();
    QZTBaseBoxDraw(const QZTBaseBoxDraw &) = delete;
    QZTBaseBoxDraw &operator=(const QZTBaseBoxDraw &) = delete;

    virtual void DrawCheckImage(QPainter &painter);
    virtual void DrawIconImage(QPainter &painter);
    virtual void DrawCheckText(QPainter &painter);

    // False (and nothing changes) unless the checked file loads and the unchecked one loads too.
    bool setCheckImage(const QString &checked, const QString &unchecked, const QString &partial, bool unused,
                       bool twoFrames);
    // False for a null checked or unchecked image. The copy flag is kept for callers: images are always
    // held by value.
    bool setCheckImage(const QImage *checked, const QImage *unchecked, const QImage *partial, bool unused,
                       bool twoFrames, bool copy);
    bool setBtnIcon(const QString &path);
    void setIconRect(const QRect &rect);
    void setTextRect(const QRect &rect);
    QRect textRect() const;
    QRect checkRect() const;
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    void setBgFillMode(bool on);
    void setData(const QVariant &data);
    QVariant getData() const;
    bool isCustomDraw() const;
    QImage checkedImage() const;
    QImage uncheckedImage() const;

    void adjustSize();
    void paintEvent(QPaintEvent *e);

private:
    std::unique_ptr<ZtBaseBoxDrawPrivate> d;
};
