#pragma once
// The document's symbol table: every name and text of a document is interned
// once and referred to by a 32-bit ID. ID 0 is the empty string; the stored
// symbols have the IDs 1..count. The table can be renumbered by use, most used
// first, and written to and read from a stream for the binary form.

#include "xml/ByteScan.h"
#include "xml/Debug.h"

#include "platform/core/Streams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

struct TxSymbol {
    std::int32_t ID = 0;
    std::uint32_t UseCount = 0;
    std::uint32_t Style = 0;
    std::int32_t Length = 0;     // before Bytes, so that the record takes no padding
    const char* Bytes = nullptr; // owned by the table, no terminator

    std::string_view Text() const noexcept { return {Bytes, static_cast<std::size_t>(Length)}; }
};

// The order of the table's sorted view: by length, then by the first byte, then
// by the first difference found walking inward alternately from the back and
// the front (last, second, second-to-last, third...); bytes compare unsigned.
int CompareSymbols(const TxSymbol& a, const TxSymbol& b);

// Binary search of a list in CompareSymbols order: true and the index when
// found; else false and the index at which probe belongs.
bool FindSymbol(const std::vector<const TxSymbol*>& sorted, const TxSymbol& probe, int& index);

class TxSymbolTable : public TDebugComponent {
public:
    explicit TxSymbolTable(core::TComponent* owner);
    ~TxSymbolTable() override;
    std::string ClassName() const override { return "TxSymbolTable"; }

    // The ID of text, added when new; the empty string is 0 and adds nothing.
    std::int32_t Intern(std::string_view text) { return Intern(text, HashText(text)); }
    // The same with the text's HashText already known.
    std::int32_t Intern(std::string_view text, std::uint32_t hash);
    // A fast mixing hash: sixteen bytes at a time, the last block padded
    // with zero bytes; names and short texts take two loads and one
    // multiplication.
    static std::uint32_t HashText(std::string_view text) noexcept { return Hash<false>(text.data(), text.size()); }
    // The same for a text of 1 to 23 bytes given as three words, zero-padded
    // (the top byte of the third is not looked at).
    static std::uint32_t HashWords(std::uint64_t w0, std::uint64_t w1, std::uint64_t w2, std::size_t n) noexcept
    {
        const std::uint64_t seed = kSeed ^ n;
        std::uint64_t h;
        if (n <= 16) {
            h = Mix(w0 ^ kFirst, w1 ^ seed);
        } else {
            h = Mix((w2 & 0x00FFFFFFFFFFFFFFull) ^ kFirst, Mix(w0 ^ seed, w1 ^ kBlock));
        }
        return static_cast<std::uint32_t>(h ^ h >> 32);
    }
    // The k (0 to 8) bytes at p as a word, zero above; with padded, 8 bytes
    // may be read whatever k is.
    template <bool padded>
    static std::uint64_t PartOf(const char* p, std::size_t k) noexcept
    {
        if constexpr (padded) {
            return Load64(p) & kLowBytes[k];
        } else {
            std::uint64_t v = 0;
            if (k > 0)
                std::memcpy(&v, p, k);
            return v;
        }
    }
    // The text of an ID; 0 and negative IDs give the empty string, an unknown
    // ID gives it with the warning "string ID not found".
    std::string Lookup(std::int32_t id);
    // The same without a copy; valid until the table is cleared.
    std::string_view LookupView(std::int32_t id)
    {
        if (id > 0 && id <= SymbolCount())
            return TextAt(static_cast<std::size_t>(id - 1));
        return LookupOutside(id);
    }

    void Clear();
    // Room for so many symbols in all, so that adding them moves no record.
    void Reserve(std::size_t symbols) { records_.reserve(symbols); }
    // Sizes the search slots for so many symbols at once, so that a table
    // expected to grow large is not rebuilt at every doubling on the way.
    void ExpectSymbols(std::size_t symbols);
    int SymbolCount() const noexcept { return static_cast<int>(records_.size()); }
    // The symbol with that ID (1..count); raises EListError outside.
    TxSymbol Symbol(std::int32_t id) const;
    // The symbols in CompareSymbols order (a duplicate read from a stream stands
    // only in the by-ID order); valid until the next call or a change of the table.
    std::vector<const TxSymbol*> SortedSymbols() const;

    void ResetUseCounts();
    void IncUseCount(std::int32_t id);
    // Renumbers the symbols by use, most used first. newIds, indexed by old ID
    // 0..count, receives each symbol's new ID.
    void SortByUse(std::vector<std::int32_t>& newIds);
    // Symbols used more than once after the last SortByUse.
    int MultiUseCount() const noexcept { return multiUseCount_; }

    void LoadFromStream(core::TStream& stream);
    // Reads one record (style, length, bytes) and appends it; returns its ID.
    std::int32_t ReadSymbol(core::TStream& stream);
    // Appends a symbol as a record gives it, even one that is there already
    // (reported as "duplicate symbol!", found by Intern under its first ID).
    std::int32_t AppendSymbol(std::string_view text, std::uint32_t style);
    // The count n, then the records of the IDs 1..n.
    void SaveToStream(core::TStream& stream, int n);
    void WriteSymbol(core::TStream& stream, std::int32_t id);

private:
    static std::uint64_t Mix(std::uint64_t a, std::uint64_t b) noexcept
    {
        const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
        return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
    }
    static constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull, kFirst = 0xA0761D6478BD642Full,
                                   kBlock = 0xE7037ED1A0B428DBull;
    // The low k bytes of a word, for k = 0 to 8.
    static constexpr std::uint64_t kLowBytes[9] = {0,
                                                   0xFF,
                                                   0xFFFF,
                                                   0xFFFFFF,
                                                   0xFFFFFFFF,
                                                   0xFFFFFFFFFFull,
                                                   0xFFFFFFFFFFFFull,
                                                   0xFFFFFFFFFFFFFFull,
                                                   ~std::uint64_t(0)};
    template <bool padded>
    static std::uint32_t Hash(const char* p, std::size_t n) noexcept
    {
        std::uint64_t seed = kSeed ^ n;
        for (; n > 16; p += 16, n -= 16)
            seed = Mix(Load64(p) ^ seed, Load64(p + 8) ^ kBlock);
        const std::size_t k = n < 8 ? n : 8;
        const std::uint64_t a = PartOf<padded>(p, k), b = PartOf<padded>(p + 8, n - k);
        const std::uint64_t h = Mix(a ^ kFirst, b ^ seed);
        return static_cast<std::uint32_t>(h ^ h >> 32);
    }

    struct Slot {
        std::uint32_t hash;
        std::int32_t id; // 0: empty
    };
    class SlotArray;

    // A symbol is kept as its length (a varint) followed by its bytes; the
    // record is the address of the length. The ID, the use count and the
    // style are not kept with it: the ID is the place, the use counts live
    // only while the binary form counts them, and the styles only once a
    // symbol with a style other than 0 is read.
    std::string_view TextAt(std::size_t index) const noexcept
    {
        const auto* p = reinterpret_cast<const unsigned char*>(records_[index]);
        if (*p < 0x80)
            return {reinterpret_cast<const char*>(p + 1), *p};
        return LongTextAt(p);
    }
    static std::string_view LongTextAt(const unsigned char* p) noexcept;
    std::string_view LookupOutside(std::int32_t id);
    const char* Store(std::string_view text);
    // A new symbol with the next ID; indexed at slot unless its text is there already.
    std::int32_t Add(std::string_view text, std::uint32_t style, std::uint32_t hash, std::size_t slot, bool indexed);
    std::int32_t Find(std::string_view text, std::uint32_t hash, std::size_t& slot) const;
    // A symbol new by the filter: added now, put in the slots with the next group.
    std::int32_t AddUnindexed(std::string_view text, std::uint32_t hash);
    // The ID of an added symbol not yet in the slots, or 0.
    std::int32_t FindUnindexed(std::string_view text, std::uint32_t hash) const;
    // Puts the symbols waiting for their slots in; then grows the slots when due.
    void IndexWaiting();
    // The same without growing the slots.
    void InsertWaiting() noexcept;
    void InsertInSlots(const Slot& entry) noexcept;
    void Rehash(std::size_t slotCount);
    std::size_t FilterBit(std::uint32_t hash) const noexcept
    {
        return static_cast<std::uint32_t>(hash * 0x9E3779B1u) >> filterShift_;
    }
    bool FilterHas(std::uint32_t hash) const noexcept
    {
        const std::size_t bit = FilterBit(hash);
        return (filter_[bit >> 6] >> (bit & 63) & 1) != 0;
    }
    void SetFilterBit(std::uint32_t hash) noexcept
    {
        const std::size_t bit = FilterBit(hash);
        filter_[bit >> 6] |= std::uint64_t(1) << (bit & 63);
    }

    std::vector<const char*> records_; // the symbol with ID n at index n-1
    std::unique_ptr<SlotArray> slots_;  // open addressing over the first symbol of each text
    std::size_t slotCount_ = 0;
    std::size_t indexed_ = 0;
    // A text whose filter bit is clear is in no symbol yet: it is added
    // without searching the slots, which for the many unique texts of a large
    // document would wait for memory each time. Such symbols are put in their
    // slots in groups, the slots fetched ahead while the parse goes on.
    std::vector<std::uint64_t> filter_; // four bits per slot
    unsigned filterShift_ = 32;
    static constexpr std::size_t kWaitingMax = 32;
    Slot waiting_[kWaitingMax] = {};
    std::size_t waitingCount_ = 0;
    std::uint64_t waitingHashes_ = 0; // a bit for each waiting symbol's hash, folded to 64
    std::vector<std::uint32_t> useCounts_; // empty: all 0
    std::vector<std::uint32_t> styles_;    // empty: all 0
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    std::size_t freeLeft_ = 0;
    int multiUseCount_ = 0;
    mutable std::vector<TxSymbol> sorted_;
};

} // namespace xml
