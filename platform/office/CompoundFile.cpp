#include "platform/office/CompoundFile.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace office {

namespace {

constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kMiniStreamCutoff = 4096;
constexpr std::uint32_t kIdsPerSector = kSectorSize / 4;
constexpr std::uint32_t kHeaderDifatEntries = 109;

constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

std::uint32_t SectorsFor(std::uint64_t bytes, std::uint32_t size) {
    return static_cast<std::uint32_t>((bytes + size - 1) / size);
}

void Put16(std::string& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Fills one 128-byte directory entry at offset at.
void PutDirectoryEntry(std::string& out, std::size_t at, std::string_view name, std::uint8_t type,
                       std::uint32_t child, std::uint32_t start, std::uint32_t size) {
    for (std::size_t i = 0; i < name.size(); ++i)
        Put16(out, at + 2 * i, static_cast<unsigned char>(name[i]));
    Put16(out, at + 64, static_cast<std::uint16_t>(2 * (name.size() + 1)));  // with the terminating zero
    out[at + 66] = static_cast<char>(type);
    out[at + 67] = 1;  // black: a tree of one entry per level is a valid red-black tree
    Put32(out, at + 68, kNoStream);  // left sibling
    Put32(out, at + 72, kNoStream);  // right sibling
    Put32(out, at + 76, child);
    Put32(out, at + 116, start);
    Put32(out, at + 120, size);  // the upper half of the size stays 0 in version 3
}

} // namespace

std::string WriteCompoundFile(std::string_view streamName, std::string_view stream) {
    if (streamName.empty() || streamName.size() > 31)
        throw std::invalid_argument("A stream name has 1 to 31 characters");
    if (stream.size() > 0xFFFFFFFFu)
        throw std::length_error("A stream of a version 3 compound file is smaller than 4 GB");
    const auto streamSize = static_cast<std::uint32_t>(stream.size());
    const bool mini = streamSize < kMiniStreamCutoff;

    // Sectors in file order: the stream (or the mini stream), the mini
    // allocation table, the directory, the allocation table, its extension.
    const std::uint32_t miniSectors = mini ? SectorsFor(streamSize, kMiniSectorSize) : 0;
    const std::uint32_t dataSectors =
        mini ? SectorsFor(std::uint64_t{miniSectors} * kMiniSectorSize, kSectorSize) : SectorsFor(streamSize, kSectorSize);
    const std::uint32_t miniFatSectors = SectorsFor(std::uint64_t{miniSectors} * 4, kSectorSize);
    const std::uint32_t directorySectors = 1;
    const std::uint32_t fixedSectors = dataSectors + miniFatSectors + directorySectors;

    // The allocation table covers every sector, its own and those of its extension too.
    std::uint32_t fatSectors = 1;
    std::uint32_t difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifatEntries
                           ? SectorsFor(fatSectors - kHeaderDifatEntries, kIdsPerSector - 1)
                           : 0;
        if (std::uint64_t{fatSectors} * kIdsPerSector >= std::uint64_t{fixedSectors} + fatSectors + difatSectors)
            break;
        ++fatSectors;
    }

    const std::uint32_t firstMiniFat = dataSectors;
    const std::uint32_t directoryStart = firstMiniFat + miniFatSectors;
    const std::uint32_t firstFat = directoryStart + directorySectors;
    const std::uint32_t firstDifat = firstFat + fatSectors;
    const std::uint32_t totalSectors = firstDifat + difatSectors;

    std::string out(kSectorSize * (std::size_t{totalSectors} + 1), '\0');
    auto sectorOffset = [](std::uint32_t sector) { return std::size_t{kSectorSize} * (sector + 1); };

    // Header.
    static constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<char>(kSignature[i]);
    Put16(out, 24, 0x003E);  // minor version
    Put16(out, 26, 0x0003);  // major version: 512-byte sectors
    Put16(out, 28, 0xFFFE);  // little-endian
    Put16(out, 30, 9);       // sector size 2^9
    Put16(out, 32, 6);       // mini sector size 2^6
    Put32(out, 44, fatSectors);
    Put32(out, 48, directoryStart);
    Put32(out, 56, kMiniStreamCutoff);
    Put32(out, 60, miniFatSectors > 0 ? firstMiniFat : kEndOfChain);
    Put32(out, 64, miniFatSectors);
    Put32(out, 68, difatSectors > 0 ? firstDifat : kEndOfChain);
    Put32(out, 72, difatSectors);
    for (std::uint32_t i = 0; i < kHeaderDifatEntries; ++i)
        Put32(out, 76 + 4 * i, i < fatSectors ? firstFat + i : kFreeSect);

    // DIFAT sectors: 127 allocation-table sector numbers each, then the next one's number.
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        const std::size_t at = sectorOffset(firstDifat + d);
        for (std::uint32_t i = 0; i < kIdsPerSector - 1; ++i) {
            const std::uint32_t fat = kHeaderDifatEntries + d * (kIdsPerSector - 1) + i;
            Put32(out, at + 4 * i, fat < fatSectors ? firstFat + fat : kFreeSect);
        }
        Put32(out, at + 4 * (kIdsPerSector - 1), d + 1 < difatSectors ? firstDifat + d + 1 : kEndOfChain);
    }

    // Allocation table: one chain per run of consecutive sectors.
    std::vector<std::uint32_t> fat(std::size_t{fatSectors} * kIdsPerSector, kFreeSect);
    auto chain = [&fat](std::uint32_t first, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i)
            fat[first + i] = i + 1 < count ? first + i + 1 : kEndOfChain;
    };
    chain(0, dataSectors);
    chain(firstMiniFat, miniFatSectors);
    chain(directoryStart, directorySectors);
    for (std::uint32_t i = 0; i < fatSectors; ++i)
        fat[firstFat + i] = kFatSect;
    for (std::uint32_t i = 0; i < difatSectors; ++i)
        fat[firstDifat + i] = kDifSect;
    for (std::size_t i = 0; i < fat.size(); ++i)
        Put32(out, sectorOffset(firstFat) + 4 * i, fat[i]);

    // Mini allocation table: the stream's mini sectors in one chain; the rest free.
    if (mini) {
        const std::size_t at = sectorOffset(firstMiniFat);
        for (std::uint32_t i = 0; i < miniFatSectors * kIdsPerSector; ++i)
            Put32(out, at + 4 * i, i < miniSectors ? (i + 1 < miniSectors ? i + 1 : kEndOfChain) : kFreeSect);
    }

    // Directory: the root (owning the mini stream) and the stream; unused entries empty.
    const std::size_t directory = sectorOffset(directoryStart);
    PutDirectoryEntry(out, directory, "Root Entry", 5, 1, mini && miniSectors > 0 ? 0 : kEndOfChain,
                      miniSectors * kMiniSectorSize);
    PutDirectoryEntry(out, directory + 128, streamName, 2, kNoStream,
                      streamSize == 0 ? kEndOfChain : 0, streamSize);
    for (std::size_t entry = 2; entry < kSectorSize / 128; ++entry) {
        Put32(out, directory + 128 * entry + 68, kNoStream);
        Put32(out, directory + 128 * entry + 72, kNoStream);
        Put32(out, directory + 128 * entry + 76, kNoStream);
    }

    // The stream's bytes: mini sectors packed in the mini stream, or whole sectors.
    out.replace(sectorOffset(0), stream.size(), stream);
    return out;
}

} // namespace office
