#include "xml/Conversions.h"

#include <gtest/gtest.h>

#include <string>

using namespace xml;

namespace {

const std::string kCzech = "Příliš žluťoučký kůň úpěl ďábelské ódy";
const std::string kEmoji = "\xF0\x9F\x98\x80"; // U+1F600

std::string Copy(const std::string& in, bool& folding)
{
    std::string out(in.size(), '\0');
    out.resize(Utf8CopyBuffer(in.data(), out.data(), in.size(), folding));
    return out;
}

std::string FromUnits(const std::u16string& units, bool& folding)
{
    std::string out(units.size() * 3, '\0');
    out.resize(Utf16ToUtf8Buffer(units.data(), out.data(), units.size(), folding));
    return out;
}

} // namespace

TEST(Conversions, Utf8AndUtf16RoundTripWithSurrogatePairs)
{
    const std::string text = kCzech + " " + kEmoji;
    const std::u16string wide = Utf8ToWide(text);
    ASSERT_GE(wide.size(), 2u);
    EXPECT_EQ(wide[wide.size() - 2], 0xD83D);
    EXPECT_EQ(wide[wide.size() - 1], 0xDE00);
    EXPECT_EQ(wide[1], u'ř');
    EXPECT_EQ(WideToUtf8(wide), text);
}

TEST(Conversions, MalformedUtf8BecomesReplacementWithoutEatingTheNextByte)
{
    EXPECT_EQ(Utf8ToWide("a\xC3(b"), u"a\uFFFD(b");
    EXPECT_EQ(Utf8ToWide("\xE2\x82"), u"\uFFFD") << "cut off at the end";
    EXPECT_EQ(Utf8ToWide("\xFFx"), u"\uFFFDx");
    EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98<"), u"\uFFFD<");
}

TEST(Conversions, LoneSurrogatesBecomeReplacement)
{
    EXPECT_EQ(WideToUtf8(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(WideToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
    const std::u16string cut = std::u16string(u"ab") + char16_t(0xD83D);
    EXPECT_EQ(Utf16CompleteUnits(cut.data(), cut.size()), 2u) << "the partner may come with the next chunk";
    EXPECT_EQ(Utf16CompleteUnits(cut.data(), 2), 2u);
}

TEST(Conversions, Utf16FoldsLineEndsAcrossChunks)
{
    bool folding = false;
    EXPECT_EQ(FromUnits(u"\r\u010D\n", folding), "\n\xC4\x8D\n") << "CR, a letter, LF: two line ends";
    folding = false;
    EXPECT_EQ(FromUnits(u"a\r", folding), "a\n");
    EXPECT_TRUE(folding);
    EXPECT_EQ(FromUnits(u"\nb\r\n\rc", folding), "b\n\nc");
    EXPECT_FALSE(folding);
    EXPECT_EQ(WideToUtf8(u"x\r\ny\rz"), "x\ny\nz");
}

TEST(Conversions, Utf16BytesInBothByteOrders)
{
    const std::uint8_t le[] = {0x41, 0x00, 0x0D, 0x01, 0x3D, 0xD8, 0x00, 0xDE};
    const std::uint8_t be[] = {0x00, 0x41, 0x01, 0x0D, 0xD8, 0x3D, 0xDE, 0x00};
    std::string out(16, '\0');
    bool folding = false;
    out.resize(Utf16BytesToUtf8Buffer(le, out.data(), 4, folding, false));
    EXPECT_EQ(out, "A\xC4\x8D" + kEmoji);
    out.assign(16, '\0');
    out.resize(Utf16BytesToUtf8Buffer(be, out.data(), 4, folding, true));
    EXPECT_EQ(out, "A\xC4\x8D" + kEmoji);
}

TEST(Conversions, Utf8CopyFoldsLineEnds)
{
    bool folding = false;
    EXPECT_EQ(Copy("a\r\nb\rc\nd", folding), "a\nb\nc\nd");
    EXPECT_EQ(Copy("x\r", folding), "x\n");
    EXPECT_TRUE(folding);
    EXPECT_EQ(Copy("", folding), "");
    EXPECT_TRUE(folding) << "an empty chunk changes nothing";
    EXPECT_EQ(Copy("\n" + kCzech, folding), kCzech);
    EXPECT_EQ(Copy("\n\n", folding), "\n\n");
}

TEST(Conversions, AnsiToUtf8ByCodePage)
{
    // "Šťastný kůň" in Windows-1250.
    const std::string cp1250 = "\x8A\x9D" "astn\xFD k\xF9\xF2";
    EXPECT_EQ(AnsiToUtf8(cp1250, 1250), "Šťastný kůň");
    EXPECT_EQ(AnsiToUtf8(cp1250, 0), "Šťastný kůň") << "0 is the ANSI code page";
    EXPECT_EQ(AnsiToUtf8("caf\xE9", 1252), "café");
    EXPECT_EQ(AnsiToUtf8("\xE8" "a\xB9", 28592), "ča\xC5\xA1") << "ISO-8859-2 from the system converter";
    EXPECT_EQ(AnsiToUtf8("\x80", 932), "\xEF\xBF\xBD") << "an unknown code page gives U+FFFD";
    EXPECT_EQ(AnsiToUtf8(kCzech, 65001), kCzech);
    EXPECT_EQ(AnsiToUtf8("a\r\nb\rc", 1250), "a\nb\nc");

    bool folding = false;
    std::string out(12, '\0');
    out.resize(AnsiToUtf8Buffer("x\r", out.data(), 1250, folding, 2));
    EXPECT_TRUE(folding);
    out.assign(12, '\0');
    out.resize(AnsiToUtf8Buffer("\n\xE8", out.data(), 1250, folding, 2));
    EXPECT_EQ(out, "č");
}

TEST(Conversions, Utf8ToAnsiOneBytePerCharacter)
{
    bool substitution = true;
    std::string out(64, '\0');
    const std::string czech = "Šťastný kůň";
    out.resize(Utf8ToAnsiBuffer(czech.data(), out.data(), 1250, substitution, czech.size()));
    EXPECT_EQ(out, "\x8A\x9D" "astn\xFD k\xF9\xF2");
    EXPECT_FALSE(substitution);

    const std::string mixed = "č" + kEmoji + "é";
    out.assign(64, '\0');
    out.resize(Utf8ToAnsiBuffer(mixed.data(), out.data(), 1252, substitution, mixed.size()));
    EXPECT_EQ(out, "??\xE9");
    EXPECT_TRUE(substitution);

    EXPECT_EQ(Utf8ToAnsi("plain ASCII", 932), "plain ASCII");
    EXPECT_EQ(Utf8ToAnsi("ž", 932), "?");
    EXPECT_EQ(Utf8ToAnsi("a\xC3(", 1250), "a?(") << "a malformed byte is one character";
    EXPECT_EQ(Utf8ToAnsi("\xC2\x81", 1250), "\x81") << "undefined bytes round-trip through their C1 control";
    EXPECT_EQ(Utf8ToAnsi("Ж", 866), "\x86");
}

TEST(Conversions, SequenceLength)
{
    EXPECT_EQ(Utf8SequenceLength("a", 1), 1);
    EXPECT_EQ(Utf8SequenceLength("\x80", 1), 1);
    EXPECT_EQ(Utf8SequenceLength("\xC4\x8D", 2), 2);
    EXPECT_EQ(Utf8SequenceLength("\xC4x", 2), 1);
    EXPECT_EQ(Utf8SequenceLength("\xE2\x82\xAC", 3), 3);
    EXPECT_EQ(Utf8SequenceLength("\xE2\x82", 2), 1) << "never reads past what is there";
    EXPECT_EQ(Utf8SequenceLength(kEmoji.data(), 4), 4);
    EXPECT_EQ(Utf8SequenceLength("\xF8\x80\x80\x80\x80", 5), 1);
}

TEST(Conversions, CharacterLengthTellsWellFormedUtf8)
{
    EXPECT_EQ(Utf8CharacterLength("a", 1), 1);
    EXPECT_EQ(Utf8CharacterLength("\xC4\x8D", 2), 2);
    EXPECT_EQ(Utf8CharacterLength("\xE2\x82\xAC", 3), 3);
    EXPECT_EQ(Utf8CharacterLength(kEmoji.data(), 4), 4);
    EXPECT_EQ(Utf8CharacterLength("\xEF\xBF\xBD", 3), 3) << "U+FFFD itself is a character";
    EXPECT_EQ(Utf8CharacterLength("\xF4\x8F\xBF\xBF", 4), 4) << "U+10FFFF";
    EXPECT_EQ(Utf8CharacterLength("\xED\x9F\xBF", 3), 3) << "U+D7FF";

    EXPECT_EQ(Utf8CharacterLength("\x80", 1), 0) << "a continuation byte alone";
    EXPECT_EQ(Utf8CharacterLength("\xC0\xAF", 2), 0) << "overlong";
    EXPECT_EQ(Utf8CharacterLength("\xC1\xBF", 2), 0) << "overlong";
    EXPECT_EQ(Utf8CharacterLength("\xE0\x9F\xBF", 3), 0) << "overlong";
    EXPECT_EQ(Utf8CharacterLength("\xF0\x8F\xBF\xBF", 4), 0) << "overlong";
    EXPECT_EQ(Utf8CharacterLength("\xED\xA0\x80", 3), 0) << "a surrogate";
    EXPECT_EQ(Utf8CharacterLength("\xF4\x90\x80\x80", 4), 0) << "past U+10FFFF";
    EXPECT_EQ(Utf8CharacterLength("\xF5\x80\x80\x80", 4), 0);
    EXPECT_EQ(Utf8CharacterLength("\xFF", 1), 0);
    EXPECT_EQ(Utf8CharacterLength("\xC4x", 2), 0);
    EXPECT_EQ(Utf8CharacterLength("\xE2\x82x", 3), 0);
    EXPECT_EQ(Utf8CharacterLength("\xE8\xF8\xED", 3), 0) << "Windows-1250 text";

    EXPECT_EQ(Utf8CharacterLength("\xC4", 1), -1) << "begun, not ended";
    EXPECT_EQ(Utf8CharacterLength(kEmoji.data(), 3), -1);
    EXPECT_EQ(Utf8CharacterLength("\xED\xA0", 2), 0) << "known bad before its end";
}

TEST(Conversions, LineEndsFoldInLongTextsAtEveryPlaceAndAcrossPieces)
{
    // Texts longer than the sixteen bytes looked at in one step, with CR LF,
    // lone CRs and CR at the ends of the pieces, against folding byte by byte.
    const auto reference = [](const std::string& in) {
        std::string out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (in[i] == '\r') {
                out += '\n';
                if (i + 1 < in.size() && in[i + 1] == '\n')
                    ++i;
            } else {
                out += in[i];
            }
        }
        return out;
    };
    unsigned seed = 7;
    for (int round = 0; round < 300; ++round) {
        std::string in;
        const std::size_t length = 1 + round % 97;
        for (std::size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            const unsigned pick = (seed >> 16) % 8;
            in += pick == 0 ? '\r' : pick == 1 ? '\n' : pick == 2 ? "\xC5\xBE"[i % 2] : static_cast<char>('a' + pick);
        }
        const std::string whole = reference(in);
        bool folding = false;
        EXPECT_EQ(Copy(in, folding), whole) << "round " << round;
        // In two pieces cut at every place: a CR ending the first piece and an
        // LF beginning the second make one line end.
        for (std::size_t cut = 1; cut < in.size(); cut += 13) {
            folding = false;
            const std::string first = Copy(in.substr(0, cut), folding);
            const std::string second = Copy(in.substr(cut), folding);
            EXPECT_EQ(first + second, whole) << "round " << round << " cut " << cut;
        }
    }
}
