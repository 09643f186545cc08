#include "platform/ui/kernel/Screen.h"

#include <algorithm>

namespace ui {

void TScreen::AddDataModule(TDataModule* dataModule)
{
    dataModules_.push_back(dataModule);
}

void TScreen::RemoveDataModule(TDataModule* dataModule)
{
    std::erase(dataModules_, dataModule);
}

TScreen* Screen()
{
    static TScreen screen;
    return &screen;
}

} // namespace ui
