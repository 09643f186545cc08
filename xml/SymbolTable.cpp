#include "xml/SymbolTable.h"

#include "platform/core/Exceptions.h"
#include "xml/VarInt.h"

#include <algorithm>
#include <cstring>

namespace xml {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr std::size_t kOwnBlockAbove = 4 * 1024;

} // namespace

int CompareSymbols(const TxSymbol& a, const TxSymbol& b)
{
    if (a.Length != b.Length)
        return a.Length < b.Length ? -1 : 1;
    const int n = a.Length;
    if (n == 0)
        return 0;
    const auto* x = reinterpret_cast<const unsigned char*>(a.Bytes);
    const auto* y = reinterpret_cast<const unsigned char*>(b.Bytes);
    if (x[0] != y[0])
        return x[0] < y[0] ? -1 : 1;
    // Texts of one length often share a prefix; their ends tell them apart sooner.
    for (int lo = 1, hi = n - 1; lo <= hi; ++lo, --hi) {
        if (x[hi] != y[hi])
            return x[hi] < y[hi] ? -1 : 1;
        if (lo < hi && x[lo] != y[lo])
            return x[lo] < y[lo] ? -1 : 1;
    }
    return 0;
}

bool FindSymbol(const std::vector<const TxSymbol*>& sorted, const TxSymbol& probe, int& index)
{
    int low = 0, high = static_cast<int>(sorted.size());
    while (low < high) {
        const int middle = (low + high) / 2;
        const int c = CompareSymbols(*sorted[static_cast<std::size_t>(middle)], probe);
        if (c < 0) {
            low = middle + 1;
        } else if (c > 0) {
            high = middle;
        } else {
            index = middle;
            return true;
        }
    }
    index = low;
    return false;
}

TxSymbolTable::TxSymbolTable(core::TComponent* owner) : TDebugComponent(owner) { Rehash(64); }

TxSymbolTable::~TxSymbolTable() = default;

const char* TxSymbolTable::Store(std::string_view text)
{
    const std::size_t n = text.size();
    if (n == 0)
        return "";
    if (n > kOwnBlockAbove) {
        blocks_.emplace_back(new char[n]);
        std::memcpy(blocks_.back().get(), text.data(), n);
        return blocks_.back().get();
    }
    if (n > freeLeft_) {
        blocks_.emplace_back(new char[kBlockSize]);
        free_ = blocks_.back().get();
        freeLeft_ = kBlockSize;
    }
    char* at = free_;
    std::memcpy(at, text.data(), n);
    free_ += n;
    freeLeft_ -= n;
    return at;
}

std::int32_t TxSymbolTable::Find(std::string_view text, std::uint32_t hash, std::size_t& slot) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.id == 0) {
            slot = i;
            return 0;
        }
        if (s.hash == hash) {
            const TxSymbol& symbol = symbols_[static_cast<std::size_t>(s.id - 1)];
            if (symbol.Length == static_cast<std::int32_t>(text.size()) &&
                EqualBytes(symbol.Bytes, text.data(), text.size())) {
                slot = i;
                return s.id;
            }
        }
    }
}

void TxSymbolTable::Rehash(std::size_t slotCount)
{
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(slotCount, Slot{0, 0});
    const std::size_t mask = slotCount - 1;
    for (const Slot& s : old) {
        if (s.id == 0)
            continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].id != 0)
            i = (i + 1) & mask;
        slots_[i] = s;
    }
}

std::int32_t TxSymbolTable::Add(std::string_view text, std::uint32_t style, std::uint32_t hash, std::size_t slot,
                                bool indexed)
{
    TxSymbol symbol;
    symbol.ID = static_cast<std::int32_t>(symbols_.size() + 1);
    symbol.Style = style;
    symbol.Bytes = Store(text);
    symbol.Length = static_cast<std::int32_t>(text.size());
    symbols_.push_back(symbol);
    if (indexed) {
        slots_[slot] = Slot{hash, symbol.ID};
        if (++indexed_ * 2 >= slots_.size())
            Rehash(slots_.size() * 2);
    }
    return symbol.ID;
}

std::int32_t TxSymbolTable::Intern(std::string_view text, std::uint32_t hash)
{
    if (text.empty())
        return 0;
    std::size_t slot = 0;
    if (const std::int32_t id = Find(text, hash, slot))
        return id;
    return Add(text, 0, hash, slot, true);
}

std::string_view TxSymbolTable::LookupOutside(std::int32_t id)
{
    if (id > SymbolCount())
        EmitDebug(this, dlWarn, "string ID not found");
    return {};
}

std::string TxSymbolTable::Lookup(std::int32_t id) { return std::string(LookupView(id)); }

void TxSymbolTable::Clear()
{
    std::vector<TxSymbol>().swap(symbols_); // the room goes too
    blocks_.clear();
    free_ = nullptr;
    freeLeft_ = 0;
    indexed_ = 0;
    multiUseCount_ = 0;
    slots_.clear();
    Rehash(64);
}

const TxSymbol& TxSymbolTable::Symbol(std::int32_t id) const
{
    if (id <= 0 || id > SymbolCount())
        throw core::EListError("List index out of bounds (" + std::to_string(id) + ")");
    return symbols_[static_cast<std::size_t>(id - 1)];
}

std::vector<const TxSymbol*> TxSymbolTable::SortedSymbols() const
{
    std::vector<const TxSymbol*> sorted;
    sorted.reserve(indexed_);
    for (const Slot& s : slots_)
        if (s.id != 0)
            sorted.push_back(&symbols_[static_cast<std::size_t>(s.id - 1)]);
    std::sort(sorted.begin(), sorted.end(),
              [](const TxSymbol* a, const TxSymbol* b) { return CompareSymbols(*a, *b) < 0; });
    return sorted;
}

void TxSymbolTable::ResetUseCounts()
{
    for (TxSymbol& symbol : symbols_)
        symbol.UseCount = 0;
}

void TxSymbolTable::IncUseCount(std::int32_t id)
{
    if (id >= 1 && id <= SymbolCount())
        ++symbols_[static_cast<std::size_t>(id - 1)].UseCount;
}

void TxSymbolTable::SortByUse(std::vector<std::int32_t>& newIds)
{
    // Stable, so that equal counts keep their order and equal documents give equal bytes.
    std::stable_sort(symbols_.begin(), symbols_.end(),
                     [](const TxSymbol& a, const TxSymbol& b) { return a.UseCount > b.UseCount; });
    multiUseCount_ = 0;
    while (multiUseCount_ < SymbolCount() && symbols_[static_cast<std::size_t>(multiUseCount_)].UseCount > 1)
        ++multiUseCount_;
    newIds.assign(symbols_.size() + 1, 0);
    for (std::size_t p = 0; p < symbols_.size(); ++p) {
        newIds[static_cast<std::size_t>(symbols_[p].ID)] = static_cast<std::int32_t>(p + 1);
        symbols_[p].ID = static_cast<std::int32_t>(p + 1);
    }
    for (Slot& s : slots_)
        if (s.id != 0)
            s.id = newIds[static_cast<std::size_t>(s.id)];
}

void TxSymbolTable::LoadFromStream(core::TStream& stream)
{
    Clear();
    const std::uint32_t count = ReadVarUInt(stream);
    for (std::uint32_t i = 0; i < count; ++i)
        ReadSymbol(stream);
}

std::int32_t TxSymbolTable::ReadSymbol(core::TStream& stream)
{
    const std::uint32_t style = ReadVarUInt(stream);
    const std::uint32_t length = ReadVarUInt(stream);
    std::string bytes;
    if (length > 0) {
        // A damaged length must not make us allocate more than the stream holds.
        if (length > 0x7FFFFFFFu || static_cast<std::int64_t>(length) > stream.Size() - stream.Position())
            throw core::EReadError("Stream read error");
        bytes.resize(length);
        stream.ReadBuffer(bytes.data(), length);
    }
    return AppendSymbol(bytes, style);
}

std::int32_t TxSymbolTable::AppendSymbol(std::string_view text, std::uint32_t style)
{
    const std::uint32_t hash = HashText(text);
    std::size_t slot = 0;
    // A duplicate keeps its place by ID; Intern finds the first one.
    const bool duplicate = Find(text, hash, slot) != 0;
    const std::int32_t id = Add(text, style, hash, slot, !duplicate);
    if (duplicate)
        EmitDebug(this, dlFail, "duplicate symbol!");
    return id;
}

void TxSymbolTable::SaveToStream(core::TStream& stream, int n)
{
    n = std::clamp(n, 0, SymbolCount());
    WriteVarUInt(stream, static_cast<std::uint32_t>(n));
    for (int id = 1; id <= n; ++id)
        WriteSymbol(stream, id);
}

void TxSymbolTable::WriteSymbol(core::TStream& stream, std::int32_t id)
{
    const TxSymbol& symbol = Symbol(id);
    WriteVarUInt(stream, symbol.Style);
    WriteVarUInt(stream, static_cast<std::uint32_t>(symbol.Length));
    WriteStringBytes(stream, symbol.Text());
}

} // namespace xml
