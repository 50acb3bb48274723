#pragma once
// Skinned time edit that reports typed times in microseconds.

#include "QZTDateTimeEdit.h"

#include <QTime>
#include <cstdint>

class QEditTimeEx : public QZTTimeEdit
{
    Q_OBJECT
public:
    explicit QEditTimeEx(QWidget *parent = nullptr);

    void setCurrentTime(unsigned long long us);
    unsigned long long getCurrentTime() const { return m_currentUs; }
    static unsigned long long timeConvertToInt(const QTime &time);

signals:
    void emitTextEdited(uint64_t us);

public slots:
    void onTextEdited(const QString &text);

private:
    unsigned long long m_currentUs = 0;
    QTime m_current = QTime(0, 0, 0, 0);
};
