#include "platform/data/RowOrder.h"

#include "platform/data/TextOrder.h"

#include <algorithm>
#include <cstdint>
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

    int Compare(int a, int b) const
    {
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        if (rank[ia] != rank[ib])
            return rank[ia] < rank[ib] ? -1 : 1;
        switch (rank[ia]) {
        case 1:
            return numbers[ia] < numbers[ib] ? -1 : numbers[ia] > numbers[ib] ? 1 : 0;
        case 2:
            if (key.JetText) {
                if (const int byLetters = Letters(a).compare(Letters(b)); byLetters != 0)
                    return byLetters;
                return CompareJetText(texts[ia], texts[ib]);
            } else {
                const int bytes = texts[ia].compare(texts[ib]);
                return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
            }
        default:
            return 0;
        }
    }
};

} // namespace

void SortRows(TRecordStore& rows, const std::vector<TRowSortKey>& keys)
{
    const int count = rows.Count();
    std::vector<TKeyColumn> columns(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        TKeyColumn& c = columns[k];
        c.key = keys[k];
        c.rank.resize(static_cast<std::size_t>(count));
        c.numbers.resize(static_cast<std::size_t>(count));
        c.texts.resize(static_cast<std::size_t>(count));
        if (c.key.JetText)
            c.lettersEnd.resize(static_cast<std::size_t>(count));
        for (int row = 0; row < count; ++row) {
            const auto i = static_cast<std::size_t>(row);
            const TRecordStore::TCellView cell = rows.View(row, c.key.Column);
            switch (cell.kind) {
            case TRecordStore::TCellView::Null: c.rank[i] = 0; break;
            case TRecordStore::TCellView::Int: c.rank[i] = 1; c.numbers[i] = static_cast<double>(cell.i); break;
            case TRecordStore::TCellView::Real: c.rank[i] = 1; c.numbers[i] = cell.d; break;
            case TRecordStore::TCellView::Text:
                c.rank[i] = 2;
                c.texts[i] = cell.text;
                if (c.key.JetText)
                    AppendJetTextKey(cell.text, c.letters);
                break;
            }
            if (c.key.JetText)
                c.lettersEnd[i] = static_cast<std::uint32_t>(c.letters.size());
        }
    }

    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        for (const TKeyColumn& c : columns)
            if (const int result = c.Compare(a, b); result != 0)
                return c.key.Descending ? result > 0 : result < 0;
        const std::int64_t idA = rows.RowId(a), idB = rows.RowId(b);
        if (idA != idB)
            return idA < idB;
        return a < b;
    });
    rows.Reorder(order);
}

} // namespace data
