#include "QCommonWidget.h"

QCommonWidget::QCommonWidget(QWidget *parent) : QWidget(parent) {}
