#pragma once
// Microsecond counts and the times of day the time fields show: conversion both ways, typed-text parsing
// and the carry or borrow of a stepped section. Times beyond 23:59:59.999 are clamped to it.

#include <QDateTimeEdit>
#include <QString>
#include <QTime>

namespace TimeFieldMath {

constexpr unsigned long long kLastOfDayUs = 86399999000ULL; // 23:59:59.999

unsigned long long toMicroseconds(const QTime &time);
QTime fromMicroseconds(unsigned long long us);
// "h:m:s.ms" read left to right; a part whose separator is missing is 0 (see the time field's typing).
QTime parseTyped(const QString &text);
// The time after stepping section of s by one with carry (up) or borrow (down) into the next section,
// when s sits at that section's end; false when no carry or borrow applies (or it would leave the day).
bool carried(const QTime &s, QDateTimeEdit::Section section, bool up, QTime &result);

} // namespace TimeFieldMath
