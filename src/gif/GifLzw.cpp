#include "GifLzw.h"

#include "ColorTbl.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the bit reader loads words little-endian");

void TCodeTable::Reset(int codeWidth) {
    std::memset(slots_, 0, sizeof slots_);
    CodeWidth = uint8_t(codeWidth);
    FirstFree = NextCode = uint16_t((1u << (codeWidth - 1)) + 2);
    Full = false;
}

void TEncodedBytes::Finish(uint32_t endCode, int width, TByteBuffer& output) {
    WriteCode(endCode, width);
    if (BitCount != 0) packed_.push_back(uint8_t(BitBuffer));
    BitBuffer = 0;
    BitCount = 0;
    output.AssignPacked(std::move(packed_));
    packed_.clear();
}

void CheckCodeSize(int codeSize) {
    if (codeSize < 2 || codeSize > 9) throw EGifException(kMsgBadCodeSize);
}

void LzwEncode(std::span<const uint8_t> pixels, int codeSize, TByteBuffer& output) {
    CheckCodeSize(codeSize);
    if (pixels.empty()) throw EIndexOutOfBounds();
    if (codeSize < 8) {
        uint8_t all = 0; // a value of 2^codeSize or more would be read back as a control code
        for (uint8_t p : pixels) all |= p;
        if (all >> codeSize) throw EGifException(kMsgPixelOutOfTable);
    }
    const uint32_t clearCode = 1u << codeSize;
    const uint32_t endCode = clearCode + 1;
    const size_t n = pixels.size();
    const uint8_t* p = pixels.data();

    TCodeTable table;
    table.Reset(codeSize + 1);
    TEncodedBytes packer(n / 2 + 64);

    packer.WriteCode(clearCode, table.CodeWidth);
    uint32_t previous = p[0];
    packer.WriteCode(previous, table.CodeWidth);
    size_t i = 1;
    while (i < n) {
        // The previous string followed by the pixel that ended its match is new.
        const uint8_t pixel = p[i++];
        table.Add(uint16_t(previous), pixel);
        // Longest string already in the table, starting with that pixel.
        uint32_t string = pixel;
        while (i < n) {
            const int longer = table.Find(uint16_t(string), p[i]);
            if (longer < 0) break;
            string = uint32_t(longer);
            ++i;
        }
        packer.WriteCode(string, table.CodeWidth);
        previous = string;
        if (table.Full && i < n) {
            packer.WriteCode(clearCode, table.CodeWidth);
            table.Reset(codeSize + 1);
            previous = p[i++];
            packer.WriteCode(previous, table.CodeWidth);
        }
    }
    packer.Finish(endCode, table.CodeWidth, output);
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

// Puts decoded pixels into the image's rows in stream order. Rows past the image's last go
// to a scratch row; completing one of those fails, as the image has no room for it.
class RowWriter {
public:
    RowWriter(TByteArray2D& pixels, bool interlaced)
        : pixels_(pixels), interlaced_(interlaced), scratch_(size_t(pixels.XSize)) {
        StartRow();
    }

    // Room left in the current row; 0 only for an image without columns.
    int32_t Room() const { return room_; }
    uint8_t* Cursor() { return cursor_; }

    void Advance(int32_t count) {
        cursor_ += count;
        room_ -= count;
        if (room_ == 0) RowDone();
    }

    void Put(uint8_t pixel) {
        if (room_ == 0) throw EIndexOutOfBounds();
        *cursor_ = pixel;
        Advance(1);
    }

    // A row left incomplete is not stored: it keeps the bytes it had before decoding.
    void DropPartialRow() {
        const int32_t written = pixels_.XSize - room_;
        if (row_ < pixels_.YSize && written > 0) std::memset(cursor_ - written, 0, size_t(written));
    }

private:
    void StartRow() {
        cursor_ = row_ < pixels_.YSize ? pixels_.RowData(row_ + 1) : scratch_.data();
        room_ = pixels_.XSize;
    }

    void RowDone() {
        if (GifHooks.ProcessMessages) GifHooks.ProcessMessages();
        if (row_ >= pixels_.YSize) throw EIndexOutOfBounds();
        row_ = interlaced_ ? NextInterlacedRow(row_, pixels_.YSize, pass_) : row_ + 1;
        StartRow();
    }

    TByteArray2D& pixels_;
    const bool interlaced_;
    std::vector<uint8_t> scratch_;
    int32_t row_ = 0;
    int pass_ = 1;
    uint8_t* cursor_ = nullptr;
    int32_t room_ = 0;
};

// The decoder's string table: for every code its prefix code, last pixel, first pixel and
// length, so a whole string is written with one backward walk, nothing allocated per code.
struct StringTable {
    uint16_t prefix[gif::kTableSize];
    uint16_t length[gif::kTableSize];
    uint8_t suffix[gif::kTableSize];
    uint8_t first[gif::kTableSize];
};

class LzwDecoder {
public:
    LzwDecoder(std::span<const uint8_t> data, int codeSize, RowWriter& out)
        : bits_(data), out_(out), clear_(1u << codeSize), end_(clear_ + 1),
          initialWidth_(unsigned(codeSize) + 1) {
        for (uint32_t root = 0; root < clear_; ++root) {
            table_.suffix[root] = table_.first[root] = uint8_t(root); // a 9-bit root keeps its low byte
            table_.length[root] = 1;
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
                PutString(code);
                AddString(table_.first[code]);
                previous_ = code;
            } else if (code == next_) {
                AddString(table_.first[previous_]);
                PutString(code);
                previous_ = code;
            } else {
                throw EGifException(kMsgBadCode);
            }
            firstCode = false;
            if (!bits_.Read(width_, code)) return;
            // After the table's last code only a clear code may follow, or the end code
            // (a writer may fill the table with the last string of the image).
            if (overflow_ && code != clear_ && code != end_)
                throw EGifException(kMsgCodeSizeOverflow);
            overflow_ = false;
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
        out_.Put(table_.first[code]);
        previous_ = code;
    }

    // previous string + `pixel` becomes the next code.
    void AddString(uint8_t pixel) {
        if (next_ >= gif::kTableSize) return;
        table_.prefix[next_] = uint16_t(previous_);
        table_.suffix[next_] = pixel;
        table_.first[next_] = table_.first[previous_];
        table_.length[next_] = uint16_t(table_.length[previous_] + 1);
        ++next_;
        if (next_ == limit_) {
            if (width_ < gif::kMaxCodeWidth) {
                ++width_;
                limit_ <<= 1;
            } else {
                overflow_ = true;
            }
        }
    }

    void PutString(uint32_t code) {
        const int32_t length = table_.length[code];
        if (length <= out_.Room()) {
            WriteBackwards(code, out_.Cursor() + length - 1);
            out_.Advance(length);
            return;
        }
        // The string crosses the end of a row: expand it first, then hand it over pixel by pixel.
        uint8_t expanded[gif::kTableSize];
        WriteBackwards(code, expanded + length - 1);
        for (int32_t i = 0; i < length; ++i) out_.Put(expanded[i]);
    }

    void WriteBackwards(uint32_t code, uint8_t* last) {
        while (code > end_) {
            *last-- = table_.suffix[code];
            code = table_.prefix[code];
        }
        *last = table_.first[code];
    }

    BitReader bits_;
    RowWriter& out_;
    StringTable table_;
    const uint32_t clear_, end_;
    const unsigned initialWidth_;
    unsigned width_ = 0;
    uint32_t next_ = 0, limit_ = 0, previous_ = 0;
    bool overflow_ = false;
};

} // namespace

void LzwDecode(std::span<const uint8_t> data, int codeSize, bool interlaced, TByteArray2D& pixels) {
    CheckCodeSize(codeSize);
    RowWriter rows(pixels, interlaced);
    LzwDecoder decoder(data, codeSize, rows);
    decoder.Run();
    rows.DropPartialRow();
}
