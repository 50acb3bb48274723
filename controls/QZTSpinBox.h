#pragma once
// QSpinBox and QDoubleSpinBox drawn over a skin image, with two image step buttons that step once per
// click and repeatedly while held.

#include "QZTBaseRectImageDraw.h"

#include <QDoubleSpinBox>
#include <QMargins>
#include <QSpinBox>

class QZTStepButtons;

class QZTSpinBox : public QSpinBox, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    explicit QZTSpinBox(QWidget *parent = nullptr);

    bool setBackgroundImage(const QString &path);
    bool setUpAndDownBtnImage(const QString &up, const QString &down, bool keepSize);
    void setBtnMargins(int left, int top, int right, int bottom);
    void setBtnMargins(const QMargins &margins);
    void setTextMargins(int left, int top, int right, int bottom);
    QZTStepButtons *stepButtons() const { return m_buttons; }

public slots:
    void pressBtn();
    void releseBtn();

protected:
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QZTStepButtons *m_buttons = nullptr;
};

class QZTDoubleSpinBox : public QDoubleSpinBox, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    explicit QZTDoubleSpinBox(QWidget *parent = nullptr);

    bool setBackgroundImage(const QString &path);
    bool setUpAndDownBtnImage(const QString &up, const QString &down, bool keepSize);
    void setBtnMargins(int left, int top, int right, int bottom);
    void setBtnMargins(const QMargins &margins);
    QZTStepButtons *stepButtons() const { return m_buttons; }

public slots:
    void pressBtn();
    void releseBtn();

protected:
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QZTStepButtons *m_buttons = nullptr;
};
