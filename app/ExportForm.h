#pragma once
// The export form: the register of a period to a workbook or a text file.

#include "platform/ui/Forms.h"

namespace app {

class TExport_Form : public ui::TForm {
public:
    explicit TExport_Form(core::TComponent* owner);
    std::string ClassName() const override { return "TExport_Form"; }
};

extern TExport_Form* Export_Form;

} // namespace app
