#pragma once
// An older skinned message dialog: nine-grid background, title with a small icon, a word-wrapped message
// with an optional status icon, a close button and one or two text buttons, sized around the message.

#include "NineGridDraw.h"
#include "QBaseDrawWidget.h"
#include "ui_QZTMessageDlg.h"

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPixmap>

class QZTMessageDlg : public QDialog, public Ui::QZTMessageDlg
{
    Q_OBJECT
public:
    // Style bits: 0x2 status icon (0x10 warning, 0x20 success, 0x30 error); 0x100/0x200/0x400 two
    // buttons; 0x200 "Restart"/"Restart Later"; 0x400 YES/NO.
    explicit QZTMessageDlg(QWidget *parent = nullptr);
    ~QZTMessageDlg() override;

    void SetTitle(const QString &title)
    {
        m_title = title;
        setWindowTitle(title);
    }
    void SetMessage(const QString &message) { m_message = message; }
    void SetMessageStyle(unsigned int style) { m_style = style; }
    void setMovePos(int x, int y);
    bool setBackgroundImage(const QString &path);
    void setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight);
    void GetAppPath(QString &) {}
    void InitConnects();
    void DrawTop(QPainter *p);
    void DrawBottom(QPainter *p);
    void DrawLeft(QPainter *p);
    void DrawRight(QPainter *p);
    void DrawBorder(QPainter *p);
    void SetTitleImageRect();
    void SetIconRect();

    QRect messageRect() const { return m_messageRect; }

public slots:
    void OnBtnOk();
    void OnBtnCancel();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    QPixmap loadPixmap(const char *name) const;
    void placeButtons();
    bool twoButtons() const { return (m_style & 0x700) != 0; }

    QPoint m_pressOffset;
    QString m_appPath;
    QString m_title = QStringLiteral("Quorvane Framecarve");
    QString m_message;
    QRect m_titleRect;
    QRect m_messageRect;
    QFont m_titleFont;
    QFont m_messageFont;
    QPixmap m_titleIcon;
    QRect m_titleIconRect;
    QPixmap m_statusIcon;
    QRect m_statusIconRect;
    QRect m_windowRect;
    QPixmap m_top, m_bottom, m_left, m_right;
    int m_moveX = -1;
    int m_moveY = -1;
    QImage m_background;
    NineGridDraw::Corners m_corners;
    QRect m_baseRect = QRect(0, 0, 306, 189);
    unsigned int m_style = 0;
};

// Plain information boxes (a standard Qt box with one OK button); style is not used.
int ShowMessage(const char *text, const char *title, unsigned int style);
int ShowMessage(const QString &text, const QString &title, unsigned int style);
