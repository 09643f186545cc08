#include "app/ViewerForm.h"

namespace app {

TProhlizec_Form* Prohlizec_Form = nullptr;

TProhlizec_Form::TProhlizec_Form(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("Prohlizec_Form");
    SetCaption("Prohlížeč");
    SetClientWidth(800);
    SetClientHeight(600);
    SetPosition(ui::TPosition::poMainFormCenter);
    SetWindowState(ui::TWindowState::wsMaximized);
}

} // namespace app
