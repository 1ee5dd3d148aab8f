#include "TextImageColours.h"

#include "ColourCounts.h"
#include "NearestColour.h"
#include "Rgb.h"

#include <algorithm>

namespace {
constexpr size_t kGifColours = 256;
}

std::vector<TPlatformColor> ReduceTextImage(std::span<const TPlatformColor> pixels,
                                            std::span<const TPlatformColor> pictureColours) {
    ColourCounts picture;
    for (TPlatformColor c : pictureColours)
        picture.Add(c);
    ColourCounts kept, added;
    for (TPlatformColor c : pixels)
        (picture.Contains(c) ? kept : added).Add(c);
    const size_t room = kGifColours - std::min(kept.Size(), kGifColours);
    std::vector<TPlatformColor> out(pixels.begin(), pixels.end());
    for (TPlatformColor& c : out)
        c &= 0xFFFFFF;
    if (added.Size() <= room) return out;

    auto news = added.Sorted();
    std::stable_sort(news.begin(), news.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<TPlatformColor> table;
    for (const auto& entry : kept.Sorted())
        table.push_back(entry.first);
    for (size_t i = 0; i < room; ++i)
        table.push_back(news[i].first);
    NearestColour nearest(table);
    for (TPlatformColor& c : out)
        if (!picture.Contains(c)) c = table[nearest.Find(Red(c), Green(c), Blue(c))];
    return out;
}
