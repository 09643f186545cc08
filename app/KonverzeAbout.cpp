// The main form's about tab: the update check on request, the links and the data folder.
#include "app/BuildSettings.h"
#include "app/Folders.h"
#include "app/KonverzeForm.h"
#include "app/UpdateCheck.h"
#include "platform/shell/Shell.h"
#include "platform/ui/kernel/Dialogs.h"

namespace app {

namespace {

// Opens a folder, web page or mail address on the desktop; says so when nothing could be started.
void OpenInShell(const std::string& target)
{
    if (!shell::ShellExecute("open", target, shell::SW_SHOWNORMAL))
        ui::MessageDlg("Nepodařilo se otevřít " + target + ".", ui::TMsgDlgType::mtWarning, ui::mbOK);
}

} // namespace

void TKonverze_Form::Aktualizace_ButtonClick(core::TObject*)
{
    // The library tells the user what it found.
    bool newer = false;
    UpdateCheck(RemoteVersionUrl(false).c_str(), VersionFile().c_str(), DownloadPageUrl(false).c_str(),
                DataFolder.c_str(), true, &newer);
}

void TKonverze_Form::Label26Click(core::TObject*) { OpenInShell(MakerWebPage); }

void TKonverze_Form::Label27Click(core::TObject*) { OpenInShell(std::string("mailto:") + AuthorEmail); }

void TKonverze_Form::Button11Click(core::TObject*) { OpenInShell(DataFolder); }

} // namespace app
