#include "VideoLetterbox.h"

#include <cmath>

QRect letterboxVideoRect(int videoWidth, int videoHeight, int outerWidth, int outerHeight)
{
    if (videoWidth < 1 || videoHeight < 1)
        return QRect();
    // Ratios compared in single precision, so that near-equal ratios fall on the same side every time.
    const float videoRatio = float(double(videoWidth) / double(videoHeight));
    const float outerRatio = float(double(outerWidth) / double(outerHeight));
    int width = videoWidth;
    int height = videoHeight;
    if (videoRatio > outerRatio) {
        width = outerWidth;
        height = int(double(qint64(videoHeight) * outerWidth) / double(videoWidth));
    } else if (outerRatio >= videoRatio) {
        width = int(double(qint64(videoWidth) * outerHeight) / double(videoHeight));
        height = outerHeight;
    }
    // Otherwise the outer ratio is not a number (an area of 0 x 0): keep the picture's own size.
    return QRect((outerWidth - width) / 2, (outerHeight - height) / 2, width, height);
}
