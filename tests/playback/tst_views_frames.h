#pragma once
// Synthetic frames for the video view tests: a picture in four quadrants of known colours, as planar
// YUV 4:2:0 (limited-range BT.601) and as packed B,G,R,X, with stride padding filled with junk so that a
// view reading the padding shows wrong colours.

#include "VideoFrame.h"

#include <QColor>
#include <QImage>
#include <QtTest>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace viewtest {

// Top-left red, top-right green, bottom-left blue, bottom-right white.
inline QColor quadrantColour(int quadrant)
{
    static const QColor colours[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 255)};
    return colours[quadrant];
}

struct Yuv
{
    uint8_t y, u, v;
};

inline Yuv quadrantYuv(int quadrant)
{
    static const Yuv values[4] = {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {235, 128, 128}};
    return values[quadrant];
}

inline int quadrantAt(int x, int y, int width, int height)
{
    return (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
}

struct PlanarFrame
{
    int width = 0;
    int height = 0;
    int strides[3] = {0, 0, 0};
    std::vector<uint8_t> planes[3];
    const uint8_t *pointers[3] = {nullptr, nullptr, nullptr};

    VideoFrameDesc desc() const { return VideoFrameDesc::planar(pointers, width, height, strides); }
};

inline PlanarFrame makePlanar(int width, int height, int padding = 16)
{
    PlanarFrame f;
    f.width = width;
    f.height = height;
    const int cw = (width + 1) / 2;
    const int ch = (height + 1) / 2;
    f.strides[0] = width + padding;
    f.strides[1] = f.strides[2] = cw + padding / 2;
    f.planes[0].assign(size_t(f.strides[0]) * height, 255);
    f.planes[1].assign(size_t(f.strides[1]) * ch, 0);
    f.planes[2].assign(size_t(f.strides[2]) * ch, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            f.planes[0][size_t(y) * f.strides[0] + x] = quadrantYuv(quadrantAt(x, y, width, height)).y;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const Yuv c = quadrantYuv(quadrantAt(x * 2, y * 2, width, height));
            f.planes[1][size_t(y) * f.strides[1] + x] = c.u;
            f.planes[2][size_t(y) * f.strides[2] + x] = c.v;
        }
    for (int i = 0; i < 3; ++i)
        f.pointers[i] = f.planes[i].data();
    return f;
}

struct PackedFrame
{
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<uint8_t> data;

    VideoFrameDesc desc() const { return VideoFrameDesc::packed(data.data(), width, height, stride); }
};

// The fourth byte is 0: it is padding and must not make the picture transparent.
inline PackedFrame makePacked(int width, int height, int paddingPixels = 8)
{
    PackedFrame f;
    f.width = width;
    f.height = height;
    f.stride = (width + paddingPixels) * 4;
    f.data.assign(size_t(f.stride) * height, 0x7f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QColor c = quadrantColour(quadrantAt(x, y, width, height));
            uint8_t *p = f.data.data() + size_t(y) * f.stride + size_t(x) * 4;
            p[0] = uint8_t(c.blue());
            p[1] = uint8_t(c.green());
            p[2] = uint8_t(c.red());
            p[3] = 0;
        }
    return f;
}

inline bool closeTo(QColor actual, QColor expected, int tolerance = 16)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

// Compares the centre of each quadrant of a picture drawn over the whole of `image`.
inline void verifyQuadrants(const QImage &image)
{
    QVERIFY(!image.isNull());
    const int w = image.width();
    const int h = image.height();
    for (int q = 0; q < 4; ++q) {
        const int x = (q % 2 == 0) ? w / 4 : 3 * w / 4;
        const int y = (q < 2) ? h / 4 : 3 * h / 4;
        const QColor actual = image.pixelColor(x, y);
        QVERIFY2(closeTo(actual, quadrantColour(q)), qPrintable(QStringLiteral("quadrant %1 at %2,%3: got %4,%5,%6")
                                                                    .arg(q)
                                                                    .arg(x)
                                                                    .arg(y)
                                                                    .arg(actual.red())
                                                                    .arg(actual.green())
                                                                    .arg(actual.blue())));
    }
}

} // namespace viewtest
