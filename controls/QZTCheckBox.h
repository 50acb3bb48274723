#pragma once
// A QCheckBox painted from check images; the whole control (image, icon and text) toggles it.

#include "QZTBaseBoxDraw.h"

#include <QCheckBox>

class QZTCheckBox : public QCheckBox, public QZTBaseBoxDraw
{
    Q_OBJECT
public:
    explicit QZTCheckBox(QWidget *parent = nullptr);

    bool setCheckImage(const QString &checked, const QString &unchecked, const QString &partial, bool twoFrames);
    bool setCheckImage(const QImage *checked, const QImage *unchecked, const QImage *partial, bool twoFrames,
                       bool copy);
    void adjustSize();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    bool hitButton(const QPoint &pos) const override;
};
