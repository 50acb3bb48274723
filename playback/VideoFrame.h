#pragma once
// A decoded picture as the video views receive it. The delivering thread describes the caller's planes
// with a VideoFrameDesc (nothing is owned: the planes are valid only during the delivery call) and the
// views copy what they need into a VideoFrameBuffer before the call returns.

#include <cstdint>
#include <vector>

struct VideoFrameDesc
{
    enum Format : uint32_t {
        Yuv420p = 0, // planes Y, U, V; U and V are (width + 1) / 2 x (height + 1) / 2
        Bgrx32 = 30  // one plane, bytes B, G, R, X
    };

    uint32_t format = Yuv420p;
    int width = 0;
    int height = 0;
    const uint8_t *planes[3] = {nullptr, nullptr, nullptr};
    int strides[3] = {0, 0, 0};

    // Frames larger than this are refused rather than copied: no preview needs them and the size
    // arithmetic stays far from overflow.
    static constexpr int kMaxDimension = 16384;

    // A frame without pixels asks the view to clear its picture.
    bool isClear() const { return planes[0] == nullptr; }
    // True for a frame with pixels whose geometry is consistent and within bounds.
    bool isDrawable() const;

    static VideoFrameDesc packed(const uint8_t *data, int width, int height, int stride);
    static VideoFrameDesc planar(const uint8_t *const *planes, int width, int height, const int *strides);
};

// The views' own copy of one frame, made on the delivering thread.
struct VideoFrameBuffer
{
    uint32_t format = VideoFrameDesc::Yuv420p;
    int width = 0;
    int height = 0;
    int strides[3] = {0, 0, 0};
    int rows[3] = {0, 0, 0};
    std::vector<uint8_t> planes[3];

    bool isClear() const { return planes[0].empty(); }

    // Packed frames keep their stride (rows are repacked tightly when the stride is not a whole number of
    // pixels). Planar frames are padded to an even height (the last luma row repeated) and the chroma
    // columns beyond the picture are set to the neutral 128, so texture filtering at the right edge stays
    // grey instead of picking up whatever the decoder left in the padding.
    static bool copyFrom(const VideoFrameDesc &desc, VideoFrameBuffer &out);
};
