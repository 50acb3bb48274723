#pragma once
// Window behaviour of a frameless, image-skinned window as a mix-in without QObject: nine-grid or plain
// background, logo and title; drag by a top band, resize by edges and corners, double-click maximise; and
// centring another dialog over the window. The host's event handlers forward to it.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <memory>

class QDialog;
class QFocusEvent;
class QMouseEvent;
class QPainter;
class QPaintEvent;
class QWidget;

struct rectSize
{
    int width = 0;
    int height = 0;
    rectSize() = default;
    rectSize(int w, int h) : width(w), height(h) {}
};

typedef int dlgType;           // 2: embedded widget; anything else: top-level window
typedef int enumStretchPolicy; // bit 1: left/right edges, bit 2: top/bottom edges
typedef int CursorAndState;    // 0 none, 1 left, 2 top-left, 3 top, 4 top-right, 5 right, 6 bottom-right,
                               // 7 bottom, 8 bottom-left, 9 none

struct QBaseDrawWidgetPrivate;

class QBaseDrawWidget
{
public:
    QBaseDrawWidget(QWidget *host, dlgType type);
    ~QBaseDrawWidget();
    QBaseDrawWidget(const QBaseDrawWidget &) = delete;
    QBaseDrawWidget &operator=(const QBaseDrawWidget &) = delete;

    virtual void resetControlLocation() {}
    virtual void OnBtnMax();
    virtual void setCursorType(CursorAndState zone);
    virtual void setCursorAndState(QMouseEvent *e);
    virtual void setFrameGeomtry(QMouseEvent *e);
    virtual void DrawLogo(QPainter &painter);
    virtual void DrawWgtText(QPainter &painter);

    void paintEvent(QPaintEvent *e);
    void mousePressEvent(QMouseEvent *e);
    void mouseMoveEvent(QMouseEvent *e);
    void mouseReleaseEvent(QMouseEvent *e);
    void mouseDoubleClickEvent(QMouseEvent *e);
    void focusOutEvent(QFocusEvent *e);

    void setDrawWidget(QWidget *host);
    QWidget *DrawWiget() const;
    void setMoveTopHeight(int height);
    void setStretchWidth(int width);
    int stretchWidth() const;
    void setStretchPolicy(enumStretchPolicy policy);
    enumStretchPolicy stretchPolicy() const;
    CursorAndState cursorState() const;
    bool isMaxSize() const;
    void setTransparentW(int w);
    void setTransparentW(int left, int top, int right, int bottom);
    void setBackgroundImage(const QString &path, bool resizable);
    void setBackgroundImage(const QImage &image, bool resizable);
    void changeBackgroundImage(const QImage &image);
    void setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight);
    void setBackgrounColor(const QColor &color);
    void setLogoImage(const QString &path);
    void setLogoImage(const QImage &image);
    void setLogoRect(const QRect &rect);
    QRect logoRect() const;
    void setTitleRect(const QRect &rect);
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const;
    void setDlgTitle(const QString &title);
    QString getDlgTitle() const;
    void CenterDlg(QDialog &dlg);

private:
    void repaintHost();
    void sizeLogoRect();
    int edgesForZone(CursorAndState zone) const;

    std::unique_ptr<QBaseDrawWidgetPrivate> d;
};
