#include "platform/office/CompoundFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFat = 0xFFFFFFFD;
constexpr std::uint32_t kDif = 0xFFFFFFFC;

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

std::uint16_t U16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                                      static_cast<unsigned char>(bytes.at(at + 1)) << 8);
}

// Reads a compound file back by the rules of the format and checks on the
// way that every sector is where the allocation table says.
struct Reader {
    explicit Reader(std::string file) : bytes(std::move(file)) {
        sectors = static_cast<std::uint32_t>(bytes.size() / 512 - 1);
        EXPECT_EQ(bytes.size() % 512, 0u);
        // The allocation table's sectors: 109 in the header, the rest in DIFAT sectors.
        const std::uint32_t fatCount = U32(bytes, 44);
        for (std::uint32_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(U32(bytes, 76 + 4 * i));
        for (std::uint32_t difat = U32(bytes, 68), n = 0; difat != kEnd; ++n) {
            EXPECT_LT(n, U32(bytes, 72));
            difatSectors.push_back(difat);
            for (std::uint32_t i = 0; i < 127 && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(U32(bytes, Offset(difat) + 4 * i));
            difat = U32(bytes, Offset(difat) + 4 * 127);
        }
        EXPECT_EQ(fatSectors.size(), fatCount);
        for (const std::uint32_t sector : fatSectors)
            for (std::uint32_t i = 0; i < 128; ++i)
                fat.push_back(U32(bytes, Offset(sector) + 4 * i));
    }

    std::size_t Offset(std::uint32_t sector) const { return 512 * (std::size_t{sector} + 1); }

    std::vector<std::uint32_t> Chain(std::uint32_t start) {
        std::vector<std::uint32_t> chain;
        for (std::uint32_t sector = start; sector != kEnd; sector = fat.at(sector)) {
            EXPECT_LT(sector, sectors);
            EXPECT_TRUE(used.insert(sector).second) << "sector " << sector << " is in two chains";
            chain.push_back(sector);
            if (chain.size() > sectors)
                break;
        }
        return chain;
    }

    std::string ReadChain(std::uint32_t start) {
        std::string data;
        for (const std::uint32_t sector : Chain(start))
            data += bytes.substr(Offset(sector), 512);
        return data;
    }

    // The stream named name under the root, read through the mini stream when it is short.
    std::string Stream(const std::string& name) {
        const std::string directory = ReadChain(U32(bytes, 48));
        root = directory.substr(0, 128);
        for (std::size_t at = 128; at + 128 <= directory.size(); at += 128) {
            std::string entryName;
            for (std::size_t i = 0; i + 2 < U16(directory, at + 64); i += 2)
                entryName += static_cast<char>(U16(directory, at + i));
            if (entryName != name || directory[at + 66] != 2)
                continue;
            const std::uint32_t start = U32(directory, at + 116);
            const std::uint32_t size = U32(directory, at + 120);
            if (size >= 4096)
                return ReadChain(start).substr(0, size);
            const std::string miniStream = ReadChain(U32(root, 116));
            const std::string miniFatBytes = ReadChain(U32(bytes, 60));
            std::string data;
            for (std::uint32_t mini = start; mini != kEnd; mini = U32(miniFatBytes, 4 * mini))
                data += miniStream.substr(64 * std::size_t{mini}, 64);
            return data.substr(0, size);
        }
        ADD_FAILURE() << "no stream " << name;
        return {};
    }

    // Every sector is in exactly one chain or is a table sector.
    void ExpectEverySectorAccountedFor() {
        for (const std::uint32_t sector : fatSectors) {
            EXPECT_EQ(fat.at(sector), kFat);
            used.insert(sector);
        }
        for (const std::uint32_t sector : difatSectors) {
            EXPECT_EQ(fat.at(sector), kDif);
            used.insert(sector);
        }
        EXPECT_EQ(used.size(), sectors);
        for (std::size_t i = sectors; i < fat.size(); ++i)
            EXPECT_EQ(fat[i], kFree) << i;
    }

    std::string bytes;
    std::uint32_t sectors = 0;
    std::vector<std::uint32_t> fatSectors;
    std::vector<std::uint32_t> difatSectors;
    std::vector<std::uint32_t> fat;
    std::set<std::uint32_t> used;
    std::string root;
};

std::string Pattern(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return data;
}

TEST(CompoundFile, WritesTheVersion3Header) {
    const std::string file = office::WriteCompoundFile("Workbook", Pattern(5000));
    const std::string signature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    EXPECT_EQ(file.substr(0, 8), signature);
    EXPECT_EQ(file.substr(8, 16), std::string(16, '\0'));
    EXPECT_EQ(U16(file, 24), 0x003E);
    EXPECT_EQ(U16(file, 26), 3);
    EXPECT_EQ(U16(file, 28), 0xFFFE);
    EXPECT_EQ(U16(file, 30), 9);
    EXPECT_EQ(U16(file, 32), 6);
    EXPECT_EQ(file.substr(34, 6), std::string(6, '\0'));
    EXPECT_EQ(U32(file, 40), 0u);  // directory sectors: none counted in version 3
    EXPECT_EQ(U32(file, 52), 0u);
    EXPECT_EQ(U32(file, 56), 4096u);
    // 5000 bytes: 10 stream sectors, then directory and table.
    EXPECT_EQ(file.size(), 512u * (1 + 10 + 1 + 1));
    EXPECT_EQ(U32(file, 48), 10u);
    EXPECT_EQ(U32(file, 60), kEnd);  // no mini stream
    EXPECT_EQ(U32(file, 64), 0u);
    EXPECT_EQ(U32(file, 68), kEnd);  // no DIFAT
    EXPECT_EQ(U32(file, 76), 11u);
    EXPECT_EQ(U32(file, 80), kFree);
}

TEST(CompoundFile, KeepsAShortStreamInTheMiniStream) {
    const std::string stream = Pattern(100);
    Reader reader(office::WriteCompoundFile("Workbook", stream));
    EXPECT_EQ(reader.bytes.size(), 512u * 5);  // header, mini stream, mini table, directory, table
    EXPECT_NE(U32(reader.bytes, 60), kEnd);
    EXPECT_EQ(U32(reader.bytes, 64), 1u);
    EXPECT_EQ(reader.Stream("Workbook"), stream);
    EXPECT_EQ(U32(reader.root, 120), 128u);  // two mini sectors
    EXPECT_EQ(reader.root[66], 5);
    reader.ExpectEverySectorAccountedFor();
}

TEST(CompoundFile, PutsStreamsOnBothSidesOfTheCutoffWhereTheyBelong) {
    for (const std::size_t size : {std::size_t{1}, std::size_t{64}, std::size_t{65}, std::size_t{4095}}) {
        Reader reader(office::WriteCompoundFile("Workbook", Pattern(size)));
        EXPECT_NE(U32(reader.bytes, 60), kEnd) << size;
        EXPECT_EQ(reader.Stream("Workbook"), Pattern(size)) << size;
        reader.ExpectEverySectorAccountedFor();
    }
    for (const std::size_t size : {std::size_t{4096}, std::size_t{4097}, std::size_t{512 * 128 * 3 + 1}}) {
        Reader reader(office::WriteCompoundFile("Workbook", Pattern(size)));
        EXPECT_EQ(U32(reader.bytes, 60), kEnd) << size;
        EXPECT_EQ(reader.Stream("Workbook"), Pattern(size)) << size;
        reader.ExpectEverySectorAccountedFor();
    }
}

TEST(CompoundFile, ListsAllocationSectorsPast109InDifatSectors) {
    // 109 table sectors cover about 7 MB; 9 MB needs more of them.
    const std::string stream = Pattern(9 * 1024 * 1024);
    Reader reader(office::WriteCompoundFile("Workbook", stream));
    EXPECT_GT(reader.fatSectors.size(), 109u);
    EXPECT_EQ(reader.difatSectors.size(), 1u);
    EXPECT_EQ(reader.Stream("Workbook"), stream);
    reader.ExpectEverySectorAccountedFor();
}

TEST(CompoundFile, WritesAnEmptyStreamAndRefusesBadNames) {
    Reader reader(office::WriteCompoundFile("Workbook", ""));
    EXPECT_EQ(reader.Stream("Workbook"), "");
    EXPECT_THROW(office::WriteCompoundFile("", "x"), std::invalid_argument);
    EXPECT_THROW(office::WriteCompoundFile(std::string(32, 'a'), "x"), std::invalid_argument);
}

} // namespace
