#pragma once
// A frame drawn over a skin image that hosts a QTextEdit inside margins and reports its text changes with
// the text.

#include "QZTBaseRectImageDraw.h"

#include <QMargins>
#include <QWidget>

class QTextEdit;

class QZTTextEdit : public QWidget, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    explicit QZTTextEdit(QWidget *parent = nullptr);

    bool setBackgroundImage(const QString &path);
    void setEditMargins(int left, int top, int right, int bottom);
    void setEditMargins(const QMargins &margins);
    QTextEdit *textEdit() const { return m_edit; }

signals:
    void textChanged(const QString &text);

public slots:
    void textEditChange();

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void placeEdit();

    QMargins m_margins;
    QTextEdit *m_edit = nullptr;
};
