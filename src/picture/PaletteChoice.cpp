#include "PaletteChoice.h"

#include "ColourCounts.h"
#include "NearestColour.h"
#include "Rgb.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

namespace {

// A colour of the picture, or the mean of the colours of a small cell of the colour cube,
// weighted by its pixels.
struct Point {
    std::array<double, 3> rgb;
    double weight;
};

struct Points {
    std::vector<Point> all;
    bool exact; // the picture's own colours, not means of cells
};

// Pixels are counted by their exact colours, each with its weight. A picture of more than
// kExactColours colours (a grainy photograph) is counted by cells of 4 x 4 x 4 colours (64 per
// component) instead, each cell standing as the weighted mean of its pixels; when it fills
// more than kManyCells, cells of 8 x 8 x 8 colours are enough to place 256 colours and keep
// the refinement quick.
constexpr size_t kExactColours = size_t(1) << 18;
constexpr size_t kManyCells = 16384;
constexpr uint32_t kCells = 1u << 18;

uint32_t CellOf(TPlatformColor c) {
    return uint32_t(Red(c) >> 2) << 12 | uint32_t(Green(c) >> 2) << 6 | uint32_t(Blue(c) >> 2);
}
// The 8 x 8 x 8 cell that holds a 4 x 4 x 4 one.
uint32_t LargeCellOf(uint32_t cell) {
    return (cell >> 13) << 10 | (cell >> 7 & 31) << 5 | (cell >> 1 & 31);
}

struct Cell {
    uint32_t pixels = 0; // their weight
    uint32_t red = 0, green = 0, blue = 0; // weighted sums of the places within the cell, 0 to 3
};

std::vector<Point> CellMeans(const std::vector<Cell>& cells, const std::vector<uint32_t>& used) {
    std::vector<Point> points;
    const bool large = used.size() > kManyCells;
    std::vector<size_t> where(large ? 1u << 15 : 0, SIZE_MAX);
    for (uint32_t i : used) {
        const Cell& cell = cells[i];
        const double w = cell.pixels;
        const Point p{{double(i >> 12 << 2) + cell.red / w,
                       double((i >> 6 & 63) << 2) + cell.green / w,
                       double((i & 63) << 2) + cell.blue / w},
                      w};
        if (!large) {
            points.push_back(p);
            continue;
        }
        size_t& at = where[LargeCellOf(i)];
        if (at == SIZE_MAX) {
            at = points.size();
            points.push_back({{0, 0, 0}, 0});
        }
        Point& sum = points[at];
        for (int k = 0; k < 3; ++k)
            sum.rgb[k] += p.rgb[k] * w;
        sum.weight += w;
    }
    if (large)
        for (Point& p : points)
            for (double& v : p.rgb)
                v /= p.weight;
    return points;
}

Points CountColours(std::span<const TPlatformColor> pixels, std::span<const uint8_t> weights) {
    auto weight = [&](size_t i) { return weights.empty() ? 1u : uint32_t(weights[i]); };
    ColourCounts exact;
    for (size_t i = 0; i < pixels.size() && exact.Size() <= kExactColours; ++i)
        exact.Add(pixels[i], weight(i));
    if (exact.Size() <= kExactColours) {
        std::vector<Point> points;
        for (const auto& [c, w] : exact.Sorted())
            points.push_back({{double(Red(c)), double(Green(c)), double(Blue(c))}, double(w)});
        return {points, true};
    }
    std::vector<Cell> cells(kCells);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const TPlatformColor c = pixels[i];
        const uint32_t w = weight(i);
        Cell& cell = cells[CellOf(c)];
        cell.pixels += w;
        cell.red += w * uint32_t(Red(c) & 3);
        cell.green += w * uint32_t(Green(c) & 3);
        cell.blue += w * uint32_t(Blue(c) & 3);
    }
    std::vector<uint32_t> used;
    for (uint32_t i = 0; i < kCells; ++i)
        if (cells[i].pixels != 0) used.push_back(i);
    return {CellMeans(cells, used), false};
}

// A box of points: their weight, sums and sums of squares by component.
struct Box {
    size_t begin, end;
    double weight = 0;
    std::array<double, 3> sum{}, squares{};

    Box(std::span<const Point> all, size_t from, size_t to) : begin(from), end(to) {
        for (size_t i = from; i < to; ++i) {
            const Point& p = all[i];
            weight += p.weight;
            for (int k = 0; k < 3; ++k) {
                sum[k] += p.weight * p.rgb[k];
                squares[k] += p.weight * p.rgb[k] * p.rgb[k];
            }
        }
    }
    double Variance(int k) const { return squares[k] - sum[k] * sum[k] / weight; }
    // The squared error of the box's colours to their mean.
    double Error() const { return end - begin < 2 ? 0 : Variance(0) + Variance(1) + Variance(2); }
    std::array<double, 3> Mean() const {
        return {sum[0] / weight, sum[1] / weight, sum[2] / weight};
    }
};

// Sorts the box's points along its component of largest variance and cuts where the two
// halves' squared errors add up least (their weighted squared means the most).
size_t Split(std::vector<Point>& points, const Box& box) {
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (box.Variance(k) > box.Variance(axis)) axis = k;
    // Points equal along the axis are ordered by their other components and weight, so that
    // the order, and with it every sum below, does not depend on the sort's algorithm.
    const size_t second = size_t(axis + 1) % 3, third = size_t(axis + 2) % 3;
    std::sort(points.begin() + ptrdiff_t(box.begin), points.begin() + ptrdiff_t(box.end),
              [axis, second, third](const Point& a, const Point& b) {
                  return std::tie(a.rgb[size_t(axis)], a.rgb[second], a.rgb[third], a.weight) <
                         std::tie(b.rgb[size_t(axis)], b.rgb[second], b.rgb[third], b.weight);
              });
    double weight = 0, best = -1;
    std::array<double, 3> sum{};
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
        weight += points[i].weight;
        double score = 0;
        for (int k = 0; k < 3; ++k) {
            sum[k] += points[i].weight * points[i].rgb[k];
            const double rest = box.sum[k] - sum[k];
            score += sum[k] * sum[k] / weight + rest * rest / (box.weight - weight);
        }
        if (score > best) {
            best = score;
            cut = i + 1;
        }
    }
    return cut;
}

std::vector<std::array<double, 3>> CutIntoBoxes(std::vector<Point>& points, size_t count) {
    std::vector<Box> boxes{Box(points, 0, points.size())};
    while (boxes.size() < count) {
        size_t worst = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].Error() > boxes[worst].Error()) worst = i;
        if (boxes[worst].Error() <= 0) break;
        const Box box = boxes[worst];
        const size_t cut = Split(points, box);
        boxes[worst] = Box(points, box.begin, cut);
        boxes.emplace_back(points, cut, box.end);
    }
    std::vector<std::array<double, 3>> means;
    for (const Box& box : boxes)
        means.push_back(box.Mean());
    return means;
}

int Component(double v) {
    return std::clamp(int(std::lround(v)), 0, 255);
}

std::vector<TPlatformColor> Rounded(const std::vector<std::array<double, 3>>& means) {
    std::vector<TPlatformColor> colours;
    for (const auto& m : means)
        colours.push_back(PlatformColor(uint8_t(Component(m[0])), uint8_t(Component(m[1])),
                                        uint8_t(Component(m[2]))));
    return colours;
}

// Lloyd's iterations: every point goes to its nearest colour (as the palette will hold it,
// rounded), every colour to the mean of its points. A colour left without points stays.
constexpr int kRefinements = 4;

std::vector<TPlatformColor> Refine(const Points& points, std::vector<std::array<double, 3>> means) {
    struct Cluster {
        std::array<double, 3> sum{};
        double weight = 0;
        const Point* heaviest = nullptr;
    };
    std::vector<Cluster> clusters;
    for (int round = 0; round < kRefinements; ++round) {
        NearestColour nearest(Rounded(means));
        clusters.assign(means.size(), {});
        for (const Point& p : points.all) {
            Cluster& c = clusters[nearest.Find(Component(p.rgb[0]), Component(p.rgb[1]),
                                               Component(p.rgb[2]))];
            for (int k = 0; k < 3; ++k)
                c.sum[k] += p.weight * p.rgb[k];
            c.weight += p.weight;
            if (!c.heaviest || p.weight > c.heaviest->weight) c.heaviest = &p;
        }
        for (size_t i = 0; i < means.size(); ++i)
            if (clusters[i].weight > 0)
                for (int k = 0; k < 3; ++k)
                    means[i][k] = clusters[i].sum[k] / clusters[i].weight;
    }
    // A colour that holds at least half its cluster's pixels is taken as it is: a flat area
    // of a drawing, or white paper, then shows without grain.
    for (size_t i = 0; i < means.size(); ++i)
        if (points.exact && clusters[i].heaviest &&
            2 * clusters[i].heaviest->weight >= clusters[i].weight)
            means[i] = clusters[i].heaviest->rgb;
    std::vector<TPlatformColor> palette = Rounded(means);
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

} // namespace

std::vector<TPlatformColor> ChoosePalette(std::span<const TPlatformColor> pixels, int count,
                                          std::span<const uint8_t> weights) {
    if (pixels.empty() || count <= 0) return {};
    Points points = CountColours(pixels, weights);
    std::vector<std::array<double, 3>> means = CutIntoBoxes(points.all, size_t(count));
    return Refine(points, std::move(means));
}
