#include "platform/ui/kernel/RegisteredMessages.h"

#include "platform/core/Letters.h"

#include <map>
#include <mutex>

namespace ui {

UINT RegisterWindowMessage(const std::string& name)
{
    if (name.empty())
        return 0;
    static std::mutex lock;
    static std::map<std::string, UINT> numbers;
    std::lock_guard<std::mutex> guard(lock);
    std::string key = core::UpperCase(name);
    auto found = numbers.find(key);
    if (found != numbers.end())
        return found->second;
    UINT next = kFirstRegisteredMessage + static_cast<UINT>(numbers.size());
    if (next > kLastRegisteredMessage)
        return 0;
    numbers.emplace(key, next);
    return next;
}

} // namespace ui
