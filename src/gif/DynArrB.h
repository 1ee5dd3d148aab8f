// Bounds-tested byte arrays counted from 1: a flat block and a row-by-row matrix.
#pragma once

#include <cstdint>
#include <stdexcept>

// Raised by every element index test of the arrays below.
class EIndexOutOfBounds : public std::runtime_error {
public:
    EIndexOutOfBounds() : std::runtime_error("Dynamic array index out of bounds") {}
};

// One contiguous block of Count bytes, element 1 at Data[0].
// Data and Count are public for bulk readers; treat them as read-only.
class TBigByteArray {
public:
    uint8_t* Data = nullptr;
    int32_t Count = 0;

    TBigByteArray() = default;
    // The block starts zeroed, so bytes nobody stored are never stale memory.
    // A negative count or a block that cannot be allocated throws std::bad_alloc.
    explicit TBigByteArray(int32_t count);
    ~TBigByteArray();
    TBigByteArray(TBigByteArray&& other) noexcept;
    TBigByteArray& operator=(TBigByteArray&& other) noexcept;
    TBigByteArray(const TBigByteArray&) = delete;
    TBigByteArray& operator=(const TBigByteArray&) = delete;

    uint8_t GetByte(int32_t index) const {
        CheckIndex(index);
        return Data[index - 1];
    }
    void SetByte(int32_t index, uint8_t value) {
        CheckIndex(index);
        Data[index - 1] = value;
    }

private:
    void CheckIndex(int64_t index) const {
        if (index < 1 || index > Count) throw EIndexOutOfBounds();
    }
    friend class TByteArray2D;
};

// XSize columns by YSize rows, stored row by row (row 1 first) in Bytes.
// Element (X, Y) is element X + (Y - 1) * XSize of Bytes: only that flat index is tested,
// so an X past the row's end reaches into the next row, as callers of the format expect.
class TByteArray2D {
public:
    TBigByteArray Bytes;
    int32_t XSize = 0; // public for readers; read-only
    int32_t YSize = 0;

    TByteArray2D() = default;
    TByteArray2D(int32_t xSize, int32_t ySize);
    TByteArray2D(TByteArray2D&&) noexcept = default;
    TByteArray2D& operator=(TByteArray2D&&) noexcept = default;
    TByteArray2D(const TByteArray2D&) = delete;
    TByteArray2D& operator=(const TByteArray2D&) = delete;

    TByteArray2D Copy() const;

    uint8_t Get(int32_t x, int32_t y) const {
        int64_t flat = FlatIndex(x, y);
        Bytes.CheckIndex(flat);
        return Bytes.Data[flat - 1];
    }
    void Set(int32_t x, int32_t y, uint8_t value) {
        int64_t flat = FlatIndex(x, y);
        Bytes.CheckIndex(flat);
        Bytes.Data[flat - 1] = value;
    }

    // Row y (1-based) as a new array; a row number outside 1..YSize raises EIndexOutOfBounds.
    TBigByteArray GetRow(int32_t y) const;
    // Copies row into row y; tests y first, then the row's length.
    void SetRow(int32_t y, const TBigByteArray& row);

    // Start of row y (1-based) for bulk work; no test.
    uint8_t* RowData(int32_t y) { return Bytes.Data + int64_t(y - 1) * XSize; }
    const uint8_t* RowData(int32_t y) const { return Bytes.Data + int64_t(y - 1) * XSize; }

private:
    int64_t FlatIndex(int32_t x, int32_t y) const { return x + (int64_t(y) - 1) * XSize; }
};
