#pragma once
// Single-byte code pages beyond the program's own tables (Windows-1250 and
// 1252), built on first use from the C library's character-set converter and
// then registered, so that FindCodePage knows them too. Only code pages whose
// lower half is ASCII are offered; undefined bytes stand for the C1 control of
// the same value, as in the program's own tables.

#include "platform/core/CodePage.h"

namespace core {

// The code page with that number (0 is the ANSI code page), or nullptr when it
// is unknown, not single-byte or the converter lacks it.
const TSingleByteCodePage* SystemCodePage(unsigned codePage);

} // namespace core
