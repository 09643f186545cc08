#include "xml/PieceBuffer.h"
#include "xml/XmlWriter.h"

#include "tests/xml/RecordingStream.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace xml;
using xmltest::RecordingStream;

TEST(PieceBuffer, FillsTheChunksOfAWriterThatPassesBytesUnchanged)
{
    RecordingStream target;
    TxBufferWriter writer(target, 8);
    std::string expected;
    {
        TxPieceBuffer out(writer);
        const std::vector<std::string> pieces{"ab", "", "cdefg", "0123456789abcdefghijklmnopq", "x", "12345678"};
        for (const std::string& piece : pieces) {
            out.Put(piece);
            expected += piece;
        }
        out.Put('!');
        expected += '!';
        out.Flush();
        EXPECT_EQ(writer.Position(), static_cast<std::int64_t>(expected.size())) << "Flush hands every byte on";
        writer.Write("<direct>", 8); // a node that writes itself between pieces
        expected += "<direct>";
        out.PutWithLineBreaks("a\nbc", lbCRLF);
        expected += "a\r\nbc";
        out.Flush();
        out.Flush();
    }
    writer.Flush();
    EXPECT_EQ(target.DataString(), expected);
    ASSERT_FALSE(target.writes.empty());
    for (std::size_t i = 0; i + 1 < target.writes.size(); ++i)
        EXPECT_EQ(target.writes[i], 8) << "write " << i << ": the target gets whole chunks";
    EXPECT_EQ(target.writes.back(), static_cast<std::int64_t>(expected.size()) % 8);
}

TEST(PieceBuffer, AWriterOfAnotherClassGetsEveryPieceThroughItsWrite)
{
    // A descendant may change what it is given; unless it says that it
    // passes bytes unchanged, nothing goes around its Write.
    class Shouting : public TxBufferWriter {
    public:
        using TxBufferWriter::TxBufferWriter;
        std::int64_t Write(const void* buffer, std::int64_t count) override
        {
            std::string text(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
            for (char& c : text)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return WriteBuffered(text.data(), count);
        }
    };
    RecordingStream target;
    Shouting writer(target, 8);
    EXPECT_FALSE(writer.PassesBytesUnchanged());
    {
        TxPieceBuffer out(writer);
        out.Put("<a b='c'>");
        out.PutWithLineBreaks("text\n", lbCRLF);
        out.Flush();
    }
    writer.Flush();
    EXPECT_EQ(target.DataString(), "<A B='C'>TEXT\r\n");
}

TEST(PieceBuffer, PiecesBeyondAChunkGoOnWhole)
{
    RecordingStream target;
    TxBufferWriter writer(target, 4096);
    const std::string large(10000, 'k');
    {
        TxPieceBuffer out(writer);
        out.Put("<a>");
        out.Put(large);
        out.Put("</a>");
        out.Flush();
    }
    writer.Flush();
    EXPECT_EQ(target.DataString(), "<a>" + large + "</a>");
    EXPECT_EQ(target.writes, (std::vector<std::int64_t>{4096, 4096, 1815}));
}

TEST(PieceBuffer, AConvertingWriterGetsWholeCharacters)
{
    // UTF-16 output converts each write on its own: a letter split between
    // two writes would come out broken.
    RecordingStream target;
    TxXmlWriter writer(nullptr, 16, target);
    writer.SetEncoding(seUtf16LE);
    std::string text;
    {
        TxPieceBuffer out(writer);
        for (int i = 0; i < 9000; ++i) {
            out.Put(i % 3 ? std::string_view("č") : std::string_view("a"));
            text += i % 3 ? "č" : "a";
        }
        const std::string long_piece(30000, 'x');
        out.Put(long_piece);
        text += long_piece;
        out.Put("ž");
        text += "ž";
        out.Flush();
    }
    writer.Flush();
    std::string expected;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "č") == 0) {
            expected += std::string("\x0D\x01", 2);
            i += 2;
        } else if (text.compare(i, 2, "ž") == 0) {
            expected += std::string("\x7E\x01", 2);
            i += 2;
        } else {
            expected += std::string(1, text[i]) + '\0';
            ++i;
        }
    }
    EXPECT_EQ(target.DataString(), expected);
}

TEST(PieceBuffer, LineBreaksAtEveryPlaceOfShortAndLongTexts)
{
    // Texts of 0 to 70 bytes with an LF at each place, two LFs in a row and
    // LFs at both ends, through a small chunk (the room often runs short) and
    // a large one (converted in place), in both styles that change LFs.
    std::vector<std::string> texts;
    for (std::size_t n = 0; n <= 70; ++n) {
        const std::string plain = std::string(n, 'a') + "ž";
        texts.push_back(plain);
        for (std::size_t at = 0; at < plain.size(); ++at) {
            std::string text = plain;
            text[at] = '\n';
            texts.push_back(text);
            if (at + 1 < text.size()) {
                text[at + 1] = '\n';
                texts.push_back(text);
            }
        }
        texts.push_back("\n" + std::string(n, 'b') + "\n");
    }
    for (const TxLineBreakStyle style : {lbCRLF, lbCR}) {
        const std::string lineBreak = style == lbCRLF ? "\r\n" : "\r";
        std::string expected;
        for (const std::string& text : texts)
            for (const char c : text)
                expected += c == '\n' ? lineBreak : std::string(1, c);
        for (const std::int32_t chunkSize : {7, 100000}) {
            RecordingStream target;
            TxBufferWriter writer(target, chunkSize);
            {
                TxPieceBuffer out(writer);
                for (const std::string& text : texts)
                    out.PutWithLineBreaks(text, style);
                out.Flush();
            }
            writer.Flush();
            EXPECT_EQ(target.DataString(), expected) << "chunks of " << chunkSize << ", style " << int(style);
        }
        TxStringStream own;
        {
            TxPieceBuffer out(own);
            for (const std::string& text : texts)
                out.PutWithLineBreaks(text, style);
            out.Flush();
        }
        EXPECT_EQ(own.AsString(), expected) << "in the buffer's own block, style " << int(style);
    }
}
