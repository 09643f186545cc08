#include "platform/office/CellAddress.h"

#include <gtest/gtest.h>

namespace {

using office::CellRectAddress;
using office::ColumnName;
using office::kMaxRows;
using office::ParseCellAddress;
using office::TCellRect;

TEST(CellAddress, ReadsCellsRangesAndWholeColumns) {
    EXPECT_EQ(ParseCellAddress("A1"), (TCellRect{0, 0, 0, 0}));
    EXPECT_EQ(ParseCellAddress("$B$4"), (TCellRect{3, 1, 3, 1}));
    EXPECT_EQ(ParseCellAddress("a4:f4"), (TCellRect{3, 0, 3, 5}));
    EXPECT_EQ(ParseCellAddress("D9:B2"), (TCellRect{1, 1, 8, 3}));
    EXPECT_EQ(ParseCellAddress("A:F"), (TCellRect{0, 0, kMaxRows - 1, 5}));
    EXPECT_EQ(ParseCellAddress("$C:$C"), (TCellRect{0, 2, kMaxRows - 1, 2}));
    EXPECT_EQ(ParseCellAddress("XFD1048576"), (TCellRect{kMaxRows - 1, 16383, kMaxRows - 1, 16383}));
    EXPECT_EQ(ParseCellAddress("AA100"), (TCellRect{99, 26, 99, 26}));
}

TEST(CellAddress, RefusesWhatIsNoAddressOrLiesOutsideTheGrid) {
    for (const char* bad : {"", "A0", "A1048577", "XFE1", "1", "A", "A:", ":A", "A1:B", "A:B2", "AAAA1", "A1B", "A1,B2",
                            "A 1", " A1", "A1:", "$", "A$", "4:4", "A12345678"})
        EXPECT_FALSE(ParseCellAddress(bad)) << bad;
}

TEST(CellAddress, NamesColumnsAndWritesAbsoluteAddresses) {
    EXPECT_EQ(ColumnName(0), "A");
    EXPECT_EQ(ColumnName(25), "Z");
    EXPECT_EQ(ColumnName(26), "AA");
    EXPECT_EQ(ColumnName(701), "ZZ");
    EXPECT_EQ(ColumnName(702), "AAA");
    EXPECT_EQ(ColumnName(16383), "XFD");
    EXPECT_EQ(CellRectAddress(*ParseCellAddress("A1")), "$A$1");
    EXPECT_EQ(CellRectAddress(*ParseCellAddress("d4:a4")), "$A$4:$D$4");
    EXPECT_EQ(CellRectAddress(*ParseCellAddress("F:A")), "$A:$F");
}

} // namespace
