#include "ChoicePack.h"

quint32 ChoicePack::packed() const
{
    quint32 pack = 0;
    for (int i = 0; i < 8; ++i)
        pack |= static_cast<quint32>(indexes[static_cast<size_t>(i)]) << (28 - 4 * i);
    return pack;
}
