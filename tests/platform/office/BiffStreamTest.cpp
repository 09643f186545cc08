// The workbook stream's own bookkeeping, which lenient readers skip: record
// sizes, sheet positions, the row index, row blocks and the text index.

#include "platform/core/Unicode.h"
#include "platform/office/BiffWriter.h"
#include "platform/office/ExcelApplication.h"
#include "tests/platform/office/ExportLayout.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace office;

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(at)) | static_cast<unsigned char>(b.at(at + 1)) << 8);
}
std::uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | std::uint32_t{U16(b, at + 2)} << 16; }

struct Record {
    std::size_t position;
    std::uint16_t type;
    std::string data;
};

std::map<std::size_t, Record> Records(const std::string& stream) {
    std::map<std::size_t, Record> records;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const std::uint16_t length = U16(stream, at + 2);
        records[at] = Record{at, U16(stream, at), stream.substr(at + 4, length)};
        at += 4 + length;
    }
    return records;
}

std::vector<testsupport::RegisterRow> Rows(int count) {
    std::vector<testsupport::RegisterRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(testsupport::SampleRow(i));
    return rows;
}

TEST(BiffStream, KeepsRecordsWithinTheirSizeAndSheetsWhereTheListSays) {
    TExcelApplication Excel;
    testsupport::FillExportWorkbook(Excel, Rows(3000), true);
    const std::string stream = WriteBiff8Workbook(Excel.Workbooks(1));
    const auto records = Records(stream);

    std::size_t total = 0;
    int continues = 0;
    std::vector<std::uint32_t> sheets;
    for (const auto& [at, record] : records) {
        EXPECT_LE(record.data.size(), 8224u);
        total = at + 4 + record.data.size();
        continues += record.type == 0x003C;
        if (record.type == 0x0085)
            sheets.push_back(U32(record.data, 0));
    }
    EXPECT_EQ(total, stream.size());
    EXPECT_GT(continues, 10);  // 3000 rows of distinct texts fill many records
    EXPECT_EQ(records.begin()->second.type, 0x0809);
    EXPECT_EQ(U16(records.begin()->second.data, 2), 0x0005);
    ASSERT_EQ(sheets.size(), 1u);
    ASSERT_TRUE(records.count(sheets[0]));
    EXPECT_EQ(records.at(sheets[0]).type, 0x0809);
    EXPECT_EQ(U16(records.at(sheets[0]).data, 2), 0x0010);
    EXPECT_EQ(records.rbegin()->second.type, 0x000A);
}

TEST(BiffStream, IndexesRowBlocksAndTheirCells) {
    TExcelApplication Excel;
    testsupport::FillExportWorkbook(Excel, Rows(100), false);
    const std::string stream = WriteBiff8Workbook(Excel.Workbooks(1));
    const auto records = Records(stream);
    const auto index = std::find_if(records.begin(), records.end(), [](const auto& r) { return r.second.type == 0x020B; });
    ASSERT_NE(index, records.end());
    const std::string& data = index->second.data;
    EXPECT_EQ(U32(data, 4), 0u);    // first row: A1
    EXPECT_EQ(U32(data, 8), 104u);  // last row 104 (row 5 + 99), plus one
    EXPECT_EQ(records.at(U32(data, 12)).type, 0x0055);  // DEFCOLWIDTH
    // Rows 0-31, 32-63, 64-95, 96-103: four blocks.
    ASSERT_EQ(data.size(), 16u + 4 * 4);

    int rowsSeen = 0;
    for (std::size_t block = 0; block < 4; ++block) {
        const std::size_t dbCellAt = U32(data, 16 + 4 * block);
        ASSERT_TRUE(records.count(dbCellAt));
        const Record& dbCell = records.at(dbCellAt);
        ASSERT_EQ(dbCell.type, 0x00D7);
        const std::size_t firstRowAt = dbCellAt - U32(dbCell.data, 0);
        ASSERT_EQ(records.at(firstRowAt).type, 0x0208);

        // Each offset leads to the first cell of the next ROW record's row.
        std::size_t from = firstRowAt + 20;
        for (std::size_t i = 0; 4 + 2 * i < dbCell.data.size(); ++i) {
            const Record& row = records.at(firstRowAt + 20 * i);
            ASSERT_EQ(row.type, 0x0208);
            const std::size_t cellAt = from + U16(dbCell.data, 4 + 2 * i);
            const Record& cell = records.at(cellAt);
            EXPECT_TRUE(cell.type == 0x00FD || cell.type == 0x0201) << cell.type;
            EXPECT_EQ(U16(cell.data, 0), U16(row.data, 0));
            EXPECT_EQ(U16(row.data, 0) / 32u, block);
            from = cellAt;
            ++rowsSeen;
        }
    }
    EXPECT_EQ(rowsSeen, 3 + 100);  // rows 1, 2 and 4, then the register rows
}

TEST(BiffStream, PointsTheTextIndexAtTheStartOfEveryEighthText) {
    TExcelApplication Excel;
    TWorksheet& sheet = Excel.Workbooks().Add().Worksheets(1);
    std::vector<std::string> texts;
    for (int i = 0; i < 400; ++i) {
        // Long texts, every third one with Czech letters, so that records split them.
        std::string text = "Text " + std::to_string(i) + " " + std::string(static_cast<std::size_t>(40 + i % 90), 'x');
        if (i % 3 == 0)
            text += " příliš žluťoučký kůň";
        texts.push_back(text);
        sheet.Range("A" + std::to_string(i + 1)).SetValue(text);
    }
    const std::string stream = WriteBiff8Workbook(Excel.Workbooks(1));
    const auto records = Records(stream);
    const auto extSst = std::find_if(records.begin(), records.end(), [](const auto& r) { return r.second.type == 0x00FF; });
    ASSERT_NE(extSst, records.end());
    const std::string& data = extSst->second.data;
    EXPECT_EQ(U16(data, 0), 8u);
    ASSERT_EQ(data.size(), 2u + 8 * 50);
    for (std::size_t bucket = 0; bucket < 50; ++bucket) {
        const std::size_t at = U32(data, 2 + 8 * bucket);
        const std::size_t recordAt = at - U16(data, 6 + 8 * bucket);
        ASSERT_TRUE(records.count(recordAt));
        EXPECT_TRUE(records.at(recordAt).type == 0x00FC || records.at(recordAt).type == 0x003C);
        const std::u16string expected = core::Utf8ToUtf16(texts[8 * bucket]);
        EXPECT_EQ(U16(stream, at), expected.size());
        EXPECT_EQ(stream[at + 2], expected.size() == texts[8 * bucket].size() ? 0 : 1);
    }
}

TEST(BiffStream, StoresWidthsTheWaySpreadsheetProgramsCountThem) {
    EXPECT_EQ(StoredColumnWidth(kStandardWidth), 2340);
    EXPECT_EQ(StoredColumnWidth(16), 4278);
    EXPECT_EQ(StoredColumnWidth(36), 9398);
    EXPECT_EQ(StoredColumnWidth(42), 10934);
    EXPECT_EQ(StoredColumnWidth(255), 65462);
    EXPECT_EQ(ThemePaletteIndex(0), 64);
    EXPECT_EQ(ThemePaletteIndex(xlThemeColorDark1), 8);
    EXPECT_EQ(ThemePaletteIndex(xlThemeColorAccent1), 12);
}

} // namespace
