#include "platform/data/RecordStore.h"

#include <algorithm>

namespace data {

void TRecordStore::Reset(int columns)
{
    columns_ = columns;
    if (columns != 0 && columns != pageColumns_) {
        pages_.clear();
        pageColumns_ = columns;
    }
    pagesUsed_ = 0;
    rowIds_.clear();
    order_.clear();
    blocksUsed_ = 0;
    longTexts_.clear();
    blockUsed_ = kBlockSize;
    lastRow_ = nullptr;
}

void TRecordStore::Recycle(TRecordStore&& other)
{
    if (!rowIds_.empty() || &other == this)
        return;
    if (other.pages_.size() > pages_.size() && (pagesUsed_ == 0)) {
        pages_ = std::move(other.pages_);
        pageColumns_ = other.pageColumns_;
        if (columns_ != 0 && columns_ != pageColumns_) {
            pages_.clear();
            pageColumns_ = columns_;
        }
    }
    if (other.blocks_.size() > blocks_.size() && blocksUsed_ == 0)
        blocks_ = std::move(other.blocks_);
    if (other.rowIds_.capacity() > rowIds_.capacity()) {
        rowIds_.swap(other.rowIds_);
        rowIds_.clear();
    }
    if (other.order_.capacity() > order_.capacity() && order_.empty()) {
        order_.swap(other.order_);
        order_.clear();
    }
    other.Reset(0);
    other.pages_.clear();
    other.blocks_.clear();
}

const char* TRecordStore::KeepInNewBlock(std::string_view text)
{
    if (text.size() > kBlockSize / 4) { // a long text gets a block of its own
        auto own = std::make_unique_for_overwrite<char[]>(text.size());
        std::copy(text.begin(), text.end(), own.get());
        const char* p = own.get();
        longTexts_.push_back(std::move(own));
        return p;
    }
    if (blocksUsed_ == blocks_.size())
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    ++blocksUsed_;
    blockUsed_ = 0;
    return Keep(text);
}

std::uint32_t TRecordStore::NewSlot()
{
    const auto slot = static_cast<std::uint32_t>(rowIds_.size());
    if ((slot & (kPageRows - 1)) == 0) {
        if (pagesUsed_ == pages_.size())
            pages_.push_back(
                std::make_unique_for_overwrite<CellData[]>(kPageRows * static_cast<std::size_t>(columns_)));
        ++pagesUsed_;
    }
    CellData* row = &pages_[slot >> kPageShift][(slot & (kPageRows - 1)) * static_cast<std::size_t>(columns_)];
    std::fill(row, row + columns_, CellData{kNull, 0, {0}});
    lastRow_ = row;
    rowIds_.push_back(kNoRowId);
    return slot;
}

void TRecordStore::AppendRow() { order_.push_back(NewSlot()); }

void TRecordStore::InsertRow(int pos)
{
    const std::uint32_t slot = NewSlot();
    order_.insert(order_.begin() + pos, slot);
}

void TRecordStore::EraseRow(int pos) { order_.erase(order_.begin() + pos); }

void TRecordStore::Reorder(const std::vector<int>& positions)
{
    std::vector<std::uint32_t> order(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        order[i] = order_[static_cast<std::size_t>(positions[i])];
    order_ = std::move(order);
}

Variant TRecordStore::Get(int pos, int column, TVarType type) const
{
    const CellData& c = Cell(pos, column);
    switch (c.kind) {
    case kNull: return Variant();
    case kInt:
        if (type == varBoolean)
            return Variant(c.i != 0);
        if (type == varDouble)
            return Variant(static_cast<double>(c.i));
        if (type == varDate)
            return Variant::FromDateTime(static_cast<double>(c.i));
        if (type == varString)
            return Variant(std::to_string(c.i));
        return Variant(c.i);
    case kReal:
        if (type == varDate)
            return Variant::FromDateTime(c.d);
        if (type == varBoolean)
            return Variant(c.d != 0);
        if (type == varInteger)
            return Variant(Variant(c.d).AsInt64());
        if (type == varString)
            return Variant(Variant(c.d).AsString());
        return Variant(c.d);
    case kText: return Variant(std::string(c.text, c.length));
    }
    return Variant();
}

void TRecordStore::Set(int pos, int column, const Variant& value)
{
    CellData& c = Cell(pos, column);
    switch (value.VarType()) {
    case varNull: c = {kNull, 0, {0}}; break;
    case varInteger: c = {kInt, 0, {value.AsInt64()}}; break;
    case varBoolean: c = {kInt, 0, {value.AsBoolean() ? 1 : 0}}; break;
    case varDouble:
    case varDate:
        c.kind = kReal;
        c.length = 0;
        c.d = value.AsFloat();
        break;
    case varString: {
        const std::string text = value.AsString();
        c.kind = kText;
        c.length = static_cast<std::uint32_t>(text.size());
        c.text = Keep(text);
        break;
    }
    }
}

} // namespace data
