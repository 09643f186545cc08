#pragma once
// The records of a static cursor, all held in memory: a table of cells, one
// row per record and one column per field. Numbers live inside the cells and
// texts in large blocks that never move, so reading a large result costs no
// allocation and no copying per value. Rows are addressed by position;
// inserting and deleting move only the positions, never the cells.

#include "platform/data/Variant.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace data {

class TRecordStore {
public:
    static constexpr std::int64_t kNoRowId = std::numeric_limits<std::int64_t>::min();

    // Forgets every row and sets the number of columns. The memory the rows
    // took serves the next rows (fresh memory costs a fault for every page
    // first touched); it goes with the store, or with a change of the column count.
    void Reset(int columns);
    // Takes the memory of a store no longer needed, when this one holds no rows.
    void Recycle(TRecordStore&& other);
    int Columns() const noexcept { return columns_; }
    int Count() const noexcept { return static_cast<int>(order_.size()); }

    // Appends a row of Null cells at the end.
    void AppendRow();
    // Inserts a row of Null cells before position pos (Count() appends).
    void InsertRow(int pos);
    void EraseRow(int pos);

    bool IsNull(int pos, int column) const { return Cell(pos, column).kind == kNull; }
    // The cell as a variant of the given kind (integers and Booleans are kept
    // as integers, doubles and date-times as doubles).
    Variant Get(int pos, int column, TVarType type) const;
    void Set(int pos, int column, const Variant& value);

    // Writers for filling a freshly appended last row quickly.
    void SetLastInt(int column, std::int64_t value) { lastRow_[column] = {kInt, 0, {value}}; }
    void SetLastReal(int column, double value)
    {
        CellData& c = lastRow_[column];
        c.kind = kReal;
        c.length = 0;
        c.d = value;
    }
    void SetLastText(int column, std::string_view text)
    {
        CellData& c = lastRow_[column];
        c.kind = kText;
        c.length = static_cast<std::uint32_t>(text.size());
        c.text = Keep(text);
    }

    // A cell as it is kept, for reading many without making variants.
    struct TCellView {
        enum Kind { Null, Int, Real, Text } kind;
        std::int64_t i;
        double d;
        std::string_view text;
    };
    TCellView View(int pos, int column) const
    {
        const CellData& c = Cell(pos, column);
        switch (c.kind) {
        case kInt: return {TCellView::Int, c.i, 0, {}};
        case kReal: return {TCellView::Real, 0, c.d, {}};
        case kText: return {TCellView::Text, 0, 0, {c.text, c.length}};
        case kNull: break;
        }
        return {TCellView::Null, 0, 0, {}};
    }
    // Puts the rows in another order: position i gets the row now at positions[i].
    void Reorder(const std::vector<int>& positions);

    // The database's own number of the row, kNoRowId when unknown.
    std::int64_t RowId(int pos) const { return rowIds_[order_[static_cast<std::size_t>(pos)]]; }
    void SetRowId(int pos, std::int64_t id) { rowIds_[order_[static_cast<std::size_t>(pos)]] = id; }
    void SetLastRowId(std::int64_t id) { rowIds_.back() = id; }

private:
    enum Kind : std::uint32_t { kNull, kInt, kReal, kText };
    struct CellData {
        Kind kind;
        std::uint32_t length; // bytes of a text
        union {
            std::int64_t i;
            double d;
            const char* text; // in one of the blocks
        };
    };
    static constexpr std::size_t kBlockSize = 1 << 20;
    // Rows of cells come in pages that never move either: growing the store
    // copies nothing.
    static constexpr std::uint32_t kPageShift = 12;
    static constexpr std::uint32_t kPageRows = 1u << kPageShift;

    const CellData& SlotCell(std::uint32_t slot, int column) const
    {
        return pages_[slot >> kPageShift][(slot & (kPageRows - 1)) * static_cast<std::size_t>(columns_) +
                                          static_cast<std::size_t>(column)];
    }
    const CellData& Cell(int pos, int column) const { return SlotCell(order_[static_cast<std::size_t>(pos)], column); }
    CellData& Cell(int pos, int column) { return const_cast<CellData&>(std::as_const(*this).Cell(pos, column)); }
    std::uint32_t NewSlot();
    // A stable copy of text.
    const char* Keep(std::string_view text)
    {
        if (blockUsed_ + text.size() > kBlockSize)
            return KeepInNewBlock(text);
        char* p = blocks_[blocksUsed_ - 1].get() + blockUsed_;
        std::copy(text.begin(), text.end(), p);
        blockUsed_ += text.size();
        return p;
    }
    const char* KeepInNewBlock(std::string_view text);

    int columns_ = 0;
    std::vector<std::unique_ptr<CellData[]>> pages_;
    std::size_t pagesUsed_ = 0;
    int pageColumns_ = 0; // the columns the pages are made for
    std::vector<std::int64_t> rowIds_;
    std::vector<std::uint32_t> order_; // position -> slot
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blocksUsed_ = 0;
    std::vector<std::unique_ptr<char[]>> longTexts_; // a block each
    std::size_t blockUsed_ = kBlockSize; // of the last block in use
    CellData* lastRow_ = nullptr;        // the cells of the newest slot
};

} // namespace data
