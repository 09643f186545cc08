#include "platform/ui/kernel/ShellItems.h"

#include <map>
#include <mutex>
#include <utility>

namespace ui {

namespace {

std::size_t ReadCount(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::size_t>(bytes[at]) | (static_cast<std::size_t>(bytes[at + 1]) << 8);
}

void AppendCount(TItemIDList& list, std::size_t count)
{
    list.push_back(static_cast<std::uint8_t>(count & 0xFF));
    list.push_back(static_cast<std::uint8_t>((count >> 8) & 0xFF));
}

} // namespace

std::optional<std::size_t> ItemIDListSize(std::span<const std::uint8_t> bytes)
{
    std::size_t at = 0;
    while (true) {
        if (bytes.size() < 2 || at > bytes.size() - 2)
            return std::nullopt;
        const std::size_t count = ReadCount(bytes, at);
        if (count == 0)
            return at + 2;
        if (count < 2 || count > bytes.size() - at)
            return std::nullopt;
        at += count;
    }
}

std::optional<TItemIDList> CopyItemIDList(std::span<const std::uint8_t> bytes)
{
    const auto size = ItemIDListSize(bytes);
    if (!size)
        return std::nullopt;
    return TItemIDList(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(*size));
}

std::optional<TItemIDList> ItemIDListFromPath(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    TItemIDList list;
    std::size_t start = 1;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        if (!name.empty() && name != ".") {
            if (name == ".." || name.size() + 2 > 0xFFFF)
                return std::nullopt;
            AppendCount(list, name.size() + 2);
            list.insert(list.end(), name.begin(), name.end());
        }
        start = end + 1;
    }
    AppendCount(list, 0);
    return list;
}

std::optional<std::string> PathFromItemIDList(std::span<const std::uint8_t> list)
{
    const auto size = ItemIDListSize(list);
    if (!size)
        return std::nullopt;
    std::string path;
    for (std::size_t at = 0; at + 2 < *size;) {
        const std::size_t count = ReadCount(list, at);
        const std::string name(list.begin() + static_cast<std::ptrdiff_t>(at + 2),
                               list.begin() + static_cast<std::ptrdiff_t>(at + count));
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
            || name.find('\0') != std::string::npos)
            return std::nullopt;
        path += "/" + name;
        at += count;
    }
    return path.empty() ? std::string("/") : path;
}

// --- shared memory

namespace {

struct TSharedBlock {
    std::vector<std::uint8_t> bytes;
    int locks = 0;
};

struct TSharedTable {
    std::mutex mutex;
    std::map<std::pair<HANDLE, DWORD>, TSharedBlock> blocks;
    HANDLE next = 0x20000;
};

TSharedTable& Shared()
{
    static TSharedTable table;
    return table;
}

} // namespace

HANDLE SHAllocShared(std::span<const std::uint8_t> bytes, DWORD processId)
{
    TSharedTable& table = Shared();
    std::lock_guard lock(table.mutex);
    table.next += 4;
    table.blocks[{table.next, processId}].bytes.assign(bytes.begin(), bytes.end());
    return table.next;
}

std::span<const std::uint8_t> SHLockShared(HANDLE memory, DWORD processId)
{
    TSharedTable& table = Shared();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find({memory, processId});
    if (it == table.blocks.end())
        return {};
    ++it->second.locks;
    return {it->second.bytes.data(), it->second.bytes.size()};
}

bool SHUnlockShared(HANDLE memory, DWORD processId)
{
    TSharedTable& table = Shared();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find({memory, processId});
    if (it == table.blocks.end() || it->second.locks == 0)
        return false;
    --it->second.locks;
    return true;
}

bool SHFreeShared(HANDLE memory, DWORD processId)
{
    TSharedTable& table = Shared();
    std::lock_guard lock(table.mutex);
    return table.blocks.erase({memory, processId}) != 0;
}

} // namespace ui
