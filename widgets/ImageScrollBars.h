#pragma once
// Two simple vertical scroll bars: ScrollBar paints two flat colour blocks and can carry image arrow
// buttons that step by 20; StyleScrollBar is skinned by a style sheet to which arrow images can be added.

#include <QPixmap>
#include <QScrollBar>

class QImageButton;

class ScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit ScrollBar(QWidget *parent = nullptr);

    void setImageBackground(const QString &path);
    void setImageSlider(const QString &path);
    void setImageSliderMiddle(const QString &path);
    void setImageUpallow(const QString &path);
    void setImageDownallow(const QString &path);
    void setSpecialTreeLeft(bool on) { m_specialTreeLeft = on; }
    QImageButton *upButton() const { return m_up; }
    QImageButton *downButton() const { return m_down; }

public slots:
    void UP();
    void DOWN();

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QPixmap m_background;
    QPixmap m_handle;
    QPixmap m_handleMiddle;
    QImageButton *m_up = nullptr;
    QImageButton *m_down = nullptr;
    bool m_specialTreeLeft = false;
};

class StyleScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit StyleScrollBar(QWidget *parent = nullptr);

    void setImageUpallow(const QString &normal, const QString &hover);
    void setImageDownallow(const QString &normal, const QString &hover);

private:
    void appendRule(const QString &rule, QString path);
};
