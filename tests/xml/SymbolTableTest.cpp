#include "xml/FastStreams.h"
#include "xml/SymbolTable.h"
#include "xml/VarInt.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;

namespace {

std::string Bytes(TxStringStream& s) { return s.AsString(); }

std::string VarBytes(std::uint32_t value)
{
    TxStringStream s;
    WriteVarUInt(s, value);
    return Bytes(s);
}

struct Messages {
    std::vector<std::string> texts;
    std::vector<TxDebugLevel> levels;
    void Listen(TDebugComponent& c)
    {
        c.OnDebugMessage = [this](core::TObject*, TxDebugLevel level, const std::string& text) {
            levels.push_back(level);
            texts.push_back(text);
        };
    }
};

} // namespace

TEST(VarInt, GroupsOfSevenBitsLowFirst)
{
    EXPECT_EQ(VarBytes(0), std::string(1, '\0'));
    EXPECT_EQ(VarBytes(127), "\x7F");
    EXPECT_EQ(VarBytes(128), "\x80\x01");
    EXPECT_EQ(VarBytes(1u << 28), "\x80\x80\x80\x80\x01");
    EXPECT_EQ(VarBytes(0xFFFFFFFFu), "\xFF\xFF\xFF\xFF\x0F");

    for (std::uint32_t value : {0u, 127u, 128u, 16383u, 16384u, 1u << 28, 0xFFFFFFFFu}) {
        TxStringStream s(VarBytes(value));
        EXPECT_EQ(ReadVarUInt(s), value);
        EXPECT_EQ(s.Position(), s.Size());
        core::TMemoryStream m; // the general stream path
        m.WriteString(VarBytes(value));
        m.SetPosition(0);
        EXPECT_EQ(ReadCardinal(m), value);
    }
}

TEST(VarInt, OverLongAndCutValues)
{
    TxStringStream six(std::string("\x80\x80\x80\x80\x80\x01", 6));
    try {
        ReadVarUInt(six);
        FAIL();
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "invalid cardinal reader");
    }
    core::TMemoryStream m;
    m.WriteString(std::string("\xFF\xFF\xFF\xFF\xFF\x01", 6));
    m.SetPosition(0);
    EXPECT_THROW(ReadCardinal(m), core::Exception);

    TxStringStream cut("\x85\x81");
    EXPECT_EQ(ReadVarUInt(cut), 5u + (1u << 7)) << "the groups read before the end count";
    TxStringStream empty;
    EXPECT_EQ(ReadVarUInt(empty), 0u);
}

TEST(VarInt, DecodedFromBytesAsFromAStream)
{
    std::string all;
    for (std::uint32_t value : {0u, 127u, 128u, 1u << 28, 0xFFFFFFFFu})
        AppendVarUInt(all, value);
    EXPECT_EQ(all, VarBytes(0) + VarBytes(127) + VarBytes(128) + VarBytes(1u << 28) + VarBytes(0xFFFFFFFFu));

    const auto* at = reinterpret_cast<const std::uint8_t*>(all.data());
    const auto* end = at + all.size();
    std::vector<std::uint32_t> read;
    std::uint32_t value = 0;
    while (DecodeVarUInt(at, end, value))
        read.push_back(value);
    EXPECT_EQ(read, (std::vector<std::uint32_t>{0u, 127u, 128u, 1u << 28, 0xFFFFFFFFu}));
    EXPECT_EQ(at, end);

    const std::string cut = "\x85\x81";
    at = reinterpret_cast<const std::uint8_t*>(cut.data());
    EXPECT_FALSE(DecodeVarUInt(at, at + cut.size(), value)) << "the bytes end inside the value";
    EXPECT_EQ(value, 5u + (1u << 7));

    const std::string six("\x80\x80\x80\x80\x80\x01", 6);
    at = reinterpret_cast<const std::uint8_t*>(six.data());
    try {
        DecodeVarUInt(at, at + six.size(), value);
        FAIL();
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "invalid cardinal reader");
    }
}

TEST(VarInt, StringBytes)
{
    TxStringStream s;
    WriteStringBytes(s, "");
    EXPECT_EQ(s.Size(), 0) << "an empty text writes nothing at all";
    WriteStringToStream(s, "abc");
    s.SetPosition(1);
    EXPECT_EQ(ReadStringFromStream(s, 2), "bc");
    EXPECT_THROW(ReadStringFromStream(s, 1), core::EReadError);
}

TEST(SymbolTable, InternsOnceAndLooksUp)
{
    TxSymbolTable table(nullptr);
    EXPECT_EQ(table.Intern(""), 0);
    EXPECT_EQ(table.SymbolCount(), 0);
    const auto a = table.Intern("Oznaceni");
    const auto b = table.Intern("Žluťoučký");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(table.Intern("Oznaceni"), a);
    EXPECT_EQ(table.SymbolCount(), 2);
    EXPECT_EQ(table.Lookup(b), "Žluťoučký");

    // Same length, differing only in the middle byte.
    const auto x = table.Intern("abXde");
    const auto y = table.Intern("abYde");
    EXPECT_NE(x, y);
    EXPECT_EQ(table.Lookup(x), "abXde");
    EXPECT_EQ(table.Lookup(y), "abYde");
    EXPECT_EQ(table.Intern(std::string_view("abYde")), y);
}

TEST(SymbolTable, UnknownIdsGiveEmptyTextAndOnlyPastTheEndWarns)
{
    Messages heard;
    TxSymbolTable table(nullptr);
    heard.Listen(table);
    table.Intern("a");
    EXPECT_EQ(table.Lookup(0), "");
    EXPECT_EQ(table.Lookup(-3), "");
    EXPECT_TRUE(heard.texts.empty());
    EXPECT_EQ(table.Lookup(2), "");
    ASSERT_EQ(heard.texts.size(), 1u);
    EXPECT_EQ(heard.texts[0], "string ID not found");
    EXPECT_EQ(heard.levels[0], dlWarn);
}

TEST(SymbolTable, ManySymbolsSurviveGrowthAndClear)
{
    TxSymbolTable table(nullptr);
    const std::string big(10000, 'q'); // stored in a block of its own
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(table.Intern("name" + std::to_string(i)), i + 1);
    EXPECT_EQ(table.Intern(big), 20001);
    for (int i = 0; i < 20000; i += 997)
        EXPECT_EQ(table.Intern("name" + std::to_string(i)), i + 1);
    EXPECT_EQ(table.Lookup(20001), big);
    table.Clear();
    EXPECT_EQ(table.SymbolCount(), 0);
    EXPECT_EQ(table.Intern("name5"), 1);

    // Sized ahead for more than come, and for fewer: the same IDs either way.
    for (const std::size_t expected : {std::size_t(100000), std::size_t(10)}) {
        TxSymbolTable sized(nullptr);
        sized.Intern("first");
        sized.ExpectSymbols(expected);
        EXPECT_EQ(sized.Intern("first"), 1);
        for (int i = 0; i < 20000; ++i)
            ASSERT_EQ(sized.Intern("name" + std::to_string(i)), i + 2);
        EXPECT_EQ(sized.Intern("name19999"), 20001);
        EXPECT_EQ(sized.SortedSymbols().size(), 20001u);
    }
}

TEST(SymbolTable, TextsAddedJustBeforeAreFoundAtEveryStepOfGrowth)
{
    // New texts are put into the search slots in groups: every question in
    // between (the same text again, a duplicate read from a stream, the
    // sorted view, a renumbering) must see them all the same.
    TxSymbolTable table(nullptr);
    Messages heard;
    heard.Listen(table);
    std::vector<std::int32_t> newIds;
    for (int i = 0; i < 5000; ++i) {
        const std::string text = "v" + std::to_string(i);
        ASSERT_EQ(table.Intern(text), i + 1);
        ASSERT_EQ(table.Intern(text), i + 1) << "found right after it was added";
        if (i % 7 == 0) {
            ASSERT_EQ(table.Intern("v" + std::to_string(i / 2)), i / 2 + 1) << "an older one";
        }
        if (i % 1000 == 999) {
            ASSERT_EQ(table.SortedSymbols().size(), static_cast<std::size_t>(i + 1));
            const std::string again = "v" + std::to_string(i - 3);
            TxStringStream record(VarBytes(0) + VarBytes(static_cast<std::uint32_t>(again.size())) + again);
            const std::int32_t duplicate = table.ReadSymbol(record);
            EXPECT_EQ(duplicate, i + 2);
            ASSERT_EQ(heard.texts.size(), 1u) << "the duplicate is told apart from a text added just before";
            heard.texts.clear();
            heard.levels.clear();
            EXPECT_EQ(table.Intern("v" + std::to_string(i - 3)), i - 2) << "the first of equal texts";
            table.Clear();
            for (int k = 0; k <= i; ++k)
                ASSERT_EQ(table.Intern("v" + std::to_string(k)), k + 1);
        }
    }
    for (int i = 0; i < 5000; ++i)
        table.IncUseCount(5000 - i);
    table.IncUseCount(5000);
    table.SortByUse(newIds);
    EXPECT_EQ(newIds[5000], 1);
    EXPECT_EQ(table.Intern("v4999"), 1) << "renumbered texts are found by their new IDs";
    EXPECT_EQ(table.Intern("v0"), newIds[1]);
    EXPECT_EQ(table.Intern("fresh"), 5001);
    EXPECT_EQ(table.Intern("fresh"), 5001);
}

TEST(SymbolTable, SortedOrderComparesLengthFirstByteThenFromBothEnds)
{
    TxSymbolTable table(nullptr);
    table.Intern("abcz");
    table.Intern("azca");
    table.Intern("b");
    table.Intern("zz");
    table.Intern("bbbb");
    std::vector<std::string> order;
    for (const TxSymbol* s : table.SortedSymbols())
        order.emplace_back(s->Text());
    // "azca" before "abcz": their last bytes differ before their second ones are looked at.
    EXPECT_EQ(order, (std::vector<std::string>{"b", "zz", "azca", "abcz", "bbbb"}));

    const auto sorted = table.SortedSymbols();
    const std::string probeText = "abzz";
    TxSymbol probe;
    probe.Bytes = probeText.data();
    probe.Length = 4;
    int index = -1;
    EXPECT_FALSE(FindSymbol(sorted, probe, index));
    EXPECT_EQ(index, 4) << "after abcz (last byte z, then second byte b < z), before bbbb";
    probe.Bytes = "zz";
    probe.Length = 2;
    EXPECT_TRUE(FindSymbol(sorted, probe, index));
    EXPECT_EQ(index, 1);
}

TEST(SymbolTable, SortByUseRenumbersMostUsedFirst)
{
    TxSymbolTable table(nullptr);
    const auto one = table.Intern("one");
    const auto five = table.Intern("five");
    const auto two = table.Intern("two");
    table.ResetUseCounts();
    table.IncUseCount(one);
    for (int i = 0; i < 5; ++i)
        table.IncUseCount(five);
    table.IncUseCount(two);
    table.IncUseCount(two);
    std::vector<std::int32_t> newIds;
    table.SortByUse(newIds);
    EXPECT_EQ(newIds, (std::vector<std::int32_t>{0, 3, 1, 2}));
    EXPECT_EQ(table.MultiUseCount(), 2);
    EXPECT_EQ(table.Lookup(1), "five");
    EXPECT_EQ(table.Lookup(2), "two");
    EXPECT_EQ(table.Lookup(3), "one");
    EXPECT_EQ(table.Intern("one"), 3) << "the index follows the new numbering";
    EXPECT_EQ(table.Symbol(1).UseCount, 5u);
}

TEST(SymbolTable, StreamRecordsRoundTripAndDuplicatesAreReported)
{
    TxSymbolTable table(nullptr);
    table.Intern("a");
    table.Intern("Čeština");
    table.Intern("c");
    TxStringStream s;
    table.SaveToStream(s, 2);
    EXPECT_EQ(s.AsString(), std::string("\x02\x00\x01" "a" "\x00\x09" "Čeština", 15));

    Messages heard;
    TxSymbolTable copy(nullptr);
    heard.Listen(copy);
    copy.Intern("old");
    s.SetPosition(0);
    copy.LoadFromStream(s);
    EXPECT_EQ(copy.SymbolCount(), 2);
    EXPECT_EQ(copy.Lookup(2), "Čeština");

    TxStringStream twice(std::string("\x07\x01" "a", 3));
    EXPECT_EQ(copy.ReadSymbol(twice), 3);
    EXPECT_EQ(copy.Symbol(3).Style, 7u);
    ASSERT_EQ(heard.texts.size(), 1u);
    EXPECT_EQ(heard.texts[0], "duplicate symbol!");
    EXPECT_EQ(heard.levels[0], dlFail);
    EXPECT_EQ(copy.Intern("a"), 1) << "the first of equal texts is the one found";
    EXPECT_EQ(copy.Lookup(3), "a");
}

TEST(SymbolTable, TheStyleOfEverySymbolReadIsKeptTheFirstOneIncluded)
{
    TxSymbolTable table(nullptr);
    TxStringStream s(std::string("\x03\x02\x01" "a" "\x00\x01" "b" "\x05\x01" "c", 10));
    table.LoadFromStream(s);
    ASSERT_EQ(table.SymbolCount(), 3);
    EXPECT_EQ(table.Symbol(1).Style, 2u);
    EXPECT_EQ(table.Symbol(2).Style, 0u);
    EXPECT_EQ(table.Symbol(3).Style, 5u);
    TxStringStream again;
    table.SaveToStream(again, 3);
    EXPECT_EQ(again.AsString(), s.AsString()) << "saved as read";
}

TEST(SymbolTable, DamagedLengthRaisesInsteadOfAllocating)
{
    TxSymbolTable table(nullptr);
    TxStringStream s(std::string("\x00\xFF\xFF\xFF\xFF\x07xy", 8));
    EXPECT_THROW(table.ReadSymbol(s), core::EReadError);
    EXPECT_EQ(table.SymbolCount(), 0);
}
