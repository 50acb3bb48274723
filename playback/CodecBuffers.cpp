#include "CodecBuffers.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr quint32 kBmpHeaderBytes = 54;
constexpr quint32 kWaveHeaderBytes = 44;
// Larger than any picture or block the previews ask for; a bigger figure is a damaged buffer.
constexpr quint32 kMaxBytes = 512u * 1024u * 1024u;

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
} // namespace

namespace CodecBuffers {

QImage decodeImage(const unsigned char *data, quint32 length)
{
    QImage image;
    if (!data || length == 0 || length > kMaxBytes)
        return image;
    quint32 bytes = length;
    if (length >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (length < kBmpHeaderBytes)
            return image;
        const quint32 declared = le32(data + 2);
        if (declared < kBmpHeaderBytes || declared > length)
            return image;
        bytes = declared;
    }
    image.loadFromData(data, static_cast<int>(bytes));
    return image;
}

QByteArray waveBlock(const unsigned char *data, quint32 length, quint32 *sampleRate)
{
    if (sampleRate)
        *sampleRate = 0;
    if (!data || length < kWaveHeaderBytes || length > kMaxBytes)
        return {};
    if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return {};
    const quint32 dataBytes = std::min(le32(data + 40), length - kWaveHeaderBytes);
    QByteArray copy(reinterpret_cast<const char *>(data), int(kWaveHeaderBytes + dataBytes));
    unsigned char *field = reinterpret_cast<unsigned char *>(copy.data()) + 40;
    for (int i = 0; i < 4; ++i)
        field[i] = static_cast<unsigned char>(dataBytes >> (8 * i));
    if (sampleRate)
        *sampleRate = le32(data + 24);
    return copy;
}

} // namespace CodecBuffers
