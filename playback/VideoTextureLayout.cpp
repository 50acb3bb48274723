#include "VideoTextureLayout.h"

#include <algorithm>

int VideoTextureLayout::powerOfTwoAtLeast(int n)
{
    int power = 1;
    while (power < n && power < (1 << 30))
        power <<= 1;
    return power;
}

namespace {

VideoTextureLayout makeLayout(int width, int height, int texelsPerRow)
{
    VideoTextureLayout layout;
    layout.imageWidth = width;
    layout.imageHeight = height;
    layout.powerWidth = std::max(VideoTextureLayout::powerOfTwoAtLeast(texelsPerRow), VideoTextureLayout::kMinSide);
    layout.powerHeight = std::max(VideoTextureLayout::powerOfTwoAtLeast(height), VideoTextureLayout::kMinSide);
    layout.widthScale = float(width) / float(layout.powerWidth);
    layout.heightScale = float(height) / float(layout.powerHeight);
    return layout;
}

} // namespace

VideoTextureLayout VideoTextureLayout::forPacked(int width, int height, int stride)
{
    return makeLayout(width, height, stride / 4);
}

bool VideoTextureLayout::fitsPacked(int width, int height, int stride) const
{
    return !isEmpty() && width == imageWidth && height == imageHeight && stride <= 4 * powerWidth;
}

VideoTextureLayout VideoTextureLayout::forPlanar(int width, int height, const int strides[3])
{
    return makeLayout(width, height, std::max(strides[0], 2 * std::max(strides[1], strides[2])));
}

bool VideoTextureLayout::fitsPlanar(int width, int height, const int strides[3]) const
{
    return !isEmpty() && width == imageWidth && height == imageHeight && strides[0] <= powerWidth &&
           strides[1] <= powerWidth / 2 && strides[2] <= powerWidth / 2;
}
