#include "app/FileCatcher.h"

namespace app {

int TFileCatcher::GetFileCount() const
{
    return static_cast<int>(ui::DragQueryFile(drop_, ui::DragFileCount, nullptr, 0));
}

std::string TFileCatcher::GetFile(int index) const
{
    const auto i = static_cast<ui::UINT>(index);
    std::string name(ui::DragQueryFile(drop_, i, nullptr, 0), '\0');
    ui::DragQueryFile(drop_, i, name.data(), static_cast<ui::UINT>(name.size() + 1));
    return name;
}

} // namespace app
