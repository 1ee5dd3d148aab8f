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
