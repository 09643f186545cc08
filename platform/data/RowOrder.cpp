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

    void Read(const TRecordStore& rows, int count)
    {
        const auto n = static_cast<std::size_t>(count);
        rank.resize(n);
        numbers.resize(n);
        texts.resize(n);
        if (key.JetText)
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
                if (key.JetText) {
                    // The buffer grows by doubling; the keys are written straight into it.
                    const std::size_t room = JetTextKeyRoom(cell.text);
                    if (used + room > letters.size())
                        letters.resize(std::max(2 * letters.size(), used + room));
                    used += WriteJetTextKey(cell.text, letters.data() + used);
                }
                break;
            }
            if (key.JetText)
                lettersEnd[i] = static_cast<std::uint32_t>(used);
        }
        letters.resize(used);
    }

    // With firstBytesEqual, the rows' OrderBytes are known to be equal.
    int Compare(int a, int b, bool firstBytesEqual = false) const
    {
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        if (rank[ia] != rank[ib])
            return rank[ia] < rank[ib] ? -1 : 1;
        switch (rank[ia]) {
        case 1:
            return numbers[ia] < numbers[ib] ? -1 : numbers[ia] > numbers[ib] ? 1 : 0;
        case 2:
            if (key.JetText) {
                if (!firstBytesEqual)
                    if (const int byLetters = Letters(a).compare(Letters(b)); byLetters != 0)
                        return byLetters;
                return texts[ia] == texts[ib] ? 0 : CompareJetText(texts[ia], texts[ib]);
            } else {
                if (firstBytesEqual)
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

} // namespace

void SortRows(TRecordStore& rows, const std::vector<TRowSortKey>& keys)
{
    const int count = rows.Count();
    std::vector<TKeyColumn> columns(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        columns[k].key = keys[k];
        columns[k].Read(rows, count);
    }
    // The whole order; rows equal in the first key's order bytes are sorted
    // by it as firstBytesEqual.
    const auto less = [&](int a, int b, bool firstBytesEqual) {
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const TKeyColumn& c = columns[k];
            if (const int result = c.Compare(a, b, k == 0 && firstBytesEqual); result != 0)
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
    // when descending). The texts are put in order by their bytes; each run
    // of equal bytes is then sorted by the whole order.
    const TKeyColumn& first = columns.front();
    std::vector<int> empty, numbers;
    std::vector<TChunkedRow> texts;
    for (int row = 0; row < count; ++row) {
        switch (first.rank[static_cast<std::size_t>(row)]) {
        case 0: empty.push_back(row); break;
        case 1: numbers.push_back(row); break;
        default: texts.push_back({0, row}); break;
        }
    }
    std::sort(empty.begin(), empty.end(), byAll);
    std::sort(numbers.begin(), numbers.end(), byAll);
    std::vector<std::uint8_t> runStart;
    SortByBytes(first, texts, runStart);
    std::vector<std::pair<std::size_t, std::size_t>> runs; // [begin, end) in texts
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (runStart[i] != 0)
            runs.emplace_back(i, i + 1);
        else
            runs.back().second = i + 1;
    std::vector<int> textRows(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        textRows[i] = texts[i].row;
    for (const auto& [begin, end] : runs)
        if (end - begin > 1)
            std::sort(textRows.begin() + static_cast<std::ptrdiff_t>(begin),
                      textRows.begin() + static_cast<std::ptrdiff_t>(end),
                      [&](int a, int b) { return less(a, b, true); });

    const auto appendRun = [&](const std::pair<std::size_t, std::size_t>& run) {
        order.insert(order.end(), textRows.begin() + static_cast<std::ptrdiff_t>(run.first),
                     textRows.begin() + static_cast<std::ptrdiff_t>(run.second));
    };
    if (!first.key.Descending) {
        order.insert(order.end(), empty.begin(), empty.end());
        order.insert(order.end(), numbers.begin(), numbers.end());
        std::for_each(runs.begin(), runs.end(), appendRun);
    } else {
        std::for_each(runs.rbegin(), runs.rend(), appendRun);
        order.insert(order.end(), numbers.begin(), numbers.end());
        order.insert(order.end(), empty.begin(), empty.end());
    }
    rows.Reorder(order);
}

} // namespace data
