#pragma once
// What dynamic data exchange between windows needs: the conversation messages,
// global atoms (names shared by number), global memory blocks and the packed
// parameters of the messages that carry two values.
//
// Atoms, memory blocks and packed parameters are numbers that index tables of
// this process: a number that names nothing is refused, never followed as an
// address. All of it may be used from any thread.

#include "platform/ui/kernel/Messages.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ui {

using ATOM = WORD;
using HGLOBAL = std::uintptr_t;
using UINT_PTR = std::uintptr_t;

inline constexpr UINT WM_DDE_FIRST = 0x03E0;
inline constexpr UINT WM_DDE_INITIATE = WM_DDE_FIRST;
inline constexpr UINT WM_DDE_TERMINATE = WM_DDE_FIRST + 1;
inline constexpr UINT WM_DDE_ADVISE = WM_DDE_FIRST + 2;
inline constexpr UINT WM_DDE_UNADVISE = WM_DDE_FIRST + 3;
inline constexpr UINT WM_DDE_ACK = WM_DDE_FIRST + 4;
inline constexpr UINT WM_DDE_DATA = WM_DDE_FIRST + 5;
inline constexpr UINT WM_DDE_REQUEST = WM_DDE_FIRST + 6;
inline constexpr UINT WM_DDE_POKE = WM_DDE_FIRST + 7;
inline constexpr UINT WM_DDE_EXECUTE = WM_DDE_FIRST + 8;

// The status word of WM_DDE_ACK.
inline constexpr WORD DDE_FACK = 0x8000;
inline constexpr WORD DDE_FBUSY = 0x4000;

// --- global atoms: names of at most 255 (Unicode) characters, compared without regard to ASCII case,
// counted: each add needs a delete.

// 0 for an empty or over-long name.
ATOM GlobalAddAtom(const std::string& name);
ATOM GlobalFindAtom(const std::string& name);
// Answers 0 when the atom was deleted (its count reached 0 or it remains used), else the atom.
ATOM GlobalDeleteAtom(ATOM atom);
// The name as first added, cut to maxCount - 1 characters; empty for an unknown atom.
std::string GlobalGetAtomName(ATOM atom, int maxCount = 256);

// --- global memory blocks

// A zeroed block of size bytes (0 when size is 0).
HGLOBAL GlobalAlloc(std::size_t size);
// A block holding the text and a terminating zero.
HGLOBAL GlobalAllocText(const std::string& text);
// The block's bytes while it is locked; empty (null data) for an unknown handle.
std::span<std::uint8_t> GlobalLock(HGLOBAL memory);
bool GlobalUnlock(HGLOBAL memory);
// Answers 0 when the block was freed, else the handle.
HGLOBAL GlobalFree(HGLOBAL memory);
std::size_t GlobalSize(HGLOBAL memory);

// --- the two values of a DDE message's LParam

// WM_DDE_ACK (but for an initiate's answer), WM_DDE_ADVISE, WM_DDE_DATA and WM_DDE_POKE
// pack both values into a handle; WM_DDE_EXECUTE carries its command block alone (hi);
// every other message the two words of the LParam.
LPARAM PackDDElParam(UINT message, UINT_PTR lo, UINT_PTR hi);
bool UnpackDDElParam(UINT message, LPARAM lParam, UINT_PTR* lo, UINT_PTR* hi);
bool FreeDDElParam(UINT message, LPARAM lParam);
// Repacks the parameter of a message received for the message to answer with.
LPARAM ReuseDDElParam(LPARAM lParam, UINT messageIn, UINT messageOut, UINT_PTR lo, UINT_PTR hi);

} // namespace ui
