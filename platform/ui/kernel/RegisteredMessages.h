#pragma once
// Registered window messages: numbers that programs agree on by name. The
// same name (ASCII case ignored) gives the same number for the life of the
// process; numbers lie in 0xC000 to 0xFFFF, apart from every fixed message.

#include "platform/ui/kernel/Messages.h"

#include <string>

namespace ui {

inline constexpr UINT kFirstRegisteredMessage = 0xC000;
inline constexpr UINT kLastRegisteredMessage = 0xFFFF;

// 0 for an empty name or when every number is taken.
UINT RegisterWindowMessage(const std::string& name);

} // namespace ui
