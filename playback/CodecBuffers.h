#pragma once
// Reading the buffers the codec library hands out (still images, captures, wave blocks). The library says
// how many bytes it gave; a length written inside a buffer is believed only when it agrees with that.

#include <QByteArray>
#include <QImage>

namespace CodecBuffers {

// Decodes an image file of `length` bytes. A BMP whose own file size is below a BMP header or beyond
// `length` is refused (null image); other formats are decoded from the bytes given.
QImage decodeImage(const unsigned char *data, quint32 length);

// A copy of a WAV-image level block of `length` bytes, its data byte count held to the samples present.
// Empty for a null block, one shorter than the 44-byte header, or one without the RIFF/WAVE marks.
// `sampleRate` receives the header's rate.
QByteArray waveBlock(const unsigned char *data, quint32 length, quint32 *sampleRate);

} // namespace CodecBuffers
