#include "GifTestSupport.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace giftest {

std::vector<uint8_t> PackCodes(std::initializer_list<std::pair<uint32_t, int>> codes) {
    std::vector<uint8_t> out;
    uint64_t bits = 0;
    int count = 0;
    for (auto [code, width] : codes) {
        bits |= uint64_t(code) << count;
        count += width;
        for (; count >= 8; count -= 8, bits >>= 8) out.push_back(uint8_t(bits));
    }
    if (count > 0) out.push_back(uint8_t(bits));
    return out;
}

std::vector<uint8_t> OneImageFile(uint16_t width, uint16_t height, uint8_t codeSize,
                                  const std::vector<uint8_t>& data, bool interlaced) {
    std::vector<uint8_t> f{'G', 'I', 'F', '8', '7', 'a',
                           uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8),
                           0x80, 0, 0,
                           0, 0, 0, 255, 255, 255,
                           0x2C, 0, 0, 0, 0,
                           uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8),
                           uint8_t(interlaced ? 0x40 : 0), codeSize};
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        f.push_back(uint8_t(n));
        f.insert(f.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    f.push_back(0);
    f.push_back(0x3B);
    return f;
}

TByteArray2D MakePicture(int32_t width, int32_t height, int colors, const std::string& kind,
                         uint32_t seed) {
    TByteArray2D m(width, height);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = m.RowData(y + 1);
        for (int32_t x = 0; x < width; ++x) {
            int v;
            if (kind == "photo") {
                // Two soft waves and a diagonal ramp, plus sensor-like noise.
                const double s = std::sin(x * 0.013) * std::cos(y * 0.021) + 0.5 * std::sin((x + y) * 0.007);
                v = int((s + 1.5) / 3.0 * colors) + (colors > 16 ? noise(rng) : noise(rng) / 8);
            } else if (kind == "flat") {
                const int cx = x - width / 2, cy = y - height / 2;
                v = (cx * cx + cy * cy < (width * width) / 16) ? 1 : (y < height / 3 ? 2 : 3);
                if ((x / 37 + y / 23) % 7 == 0) v = 4;
                if (colors > 5) v += (x / 97) % (colors - 5);
            } else {
                v = int(rng() % uint32_t(colors));
            }
            row[x] = uint8_t(std::clamp(v, 0, colors - 1));
        }
    }
    return m;
}

TColorTable MakeColorMap(int colors) {
    TColorTable t;
    t.Count = colors;
    for (int i = 0; i < std::min(colors, 256); ++i) t.Colors[i] = {uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 13)};
    return t;
}

std::vector<std::vector<uint8_t>> PlainLzwEncode(const std::vector<uint8_t>& pixels, int codeSize,
                                                 std::vector<size_t>* fullAfter) {
    // String table exactly as described: prefix and suffix per code, linear search.
    std::vector<uint16_t> prefix(4096), suffix(4096);
    int codeWidth = 0, firstFree = 0, nextCode = 0;
    bool full = false;
    auto reset = [&](int w) {
        std::fill(prefix.begin(), prefix.end(), 0);
        std::fill(suffix.begin(), suffix.end(), 0);
        codeWidth = w;
        firstFree = nextCode = (1 << (w - 1)) + 2;
        full = false;
    };
    auto add = [&](int p, int s) {
        prefix[size_t(nextCode)] = uint16_t(p);
        suffix[size_t(nextCode)] = uint16_t(s);
        ++nextCode;
        if (nextCode == 4096) full = true;
        else if ((1 << codeWidth) < nextCode) ++codeWidth;
    };
    auto find = [&](int s, int p) {
        for (int k = std::max(firstFree, s + 1); k < nextCode; ++k)
            if (prefix[size_t(k)] == s && suffix[size_t(k)] == p) return k;
        return -1;
    };
    std::vector<std::vector<uint8_t>> blocks;
    std::vector<uint8_t> current;
    auto addByte = [&](uint8_t b) {
        if (current.size() == 255) blocks.push_back(std::exchange(current, {}));
        current.push_back(b);
    };
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    auto writeCode = [&](int code) {
        bitBuffer |= uint32_t(code) << bitCount;
        bitCount += codeWidth;
        while (bitCount >= 8) {
            addByte(uint8_t(bitBuffer));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };

    const int clear = 1 << codeSize;
    const size_t n = pixels.size();
    reset(codeSize + 1);
    writeCode(clear);
    int c = pixels[0];
    writeCode(c);
    size_t i = 1;
    while (i < n) {
        const int p = pixels[i++];
        add(c, p);
        int s = p;
        while (i < n) {
            const int k = find(s, pixels[i]);
            if (k < 0) break;
            s = k;
            ++i;
        }
        writeCode(s);
        c = s;
        if (full && fullAfter) fullAfter->push_back(i);
        if (full && i < n) {
            writeCode(clear);
            reset(codeSize + 1);
            c = pixels[i++];
            writeCode(c);
        }
    }
    writeCode(clear + 1);
    if (bitCount > 0) addByte(uint8_t(bitBuffer));
    blocks.push_back(current);
    return blocks;
}

std::vector<uint8_t> ToVector(const TByteArray2D& m) {
    return std::vector<uint8_t>(m.Bytes.Data, m.Bytes.Data + m.Bytes.Count);
}

namespace {
struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* dest, int count) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min(size_t(count), r->bytes->size() - r->pos);
    std::memcpy(dest, r->bytes->data() + r->pos, n);
    r->pos += n;
    return int(n);
}

int WriteToMemory(GifFileType* gif, const GifByteType* src, int count) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), src, src + count);
    return count;
}
} // namespace

PeerImage DecodeWithGiflib(const std::vector<uint8_t>& file) {
    PeerImage result;
    MemoryReader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif) {
        result.error = error ? error : -1;
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
        result.error = gif->Error ? gif->Error : -1;
    } else {
        const SavedImage& image = gif->SavedImages[0];
        result.width = image.ImageDesc.Width;
        result.height = image.ImageDesc.Height;
        result.pixels.assign(image.RasterBits, image.RasterBits + size_t(result.width) * size_t(result.height));
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        for (int i = 0; map && i < map->ColorCount; ++i)
            result.colors.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    DGifCloseFile(gif, &error);
    return result;
}

std::vector<uint8_t> EncodeWithGiflib(const TByteArray2D& pixels, const TColorTable& colors,
                                      bool interlaced) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    if (!gif) throw std::runtime_error("EGifOpen failed");
    int size = 2;
    while (size < colors.Count) size *= 2;
    std::vector<GifColorType> entries(size_t(size), GifColorType{0, 0, 0});
    for (int i = 0; i < colors.Count; ++i)
        entries[size_t(i)] = {colors.Colors[i].Red, colors.Colors[i].Green, colors.Colors[i].Blue};
    ColorMapObject* map = GifMakeMapObject(size, entries.data());
    const int w = pixels.XSize, h = pixels.YSize;
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, w, h, interlaced, nullptr) == GIF_OK;
    if (ok) {
        std::vector<uint8_t> row(static_cast<size_t>(w));
        int pass = 1, y = 0;
        for (int n = 0; n < h && ok; ++n) {
            std::memcpy(row.data(), pixels.RowData(y + 1), size_t(w));
            ok = EGifPutLine(gif, row.data(), w) == GIF_OK;
            y = interlaced ? NextInterlacedRow(y, h, pass) : y + 1;
        }
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) throw std::runtime_error("giflib could not encode");
    return out;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string DataPath(const std::string& relative) { return std::string(VELMORA_TEST_DATA) + "/" + relative; }

} // namespace giftest
