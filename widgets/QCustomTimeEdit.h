#pragma once
// Time field on the image field base: a QTimeEdit with image step buttons that steps across sections
// with carry; times are unsigned microsecond counts.

#include "QCustomImageWidget.h"

#include <QTimeEdit>
#include <cstdint>

class QLineEdit;
class QTextImageButton;

// The QTimeEdit inside the field: reports its line edit's typing and its button stepping.
class QTimeEditEx : public QTimeEdit
{
    Q_OBJECT
public:
    explicit QTimeEditEx(QWidget *parent = nullptr);

    QLineEdit *getLindEdit() const { return lineEdit(); }

signals:
    void emitTextEdited(const QString &text);
    void emitTextChanged(const QString &text);
    void emitTextFinish();
    void emitStepUp();
    void emitStepDown();

public slots:
    void stepUp();
    void stepDown();
};

class QCustomTimeEdit : public QCustomImageWidget
{
    Q_OBJECT
public:
    explicit QCustomTimeEdit(QWidget *parent = nullptr);

    bool setUpAndDownBtnImage(const QString &up, const QString &down);
    void setEditColor(const QColor &enabled, const QColor &disabled);
    void setTimeRange(unsigned long long minimum, unsigned long long maximum);
    void clearRange();
    void setCurrentTime(unsigned long long us);
    unsigned long long getCurrentTime() const { return m_currentUs; }
    void setTimeEidtTextColor(const QColor &) {}
    static unsigned long long TimeConvertToInt(const QTime &time);
    static QTime IntConvertToTime(unsigned long long us);
    QTimeEditEx *timeEdit() const { return m_timeEdit; }

signals:
    void emitTimeChange(uint64_t us);

public slots:
    void OnBtnUp();
    void OnBtnDown();
    void onTimeChanged(const QTime &) {}
    void timeTextEdited(const QString &text);
    void timeEditingFinished() {}
    void timeTextChanged(const QString &) {}

protected:
    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QTextImageButton *ensureButton(QTextImageButton *&button, bool up);
    void stepped(bool up);
    void layoutChildren();

    QTimeEditEx *m_timeEdit = nullptr;
    QTextImageButton *m_up = nullptr;
    QTextImageButton *m_down = nullptr;
    QColor m_enabledColor = QColor(69, 69, 69);
    QColor m_disabledColor = QColor(98, 120, 120);
    unsigned long long m_currentUs = 0;
    QTime m_current;
};
