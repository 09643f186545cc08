#include "xml/Debug.h"

#include <cstdarg>
#include <cstdio>

namespace xml {

const char* const DebugLevelNames[4] = {"info", "hint", "warn", "fail"};

void TDebugComponent::EmitDebug(core::TObject* sender, TxDebugLevel level, const std::string& message)
{
    for (core::TComponent* current = this; current != nullptr; current = current->Owner()) {
        auto* component = dynamic_cast<TDebugComponent*>(current);
        if (component == nullptr)
            return; // the chain leaves the library's components: nobody listens
        if (component->OnDebugMessage) {
            component->OnDebugMessage(sender, level, message);
            return;
        }
    }
}

void TDebugPersistent::EmitDebug(core::TObject* sender, TxDebugLevel level, const std::string& message)
{
    if (TDebugComponent* owner = DebugOwner())
        owner->EmitDebug(sender, level, message);
}

std::string DebugFormat(const char* pattern, ...)
{
    char small[256];
    va_list args;
    va_start(args, pattern);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof(small), pattern, args);
    va_end(args);
    std::string text;
    if (n < 0) {
        va_end(again);
        return text;
    }
    if (static_cast<std::size_t>(n) < sizeof(small)) {
        text.assign(small, static_cast<std::size_t>(n));
    } else {
        text.resize(static_cast<std::size_t>(n));
        std::vsnprintf(text.data(), text.size() + 1, pattern, again);
    }
    va_end(again);
    return text;
}

} // namespace xml
