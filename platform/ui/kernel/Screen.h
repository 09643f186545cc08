#pragma once
// The screen object of the class library, as far as it lists what the
// program has open: its data modules, in the order they were made.

#include <vector>

namespace ui {

class TDataModule;

class TScreen {
public:
    int DataModuleCount() const { return static_cast<int>(dataModules_.size()); }
    TDataModule* DataModules(int index) const { return dataModules_.at(static_cast<std::size_t>(index)); }

    // Data modules enter themselves when made and leave when freed.
    void AddDataModule(TDataModule* dataModule);
    void RemoveDataModule(TDataModule* dataModule);

private:
    std::vector<TDataModule*> dataModules_;
};

// The one screen object of the process.
TScreen* Screen();

} // namespace ui
