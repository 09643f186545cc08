#pragma once
// The viewer form: a web page beside the register, opened maximised.

#include "platform/ui/Forms.h"

namespace app {

class TProhlizec_Form : public ui::TForm {
public:
    explicit TProhlizec_Form(core::TComponent* owner);
    std::string ClassName() const override { return "TProhlizec_Form"; }
};

extern TProhlizec_Form* Prohlizec_Form;

} // namespace app
