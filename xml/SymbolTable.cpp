#include "xml/SymbolTable.h"

#include "platform/core/Exceptions.h"
#include "xml/VarInt.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <sys/mman.h>

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

// The open-addressing slots, zeroed. A small table comes from the heap; a
// large one is mapped afresh in huge pages where the system has them: the
// searches land anywhere in it, and with small pages nearly each one would
// miss the address cache too.
class TxSymbolTable::SlotArray {
public:
    explicit SlotArray(std::size_t count) : bytes_(count * sizeof(Slot))
    {
        if (Mapped()) {
            void* memory = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (memory == MAP_FAILED)
                throw std::bad_alloc();
            madvise(memory, bytes_, MADV_HUGEPAGE);
            slots_ = static_cast<Slot*>(memory);
        } else {
            slots_ = new Slot[count]();
        }
    }
    ~SlotArray()
    {
        if (Mapped())
            munmap(slots_, bytes_);
        else
            delete[] slots_;
    }
    SlotArray(const SlotArray&) = delete;
    SlotArray& operator=(const SlotArray&) = delete;
    Slot& operator[](std::size_t i) noexcept { return slots_[i]; }
    const Slot& operator[](std::size_t i) const noexcept { return slots_[i]; }

private:
    static constexpr std::size_t kHugePage = std::size_t(2) << 20;
    bool Mapped() const noexcept { return bytes_ >= kHugePage; }
    std::size_t bytes_;
    Slot* slots_ = nullptr;
};

TxSymbolTable::TxSymbolTable(core::TComponent* owner) : TDebugComponent(owner) { Rehash(64); }

TxSymbolTable::~TxSymbolTable() = default;

const char* TxSymbolTable::Store(std::string_view text)
{
    // The length as a varint, then the bytes.
    unsigned char length[5];
    std::size_t lengthBytes = 0;
    for (auto n = static_cast<std::uint32_t>(text.size());; n >>= 7) {
        length[lengthBytes++] = static_cast<unsigned char>(n >= 0x80 ? (n & 0x7F) | 0x80 : n);
        if (n < 0x80)
            break;
    }
    const std::size_t n = lengthBytes + text.size();
    char* at;
    if (n > kOwnBlockAbove) {
        blocks_.emplace_back(new char[n]);
        at = blocks_.back().get();
    } else {
        if (n > freeLeft_) {
            blocks_.emplace_back(new char[kBlockSize]);
            free_ = blocks_.back().get();
            freeLeft_ = kBlockSize;
        }
        at = free_;
        free_ += n;
        freeLeft_ -= n;
    }
    std::memcpy(at, length, lengthBytes);
    if (!text.empty())
        std::memcpy(at + lengthBytes, text.data(), text.size());
    return at;
}

std::string_view TxSymbolTable::LongTextAt(const unsigned char* p) noexcept
{
    std::uint32_t length = 0;
    int shift = 0;
    while (*p & 0x80) {
        length |= static_cast<std::uint32_t>(*p++ & 0x7F) << shift;
        shift += 7;
    }
    length |= static_cast<std::uint32_t>(*p++) << shift;
    return {reinterpret_cast<const char*>(p), length};
}

std::int32_t TxSymbolTable::Find(std::string_view text, std::uint32_t hash, std::size_t& slot) const
{
    const std::size_t mask = slotCount_ - 1;
    const SlotArray& slots = *slots_;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots[i];
        if (s.id == 0) {
            slot = i;
            return 0;
        }
        if (s.hash == hash) {
            const std::string_view stored = TextAt(static_cast<std::size_t>(s.id - 1));
            if (stored.size() == text.size() && EqualBytes(stored.data(), text.data(), text.size())) {
                slot = i;
                return s.id;
            }
        }
    }
}

void TxSymbolTable::InsertInSlots(const Slot& entry) noexcept
{
    const std::size_t mask = slotCount_ - 1;
    std::size_t i = entry.hash & mask;
    while ((*slots_)[i].id != 0)
        i = (i + 1) & mask;
    (*slots_)[i] = entry;
}

void TxSymbolTable::InsertWaiting() noexcept
{
    // There is room: the slots are never over half full.
    for (std::size_t k = 0; k < waitingCount_; ++k)
        InsertInSlots(waiting_[k]);
    indexed_ += waitingCount_;
    waitingCount_ = 0;
    waitingHashes_ = 0;
}

void TxSymbolTable::Rehash(std::size_t slotCount)
{
    InsertWaiting();
    auto grown = std::make_unique<SlotArray>(slotCount);
    const std::size_t mask = slotCount - 1;
    // Four filter bits per slot, at most 2^30.
    unsigned bits = 2;
    while ((std::size_t(1) << bits) < slotCount && bits < 28)
        ++bits;
    filterShift_ = 32 - (bits + 2);
    filter_.assign(std::max<std::size_t>((std::size_t(1) << (bits + 2)) / 64, 1), 0);
    for (std::size_t k = 0; k < slotCount_; ++k) {
        const Slot& s = (*slots_)[k];
        if (s.id == 0)
            continue;
        std::size_t i = s.hash & mask;
        while ((*grown)[i].id != 0)
            i = (i + 1) & mask;
        (*grown)[i] = s;
        SetFilterBit(s.hash);
    }
    slots_ = std::move(grown);
    slotCount_ = slotCount;
}

void TxSymbolTable::ExpectSymbols(std::size_t symbols)
{
    std::size_t slotCount = slotCount_;
    while (slotCount < symbols * 2 && slotCount < (std::size_t(1) << 30))
        slotCount *= 2;
    if (slotCount > slotCount_)
        Rehash(slotCount);
}

void TxSymbolTable::IndexWaiting()
{
    InsertWaiting();
    if (indexed_ * 2 >= slotCount_)
        Rehash(slotCount_ * 2);
}

std::int32_t TxSymbolTable::Add(std::string_view text, std::uint32_t style, std::uint32_t hash, std::size_t slot,
                                bool indexed)
{
    records_.push_back(Store(text));
    const auto id = static_cast<std::int32_t>(records_.size());
    if (!useCounts_.empty())
        useCounts_.push_back(0);
    // The styles are kept from the first symbol whose style is not 0 on;
    // that symbol may be the very first one, when the list is still empty.
    if (style != 0 && styles_.empty())
        styles_.assign(records_.size() - 1, 0);
    if (style != 0 || !styles_.empty())
        styles_.push_back(style);
    if (indexed) {
        (*slots_)[slot] = Slot{hash, id};
        SetFilterBit(hash);
        if ((++indexed_ + waitingCount_) * 2 >= slotCount_)
            IndexWaiting();
    }
    return id;
}

std::int32_t TxSymbolTable::AddUnindexed(std::string_view text, std::uint32_t hash)
{
    const std::int32_t id = Add(text, 0, hash, 0, false);
    SetFilterBit(hash);
    __builtin_prefetch(&(*slots_)[hash & (slotCount_ - 1)], 1);
    waiting_[waitingCount_++] = Slot{hash, id};
    waitingHashes_ |= std::uint64_t(1) << (hash >> 26);
    if (waitingCount_ == kWaitingMax || (indexed_ + waitingCount_) * 2 >= slotCount_)
        IndexWaiting();
    return id;
}

std::int32_t TxSymbolTable::FindUnindexed(std::string_view text, std::uint32_t hash) const
{
    if ((waitingHashes_ >> (hash >> 26) & 1) == 0)
        return 0;
    for (std::size_t k = 0; k < waitingCount_; ++k) {
        const Slot& s = waiting_[k];
        if (s.hash == hash && TextAt(static_cast<std::size_t>(s.id - 1)) == text)
            return s.id;
    }
    return 0;
}

std::int32_t TxSymbolTable::Intern(std::string_view text, std::uint32_t hash)
{
    if (text.empty())
        return 0;
    if (!FilterHas(hash))
        return AddUnindexed(text, hash);
    if (const std::int32_t id = FindUnindexed(text, hash))
        return id;
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
    std::vector<const char*>().swap(records_); // the room goes too
    std::vector<std::uint32_t>().swap(useCounts_);
    std::vector<std::uint32_t>().swap(styles_);
    std::vector<TxSymbol>().swap(sorted_);
    blocks_.clear();
    free_ = nullptr;
    freeLeft_ = 0;
    indexed_ = 0;
    waitingCount_ = 0;
    waitingHashes_ = 0;
    multiUseCount_ = 0;
    slots_.reset();
    slotCount_ = 0;
    Rehash(64);
}

TxSymbol TxSymbolTable::Symbol(std::int32_t id) const
{
    if (id <= 0 || id > SymbolCount())
        throw core::EListError("List index out of bounds (" + std::to_string(id) + ")");
    const auto index = static_cast<std::size_t>(id - 1);
    const std::string_view text = TextAt(index);
    TxSymbol symbol;
    symbol.ID = id;
    symbol.UseCount = useCounts_.empty() ? 0 : useCounts_[index];
    symbol.Style = styles_.empty() ? 0 : styles_[index];
    symbol.Length = static_cast<std::int32_t>(text.size());
    symbol.Bytes = text.data();
    return symbol;
}

std::vector<const TxSymbol*> TxSymbolTable::SortedSymbols() const
{
    const_cast<TxSymbolTable*>(this)->IndexWaiting(); // the slots list the symbols
    sorted_.clear();
    sorted_.reserve(indexed_);
    for (std::size_t k = 0; k < slotCount_; ++k)
        if (const std::int32_t id = (*slots_)[k].id)
            sorted_.push_back(Symbol(id));
    std::sort(sorted_.begin(), sorted_.end(),
              [](const TxSymbol& a, const TxSymbol& b) { return CompareSymbols(a, b) < 0; });
    std::vector<const TxSymbol*> sorted;
    sorted.reserve(sorted_.size());
    for (const TxSymbol& symbol : sorted_)
        sorted.push_back(&symbol);
    return sorted;
}

void TxSymbolTable::ResetUseCounts() { useCounts_.assign(records_.size(), 0); }

void TxSymbolTable::IncUseCount(std::int32_t id)
{
    if (id < 1 || id > SymbolCount())
        return;
    if (useCounts_.size() < records_.size())
        useCounts_.resize(records_.size(), 0);
    ++useCounts_[static_cast<std::size_t>(id - 1)];
}

void TxSymbolTable::SortByUse(std::vector<std::int32_t>& newIds)
{
    IndexWaiting(); // every slot is renumbered below
    const std::size_t count = records_.size();
    if (useCounts_.size() < count)
        useCounts_.resize(count, 0);
    // Stable, so that equal counts keep their order and equal documents give equal bytes.
    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return useCounts_[a] > useCounts_[b]; });
    newIds.assign(count + 1, 0);
    std::vector<const char*> records(count);
    std::vector<std::uint32_t> useCounts(count);
    std::vector<std::uint32_t> styles(styles_.empty() ? 0 : count);
    for (std::size_t p = 0; p < count; ++p) {
        const std::uint32_t old = order[p];
        newIds[old + 1] = static_cast<std::int32_t>(p + 1);
        records[p] = records_[old];
        useCounts[p] = useCounts_[old];
        if (!styles.empty())
            styles[p] = styles_[old];
    }
    records_ = std::move(records);
    useCounts_ = std::move(useCounts);
    styles_ = std::move(styles);
    multiUseCount_ = 0;
    while (static_cast<std::size_t>(multiUseCount_) < count && useCounts_[static_cast<std::size_t>(multiUseCount_)] > 1)
        ++multiUseCount_;
    for (std::size_t k = 0; k < slotCount_; ++k) {
        Slot& s = (*slots_)[k];
        if (s.id != 0)
            s.id = newIds[static_cast<std::size_t>(s.id)];
    }
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
    IndexWaiting();
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
    const TxSymbol symbol = Symbol(id);
    WriteVarUInt(stream, symbol.Style);
    WriteVarUInt(stream, static_cast<std::uint32_t>(symbol.Length));
    WriteStringBytes(stream, symbol.Text());
}

} // namespace xml
