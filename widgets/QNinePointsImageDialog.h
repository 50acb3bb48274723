#pragma once
// Dialog base of the small windows: painted from one 2x background cut into nine pieces, with optional
// logo and title, moved by its top band, resized from its edges and maximised by a double click.
// Subclasses make themselves frameless and translucent and load their background.

#include "EdgeResizeTracker.h"
#include "NineGridDraw.h"
#include "QBaseDrawWidget.h"

#include <QColor>
#include <QDialog>
#include <QImage>

class QImageButton;

class QNinePointsImageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QNinePointsImageDialog(QWidget *parent = nullptr);
    ~QNinePointsImageDialog() override;

    // False (nothing changed) when the image does not load.
    bool setBackgroundImage(const QString &path, bool resizable);
    void setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight);
    void setVariableResize(bool on) { m_edgeResize = on; }
    void setHorizontalEnable(bool on) { m_horizontal = on; }
    void setMoveEnabled(bool on) { m_move = on; }
    void setMoveTop(int height) { m_moveTop = height; }
    bool setLogoImage(const QString &path);
    void setLogoRect(const QRect &rect) { m_logoRect = rect; }
    void setTitle(const QString &title);
    void setTextPixelSize(int size) { m_titlePixelSize = size; }
    void setTextColor(const QColor &color) { m_titleColor = color; }
    void setTitleRect(const QRect &rect) { m_titleRect = rect; }
    void addCloseBtn(const QString &path, bool show);
    void addMinBtn(const QString &path, bool show);
    void addMaxBtn(const QString &path, bool show);
    void addRestoreBtn(const QString &path, bool show);

    bool isMaximised() const { return m_maximised; }
    int resizeState() const { return m_tracker.state(); }
    QRect titleRect() const { return m_titleRect; }
    rectSize topLeftCorner() const { return m_corners.tl; }

public slots:
    void OnBtnMax();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

    QImageButton *m_btnClose = nullptr;
    QImageButton *m_btnMin = nullptr;
    QImageButton *m_btnMax = nullptr;
    QImageButton *m_btnRestore = nullptr;

private:
    QImageButton *makeButton(QImageButton *old, const QString &path, bool show, int x, int y);
    QRect availableArea() const;

    bool m_edgeResize = true;
    bool m_pressed = false;
    QPoint m_pressOffset;
    bool m_maximised = false;
    EdgeResizeTracker m_tracker{EdgeResizeTracker::Zones{4, 4, 4, 4}};
    int m_moveTop = 100;
    QRect m_normalGeometry;
    bool m_move = true;
    bool m_horizontal = true;
    QImage m_background;
    NineGridDraw::Corners m_corners;
    QImage m_logo;
    QRect m_logoRect;
    QString m_title;
    int m_titlePixelSize = 12;
    QColor m_titleColor = QColor(30, 29, 29);
    QRect m_titleRect = QRect(10, 0, 0, 25);
};
