#pragma once
// Paints any QAbstractButton from a 2x strip of four frames (normal, hover, pressed or checked,
// disabled) with per-state text colours, an optional icon, an optional flicker and a round count badge.
// A mix-in without QObject: the owning control forwards its events. Images are held by value (QImage is
// shared), so no caller's image is ever borrowed.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class QAbstractButton;
class QEvent;
class QFocusEvent;
class QMouseEvent;
class QPainter;
class QPaintEvent;
class QTimerEvent;

struct ZtBaseButtonDrawPrivate;

class QZTBaseButtonDraw
{
public:
    explicit QZTBaseButtonDraw(QAbstractButton *host);
    ~QZTBaseButtonDraw();
    QZTBaseButtonDraw(const QZTBaseButtonDraw &) = delete;
    QZTBaseButtonDraw &operator=(const QZTBaseButtonDraw &) = delete;

    virtual void focusInEvent(QFocusEvent *e);
    virtual void focusOutEvent(QFocusEvent *e);
    virtual void DrawBackground(QPainter &painter);
    virtual void DrawButtonText(QPainter &painter);
    virtual void DrawFocus(QPainter &painter) {}
    virtual void DrawIcon(QPainter &painter);
    virtual void DrawFlicker(QPainter &painter);
    virtual void DrawDigitalTag(QPainter &painter);

    // False when the file is missing or does not decode; the previous image stays then.
    bool setButtonImage(const QString &path, bool nineGrid);
    // The copy flag is kept for callers; the image is always held by value. False for a null image
    // (the previous image stays).
    bool setButtonImage(QImage *image, bool nineGrid, bool copy);
    bool setButtonImage(const QImage &image, bool nineGrid);
    QImage buttonImage() const;
    void setGridView(bool nineGrid);
    void setStaticState(bool on);
    void setBtnState(int state);
    int getBtnState() const;
    void setTextColor(const QColor &color);
    void setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    void setTextRect(const QRect &rect);
    QRect textRect() const;
    bool setBtnIcon(const QString &path);
    bool setBtnIcon(const QImage &image);
    void setIconBtnMode(bool on);
    bool isIconbtnMode() const;
    void setIconRect(const QRect &rect);
    QRect iconRect() const;
    void setTag(int tag);
    int getTag() const;
    void setDoneSign(int sign);
    int getDoneSign() const;

    void resetCount();
    void addItemCount();
    int itmeCount() const;
    void setTagPixelSize(int size);
    void setTagRect(const QRect &rect);
    void setTagBgImage(const QString &normal, const QString &alternate);
    void setTagBgAlternateColor(const QColor &normal, const QColor &alternate);
    void setTagTextAlternateColor(const QColor &normal, const QColor &alternate);
    void setAlternateEffect(bool on, int intervalMs);

    void startFlicker(int intervalMs);
    void stopFlicker();
    bool isFlickering() const;

    void setEnterIsChangeMouse(bool on);
    bool getEnterIsChangeMouse() const;
    int getMouseMapValue() const;
    bool isCustomDraw() const;
    QColor currentDrawColor() const;

    bool mousePressEvent(QMouseEvent *e);
    bool mouseReleaseEvent(QMouseEvent *e);
    bool mouseMoveEvent(QMouseEvent *e);
    void enterEvent(QEvent *e);
    void leaveEvent(QEvent *e);
    void changeEvent(QEvent *e);
    void paintEvent(QPaintEvent *e);
    void timerEvent(QTimerEvent *e);

protected:
    int frameForState() const;
    void iconDraw(QPainter &painter, const QImage &image);

private:
    void applyImage(const QImage &image, bool nineGrid);
    void repaintHost();

    std::unique_ptr<ZtBaseButtonDrawPrivate> d;
};
