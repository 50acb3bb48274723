#include "QVideoShowWidget.h"

QVideoShowWidget::QVideoShowWidget(QWidget *parent) : VideoViewContainer(parent) {}
