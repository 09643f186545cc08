#include "platform/data/RowOrder.h"

#include "platform/data/TextOrder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>

namespace data {

namespace {

// One key column's values, read once for all the comparisons of the sort.
struct TKeyColumn {
    TRowSortKey key;
    std::vector<std::uint8_t> rank; // 0 empty, 1 number, 2 text
    std::vector<double> numbers;
    std::vector<std::string_view> texts;
    // For Jet's order: each text's alphabet key, in one buffer.
    std::string letters;
    std::vector<std::uint32_t> lettersEnd;

    std::string_view Letters(int row) const
    {
        const std::uint32_t begin = row == 0 ? 0 : lettersEnd[static_cast<std::size_t>(row - 1)];
        return std::string_view(letters).substr(begin, lettersEnd[static_cast<std::size_t>(row)] - begin);
    }
    // The bytes that order the texts of the column first: the alphabet keys
    // in Jet's order, else the texts themselves.
    std::string_view OrderBytes(int row) const
    {
        return key.JetText ? Letters(row) : texts[static_cast<std::size_t>(row)];
    }

    // Without withKeys, the alphabet keys are not made (Equal needs none).
    void Read(const TRecordStore& rows, int count, bool withKeys = true)
    {
        const auto n = static_cast<std::size_t>(count);
        rank.resize(n);
        numbers.resize(n);
        texts.resize(n);
        const bool keys = key.JetText && withKeys;
        if (keys)
            lettersEnd.resize(n);
        std::size_t used = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const TRecordStore::TCellView cell = rows.View(static_cast<int>(i), key.Column);
            switch (cell.kind) {
            case TRecordStore::TCellView::Null: rank[i] = 0; break;
            case TRecordStore::TCellView::Int: rank[i] = 1; numbers[i] = static_cast<double>(cell.i); break;
            case TRecordStore::TCellView::Real: rank[i] = 1; numbers[i] = cell.d; break;
            case TRecordStore::TCellView::Text:
                rank[i] = 2;
                texts[i] = cell.text;
                if (keys) {
                    // The buffer grows by doubling; the keys are written straight into it.
                    const std::size_t room = JetTextKeyRoom(cell.text);
                    if (used + room > letters.size())
                        letters.resize(std::max(2 * letters.size(), used + room));
                    used += WriteJetTextKey(cell.text, letters.data() + used);
                }
                break;
            }
            if (keys)
                lettersEnd[i] = static_cast<std::uint32_t>(used);
        }
        letters.resize(used);
    }

    // Whether the rows' values are equal in the order (texts in Jet's order
    // are equal only when their bytes are).
    bool Equal(int a, int b) const
    {
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        if (rank[ia] != rank[ib])
            return false;
        switch (rank[ia]) {
        case 1: return !(numbers[ia] < numbers[ib]) && !(numbers[ib] < numbers[ia]);
        case 2: return texts[ia] == texts[ib];
        default: return true;
        }
    }

    // With firstEqual, the rows are known to hold equal numbers, or texts
    // with equal OrderBytes.
    int Compare(int a, int b, bool firstEqual = false) const
    {
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        if (rank[ia] != rank[ib])
            return rank[ia] < rank[ib] ? -1 : 1;
        switch (rank[ia]) {
        case 1:
            if (firstEqual)
                return 0;
            return numbers[ia] < numbers[ib] ? -1 : numbers[ia] > numbers[ib] ? 1 : 0;
        case 2:
            if (key.JetText) {
                if (!firstEqual)
                    if (const int byLetters = Letters(a).compare(Letters(b)); byLetters != 0)
                        return byLetters;
                return texts[ia] == texts[ib] ? 0 : CompareJetText(texts[ia], texts[ib]);
            } else {
                if (firstEqual)
                    return 0;
                const int bytes = texts[ia].compare(texts[ib]);
                return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
            }
        default:
            return 0;
        }
    }
};

// A text row with seven bytes of its order bytes from some offset on, read
// as one big-endian number, and in its lowest byte how many of those bytes
// there are (8: more follow). Such numbers order as the bytes do, a shorter
// run first, so most of the sort compares integers.
struct TChunkedRow {
    std::uint64_t chunk;
    int row;
};

constexpr std::uint64_t kMoreFollow = 8;

std::uint64_t Chunk(std::string_view bytes, std::size_t offset)
{
    if (offset >= bytes.size())
        return 0;
    const std::size_t left = bytes.size() - offset;
    if (left >= 8) {
        std::uint64_t v;
        std::memcpy(&v, bytes.data() + offset, 8);
        if constexpr (std::endian::native == std::endian::little)
            v = __builtin_bswap64(v);
        return (v & ~std::uint64_t{0xFF}) | kMoreFollow;
    }
    std::uint64_t v = 0;
    for (std::size_t j = 0; j < left; ++j)
        v |= std::uint64_t{static_cast<unsigned char>(bytes[offset + j])} << (56 - 8 * j);
    return v | left;
}

// Puts the rows in the order of their order bytes, seven bytes at a time
// (most significant first), and marks where each run of rows with equal
// bytes begins.
void SortByBytes(const TKeyColumn& column, std::vector<TChunkedRow>& rows, std::vector<std::uint8_t>& runStart)
{
    struct TRange {
        std::size_t begin, end, offset;
    };
    runStart.assign(rows.size(), 0);
    std::vector<TRange> pending{{0, rows.size(), 0}};
    while (!pending.empty()) {
        const TRange range = pending.back();
        pending.pop_back();
        const auto first = rows.begin() + static_cast<std::ptrdiff_t>(range.begin);
        const auto last = rows.begin() + static_cast<std::ptrdiff_t>(range.end);
        bool same = true;
        for (auto it = first; it != last; ++it) {
            it->chunk = Chunk(column.OrderBytes(it->row), range.offset);
            same = same && it->chunk == first->chunk;
        }
        // Rows that share these bytes (as a long common beginning) go on to the next ones unsorted.
        if (!same)
            std::sort(first, last, [](const TChunkedRow& a, const TChunkedRow& b) { return a.chunk < b.chunk; });
        for (std::size_t s = range.begin, e; s < range.end; s = e) {
            e = s + 1;
            while (e < range.end && rows[e].chunk == rows[s].chunk)
                ++e;
            if (e - s > 1 && (rows[s].chunk & 0xFF) == kMoreFollow)
                pending.push_back({s, e, range.offset + 7});
            else
                runStart[s] = 1;
        }
    }
}

// A number as an integer that orders as the numbers do (0 and -0 alike).
std::uint64_t OrderedBits(double value)
{
    std::uint64_t bits;
    const double plain = value == 0 ? 0.0 : value;
    std::memcpy(&bits, &plain, sizeof bits);
    return (bits >> 63) != 0 ? ~bits : bits | (std::uint64_t{1} << 63);
}

// Appends the rows, in their order, to order, sorting each run of rows
// equal in the first key (marked by runStart) by less; answers where each
// run went.
template <class Less>
std::vector<std::pair<std::size_t, std::size_t>> SortRuns(const std::vector<TChunkedRow>& rows,
                                                          const std::vector<std::uint8_t>& runStart,
                                                          std::vector<int>& order, const Less& less)
{
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (runStart[i] != 0)
            runs.emplace_back(order.size(), order.size());
        order.push_back(rows[i].row);
        ++runs.back().second;
    }
    for (const auto& [begin, end] : runs)
        if (end - begin > 1)
            std::sort(order.begin() + static_cast<std::ptrdiff_t>(begin),
                      order.begin() + static_cast<std::ptrdiff_t>(end), [&](int a, int b) { return less(a, b, true); });
    return runs;
}

} // namespace

void SortRows(TRecordStore& rows, const std::vector<TRowSortKey>& keys)
{
    const int count = rows.Count();
    std::vector<TKeyColumn> columns(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        columns[k].key = keys[k];
        columns[k].Read(rows, count);
    }
    // The whole order; rows known to be equal in the first key's number or
    // order bytes are sorted by it with firstEqual.
    const auto less = [&](int a, int b, bool firstEqual) {
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const TKeyColumn& c = columns[k];
            if (const int result = c.Compare(a, b, k == 0 && firstEqual); result != 0)
                return c.key.Descending ? result > 0 : result < 0;
        }
        const std::int64_t idA = rows.RowId(a), idB = rows.RowId(b);
        if (idA != idB)
            return idA < idB;
        return a < b;
    };
    const auto byAll = [&](int a, int b) { return less(a, b, false); };

    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(count));
    if (columns.empty()) {
        order.resize(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), byAll);
        rows.Reorder(order);
        return;
    }

    // By the first key: empty values, numbers, texts (the other way round
    // when descending). Numbers and texts are put in order by integers made
    // of them; each run of equal ones is then sorted by the whole order.
    const TKeyColumn& first = columns.front();
    std::vector<int> empty;
    std::vector<TChunkedRow> numbers, texts;
    for (int row = 0; row < count; ++row) {
        switch (first.rank[static_cast<std::size_t>(row)]) {
        case 0: empty.push_back(row); break;
        case 1: numbers.push_back({OrderedBits(first.numbers[static_cast<std::size_t>(row)]), row}); break;
        default: texts.push_back({0, row}); break;
        }
    }
    std::sort(empty.begin(), empty.end(), byAll);
    std::vector<std::uint8_t> numberStart;
    std::sort(numbers.begin(), numbers.end(),
              [](const TChunkedRow& a, const TChunkedRow& b) { return a.chunk < b.chunk; });
    numberStart.assign(numbers.size(), 0);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        numberStart[i] = i == 0 || numbers[i].chunk != numbers[i - 1].chunk;
    std::vector<std::uint8_t> textStart;
    SortByBytes(first, texts, textStart);

    using TRun = std::pair<std::size_t, std::size_t>; // [begin, end) in order
    std::vector<TRun> numberRuns = SortRuns(numbers, numberStart, order, less);
    std::vector<TRun> textRuns = SortRuns(texts, textStart, order, less);
    std::vector<int> sorted;
    sorted.reserve(order.size() + empty.size());
    const auto append = [&](const TRun& run) {
        sorted.insert(sorted.end(), order.begin() + static_cast<std::ptrdiff_t>(run.first),
                      order.begin() + static_cast<std::ptrdiff_t>(run.second));
    };
    if (!first.key.Descending) {
        sorted.insert(sorted.end(), empty.begin(), empty.end());
        std::for_each(numberRuns.begin(), numberRuns.end(), append);
        std::for_each(textRuns.begin(), textRuns.end(), append);
    } else {
        std::for_each(textRuns.rbegin(), textRuns.rend(), append);
        std::for_each(numberRuns.rbegin(), numberRuns.rend(), append);
        sorted.insert(sorted.end(), empty.begin(), empty.end());
    }
    rows.Reorder(sorted);
}

void TurnRows(TRecordStore& rows, const std::vector<TRowSortKey>& keys)
{
    const int count = rows.Count();
    std::vector<TKeyColumn> columns(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        columns[k].key = keys[k];
        columns[k].Read(rows, count, false);
    }
    // The runs of rows equal in every key, last first; each keeps its order
    // (by database number, then as they were), as a new sort would give it.
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(count));
    for (int end = count; end > 0;) {
        int begin = end - 1;
        while (begin > 0 && std::all_of(columns.begin(), columns.end(),
                                        [&](const TKeyColumn& c) { return c.Equal(begin - 1, begin); }))
            --begin;
        for (int row = begin; row < end; ++row)
            order.push_back(row);
        end = begin;
    }
    rows.Reorder(order);
}

} // namespace data
