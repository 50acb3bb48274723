#pragma once
// Texture geometry of the OpenGL video view: textures are allocated once at power-of-two sizes (at least
// 128) large enough for the frame's rows including their stride padding, and re-allocated only when the
// picture size changes or the strides outgrow them. The scales are the picture's share of the texture.

struct VideoTextureLayout
{
    static constexpr int kMinSide = 128;

    int imageWidth = 0; // 0 = nothing to draw
    int imageHeight = 0;
    int powerWidth = 0;
    int powerHeight = 0;
    float widthScale = 1.0f;
    float heightScale = 1.0f;

    bool isEmpty() const { return imageWidth == 0 || imageHeight == 0; }

    // Smallest power of two >= n (0 or less gives 1).
    static int powerOfTwoAtLeast(int n);

    // Packed frames: one RGBA texel per 4 bytes of stride.
    static VideoTextureLayout forPacked(int width, int height, int stride);
    bool fitsPacked(int width, int height, int stride) const;

    // Planar frames: the luma texture is powerWidth wide, the chroma textures half of it, so the
    // luma stride and twice the chroma strides must fit.
    static VideoTextureLayout forPlanar(int width, int height, const int strides[3]);
    bool fitsPlanar(int width, int height, const int strides[3]) const;
};
