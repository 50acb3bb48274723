#pragma once
// Text image button with a counter badge in its top-right corner.

#include "QTextImageButton.h"

class QImageButtonEx : public QTextImageButton
{
    Q_OBJECT
public:
    explicit QImageButtonEx(QWidget *parent = nullptr);

    int count() const { return m_count; }
    void resetCount();

public slots:
    void addItemCount();

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    int m_count = 0;
};
