#pragma once
// Host of the video view in the main window's preview surface; all behaviour is the container's.

#include "VideoViewContainer.h"

class QVideoShowWidget : public VideoViewContainer
{
    Q_OBJECT

public:
    explicit QVideoShowWidget(QWidget *parent = nullptr);
};
