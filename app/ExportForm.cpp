#include "app/ExportForm.h"

namespace app {

TExport_Form* Export_Form = nullptr;

TExport_Form::TExport_Form(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("Export_Form");
    SetCaption("Export evidence do Excelu");
    SetClientWidth(463);
    SetClientHeight(299);
    SetPosition(ui::TPosition::poMainFormCenter);
}

} // namespace app
