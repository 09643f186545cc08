#include "platform/data/RecordStore.h"

#include <algorithm>

namespace data {

void TRecordStore::Reset(int columns)
{
    columns_ = columns;
    cells_.clear();
    rowIds_.clear();
    order_.clear();
    blocks_.clear();
    blockUsed_ = kBlockSize;
}

const char* TRecordStore::Keep(std::string_view text)
{
    if (text.size() > kBlockSize / 4) { // a long text gets a block of its own
        auto own = std::make_unique_for_overwrite<char[]>(text.size());
        std::copy(text.begin(), text.end(), own.get());
        const char* p = own.get();
        blocks_.insert(blocks_.end() - (blocks_.empty() ? 0 : 1), std::move(own));
        return p;
    }
    if (blockUsed_ + text.size() > kBlockSize) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        blockUsed_ = 0;
    }
    char* p = blocks_.back().get() + blockUsed_;
    std::copy(text.begin(), text.end(), p);
    blockUsed_ += text.size();
    return p;
}

std::uint32_t TRecordStore::NewSlot()
{
    const auto slot = static_cast<std::uint32_t>(rowIds_.size());
    cells_.resize(cells_.size() + static_cast<std::size_t>(columns_), CellData{kNull, 0, {0}});
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

void TRecordStore::SetLastReal(int column, double value)
{
    CellData& c = LastCell(column);
    c.kind = kReal;
    c.length = 0;
    c.d = value;
}

void TRecordStore::SetLastText(int column, std::string_view text)
{
    CellData& c = LastCell(column);
    c.kind = kText;
    c.length = static_cast<std::uint32_t>(text.size());
    c.text = Keep(text);
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
