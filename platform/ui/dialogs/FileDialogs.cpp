#include "platform/ui/dialogs/FileDialogs.h"

#include <filesystem>

namespace ui {

bool TOpenDialog::Execute()
{
    return Run(false);
}

bool TSaveDialog::Execute()
{
    return Run(true);
}

bool TOpenDialog::Run(bool save)
{
    TFileDialogRequest request;
    request.Save = save;
    request.Title = title_;
    request.Filter = filter_;
    request.FilterIndex = filterIndex_;
    request.DefaultExt = defaultExt_;
    request.InitialDir = initialDir_;
    request.FileName = fileName_;
    if (!Dialogs().FileDialog(request))
        return false;
    std::string chosen = request.FileName;
    if (save && !defaultExt_.empty() && !chosen.empty() && std::filesystem::path(chosen).extension().empty())
        chosen += "." + defaultExt_;
    fileName_ = chosen;
    filterIndex_ = request.FilterIndex;
    return true;
}

} // namespace ui
