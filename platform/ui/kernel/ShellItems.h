#pragma once
// Item-ID lists of the shell's namespace and the shell's shared memory, which
// hands such lists from one window to another.
//
// An item-ID list is a byte buffer: items, each a 16-bit little-endian byte
// count (the count included) and the item's data, ended by a 16-bit zero. Our
// items are the names of a local path, from the root down, in UTF-8: the list
// of "/home/jana" holds the items "home" and "jana"; the root is the empty list.
//
// Shared memory blocks are numbers in a table of this process, each belonging
// to a process number; a number that names no block gives nothing.

#include "platform/ui/kernel/Messages.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ui {

using TItemIDList = std::vector<std::uint8_t>;

// The size of the list at the start of bytes, terminator included; nothing when the
// bytes end before the terminator or an item's count is impossible (below 2).
std::optional<std::size_t> ItemIDListSize(std::span<const std::uint8_t> bytes);
// The list that begins bytes, terminator included; nothing when it is malformed.
std::optional<TItemIDList> CopyItemIDList(std::span<const std::uint8_t> bytes);

// The list of an absolute local path ("/" the empty list); nothing for a relative path.
std::optional<TItemIDList> ItemIDListFromPath(const std::string& path);
// The absolute path of a list; nothing when it is malformed or an item is no plain
// name (empty, ".", "..", or holding "/" or a zero byte).
std::optional<std::string> PathFromItemIDList(std::span<const std::uint8_t> list);

// --- shared memory

using HANDLE = std::uintptr_t;

// A block holding a copy of bytes, belonging to the process.
HANDLE SHAllocShared(std::span<const std::uint8_t> bytes, DWORD processId);
// The block's bytes while locked; empty (null data) when handle and process name no block.
std::span<const std::uint8_t> SHLockShared(HANDLE memory, DWORD processId);
bool SHUnlockShared(HANDLE memory, DWORD processId);
bool SHFreeShared(HANDLE memory, DWORD processId);

} // namespace ui
