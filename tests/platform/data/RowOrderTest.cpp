// Rows put in order in memory, checked against a plain sort by the same
// comparisons: empty values first, numbers by value, then texts (in Jet's
// text order or byte by byte); equal rows by their database number, then as
// they were. The texts share long beginnings, are beginnings of one another,
// differ only in accents or case, and hold "ch", other scripts and bad bytes.

#include "platform/data/RecordStore.h"
#include "platform/data/RowOrder.h"
#include "platform/data/TextOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace data;

namespace {

struct TCell {
    int kind = 0; // 0 empty, 1 number, 2 text
    double number = 0;
    std::string text;
};

struct TRow {
    TCell first, second;
    std::int64_t rowId = TRecordStore::kNoRowId;
    int serial = 0; // the row's place before sorting
};

std::vector<std::string> MakeTexts(std::mt19937& random)
{
    const char* const pieces[] = {"a", "á", "A", "Á", "ch", "Ch", "CH", "c", "h", "č", "Č", "ř", "r", "s", "š", "z",
                                  "ž", "Ω", "中", " ", "1", "9", "-", ".", "\xff", "e", "ě", "é", "o", "ů"};
    const char* const beginnings[] = {"", "Rozsudek Okresního soudu v Benešově čj. ", "abcdefg", "abcdefgh",
                                      "Usnesení Krajského soudu"};
    std::vector<std::string> texts = {"", "a", "A", "á", "abcdefg", "abcdefgh", "abcdefghi", "abcdefgabcdefg",
                                      "abcdefgabcdefga", "Rozsudek", "Rozsudek Okresního soudu v Benešově čj. "};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<std::size_t> beginning(0, std::size(beginnings) - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int i = 0; i < 400; ++i) {
        std::string text = beginnings[beginning(random)];
        for (int n = length(random); n > 0; --n)
            text += pieces[piece(random)];
        texts.push_back(text);
    }
    return texts;
}

TCell RandomCell(std::mt19937& random, const std::vector<std::string>& texts, int textShare)
{
    TCell cell;
    const int kind = std::uniform_int_distribution<int>(0, 9)(random);
    if (kind == 0)
        return cell;
    if (kind > textShare) {
        cell.kind = 1;
        const double values[] = {-1.5, 0, -0.0, 2, 2.25, 40299, 40299.5, 1e9, -1e9};
        cell.number = values[std::uniform_int_distribution<std::size_t>(0, std::size(values) - 1)(random)];
        return cell;
    }
    cell.kind = 2;
    cell.text = texts[std::uniform_int_distribution<std::size_t>(0, texts.size() - 1)(random)];
    return cell;
}

void Store(TRecordStore& store, int column, const TCell& cell)
{
    if (cell.kind == 1)
        store.SetLastReal(column, cell.number);
    else if (cell.kind == 2)
        store.SetLastText(column, cell.text);
}

int CompareCell(const TCell& a, const TCell& b, bool jetText)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.kind == 1)
        return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    if (a.kind == 2)
        return jetText ? CompareJetText(a.text, b.text) : a.text.compare(b.text);
    return 0;
}

// Sorts rows in the store and plainly, and answers whether both give the
// same order; with turning, the store's rows are first sorted by the keys
// turned the other way and then turned.
void ExpectSameOrder(const std::vector<TRow>& table, const std::vector<TRowSortKey>& keys, bool turning = false)
{
    TRecordStore store;
    store.Reset(3);
    for (const TRow& row : table) {
        store.AppendRow();
        Store(store, 0, row.first);
        Store(store, 1, row.second);
        store.SetLastInt(2, row.serial);
        store.SetLastRowId(row.rowId);
    }
    if (turning) {
        std::vector<TRowSortKey> other = keys;
        for (TRowSortKey& key : other)
            key.Descending = !key.Descending;
        SortRows(store, other);
        TurnRows(store, keys);
    } else {
        SortRows(store, keys);
    }

    std::vector<TRow> expected = table;
    std::sort(expected.begin(), expected.end(), [&](const TRow& a, const TRow& b) {
        for (const TRowSortKey& key : keys) {
            const TCell& x = key.Column == 0 ? a.first : a.second;
            const TCell& y = key.Column == 0 ? b.first : b.second;
            if (const int result = CompareCell(x, y, key.JetText); result != 0)
                return key.Descending ? result > 0 : result < 0;
        }
        if (a.rowId != b.rowId)
            return a.rowId < b.rowId;
        return a.serial < b.serial;
    });
    std::vector<int> sorted, wanted;
    for (int i = 0; i < store.Count(); ++i)
        sorted.push_back(static_cast<int>(store.View(i, 2).i));
    for (const TRow& row : expected)
        wanted.push_back(row.serial);
    ASSERT_EQ(sorted.size(), wanted.size());
    const auto [mine, theirs] = std::mismatch(sorted.begin(), sorted.end(), wanted.begin());
    EXPECT_TRUE(mine == sorted.end()) << "first difference at position " << (mine - sorted.begin()) << ": row "
                                       << *mine << " (" << table[static_cast<std::size_t>(*mine)].first.text
                                       << ") where row " << *theirs << " ("
                                       << table[static_cast<std::size_t>(*theirs)].first.text << ") belongs";
}

std::vector<TRow> MakeTable(std::mt19937& random, int rows, int textShare)
{
    const std::vector<std::string> texts = MakeTexts(random);
    std::vector<TRow> table;
    for (int i = 0; i < rows; ++i) {
        TRow row;
        row.first = RandomCell(random, texts, textShare);
        row.second = RandomCell(random, texts, 5);
        // Database numbers out of order, some shared, some unknown.
        const int id = std::uniform_int_distribution<int>(0, rows)(random);
        row.rowId = id % 11 == 0 ? TRecordStore::kNoRowId : id;
        row.serial = i;
        table.push_back(row);
    }
    return table;
}

} // namespace

TEST(RowOrder, EveryOrderOfOneOrTwoKeysIsThePlainSortsOrderAlsoWhenTurned)
{
    std::mt19937 random(17);
    for (int textShare : {9, 6, 0}) {
        const std::vector<TRow> table = MakeTable(random, 3000, textShare);
        for (bool jetText : {true, false})
            for (bool descending : {false, true}) {
                SCOPED_TRACE(testing::Message() << "texts " << textShare << "/9, Jet " << jetText << ", descending "
                                                << descending);
                ExpectSameOrder(table, {{0, jetText, descending}});
                ExpectSameOrder(table, {{0, jetText, descending}, {1, true, !descending}});
                ExpectSameOrder(table, {{1, jetText, descending}, {0, jetText, descending}});
                ExpectSameOrder(table, {{0, jetText, descending}}, true);
                ExpectSameOrder(table, {{0, jetText, descending}, {1, true, !descending}}, true);
            }
    }
}

TEST(RowOrder, ManyEqualTextsComeByTheirDatabaseNumbers)
{
    // One designation on every row, differing only in case or accent on a few.
    std::vector<TRow> table;
    for (int i = 0; i < 500; ++i) {
        TRow row;
        row.first.kind = 2;
        row.first.text = i % 50 == 0 ? "Kupní Smlouva" : i % 70 == 0 ? "Kupni smlouva" : "Kupní smlouva";
        row.rowId = 1000 - i;
        row.serial = i;
        table.push_back(row);
    }
    ExpectSameOrder(table, {{0, true, false}});
    ExpectSameOrder(table, {{0, true, true}});
    ExpectSameOrder(table, {{0, true, true}}, true);
    ExpectSameOrder(table, {{0, true, false}}, true);
    ExpectSameOrder(table, {});
}

TEST(TextKeys, AKeyWrittenInPlaceFitsItsRoomAndIsTheAppendedOne)
{
    for (const char* text : {"", "Chata", "žluťoučký kůň", "Ωmega 中", "a\xff\xfe", "CH ch cH Ch c", "\xc3", "\xff\xfe\xfd"}) {
        std::string appended = "x";
        AppendJetTextKey(text, appended);
        std::string written(JetTextKeyRoom(text), '\0');
        written.resize(WriteJetTextKey(text, written.data()));
        EXPECT_EQ("x" + written, appended) << text;
        EXPECT_LE(written.size(), JetTextKeyRoom(text));
    }
}

TEST(TextKeys, EveryCharacterOfOneOrTwoBytesOrdersAsTheComparison)
{
    // Alone and between letters that may make a "ch" with it.
    std::vector<std::string> texts;
    for (char32_t c = 1; c < 0x800; ++c) {
        std::string text;
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
        texts.push_back(text);
        texts.push_back("c" + text + "h");
    }
    std::vector<std::string> keys;
    for (const std::string& text : texts) {
        keys.emplace_back();
        AppendJetTextKey(text, keys.back());
    }
    int wrong = 0;
    for (std::size_t a = 0; a < texts.size(); ++a)
        for (std::size_t b = 0; b < texts.size(); ++b)
            if (keys[a] != keys[b] && (keys[a] < keys[b]) != (CompareJetText(texts[a], texts[b]) < 0) && ++wrong < 5)
                ADD_FAILURE() << texts[a] << " / " << texts[b];
    EXPECT_EQ(wrong, 0);
}
