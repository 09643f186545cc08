#include "platform/core/Exceptions.h"
#include "report/pages/RpCompress.h"

#include <gtest/gtest.h>

#include <random>

using namespace report;

namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string RandomBytes(std::size_t n, unsigned seed, int alphabet = 256)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> dist(0, alphabet - 1);
    std::string out(n, '\0');
    for (char& c : out)
        c = static_cast<char>(dist(gen));
    return out;
}

} // namespace

TEST(Compress, KnownCodesFromTheInitialTree)
{
    EXPECT_EQ(Hex(CompressBuffer("abc")), "46 3D 01");
    EXPECT_EQ(Hex(CompressBuffer("aaaa")), "46 45");
    // Byte 255 sits on a leaf at depth 9: one byte plus one bit.
    EXPECT_EQ(CompressBuffer("\xFF").size(), 2u);
}

TEST(Compress, EmptyInputWritesNothingAndWholeBytesLeaveNoPendingByte)
{
    EXPECT_EQ(CompressBuffer(""), "");
    // Any byte below 255 codes to exactly 8 bits from the initial tree.
    EXPECT_EQ(CompressBuffer("a").size(), 1u);
    EXPECT_EQ(CompressBuffer(std::string(1, '\0')).size(), 1u);
    // A pending partial byte keeps its unused high bits 0.
    EXPECT_EQ(static_cast<unsigned char>(CompressBuffer("abc").back()) & 0xFE, 0);
}

TEST(Compress, RoundTripsAnySequence)
{
    for (std::size_t n : {1u, 2u, 3u, 7u, 8u, 9u, 255u, 256u, 1000u, 4097u, 70000u}) {
        for (int alphabet : {2, 16, 256}) {
            const std::string input = RandomBytes(n, static_cast<unsigned>(n * 31 + alphabet), alphabet);
            const std::string code = CompressBuffer(input);
            EXPECT_EQ(ExpandBuffer(code, input.size()), input) << n << " bytes over " << alphabet;
        }
    }
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_EQ(ExpandBuffer(CompressBuffer(all + all), 512), all + all);
}

TEST(Compress, RepetitiveDataShrinks)
{
    const std::string page(20000, 'x');
    const std::string code = CompressBuffer(page);
    EXPECT_LT(code.size(), page.size() / 4);
    EXPECT_EQ(ExpandBuffer(code, page.size()), page);
}

TEST(Compress, CodersShareAStreamWithOtherData)
{
    core::TMemoryStream stream;
    stream.WriteString("HEAD");
    {
        TRpCompress coder(stream, true);
        coder.CompressBytes("hello, world", 12);
        coder.Finish();
    }
    stream.WriteString("TAIL");
    stream.SetPosition(4);
    std::string out(12, '\0');
    {
        TRpCompress expander(stream, false);
        expander.ExpandBytes(out.data(), out.size());
        expander.Finish();
    }
    EXPECT_EQ(out, "hello, world");
    // The expander gives back what it read ahead.
    char tail[4];
    stream.ReadBuffer(tail, 4);
    EXPECT_EQ(std::string(tail, 4), "TAIL");
}

TEST(Compress, DestructionFlushesThePendingByte)
{
    core::TMemoryStream stream;
    {
        TRpCompress coder(stream, true);
        coder.CompressByte('a');
        coder.CompressByte('b');
        coder.CompressByte('c');
    }
    EXPECT_EQ(Hex(stream.DataString()), "46 3D 01");
}

TEST(Compress, ExpandingPastTheEndRaises)
{
    const std::string code = CompressBuffer("some text");
    EXPECT_THROW(ExpandBuffer(code, 100), core::EReadError);
    EXPECT_THROW(ExpandBuffer("", 1), core::EReadError);
}

TEST(Compress, DamagedCodeGivesBytesNotACrash)
{
    const std::string noise = RandomBytes(5000, 7);
    EXPECT_EQ(ExpandBuffer(noise, 4000).size(), 4000u);
}
