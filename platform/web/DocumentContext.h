#pragma once
// Private to the engine: what the object model's objects hold to reach the
// engine that made them and to know the document they belong to.

#include "platform/web/HtmlDocument.h"
#include "platform/web/OleVariant.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>

namespace web {

class TEngineCore;

// Cleared when the engine goes, so late objects find nothing instead of a dangling engine.
struct TEngineLink {
    TEngineCore* engine = nullptr;
};

struct TDocumentContext {
    std::shared_ptr<TEngineLink> link;
    std::uint64_t generation = 0;

    // The engine, when it is still there and still shows this document; else raises EOleError.
    TEngineCore& Engine() const;
    bool IsCurrent() const;
};

// What the object model asks of the engine.
class TEngineCore {
public:
    virtual ~TEngineCore() = default;
    virtual std::uint64_t Generation() const = 0;
    // Runs a script of the object model and gives its result; raises EOleError on failure.
    virtual QVariant RunDomScript(const QString& script) = 0;
    virtual std::shared_ptr<THTMLEventObj> CurrentEvent() const = 0;
    virtual core::HRESULT ExecCommand(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in,
                                      TOleVariant* out) = 0;
};

} // namespace web
