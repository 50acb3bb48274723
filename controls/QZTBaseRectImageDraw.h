#pragma once
// The drawing mix-in of the rectangular input controls: a skin image (nine-grid, or a 4-frame strip in
// button mode), an optional icon and a text with margins, alignment and four state colours, painted
// underneath the host's own Qt painting. A failed image load keeps the previous image, so a field never
// turns invisible.

#include <QColor>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <QString>
#include <memory>

class QEvent;
class QMouseEvent;
class QPainter;
class QPaintEvent;
class QWidget;

struct ZtBaseRectImageDrawPrivate;

class QZTBaseRectImageDraw
{
public:
    explicit QZTBaseRectImageDraw(QWidget *host);
    ~QZTBaseRectImageDraw();
    QZTBaseRectImageDraw(const QZTBaseRectImageDraw &) = delete;
    QZTBaseRectImageDraw &operator=(const QZTBaseRectImageDraw &) = delete;

    virtual void drawBackgroundImage(QPainter &painter);
    virtual void drawIcon(QPainter &painter);
    virtual void drawRectText(QPainter &painter);

    bool setBackgroundImage(const QString &path);
    bool setBackgroundImage(const QImage &image);
    bool setRectIcon(const QString &path);
    bool setRectIcon(const QImage &image);
    void setIconRect(const QRect &rect);
    QRect iconRect() const;
    void setDrawText(const QString &text);
    QString drawText() const;
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const;
    void setTextDrawable(bool on);
    bool isTextDrawable() const;
    void setDrawTextMargins(int left, int top, int right, int bottom);
    void setDrawTextMargins(const QMargins &margins);
    QMargins drawTextMargins() const;
    void setTextColor(const QColor &color);
    void setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    QColor stateTextColor(int state) const;
    void setCheckState(bool checked);
    bool checkState() const;
    void setBtnMode(bool on);
    bool isBtnMode() const;
    void setIconBtnMode(bool on);
    bool IsIconBtnMode() const;
    bool isCustomDraw() const;
    int drawState() const;

    void paintEvent(QPaintEvent *e);
    bool mousePressEventDraw(QMouseEvent *e);
    void mouseReleaseEventDraw(QMouseEvent *e);
    void enterEventDraw(QEvent *e);
    void leaveEventDraw(QEvent *e);
    void changeEventDraw(QEvent *e);
    void resetBtnState();
    void iconDraw(QPainter &painter, const QImage &image);
    QColor drawTextColor();

private:
    QImage frameOf(const QImage &image) const;
    void updateHost();
    void repaintHost();

    std::unique_ptr<ZtBaseRectImageDrawPrivate> d;
};
