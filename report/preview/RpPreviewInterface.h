#pragma once
// The component through which a report asks for a preview window of its
// printer. The base shows nothing; the standard interface opens the
// standard preview window, owned by the application.

#include "platform/core/Component.h"
#include "platform/ui/kernel/Forms.h"

#include <functional>
#include <memory>

namespace report {

class TRpPrinter;

class TRpPreviewInterface : public core::TComponent {
public:
    explicit TRpPreviewInterface(core::TComponent* owner) : core::TComponent(owner) {}
    std::string ClassName() const override { return "TRpPreviewInterface"; }

    // Shows a preview of the printer's pages and returns its window; none here.
    virtual ui::TCustomForm* Show(TRpPrinter* printer);
    // The same, modally.
    virtual ui::TCustomForm* ShowModal(TRpPrinter* printer);
};

class TRpStandardPreviewInterface : public TRpPreviewInterface {
public:
    explicit TRpStandardPreviewInterface(core::TComponent* owner) : TRpPreviewInterface(owner) {}
    std::string ClassName() const override { return "TRpStandardPreviewInterface"; }

    // The window frees itself when it is closed.
    ui::TCustomForm* Show(TRpPrinter* printer) override;
    // Returns once the window is closed; it is then freed when the pending
    // events are handled.
    ui::TCustomForm* ShowModal(TRpPrinter* printer) override;
};

// Makes the preview interface that reports use.
using TRpPreviewInterfaceClass = std::function<std::unique_ptr<TRpPreviewInterface>(core::TComponent* owner)>;
// The class of preview windows for the whole process: the standard one unless replaced.
TRpPreviewInterfaceClass& PreviewInterfaceClass();

} // namespace report
