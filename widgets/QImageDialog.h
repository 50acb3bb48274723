#pragma once
// Dialog that paints one 2x image at its logical size, takes that size and is dragged by a top band.

#include <QDialog>
#include <QImage>

class QImageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QImageDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~QImageDialog() override;

    // False (nothing changed) when the image does not load.
    bool SetImageBackgroud(const QString &path);
    static QString GetApplicationPath() { return s_applicationPath; }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QImage m_background;
    bool m_move = true;
    QPoint m_pressOffset;
    bool m_pressed = false;
    static QString s_applicationPath;
};
