#include "report/preview/RpPreviewInterface.h"

#include "platform/ui/kernel/Application.h"
#include "report/preview/RpStandardPreview.h"

namespace report {

ui::TCustomForm* TRpPreviewInterface::Show(TRpPrinter* /*printer*/)
{
    return nullptr;
}

ui::TCustomForm* TRpPreviewInterface::ShowModal(TRpPrinter* /*printer*/)
{
    return nullptr;
}

ui::TCustomForm* TRpStandardPreviewInterface::Show(TRpPrinter* printer)
{
    auto* form = ui::CreateComponent<TRpStandardPreview>(ui::Application, printer);
    form->ShowPreview();
    return form;
}

ui::TCustomForm* TRpStandardPreviewInterface::ShowModal(TRpPrinter* printer)
{
    auto* form = ui::CreateComponent<TRpStandardPreview>(ui::Application, printer);
    form->UpdateStatus();
    form->ShowModal();
    // A modal window is not freed by its close; it goes once the events run.
    form->Release();
    return form;
}

TRpPreviewInterfaceClass& PreviewInterfaceClass()
{
    static TRpPreviewInterfaceClass factory = [](core::TComponent* owner) {
        return std::unique_ptr<TRpPreviewInterface>(std::make_unique<TRpStandardPreviewInterface>(owner));
    };
    return factory;
}

} // namespace report
