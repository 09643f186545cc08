#include "xml/Conversions.h"
#include "xml/XmlDocument.h"
#include "xml/XmlWriter.h"

#include "tests/xml/RecordingStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;

namespace {

struct Written {
    TXmlDocument doc{nullptr};
    std::vector<std::string> heard;
    Written()
    {
        doc.OnDebugMessage = [this](core::TObject*, TxDebugLevel level, const std::string& text) {
            heard.push_back(std::string(DebugLevelNames[level]) + ": " + text);
        };
    }
    std::string Write(TxTextEncoding encoding, int codePage, const std::vector<std::string>& pieces)
    {
        TxStringStream target;
        {
            TxXmlWriter writer(&doc, 4, target);
            writer.SetEncoding(encoding);
            writer.SetCodePage(codePage);
            for (const std::string& piece : pieces)
                writer.Write(piece.data(), static_cast<std::int64_t>(piece.size()));
        }
        return target.AsString();
    }
};

} // namespace

TEST(XmlWriter, Utf8PassesAndUtf16TakesTwoBytesAUnit)
{
    Written w;
    EXPECT_EQ(w.Write(seUtf8, 0, {"<a>", "ž", "</a>"}), "<a>ž</a>");
    EXPECT_EQ(w.Write(seUtf16LE, 0, {"A"}), std::string("A\0", 2));
    EXPECT_EQ(w.Write(seUtf16BE, 0, {"A"}), std::string("\0A", 2));
    EXPECT_EQ(w.Write(seUtf16LE, 0, {"č\xF0\x9F\x98\x80"}), std::string("\x0D\x01\x3D\xD8\x00\xDE", 6))
        << "a character beyond the basic plane as a surrogate pair";
    EXPECT_EQ(w.Write(seUtf16BE, 0, {"č"}), "\x01\x0D");
    EXPECT_EQ(w.Write(seUtf8, 0, {""}), "");
    EXPECT_TRUE(w.heard.empty());
}

TEST(XmlWriter, AnsiWritesOneBytePerCharacterAndWarnsOncePerPiece)
{
    Written w;
    EXPECT_EQ(w.Write(seAnsi, 1250, {"Žluťoučký kůň"}), "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2");
    EXPECT_TRUE(w.heard.empty());
    EXPECT_EQ(w.Write(seAnsi, 0, {"č"}), "\xE8") << "code page 0 is Windows-1250";
    EXPECT_EQ(w.Write(seAnsi, 1252, {"čř", "é", "š"}), "??\xE9\x9A");
    EXPECT_EQ(w.heard, (std::vector<std::string>{"warn: default char used for codepage substitution"}))
        << "one warning for the one piece that lost characters";
}

TEST(XmlWriter, UnsupportedEncodingsWriteNothing)
{
    Written w;
    TxStringStream target;
    {
        TxXmlWriter writer(&w.doc, 64, target);
        writer.SetEncoding(seUtf32LE);
        EXPECT_EQ(writer.Write("abc", 3), 0);
    }
    EXPECT_EQ(target.AsString(), "");
    EXPECT_EQ(w.heard, (std::vector<std::string>{"fail: unsupported encoding (utf-32)"}));

    TxStringStream quiet;
    TxXmlWriter orphan(nullptr, 64, quiet);
    orphan.SetEncoding(seEbcdic);
    EXPECT_EQ(orphan.Write("abc", 3), 0) << "without a document the message is dropped";
}

TEST(XmlWriter, ASavedDocumentReachesItsTargetInWholeChunks)
{
    TXmlDocument doc(nullptr);
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r>";
    for (int i = 0; i < 4000; ++i)
        text += "\n <e a=\"" + std::to_string(i) + "\">Příliš žluťoučký kůň<!-- " + std::to_string(i) + " --></e>";
    text += "\n</r>\n";
    doc.LoadFromText(text);
    const std::string utf8 = doc.WriteToUtf8Text();
    ASSERT_GT(utf8.size(), 200000u);

    std::vector<std::int64_t> progress;
    doc.OnLoadProgress = [&progress](core::TObject*, std::int64_t position) { progress.push_back(position); };
    xmltest::RecordingStream target;
    doc.SaveToStream(target);
    EXPECT_EQ(target.DataString(), utf8);
    ASSERT_GT(target.writes.size(), 2u);
    for (std::size_t i = 1; i + 1 < target.writes.size(); ++i)
        EXPECT_EQ(target.writes[i], target.writes[0]) << "write " << i;
    // The start, the declaration with its two attributes, each attribute,
    // comment and element, the end. Each position counts the bytes written
    // up to the end of what it reports (and the line break after a declaration).
    ASSERT_EQ(progress.size(), 6u + 3 * 4000);
    for (std::size_t i = 1; i + 1 < progress.size(); ++i) {
        ASSERT_LE(progress[i - 1], progress[i]);
        const char last = utf8[static_cast<std::size_t>(progress[i]) - 1];
        EXPECT_TRUE(last == '>' || last == '"' || last == '\n') << "position " << progress[i];
    }
    EXPECT_EQ(progress.back(), static_cast<std::int64_t>(utf8.size()));

    doc.OnLoadProgress = nullptr;
    doc.SetTextEncoding(seUtf16BE);
    xmltest::RecordingStream wide;
    doc.SaveToStream(wide);
    std::string expected = "\xFE\xFF"; // the mark, then two bytes a unit, high first
    for (const char16_t unit : Utf8ToWide(utf8)) {
        expected += static_cast<char>(unit >> 8);
        expected += static_cast<char>(unit & 0xFF);
    }
    EXPECT_EQ(wide.DataString(), expected);
}
