#pragma once
// Whether the codec library can encode what the conversion record asks for. The library falls back to
// another codec for one it cannot encode, which would give an output that differs from what the user
// chose; the merge asks here first and refuses with a message before anything is written.

#include "AttributeSetting.h"

#include <QString>

namespace EncoderCheck {

// The catalogue name of the first asked encoder that cannot be used (an unknown name, or one this build
// cannot encode); empty when every asked encoder is available or nothing is re-encoded.
QString unavailableEncoder(const AttributeSetting &record);
// The text shown to the user for that encoder.
QString message(const QString &encoder);

} // namespace EncoderCheck
