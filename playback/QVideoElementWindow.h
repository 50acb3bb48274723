#pragma once
// Host of the video view in the clip editor's preview surfaces; all behaviour is the container's.

#include "VideoViewContainer.h"

class QVideoElementWindow : public VideoViewContainer
{
    Q_OBJECT

public:
    explicit QVideoElementWindow(QWidget *parent = nullptr);
};
