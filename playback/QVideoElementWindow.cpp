#include "QVideoElementWindow.h"

QVideoElementWindow::QVideoElementWindow(QWidget *parent) : VideoViewContainer(parent) {}
