// The pictures the benchmarks run on, generated so every run sees the same pixels.
#pragma once

#include "GifUnit.h"

#include <string>
#include <vector>

struct BenchPicture {
    std::string name;
    TColorTable colors;
    TByteArray2D indices;
};

// A photo-like picture: smooth shading with fine noise, all 256 colours in use.
BenchPicture PhotoLike(int width, int height);
// A cartoon-like picture: large flat areas, hard edges, 16 colours.
BenchPicture CartoonLike(int width, int height);

// The picture's pixels as platform colour values (red in the low byte).
std::vector<TPlatformColor> ToPlatformColors(const BenchPicture& picture);

// A 24-bit picture: nearly every pixel a colour of its own, as a photograph or a drawing
// with smoothed edges has.
struct TrueColourPicture {
    std::string name;
    int width = 0, height = 0;
    std::vector<TPlatformColor> pixels;
};

// Shading in all three components with film grain.
TrueColourPicture GrainyPhoto(int width, int height);
// A clear sky: deep blue above to pale at the horizon, a warm glow round the sun, faint grain.
TrueColourPicture SkyGradient(int width, int height);
// A face before a blurred garden: shaded skin, hair, eyes and lips, sensor noise.
TrueColourPicture FacePhoto(int width, int height);
// Flat colours and a graded sky, black outlines, their edges smoothed (many in-between colours).
TrueColourPicture SmoothCartoon(int width, int height);
