#pragma once
// Image-skinned frameless main window: nine-grid, stretched or tiled background with logo and title,
// moved by its top band, resized from its edges and maximised by a double click.

#include "EdgeResizeTracker.h"
#include "NineGridDraw.h"
#include "QBaseDrawWidget.h"

#include <QColor>
#include <QImage>
#include <QMainWindow>

class QVariableSizeWidget : public QMainWindow
{
    Q_OBJECT
public:
    explicit QVariableSizeWidget(QWidget *parent = nullptr);
    ~QVariableSizeWidget() override;

    // The loaders report false (nothing changed) when the image does not load.
    bool setBackgroundImage(const QString &path, bool resizable);
    void setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight);
    bool setBackgroundTile(const QString &path, bool resizable);
    bool setLogoImage(const QString &path);
    void setLogoRect(const QRect &rect) { m_logoRect = rect; }
    void setDlgTitle(const QString &title);
    void setTitleRect(const QRect &rect) { m_titleRect = rect; }
    void setTitleColor(const QColor &color) { m_titleColor = color; }
    void setTitlePixel(int size) { m_titleSize = size; }
    void setHorizontalEnable(bool on) { m_horizontal = on; }
    bool isMaxSize() const { return m_maximised; }
    void imageFillToRect(QPainter &, const QRect &, const QRect &, const QImage &) {}
    int resizeState() const { return m_tracker.state(); }

signals:
    void emitRestoreDlg();

public slots:
    void OnBtnMax(int TransparentSize);
    void startCloseAnimation();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    bool m_edgeResize = true;
    bool m_pressed = false;
    QPoint m_pressOffset;
    bool m_maximised = false;
    EdgeResizeTracker m_tracker{EdgeResizeTracker::Zones{3, 6, 6, 4}};
    QRect m_normalGeometry;
    bool m_horizontal = true;
    QImage m_background;
    NineGridDraw::Corners m_corners;
    QImage m_logo;
    QRect m_logoRect;
    QString m_title;
    QRect m_titleRect;
    QString m_titleFamily = QStringLiteral("Tahoma");
    int m_titleSize = 10;
    QColor m_titleColor = QColor(99, 99, 99);
    bool m_tile = false;
};
