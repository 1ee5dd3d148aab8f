#include "DynArrB.h"

#include <gtest/gtest.h>

namespace {

TEST(BigByteArray, IndexIsTestedAgainstOneToCount) {
    TBigByteArray a(4);
    a.SetByte(1, 10);
    a.SetByte(4, 40);
    EXPECT_EQ(a.GetByte(1), 10);
    EXPECT_EQ(a.GetByte(4), 40);
    EXPECT_THROW(a.GetByte(0), EIndexOutOfBounds);
    EXPECT_THROW(a.GetByte(5), EIndexOutOfBounds);
    EXPECT_THROW(a.SetByte(5, 1), EIndexOutOfBounds);
    try {
        a.GetByte(0);
    } catch (const EIndexOutOfBounds& e) {
        EXPECT_STREQ(e.what(), "Dynamic array index out of bounds");
    }
    EXPECT_EQ(a.GetByte(4), 40) << "a failed write must leave the array unchanged";
}

TEST(ByteArray2D, FlatIndexingAcrossRows) {
    TByteArray2D m(3, 2);
    m.Set(3, 1, 7);
    m.Set(1, 2, 9);
    EXPECT_EQ(m.Bytes.Data[2], 7) << "(3,1) is the third byte";
    EXPECT_EQ(m.Bytes.Data[3], 9) << "(1,2) is the fourth byte";
    EXPECT_EQ(m.Get(4, 1), 9) << "an X past the row reads the next row";
    EXPECT_THROW(m.Get(1, 3), EIndexOutOfBounds);
    EXPECT_THROW(m.Get(0, 1), EIndexOutOfBounds);
}

TEST(ByteArray2D, EmptyMatrixRefusesEveryAccess) {
    TByteArray2D m(0, 0);
    EXPECT_EQ(m.Bytes.Count, 0);
    EXPECT_THROW(m.Get(1, 1), EIndexOutOfBounds);
    EXPECT_THROW(m.Set(1, 1, 0), EIndexOutOfBounds);
}

TEST(ByteArray2D, RowsTestRowNumberThenLength) {
    TByteArray2D m(3, 2);
    TBigByteArray row(3);
    row.SetByte(1, 1);
    row.SetByte(2, 2);
    row.SetByte(3, 3);
    EXPECT_THROW(m.SetRow(0, row), EIndexOutOfBounds);
    EXPECT_THROW(m.SetRow(3, row), EIndexOutOfBounds);
    TBigByteArray shortRow(2);
    EXPECT_THROW(m.SetRow(3, shortRow), EIndexOutOfBounds) << "the row number is tested first";
    try {
        m.SetRow(1, shortRow);
        FAIL();
    } catch (const EIndexOutOfBounds&) {
        FAIL() << "wrong exception class";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Row doesn't have equal number of elements as Matrix row");
    }
    m.SetRow(2, row);
    EXPECT_EQ(m.Get(1, 2), 1);
    EXPECT_EQ(m.Get(3, 2), 3);
    EXPECT_EQ(m.Get(1, 1), 0);
    TBigByteArray back = m.GetRow(2);
    EXPECT_EQ(back.Count, 3);
    EXPECT_EQ(back.GetByte(3), 3);
}

TEST(ByteArray2D, CopyIsIndependent) {
    TByteArray2D m(2, 2);
    m.Set(2, 2, 5);
    TByteArray2D c = m.Copy();
    EXPECT_EQ(c.XSize, 2);
    EXPECT_EQ(c.YSize, 2);
    EXPECT_EQ(c.Get(2, 2), 5);
    c.Set(2, 2, 6);
    EXPECT_EQ(m.Get(2, 2), 5);
}

TEST(ByteArray2D, ImpossibleSizesFailToAllocate) {
    EXPECT_THROW(TByteArray2D(-1, 1), std::bad_alloc);
    EXPECT_THROW(TByteArray2D(65536, 65536), std::bad_alloc);
}

} // namespace
