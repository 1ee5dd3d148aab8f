#include "GifLzw.h"

#include "ColorTbl.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

static_assert(std::endian::native == std::endian::little, "the bit reader loads words little-endian");

void CheckCodeSize(int codeSize) {
    if (codeSize < 2 || codeSize > 9) throw EGifException(kMsgBadCodeSize);
}

namespace {

// The encoder's string table: the strings of the codes assigned since the last clear code.
// Every code's string starts as a root and one pixel, so most strings looked up are those:
// they have a place each in a direct table. Longer ones go through a hash of (prefix code,
// pixel). Find gives the same code as a linear scan of the assigned codes would (no string is
// ever added twice). The codes themselves, the width and the count, are the encoder's: it
// keeps them in registers.
class CodeTable {
public:
    CodeTable() { std::memset(children_, 0, sizeof children_); }

    void Clear(uint32_t firstFree) {
        for (uint32_t k = 0; k < childCount_; ++k) children_[childPlaces_[k]] = 0;
        childCount_ = 0;
        std::memset(slots_, 0, sizeof slots_);
        std::memset(runs_, 0, sizeof runs_[0] * firstFree); // later codes are cleared as assigned
    }

    // The code of the string `root` + `pixel`, or 0 when absent.
    uint32_t Child(uint32_t root, uint8_t pixel) const { return children_[root << 8 | pixel]; }

    // The code of the string `prefix` (not a root) + `pixel`, or 0 when absent, with the slot
    // where adding that string would put it.
    uint32_t Find(uint32_t prefix, uint8_t pixel, uint32_t& slot) const {
        const uint32_t key = Key(prefix, pixel);
        for (slot = SlotOf(key);; slot = (slot + 1) & (kSlots - 1)) {
            const uint32_t entry = slots_[slot];
            if ((entry & kCodeMask) == 0 || (entry >> kCodeBits) == key) return entry & kCodeMask;
        }
    }

    // Gives `code` to the string `root` + `pixel`, which is not in the table.
    void AddChild(uint32_t root, uint8_t pixel, uint32_t code) {
        const uint32_t place = root << 8 | pixel;
        children_[place] = uint16_t(code);
        childPlaces_[childCount_++] = place;
    }
    // Gives `code` to the string `prefix` + `pixel` at the slot a failed Find of it gave.
    void Add(uint32_t slot, uint32_t prefix, uint8_t pixel, uint32_t code) {
        slots_[slot] = (Key(prefix, pixel) << kCodeBits) | code;
    }

    // The code of the string extended by its own last pixel once more, or 0 while there is
    // none: runs of one colour, the bulk of flat pictures, then need no hashing. The link is
    // made when the code of the longer string is assigned.
    uint32_t RunExtension(uint32_t code) const { return runs_[code]; }
    void AddRun(uint32_t code, uint32_t longer) { runs_[code] = uint16_t(longer); }
    void NewCode(uint32_t code) { runs_[code] = 0; }

private:
    // A slot packs the 20-bit key above the 12-bit code; code 0 (a root) marks it empty.
    static constexpr int kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
    static constexpr int kSlotBits = 14; // four times the codes, so probes stay short
    static constexpr uint32_t kSlots = 1u << kSlotBits;
    static uint32_t Key(uint32_t prefix, uint8_t pixel) { return (prefix << 8) | pixel; }
    static uint32_t SlotOf(uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }

    uint16_t children_[256 * 256];        // root << 8 | pixel -> code, 0 for none
    uint32_t childPlaces_[gif::kTableSize]; // the places of children_ in use
    uint32_t childCount_ = 0;
    uint32_t slots_[kSlots];
    uint16_t runs_[gif::kTableSize];
};

// Packs codes least significant bit first into bytes. A local object of the encoding loop, so
// its state stays in registers.
class CodePacker {
public:
    explicit CodePacker(uint8_t* out) : out_(out) {}

    void Write(uint32_t code, unsigned width) {
        bits_ |= uint64_t(code) << count_;
        count_ += width;
        if (count_ >= 32) {
            std::memcpy(out_, &bits_, 4); // little-endian: oldest bits first
            out_ += 4;
            bits_ >>= 32;
            count_ -= 32;
        }
    }
    // Pads the last byte with zeros; the end of the bytes written.
    uint8_t* Finish() {
        for (; count_ > 0; count_ = count_ > 8 ? count_ - 8 : 0, bits_ >>= 8) *out_++ = uint8_t(bits_);
        return out_;
    }

private:
    uint8_t* out_;
    uint64_t bits_ = 0; // pending bits, the oldest lowest
    unsigned count_ = 0;
};

// The encoding loop; returns the end of the bytes written to `out`. With kFollowRuns, a pixel
// equal to the one before it first tries the table's run link, which spares the hash on flat
// areas but costs a poorly predicted test per pixel on busy pictures; the codes are the same
// either way. The width grows right after the addition that assigns code 2^width; when code
// 4095 has been assigned the table is full, the width stays 12 and a clear code follows.
template <bool kFollowRuns>
uint8_t* EncodeStrings(const uint8_t* p, size_t n, int codeSize, CodeTable& table, uint8_t* out) {
    const uint32_t clearCode = 1u << codeSize, firstFree = clearCode + 2;
    const unsigned firstWidth = unsigned(codeSize) + 1;
    CodePacker packer(out);
    table.Clear(firstFree);
    uint32_t next = firstFree; // the code the next addition assigns
    unsigned width = firstWidth;
    packer.Write(clearCode, width);
    uint32_t previous = p[0];
    packer.Write(previous, width);
    size_t i = 1;
    // The slot of the string `previous` + p[i] when `previous` is not a root: the match below
    // ended on a failed Find of it (a match that ends with the pixels ends the loop too).
    uint32_t slot = 0;
    while (i < n) {
        // The previous string followed by the pixel that ended its match is new.
        const uint8_t pixel = p[i];
        ++i;
        if (previous < firstFree)
            table.AddChild(previous, pixel, next);
        else
            table.Add(slot, previous, pixel, next);
        if (kFollowRuns) {
            table.NewCode(next);
            if (pixel == p[i - 2]) table.AddRun(previous, next);
        }
        ++next;
        const bool full = next == gif::kTableSize;
        if (!full && (1u << width) < next) ++width;
        // Longest string already in the table, starting with that pixel.
        uint32_t string = pixel;
        if (i < n) {
            if (const uint32_t child = table.Child(string, p[i])) {
                string = child;
                ++i;
                while (i < n) {
                    if (kFollowRuns && p[i] == p[i - 1]) {
                        if (const uint32_t run = table.RunExtension(string)) {
                            string = run;
                            ++i;
                            continue;
                        }
                    }
                    const uint32_t longer = table.Find(string, p[i], slot);
                    if (longer == 0) break;
                    string = longer;
                    ++i;
                }
            }
        }
        packer.Write(string, width);
        previous = string;
        if (full && i < n) {
            packer.Write(clearCode, width);
            table.Clear(firstFree);
            next = firstFree;
            width = firstWidth;
            previous = p[i++];
            packer.Write(previous, width);
        }
    }
    packer.Write(clearCode + 1, width); // the end code
    return packer.Finish();
}

// Whether most pixels repeat their left neighbour, judged on a sample.
bool MostlyRuns(const uint8_t* p, size_t n) {
    size_t samples = 0, repeats = 0;
    for (size_t i = 1; i < n; i += 13, ++samples) repeats += p[i] == p[i - 1];
    return repeats * 2 > samples;
}

} // namespace

void LzwEncode(std::span<const uint8_t> pixels, int codeSize, TByteBuffer& output) {
    CheckCodeSize(codeSize);
    if (pixels.empty()) throw EIndexOutOfBounds();
    if (codeSize < 8) {
        uint8_t all = 0; // a value of 2^codeSize or more would be read back as a control code
        for (uint8_t p : pixels) all |= p;
        if (all >> codeSize) throw EGifException(kMsgPixelOutOfTable);
    }
    const size_t n = pixels.size();
    auto table = std::make_unique<CodeTable>(); // 216 KB
    // One code of up to 12 bits per pixel at most, plus a clear and a root code per table
    // (4000 codes or more), the end code, and the packer's last whole word.
    const size_t maxCodes = n + n / 1024 + 8;
    TByteVector bytes(maxCodes * 12 / 8 + 8);
    uint8_t* end = MostlyRuns(pixels.data(), n)
                       ? EncodeStrings<true>(pixels.data(), n, codeSize, *table, bytes.data())
                       : EncodeStrings<false>(pixels.data(), n, codeSize, *table, bytes.data());
    bytes.resize(size_t(end - bytes.data()));
    output.AssignPacked(std::move(bytes));
}

namespace {

// Reads codes least significant bit first from the joined data sub-blocks.
class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> data)
        : next_(data.data()), end_(data.data() + data.size()) {}

    // False when the data runs out before the code is complete.
    bool Read(unsigned width, uint32_t& code) {
        if (count_ < width) {
            Refill();
            if (count_ < width) return false;
        }
        code = uint32_t(bits_) & ((1u << width) - 1);
        bits_ >>= width;
        count_ -= width;
        return true;
    }

private:
    void Refill() {
        if (end_ - next_ >= 8) {
            // Loads a whole word; bytes not counted yet are loaded again, identically, later.
            uint64_t word;
            std::memcpy(&word, next_, 8);
            bits_ |= word << count_;
            next_ += (63 - count_) >> 3;
            count_ |= 56;
        } else {
            while (count_ <= 56 && next_ < end_) {
                bits_ |= uint64_t(*next_++) << count_;
                count_ += 8;
            }
        }
    }

    const uint8_t* next_;
    const uint8_t* end_;
    uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// Puts decoded pixels into the image's rows in stream order. Once the last row is complete
// the image is, and what the stream still holds is not needed: the rest of the string being
// written goes to a scratch row and the decoder stops.
// The rows are filled one after the other in the matrix, so while a string fits well inside
// it, it is copied in 16-byte steps that may write up to 15 bytes past its end: the bytes after
// the cursor are only ever overwritten later, or cleared in Finish. An interlaced image is
// filled the same way, its rows in the order they come, and Finish moves them to their places.
class RowWriter {
public:
    static constexpr int32_t kCopySlack = 16;

    // The image must have pixels.
    RowWriter(TByteArray2D& pixels, bool interlaced)
        : pixels_(pixels), interlaced_(interlaced), scratch_(size_t(pixels.XSize)),
          end_(pixels.Bytes.Data + pixels.Bytes.Count) {
        StartRow();
    }

    uint8_t* Cursor() const { return cursor_; }
    bool Complete() const { return row_ >= pixels_.YSize; }

    bool CanCopy(int32_t length) const { return row_ < pixels_.YSize && end_ - cursor_ >= length + kCopySlack; }

    // After a copy of `length` bytes at the cursor (CanCopy was true).
    void Copied(int32_t length) {
        cursor_ += length;
        while (cursor_ >= rowEnd_) { // the rows are contiguous: no move, only the count
            RowFilled();
            ++row_;
            rowEnd_ += pixels_.XSize;
        }
    }

    void Put(uint8_t pixel) {
        *cursor_++ = pixel;
        if (cursor_ == rowEnd_) NextRow();
    }

    // A row left incomplete is not stored: it and the bytes copied past it get back the
    // bytes they had before decoding. Then an interlaced image's rows go to their places.
    void Finish() {
        if (row_ < pixels_.YSize) {
            uint8_t* rowStart = rowEnd_ - pixels_.XSize;
            uint8_t* dirtyEnd = cursor_ + std::min<ptrdiff_t>(kCopySlack, end_ - cursor_);
            std::memset(rowStart, 0, size_t(dirtyEnd - rowStart));
        }
        if (interlaced_) Deinterlace();
    }

private:
    static void RowFilled() {
        if (GifHooks.ProcessMessages) GifHooks.ProcessMessages();
    }

    void NextRow() {
        if (row_ < pixels_.YSize) {
            RowFilled();
            ++row_;
        }
        StartRow();
    }

    void StartRow() {
        cursor_ = row_ < pixels_.YSize ? pixels_.RowData(row_ + 1) : scratch_.data();
        rowEnd_ = cursor_ + pixels_.XSize;
    }

    // Row k of the stream belongs in the k-th row of the interlaced order. Rows that decoding
    // did not reach hold their initial bytes wherever they stand, so every row is moved: each
    // cycle of the permutation through one spare row.
    void Deinterlace() {
        const int32_t height = pixels_.YSize;
        const size_t width = size_t(pixels_.XSize);
        std::vector<int32_t> from(static_cast<size_t>(height)); // image row -> stream row it is in
        int pass = 1;
        for (int32_t k = 0, r = 0; k < height; ++k, r = NextInterlacedRow(r, height, pass)) from[size_t(r)] = k;
        std::vector<bool> placed(static_cast<size_t>(height));
        for (int32_t start = 0; start < height; ++start) {
            if (placed[size_t(start)] || from[size_t(start)] == start) continue;
            std::memcpy(scratch_.data(), pixels_.RowData(start + 1), width);
            int32_t r = start;
            for (; from[size_t(r)] != start; r = from[size_t(r)]) {
                std::memcpy(pixels_.RowData(r + 1), pixels_.RowData(from[size_t(r)] + 1), width);
                placed[size_t(r)] = true;
            }
            std::memcpy(pixels_.RowData(r + 1), scratch_.data(), width);
            placed[size_t(r)] = true;
        }
    }

    TByteArray2D& pixels_;
    const bool interlaced_;
    std::vector<uint8_t> scratch_;
    uint8_t* const end_;
    int32_t row_ = 0;
    uint8_t* cursor_ = nullptr;
    uint8_t* rowEnd_ = nullptr;
};

// Copies a string from an earlier place of the output: 16 bytes at a time, each step loading
// before it stores. The source ends at or before the destination, so the bytes that matter
// are read before anything is written over them.
inline void CopyString(uint8_t* dst, const uint8_t* src, int32_t length) {
    do {
        uint64_t a, b;
        std::memcpy(&a, src, 8);
        std::memcpy(&b, src + 8, 8);
        std::memcpy(dst, &a, 8);
        std::memcpy(dst + 8, &b, 8);
        src += 16;
        dst += 16;
        length -= 16;
    } while (length > 0);
}

// The root codes' single pixels, as a string source for CopyString (with its read slack).
struct RootPixels {
    uint8_t bytes[256 + RowWriter::kCopySlack];
    constexpr RootPixels() : bytes() {
        for (int i = 0; i < 256; ++i) bytes[i] = uint8_t(i);
    }
};
constexpr RootPixels kRootPixels;

// The decoder's string table. For every code: its prefix code, last and first pixel and
// length, so a string can be written with one backward walk; and where the string was
// output first, so that while the output is contiguous it is copied from there.
struct StringTable {
    uint16_t prefix[gif::kTableSize];
    uint16_t length[gif::kTableSize];
    uint8_t suffix[gif::kTableSize];
    uint8_t first[gif::kTableSize];
    const uint8_t* source[gif::kTableSize];
};

class LzwDecoder {
public:
    LzwDecoder(std::span<const uint8_t> data, int codeSize, RowWriter& out)
        : bits_(data), out_(out), clear_(1u << codeSize), end_(clear_ + 1),
          initialWidth_(unsigned(codeSize) + 1) {
        for (uint32_t root = 0; root < clear_; ++root) {
            table_.suffix[root] = table_.first[root] = uint8_t(root); // a 9-bit root keeps its low byte
            table_.length[root] = 1;
            table_.source[root] = &kRootPixels.bytes[uint8_t(root)];
        }
        ResetTable();
    }

    void Run() {
        uint32_t code;
        if (!bits_.Read(width_, code)) return;
        bool firstCode = true; // the very first code is taken like the code after a clear
        while (code != end_) {
            if (code == clear_) {
                ResetTable();
                do {
                    if (!bits_.Read(width_, code)) return;
                } while (code == clear_);
                if (code == end_) throw EGifException(kMsgBadCode);
                PutRoot(code);
            } else if (firstCode) {
                PutRoot(code);
            } else if (code < next_) {
                uint8_t* at = out_.Cursor();
                PutString(code);
                AddString(table_.first[code]);
                previousAt_ = at;
                previous_ = code;
            } else if (code == next_) {
                AddString(table_.first[previous_]);
                uint8_t* at = out_.Cursor();
                PutSelfExtension(code);
                previousAt_ = at;
                previous_ = code;
            } else {
                throw EGifException(kMsgBadCode);
            }
            firstCode = false;
            if (out_.Complete() || !bits_.Read(width_, code)) return;
        }
    }

private:
    void ResetTable() {
        width_ = initialWidth_;
        next_ = end_ + 1;
        limit_ = 1u << width_;
    }

    // A code that does not exist yet after a clear stands for pixel 0.
    void PutRoot(uint32_t code) {
        if (code >= next_) code = 0;
        previousAt_ = out_.Cursor();
        out_.Put(table_.first[code]);
        previous_ = code;
    }

    // The previous string + `pixel` becomes the next code; it was output first where the
    // previous string was.
    void AddString(uint8_t pixel) {
        if (next_ >= gif::kTableSize) return;
        table_.prefix[next_] = uint16_t(previous_);
        table_.suffix[next_] = pixel;
        table_.first[next_] = table_.first[previous_];
        table_.length[next_] = uint16_t(table_.length[previous_] + 1);
        table_.source[next_] = previousAt_;
        // A full table stays as it is, its codes 12 bits wide, until the next clear code
        // (a "deferred clear", which decoders everywhere accept).
        ++next_;
        if (next_ == limit_ && width_ < gif::kMaxCodeWidth) {
            ++width_;
            limit_ <<= 1;
        }
    }

    void PutString(uint32_t code) {
        const int32_t length = table_.length[code];
        if (out_.CanCopy(length)) {
            CopyString(out_.Cursor(), table_.source[code], length);
            out_.Copied(length);
        } else {
            PutWalked(code, length);
        }
    }

    // The code just added as the previous string + its own first pixel: its source runs into
    // the place it is written to, so all but the last pixel are copied, then that one.
    void PutSelfExtension(uint32_t code) {
        const int32_t length = table_.length[code];
        if (out_.CanCopy(length)) {
            uint8_t* at = out_.Cursor();
            CopyString(at, table_.source[code], length - 1);
            at[length - 1] = table_.first[code];
            out_.Copied(length);
        } else {
            PutWalked(code, length);
        }
    }

    // Expands the string through its prefixes, then hands it over pixel by pixel.
    void PutWalked(uint32_t code, int32_t length) {
        uint8_t expanded[gif::kTableSize];
        uint8_t* last = expanded + length - 1;
        while (code > end_) {
            *last-- = table_.suffix[code];
            code = table_.prefix[code];
        }
        *last = table_.first[code];
        for (int32_t i = 0; i < length; ++i) out_.Put(expanded[i]);
    }

    BitReader bits_;
    RowWriter& out_;
    StringTable table_;
    const uint32_t clear_, end_;
    const unsigned initialWidth_;
    unsigned width_ = 0;
    uint32_t next_ = 0, limit_ = 0, previous_ = 0;
    uint8_t* previousAt_ = nullptr; // where the previous code's string was output
};

} // namespace

void LzwDecode(std::span<const uint8_t> data, int codeSize, bool interlaced, TByteArray2D& pixels) {
    CheckCodeSize(codeSize);
    if (pixels.Bytes.Count == 0) return; // an image without pixels needs none of its data
    RowWriter rows(pixels, interlaced);
    auto decoder = std::make_unique<LzwDecoder>(data, codeSize, rows); // 60 KB of tables
    decoder->Run();
    rows.Finish();
}
