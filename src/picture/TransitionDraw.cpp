#include "TransitionDraw.h"

#include <algorithm>
#include <cstring>
#include <numeric>

using namespace transitiondraw;

namespace {

// The three pictures and the area; coordinates below are counted from the area's corner.
struct Frame {
    const TRgbImage& before;
    const TRgbImage& after;
    TRgbImage& out;
    TRect area;

    // `count` pixels from (fromX, fromY) of `from` to (toX, toY) of the frame.
    void Copy(const TRgbImage& from, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
              int32_t count) const {
        if (count <= 0) return;
        std::memcpy(out.Pixel(area.X + toX, area.Y + toY),
                    from.Pixel(area.X + fromX, area.Y + fromY), size_t(count) * kRgbBytes);
    }
    void Row(const TRgbImage& from, int32_t fromY, int32_t toY) const {
        Copy(from, 0, fromY, 0, toY, area.Width);
    }
    // Row `y` as `outer` outside [from, to) and `inner` inside it.
    void Split(int32_t y, int32_t from, int32_t to, const TRgbImage& outer,
               const TRgbImage& inner) const {
        Copy(outer, 0, y, 0, y, from);
        Copy(inner, from, y, from, y, to - from);
        Copy(outer, to, y, to, y, area.Width - to);
    }
    void Fill(TRect r, uint8_t grey) const {
        for (int32_t y = r.Y; y < r.Y + r.Height; ++y)
            std::memset(out.Pixel(area.X + r.X, area.Y + y), grey, size_t(r.Width) * kRgbBytes);
    }
};

// The part of `length` that the elapsed time has reached, rounded down.
int32_t Share(int32_t length, int64_t elapsed, int64_t duration) {
    return int32_t(int64_t(length) * elapsed / duration);
}

int32_t CeilDiv(int32_t a, int32_t b) {
    return (a + b - 1) / b;
}

enum class Direction { Down, Up, Left, Right };

// The new picture enters from one side. Pushing, the old one leaves by the other side;
// otherwise the new one slides over it.
void Slide(const Frame& f, Direction direction, bool push, int64_t elapsed, int64_t duration) {
    const int32_t w = f.area.Width, h = f.area.Height;
    switch (direction) {
    case Direction::Down: {
        const int32_t s = Share(h, elapsed, duration);
        for (int32_t y = 0; y < h; ++y)
            y < s ? f.Row(f.after, h - s + y, y) : f.Row(f.before, push ? y - s : y, y);
        break;
    }
    case Direction::Up: {
        const int32_t s = Share(h, elapsed, duration);
        for (int32_t y = 0; y < h; ++y)
            y >= h - s ? f.Row(f.after, y - (h - s), y) : f.Row(f.before, push ? y + s : y, y);
        break;
    }
    case Direction::Left: {
        const int32_t s = Share(w, elapsed, duration);
        for (int32_t y = 0; y < h; ++y) {
            f.Copy(f.before, push ? s : 0, y, 0, y, w - s);
            f.Copy(f.after, 0, y, w - s, y, s);
        }
        break;
    }
    case Direction::Right: {
        const int32_t s = Share(w, elapsed, duration);
        for (int32_t y = 0; y < h; ++y) {
            f.Copy(f.after, w - s, y, 0, y, s);
            f.Copy(f.before, push ? 0 : s, y, s, y, w - s);
        }
        break;
    }
    }
}

// Horizontal slats, each uncovered from its top down, all at once.
void Blinds(const Frame& f, int64_t elapsed, int64_t duration) {
    const int32_t slat = std::max(kMinBand, CeilDiv(f.area.Height, kBlindSlats));
    const int32_t open = Share(slat, elapsed, duration);
    for (int32_t y = 0; y < f.area.Height; ++y)
        f.Row(y % slat < open ? f.after : f.before, y, y);
}

// For each tile, the moment it turns: a shuffle of a fixed seed by a generator of our own
// (std::shuffle differs between libraries), so the same card gives the same frames anywhere.
std::vector<uint32_t> MosaicRanks(uint32_t count) {
    std::vector<uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    uint32_t state = 0x9E3779B9u;
    for (uint32_t i = count; i > 1; --i) {
        state ^= state << 13; // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        std::swap(order[i - 1], order[state % i]);
    }
    std::vector<uint32_t> rank(count);
    for (uint32_t k = 0; k < count; ++k)
        rank[order[k]] = k;
    return rank;
}

void Mosaic(const Frame& f, int64_t elapsed, int64_t duration) {
    const int32_t w = f.area.Width, h = f.area.Height;
    const int32_t tile = std::max(kMinBand, CeilDiv(std::max(w, h), kMosaicTilesAlong));
    const int32_t columns = CeilDiv(w, tile), rows = CeilDiv(h, tile);
    const std::vector<uint32_t> rank = MosaicRanks(uint32_t(columns * rows));
    const uint32_t turned = uint32_t(Share(columns * rows, elapsed, duration));
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t* rowRanks = rank.data() + (y / tile) * columns;
        // Neighbouring tiles from the same picture go in one copy.
        for (int32_t c = 0; c < columns;) {
            const bool isNew = rowRanks[c] < turned;
            int32_t end = c + 1;
            while (end < columns && (rowRanks[end] < turned) == isNew)
                ++end;
            const int32_t x = c * tile;
            f.Copy(isNew ? f.after : f.before, x, y, x, y, std::min(end * tile, w) - x);
            c = end;
        }
    }
}

// The new picture uncovered in a band that widens from the middle (opening) or in two bands
// that grow from the edges to meet there (closing); across the columns or across the rows.
void Curtain(const Frame& f, bool opening, bool columns, int64_t elapsed, int64_t duration) {
    const int32_t length = columns ? f.area.Width : f.area.Height;
    const int32_t s = Share(length, elapsed, duration);
    // Opening: the new picture in [from, to); closing: the old one there.
    const int32_t from = opening ? (length - s) / 2 : s / 2;
    const int32_t to = opening ? from + s : length - (s - s / 2);
    const TRgbImage& inner = opening ? f.after : f.before;
    const TRgbImage& outer = opening ? f.before : f.after;
    for (int32_t y = 0; y < f.area.Height; ++y) {
        if (columns)
            f.Split(y, from, to, outer, inner);
        else
            f.Row(y >= from && y < to ? inner : outer, y, y);
    }
}

// Which source line, of `length`, the line `i` of `scaled` lines shows: the nearest to its
// centre.
int32_t Nearest(int32_t i, int32_t length, int32_t scaled) {
    return int32_t((int64_t(2) * i + 1) * length / (int64_t(2) * scaled));
}

// The whole new picture grows from the area's centre over the old one.
void Zoom(const Frame& f, int64_t elapsed, int64_t duration) {
    const int32_t w = f.area.Width, h = f.area.Height;
    const int32_t zw = Share(w, elapsed, duration), zh = Share(h, elapsed, duration);
    const int32_t left = (w - zw) / 2, top = (h - zh) / 2;
    // The column of the new picture that each column of the shrunk one shows. Near full size
    // most columns continue their left neighbour's: such runs go in one copy each. Smaller,
    // the runs are short and the columns are copied one by one.
    struct Run {
        size_t to, from, count; // in bytes
    };
    std::vector<Run> runs;
    std::vector<size_t> columns(size_t(std::max(zw, 0)));
    for (int32_t i = 0; i < zw; ++i) {
        columns[i] = size_t(Nearest(i, w, zw)) * kRgbBytes;
        if (!runs.empty() && runs.back().from + runs.back().count == columns[i])
            runs.back().count += kRgbBytes;
        else
            runs.push_back({size_t(i) * kRgbBytes, columns[i], kRgbBytes});
    }
    const bool byRuns = runs.size() * 4 <= size_t(zw);
    for (int32_t y = 0; y < h; ++y) {
        if (y < top || y >= top + zh || zw == 0) {
            f.Row(f.before, y, y);
            continue;
        }
        f.Copy(f.before, 0, y, 0, y, left);
        f.Copy(f.before, left + zw, y, left + zw, y, w - left - zw);
        const uint8_t* from = f.after.Pixel(f.area.X, f.area.Y + Nearest(y - top, h, zh));
        uint8_t* to = f.out.Pixel(f.area.X + left, f.area.Y + y);
        if (byRuns) {
            for (const Run& run : runs)
                std::memcpy(to + run.to, from + run.from, run.count);
            continue;
        }
        for (const size_t column : columns) {
            const uint8_t* p = from + column;
            to[0] = p[0], to[1] = p[1], to[2] = p[2];
            to += kRgbBytes;
        }
    }
}

// The new picture unrolls from the top edge down, stretched to the height it has reached.
void Unfold(const Frame& f, int64_t elapsed, int64_t duration) {
    const int32_t h = f.area.Height;
    const int32_t s = Share(h, elapsed, duration);
    for (int32_t y = 0; y < h; ++y)
        y < s ? f.Row(f.after, Nearest(y, h, s), y) : f.Row(f.before, y, y);
}

// The window's edge as it opens: growing from the centre, unrolling down from the top, or
// drawn out to the right, over what the window shows.
void Opening(const Frame& f, TEffect effect, int64_t elapsed, int64_t duration) {
    const int32_t w = f.area.Width, h = f.area.Height;
    for (int32_t y = 0; y < h; ++y)
        f.Row(f.before, y, y);
    TRect edge{0, 0, w, h};
    if (effect != TEffect::OpenSlideDown) edge.Width = Share(w, elapsed, duration);
    if (effect != TEffect::OpenSlideRight) edge.Height = Share(h, elapsed, duration);
    if (effect == TEffect::OpenZoom) edge.X = (w - edge.Width) / 2, edge.Y = (h - edge.Height) / 2;
    if (edge.Empty()) return;
    // Thicker on large windows, so that it reads the same on any screen.
    const int32_t thickness = std::max(kEdgeWidth, std::max(w, h) / kEdgeWidthDivisor);
    const int32_t across = std::min(thickness, edge.Height), down = std::min(thickness, edge.Width);
    f.Fill({edge.X, edge.Y, edge.Width, across}, kEdgeGrey);
    f.Fill({edge.X, edge.Y + edge.Height - across, edge.Width, across}, kEdgeGrey);
    f.Fill({edge.X, edge.Y, down, edge.Height}, kEdgeGrey);
    f.Fill({edge.X + edge.Width - down, edge.Y, down, edge.Height}, kEdgeGrey);
}

} // namespace

void DrawTransition(TEffect effect, const TRgbImage& before, const TRgbImage& after, TRect area,
                    int64_t elapsed, int64_t duration, TRgbImage& out) {
    if (area.Empty()) return;
    const Frame f{before, after, out, area};
    using enum TEffect;
    switch (effect) {
    case None:
        for (int32_t y = 0; y < area.Height; ++y)
            f.Row(after, y, y);
        break;
    case OpenZoom:
    case OpenSlideDown:
    case OpenSlideRight:
        Opening(f, effect, elapsed, duration);
        break;
    case ScrollDown:
        Slide(f, Direction::Down, true, elapsed, duration);
        break;
    case ScrollUp:
        Slide(f, Direction::Up, true, elapsed, duration);
        break;
    case ScrollLeft:
        Slide(f, Direction::Left, true, elapsed, duration);
        break;
    case ScrollRight:
        Slide(f, Direction::Right, true, elapsed, duration);
        break;
    case SlideDown:
        Slide(f, Direction::Down, false, elapsed, duration);
        break;
    case SlideUp:
        Slide(f, Direction::Up, false, elapsed, duration);
        break;
    case SlideLeft:
        Slide(f, Direction::Left, false, elapsed, duration);
        break;
    case SlideRight:
        Slide(f, Direction::Right, false, elapsed, duration);
        break;
    case Blinds:
        ::Blinds(f, elapsed, duration);
        break;
    case Mosaic:
        ::Mosaic(f, elapsed, duration);
        break;
    case OpenHorizontally:
        Curtain(f, true, true, elapsed, duration);
        break;
    case CloseHorizontally:
        Curtain(f, false, true, elapsed, duration);
        break;
    case OpenVertically:
        Curtain(f, true, false, elapsed, duration);
        break;
    case CloseVertically:
        Curtain(f, false, false, elapsed, duration);
        break;
    case Zoom:
        ::Zoom(f, elapsed, duration);
        break;
    case Unfold:
        ::Unfold(f, elapsed, duration);
        break;
    }
}
