#pragma once
// Where a picture of videoWidth x videoHeight lies, centred at its own aspect, inside an area of
// outerWidth x outerHeight.

#include <QRect>

QRect letterboxVideoRect(int videoWidth, int videoHeight, int outerWidth, int outerHeight);
