#pragma once
// A data module: a non-visual container of components (connections, queries,
// data sources) that forms reach through its global reference.

#include "platform/ui/kernel/Forms.h"

namespace ui {

class TDataModule : public core::TComponent, public TCreationEvents {
public:
    // The screen object lists the data module while it lives.
    explicit TDataModule(core::TComponent* owner);
    ~TDataModule() override;

    std::string ClassName() const override { return "TDataModule"; }

    // OnCreate and OnDestroy; a failure in either goes to the application's handler.
    void AfterConstruction() override;
    void BeforeDestruction() override;

    core::TNotifyEvent OnCreate;
    core::TNotifyEvent OnDestroy;

private:
    bool created_ = false;
    bool destroyed_ = false;
};

} // namespace ui
