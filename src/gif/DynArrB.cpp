#include "DynArrB.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

TBigByteArray::TBigByteArray(int32_t count) {
    if (count < 0) throw std::bad_alloc();
    if (count == 0) return;
    // calloc: large blocks come as untouched zero pages, so a big picture that is only
    // partly decoded costs memory only for what was written.
    Data = static_cast<uint8_t*>(std::calloc(size_t(count), 1));
    if (!Data) throw std::bad_alloc();
    Count = count;
}

TBigByteArray::~TBigByteArray() { std::free(Data); }

TBigByteArray::TBigByteArray(TBigByteArray&& other) noexcept
    : Data(std::exchange(other.Data, nullptr)), Count(std::exchange(other.Count, 0)) {}

TBigByteArray& TBigByteArray::operator=(TBigByteArray&& other) noexcept {
    if (this != &other) {
        std::free(Data);
        Data = std::exchange(other.Data, nullptr);
        Count = std::exchange(other.Count, 0);
    }
    return *this;
}

namespace {
int32_t CheckedArea(int32_t xSize, int32_t ySize) {
    if (xSize < 0 || ySize < 0) throw std::bad_alloc();
    int64_t area = int64_t(xSize) * ySize;
    if (area > INT32_MAX) throw std::bad_alloc();
    return int32_t(area);
}
} // namespace

TByteArray2D::TByteArray2D(int32_t xSize, int32_t ySize)
    : Bytes(CheckedArea(xSize, ySize)), XSize(xSize), YSize(ySize) {}

TByteArray2D TByteArray2D::Copy() const {
    TByteArray2D copy(XSize, YSize);
    if (Bytes.Count > 0) std::memcpy(copy.Bytes.Data, Bytes.Data, size_t(Bytes.Count));
    return copy;
}

TBigByteArray TByteArray2D::GetRow(int32_t y) const {
    if (y < 1 || y > YSize) throw EIndexOutOfBounds();
    TBigByteArray row(XSize);
    if (XSize > 0) std::memcpy(row.Data, RowData(y), size_t(XSize));
    return row;
}

void TByteArray2D::SetRow(int32_t y, const TBigByteArray& row) {
    if (y < 1 || y > YSize) throw EIndexOutOfBounds();
    if (row.Count != XSize)
        throw std::runtime_error("Row doesn't have equal number of elements as Matrix row");
    if (XSize > 0) std::memcpy(RowData(y), row.Data, size_t(XSize));
}
