#include "platform/ui/kernel/DataModule.h"

#include "platform/ui/kernel/Screen.h"

namespace ui {

TDataModule::TDataModule(core::TComponent* owner) : core::TComponent(owner)
{
    Screen()->AddDataModule(this);
}

TDataModule::~TDataModule()
{
    Screen()->RemoveDataModule(this);
    Destroying();
    FreeOwnedComponents(this);
}

void TDataModule::AfterConstruction()
{
    if (created_)
        return;
    created_ = true;
    try {
        if (OnCreate)
            OnCreate(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

void TDataModule::BeforeDestruction()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    Destroying();
    try {
        if (OnDestroy)
            OnDestroy(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

} // namespace ui
