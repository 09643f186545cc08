#include "platform/ui/kernel/Dde.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"

#include <map>
#include <mutex>
#include <vector>

namespace ui {

namespace {

// --- atoms

constexpr ATOM FirstAtom = 0xC000;
constexpr std::size_t MaxAtomName = 255;

struct TAtom {
    std::string name;
    int count = 0;
};

struct TAtomTable {
    std::mutex mutex;
    std::map<ATOM, TAtom> atoms;
};

TAtomTable& Atoms()
{
    static TAtomTable table;
    return table;
}

ATOM FindLocked(TAtomTable& table, const std::string& name)
{
    for (const auto& [atom, entry] : table.atoms)
        if (core::SameText(entry.name, name))
            return atom;
    return 0;
}

// --- memory blocks and packed parameters share one numbering; it starts high and
// steps by 4, so that a small number or an atom is never a valid handle.

std::uintptr_t NextHandle()
{
    static std::uintptr_t next = 0x10000;
    next += 4;
    return next;
}

struct TBlock {
    std::vector<std::uint8_t> bytes;
    int locks = 0;
};

struct TMemoryTable {
    std::mutex mutex;
    std::map<HGLOBAL, TBlock> blocks;
    std::map<LPARAM, std::pair<UINT_PTR, UINT_PTR>> packed;
};

TMemoryTable& Memory()
{
    static TMemoryTable table;
    return table;
}

bool Packs(UINT message)
{
    return message == WM_DDE_ACK || message == WM_DDE_ADVISE || message == WM_DDE_DATA || message == WM_DDE_POKE;
}

} // namespace

// --- atoms

ATOM GlobalAddAtom(const std::string& name)
{
    if (name.empty() || core::Utf8Length(name) > MaxAtomName)
        return 0;
    TAtomTable& table = Atoms();
    std::lock_guard lock(table.mutex);
    if (ATOM atom = FindLocked(table, name); atom != 0) {
        ++table.atoms[atom].count;
        return atom;
    }
    for (unsigned candidate = FirstAtom; candidate <= 0xFFFF; ++candidate) {
        const auto atom = static_cast<ATOM>(candidate);
        if (table.atoms.count(atom) == 0) {
            table.atoms[atom] = {name, 1};
            return atom;
        }
    }
    return 0; // the table is full
}

ATOM GlobalFindAtom(const std::string& name)
{
    TAtomTable& table = Atoms();
    std::lock_guard lock(table.mutex);
    return name.empty() ? ATOM{0} : FindLocked(table, name);
}

ATOM GlobalDeleteAtom(ATOM atom)
{
    TAtomTable& table = Atoms();
    std::lock_guard lock(table.mutex);
    auto it = table.atoms.find(atom);
    if (it == table.atoms.end())
        return atom;
    if (--it->second.count <= 0)
        table.atoms.erase(it);
    return 0;
}

std::string GlobalGetAtomName(ATOM atom, int maxCount)
{
    TAtomTable& table = Atoms();
    std::lock_guard lock(table.mutex);
    auto it = table.atoms.find(atom);
    if (it == table.atoms.end() || maxCount <= 1)
        return {};
    return core::Utf8Copy(it->second.name, 0, static_cast<std::size_t>(maxCount - 1));
}

// --- memory blocks

HGLOBAL GlobalAlloc(std::size_t size)
{
    if (size == 0)
        return 0;
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    const HGLOBAL handle = NextHandle();
    table.blocks[handle].bytes.assign(size, 0);
    return handle;
}

HGLOBAL GlobalAllocText(const std::string& text)
{
    const HGLOBAL handle = GlobalAlloc(text.size() + 1);
    if (auto bytes = GlobalLock(handle); bytes.data() != nullptr) {
        std::copy(text.begin(), text.end(), bytes.begin());
        GlobalUnlock(handle);
    }
    return handle;
}

std::span<std::uint8_t> GlobalLock(HGLOBAL memory)
{
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find(memory);
    if (it == table.blocks.end())
        return {};
    ++it->second.locks;
    return {it->second.bytes.data(), it->second.bytes.size()};
}

bool GlobalUnlock(HGLOBAL memory)
{
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find(memory);
    if (it == table.blocks.end() || it->second.locks == 0)
        return false;
    return --it->second.locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL memory)
{
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    return table.blocks.erase(memory) != 0 ? HGLOBAL{0} : memory;
}

std::size_t GlobalSize(HGLOBAL memory)
{
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find(memory);
    return it == table.blocks.end() ? 0 : it->second.bytes.size();
}

// --- packed parameters

LPARAM PackDDElParam(UINT message, UINT_PTR lo, UINT_PTR hi)
{
    if (message == WM_DDE_EXECUTE)
        return static_cast<LPARAM>(hi);
    if (!Packs(message))
        return MakeLParam(static_cast<WORD>(lo), static_cast<WORD>(hi));
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    const auto handle = static_cast<LPARAM>(NextHandle());
    table.packed[handle] = {lo, hi};
    return handle;
}

bool UnpackDDElParam(UINT message, LPARAM lParam, UINT_PTR* lo, UINT_PTR* hi)
{
    UINT_PTR low = 0;
    UINT_PTR high = 0;
    if (message == WM_DDE_EXECUTE) {
        high = static_cast<UINT_PTR>(lParam);
    } else if (!Packs(message)) {
        low = LoWord(static_cast<std::uintptr_t>(lParam));
        high = HiWord(static_cast<std::uintptr_t>(lParam));
    } else {
        TMemoryTable& table = Memory();
        std::lock_guard lock(table.mutex);
        auto it = table.packed.find(lParam);
        if (it == table.packed.end())
            return false;
        low = it->second.first;
        high = it->second.second;
    }
    if (lo != nullptr)
        *lo = low;
    if (hi != nullptr)
        *hi = high;
    return true;
}

bool FreeDDElParam(UINT message, LPARAM lParam)
{
    if (!Packs(message))
        return true;
    TMemoryTable& table = Memory();
    std::lock_guard lock(table.mutex);
    return table.packed.erase(lParam) != 0;
}

LPARAM ReuseDDElParam(LPARAM lParam, UINT messageIn, UINT messageOut, UINT_PTR lo, UINT_PTR hi)
{
    if (Packs(messageIn) && Packs(messageOut)) {
        TMemoryTable& table = Memory();
        std::lock_guard lock(table.mutex);
        if (auto it = table.packed.find(lParam); it != table.packed.end()) {
            it->second = {lo, hi};
            return lParam;
        }
    }
    FreeDDElParam(messageIn, lParam);
    return PackDDElParam(messageOut, lo, hi);
}

} // namespace ui
