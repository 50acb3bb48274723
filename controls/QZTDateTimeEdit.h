#pragma once
// QDateTimeEdit (and a time-only variant) drawn over a skin image, with the image step buttons of the
// spin boxes, reporting every change of the shown text, typed or stepped, through emitTimeEdited.

#include "QZTBaseRectImageDraw.h"

#include <QDateTimeEdit>
#include <QMargins>

class QZTStepButtons;

class QZTDateTimeEdit : public QDateTimeEdit, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    explicit QZTDateTimeEdit(QWidget *parent = nullptr);
    QZTDateTimeEdit(const QVariant &value, QVariant::Type parserType, QWidget *parent = nullptr);

    bool setBackgroundImage(const QString &path);
    bool setUpAndDownBtnImage(const QString &up, const QString &down, bool keepSize);
    void setBtnMargins(int left, int top, int right, int bottom);
    void setBtnMargins(const QMargins &margins);
    void setTextMargins(int left, int top, int right, int bottom);
    void setTextMargins(const QMargins &margins);
    void stepBy(int steps) override;
    QZTStepButtons *stepButtons() const { return m_buttons; }

signals:
    void emitTimeEdited(const QString &text);

public slots:
    void stepUp() { QAbstractSpinBox::stepUp(); }
    void stepDown() { QAbstractSpinBox::stepDown(); }
    void pressBtn();
    void releseBtn();

protected:
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void init();

    QZTStepButtons *m_buttons = nullptr;
};

class QZTTimeEdit : public QZTDateTimeEdit
{
    Q_OBJECT
public:
    explicit QZTTimeEdit(QWidget *parent = nullptr);
    QZTTimeEdit(const QTime &time, QWidget *parent = nullptr);
};
