#pragma once
// Diagnostics of the XML library. Objects of the library do not raise on bad
// input; they hand a short message with a severity to a handler. A message
// climbs the owner chain until it meets the first TDebugComponent whose
// OnDebugMessage is assigned; when there is none, it is dropped silently.

#include "platform/core/Component.h"

#include <cstdint>
#include <functional>
#include <string>

namespace xml {

enum TxDebugLevel : std::uint8_t { dlInfo = 0, dlHint = 1, dlWarn = 2, dlFail = 3 };

// "info", "hint", "warn", "fail", for handlers that print the level.
extern const char* const DebugLevelNames[4];

using TOnDebugMessage =
    std::function<void(core::TObject* sender, TxDebugLevel level, const std::string& message)>;

class TDebugComponent : public core::TComponent {
public:
    explicit TDebugComponent(core::TComponent* owner) : core::TComponent(owner) {}
    std::string ClassName() const override { return "TDebugComponent"; }

    // Delivers to the first assigned handler of this component and its owners.
    virtual void EmitDebug(core::TObject* sender, TxDebugLevel level, const std::string& message);

    TOnDebugMessage OnDebugMessage;
};

class TDebugPersistent : public core::TPersistent {
public:
    explicit TDebugPersistent(TDebugComponent* owner) : link_(owner) {}
    std::string ClassName() const override { return "TDebugPersistent"; }

    // The component that receives this object's messages.
    virtual TDebugComponent* DebugOwner() const noexcept { return static_cast<TDebugComponent*>(link_); }
    // Passes the message unchanged to the owner; without an owner it is dropped.
    virtual void EmitDebug(core::TObject* sender, TxDebugLevel level, const std::string& message);

protected:
    // For a descendant that finds its owner otherwise (overriding DebugOwner):
    // it keeps a link of its own in link_, which then does not name the owner.
    struct OwnerFoundElsewhere {};
    explicit TDebugPersistent(OwnerFoundElsewhere) noexcept : link_(nullptr) {}

    void* link_;
};

// printf-style formatting for diagnostic texts.
std::string DebugFormat(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
// A 64-bit position or size as DebugFormat's "%lld" takes it.
constexpr long long AsLongLong(std::int64_t value) noexcept { return value; }

} // namespace xml
