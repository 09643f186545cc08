#include "platform/ui/DataModule.h"

namespace ui {

TDataModule::~TDataModule()
{
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
