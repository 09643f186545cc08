// The update library's one function: fetch, compare, and tell the user.
#include "app/update/Verlumka.h"

#include "app/update/VersionFetch.h"
#include "app/update/VersionNumber.h"
#include "platform/shell/Shell.h"
#include "platform/ui/kernel/Dialogs.h"

#include <fstream>
#include <string>

namespace app::update {

namespace {

const char* const Caption = "Kontrola aktualizací";

struct TCheckOutcome {
    enum class Kind { Newer, Current, Failed } Result = Kind::Failed;
    std::string Installed;
    std::string Published;
    std::string Failure;
};

std::string Text(const char* text) { return text != nullptr ? text : ""; }

TVersionNumber InstalledVersion(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw EUpdateFailure("soubor s verzí programu " + file + " nelze přečíst.");
    std::string line;
    std::getline(in, line);
    const auto version = TVersionNumber::Parse(FirstLine(line));
    if (!version)
        throw EUpdateFailure("soubor s verzí programu " + file + " neobsahuje číslo verze.");
    return *version;
}

TCheckOutcome Check(const std::string& remoteUrl, const std::string& localFile)
{
    TCheckOutcome outcome;
    try {
        const TVersionNumber installed = InstalledVersion(localFile);
        outcome.Installed = installed.Text();
        const auto published = TVersionNumber::Parse(FirstLine(FetchVersionFile(remoteUrl)));
        if (!published)
            throw EUpdateFailure("soubor s verzí na serveru neobsahuje číslo verze.");
        outcome.Published = published->Text();
        outcome.Result = *published > installed ? TCheckOutcome::Kind::Newer : TCheckOutcome::Kind::Current;
    } catch (const std::exception& error) {
        outcome.Result = TCheckOutcome::Kind::Failed;
        outcome.Failure = error.what();
    }
    return outcome;
}

void Tell(const TCheckOutcome& outcome, const std::string& downloadPage)
{
    ui::TDialogService& dialogs = ui::Dialogs();
    switch (outcome.Result) {
    case TCheckOutcome::Kind::Newer:
        if (dialogs.MessageBox("Na internetu je k dispozici nová verze programu: " + outcome.Published +
                                   ".\nNainstalovaná verze: " + outcome.Installed +
                                   ".\n\nChcete načíst stránku ke stažení na internetu?",
                               Caption, ui::MB_YESNO | ui::MB_ICONINFORMATION) == ui::IDYES &&
            !shell::ShellOpen(downloadPage))
            dialogs.MessageBox("Stránku ke stažení " + downloadPage + " se nepodařilo otevřít.", Caption,
                               ui::MB_OK | ui::MB_ICONWARNING);
        break;
    case TCheckOutcome::Kind::Current:
        dialogs.MessageBox("Používáte nejnovější verzi programu (" + outcome.Installed + ").", Caption,
                           ui::MB_OK | ui::MB_ICONINFORMATION);
        break;
    case TCheckOutcome::Kind::Failed:
        dialogs.MessageBox("Kontrolu aktualizací se nepodařilo provést: " + outcome.Failure, Caption,
                           ui::MB_OK | ui::MB_ICONWARNING);
        break;
    }
}

} // namespace

} // namespace app::update

extern "C" void Pomrakel(const char* remoteVersionUrl, const char* localVersionFile, const char* downloadPageUrl,
                         const char*, bool tellUser, bool* newerVersion) noexcept
{
    using namespace app::update;
    if (newerVersion != nullptr)
        *newerVersion = false;
    try {
        const TCheckOutcome outcome = Check(Text(remoteVersionUrl), Text(localVersionFile));
        if (newerVersion != nullptr)
            *newerVersion = outcome.Result == TCheckOutcome::Kind::Newer;
        if (tellUser)
            Tell(outcome, Text(downloadPageUrl));
    } catch (...) {
        // Whatever went wrong in telling the user stays here: the caller goes on.
    }
}
