#include "report/expr/RpDataSetList.h"

#include "platform/core/Unicode.h"
#include "platform/data/DataSet.h"
#include "platform/ui/kernel/DataModule.h"
#include "platform/ui/kernel/Screen.h"
#include "platform/ui/kernel/WinControl.h"

namespace report {

namespace {

void CollectOwned(core::TComponent* owner, core::TStringList& list)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        core::TComponent* component = owner->Components(i);
        if (auto* dataSet = dynamic_cast<data::TDataSet*>(component))
            list.AddObject(dataSet->Name(), dataSet);
        else if (dynamic_cast<ui::TWinControl*>(component) != nullptr)
            CollectOwned(component, list);
    }
}

} // namespace

std::unique_ptr<core::TStringList> CollectDataSets(core::TComponent* form, bool includeDataModules)
{
    auto list = std::make_unique<core::TStringList>();
    if (form != nullptr)
        CollectOwned(form, *list);
    if (includeDataModules) {
        ui::TScreen* screen = ui::Screen();
        for (int i = 0; i < screen->DataModuleCount(); ++i) {
            ui::TDataModule* module = screen->DataModules(i);
            for (int j = 0; j < module->ComponentCount(); ++j)
                if (auto* dataSet = dynamic_cast<data::TDataSet*>(module->Components(j)))
                    list->AddObject(dataSet->Name(), dataSet);
        }
    }
    return list;
}

int TextPos(const std::string& sub, const std::string& s)
{
    if (sub.empty())
        return 0;
    std::size_t at = s.find(sub);
    return at == std::string::npos ? 0 : static_cast<int>(core::Utf8Length(std::string_view(s).substr(0, at))) + 1;
}

} // namespace report
