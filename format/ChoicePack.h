#pragma once
// The eight current list indexes of the parameter panel (video codec, resolution, frame rate, video bit
// rate, audio codec, channels, sample rate, audio bit rate), and their 32-bit pack of four bits a list.
// The pack is kept as the stored, documented value; whether the picks still equal a preset's picks is
// decided on the indexes themselves, because the pack cannot tell an index of 16 or more, or an empty
// list (-1), from other picks.

#include <QtGlobal>

#include <array>

struct ChoicePack
{
    std::array<int, 8> indexes{{-1, -1, -1, -1, -1, -1, -1, -1}};

    // Each index shifted into its nibble (list 0 in bits 31-28) and OR-ed in unmasked.
    quint32 packed() const;
    bool operator==(const ChoicePack &other) const { return indexes == other.indexes; }
    bool operator!=(const ChoicePack &other) const { return !(*this == other); }
};
