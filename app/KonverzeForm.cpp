#include "app/KonverzeForm.h"

#include "app/DataModule.h"
#include "app/ExportForm.h"
#include "app/Folders.h"
#include "app/RowBeingTyped.h"
#include "app/SqlDates.h"
#include "app/UpdateCheck.h"
#include "app/UpdateCheckAtStart.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/IniFile.h"
#include "platform/shell/Shell.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Dialogs.h"
#include "platform/ui/kernel/DropFiles.h"

#include <fstream>

namespace app {

TKonverze_Form* Konverze_Form = nullptr;
std::string SortDirection = " DESC";
std::string XmlFileName;

const std::array<const char*, 10> NavCaptions{"První",  "Předchozí", "Další", "Poslední",  "Přidat",
                                              "Smazat", "Upravit",   "Ulož",  "Neukládat", "Obnovit"};
const std::array<const char*, 10> NavHints{"První záznam",  "Předchozí záznam", "Další záznam",
                                           "Poslední záznam", "Přidat záznam",  "Smazat záznam",
                                           "Upravit záznam", "Uložit",          "Zrušit",
                                           "Obnovit"};

namespace {

const char* const SettingsSection = "nastaveni";
const char* const StartupCheckKey = "kontrolovat_po_startu";

std::string SettingsFile() { return DataFolder + SettingsFileName; }

// A text as an SQL string literal: in apostrophes, inner apostrophes doubled.
std::string QuotedStr(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

} // namespace

bool TKonverze_Form::SavedOrGivenUp(data::TDataSet& rows, const std::function<void()>& save)
{
    try {
        save();
        return true;
    } catch (...) {
        // The refusal first (the post rules have told theirs already).
        if (ui::Application != nullptr)
            ui::Application->HandleException(this);
    }
    if (rows.State() != data::dsEdit && rows.State() != data::dsInsert)
        return true;
    if (ui::MessageDlg("Rozepsaný řádek nelze uložit. Zavřít program bez něj?", ui::TMsgDlgType::mtConfirmation,
                       ui::mbYes | ui::mbNo) != ui::mrYes)
        return false;
    rows.Cancel();
    return true;
}

void TKonverze_Form::FormCreate(core::TObject*)
{
    XmlFileName.clear();
    OldGridWindowProc = DBGrid1->WindowProc;
    DBGrid1->WindowProc = [this](ui::TMessage& message) { GridWindowProc(message); };
    ui::DragAcceptFiles(DBGrid1->Handle(), true);
    SetupHackedNavigator(Konverze_DBNavigator, ImageList, true);
    SetupHackedNavigator(DBNavigator2, ImageList, true);
    const core::TIniFile settings(SettingsFile());

    // The update check at start, when it is on; whatever fails, start goes on.
    // The window does not wait for the server: the question comes when the
    // answer does.
    try {
        CheckBox1->SetChecked(settings.ReadBool(SettingsSection, StartupCheckKey, true));
        if (CheckBox1->Checked())
            updateCheckAtStart_ = std::make_unique<TUpdateCheckAtStart>(
                RemoteVersionUrl(true), VersionFile(), DownloadPageUrl(true), DataFolder, [](bool newer) {
                    try {
                        if (newer && ui::MessageDlg("Chcete načíst stránku ke stažení na internetu?",
                                                    ui::TMsgDlgType::mtConfirmation,
                                                    ui::mbYes | ui::mbNo) == ui::mrYes)
                            shell::ShellExecute("open", DownloadPageUrl(true), shell::SW_SHOWNORMAL);
                    } catch (...) {
                    }
                });
    } catch (...) {
    }

    // The installed version; without its file the label keeps its design text.
    try {
        std::ifstream file(VersionFile());
        std::string version;
        if (file && std::getline(file, version)) {
            if (!version.empty() && version.back() == '\r')
                version.pop_back();
            verze_label->SetCaption("Verze " + version);
        }
    } catch (...) {
    }

    PageControl1->SetActivePage(TabSheet1);
}

void TKonverze_Form::FormCloseQuery(core::TObject*, bool& CanClose)
{
    // The rows being typed in the register and among the users are saved
    // before the window goes; the register's by its own rules, a user row
    // posted, or dropped when nothing was typed into it.
    data::TADOQuery* users = DM->Uzivatel_ADOQuery;
    CanClose = SavedOrGivenUp(*DM->Konverze_ADOQuery, [this] { SaveRowBeingTyped(); }) &&
               SavedOrGivenUp(*users, [users] { users->CheckBrowseMode(); });
}

void TKonverze_Form::FormClose(core::TObject*, ui::TCloseAction&)
{
    // Written at every close, changed or not. A setting that cannot be
    // written is reported, and the program still closes.
    try {
        core::TIniFile settings(SettingsFile());
        settings.WriteBool(SettingsSection, StartupCheckKey, CheckBox1->Checked());
    } catch (...) {
        if (ui::Application != nullptr)
            ui::Application->HandleException(this);
    }
}

void TKonverze_Form::FormDestroy(core::TObject*)
{
    // A check still waiting for the server is given up; its question is not asked.
    updateCheckAtStart_.reset();
    ui::DragAcceptFiles(DBGrid1->Handle(), false);
}

bool TKonverze_Form::IsValidDate(const std::string& text)
{
    core::TDateTime value;
    return core::TryStrToDate(text, value);
}

void TKonverze_Form::SaveRowBeingTyped(bool quietWhileRefused)
{
    DM->RowBeingTyped().Save(quietWhileRefused);
}

void TKonverze_Form::SetRegisterLine(int line, const std::string& text, bool quietWhileRefused)
{
    SaveRowBeingTyped(quietWhileRefused);
    data::TADOQuery* query = DM->Konverze_ADOQuery;
    query->Close();
    const std::string previous = query->SQL()->Get(line);
    query->SQL()->Put(line, text);
    try {
        query->Open();
    } catch (...) {
        // The register is never left closed: it shows again what it showed
        // before, and the failure travels on to the user.
        query->SQL()->Put(line, previous);
        try {
            query->Open();
        } catch (...) {
        }
        throw;
    }
}

void TKonverze_Form::Hledani_EditChange(core::TObject*)
{
    const std::string text = Hledani_Edit->Text();
    std::string field;
    bool dateField = false;
    core::TDateTime date = 0;
    switch (RadioGroup1->ItemIndex()) {
    case 0: field = "oznaceni_vstupu"; break;
    case 1: field = "poradove_cislo"; break;
    case 2:
    case 3:
        // A date field only for a text that is a date (the user may still be typing it).
        if (IsValidDate(text)) {
            field = RadioGroup1->ItemIndex() == 2 ? "datum_sepsani_vstupu" : "datum_konverze";
            dateField = true;
            date = core::StrToDate(text);
        }
        break;
    case 4: field = "cislo_dokladu"; break;
    default: break;
    }
    // A search runs on every keystroke: a row refused before is not asked
    // about again at each one.
    if (text.empty() || field.empty()) {
        SetRegisterLine(1, "", true);
        return;
    }
    std::string filter;
    if (dateField) {
        // Any time of that day: from its midnight up to the next one. The
        // calendar's last day has no next one: everything from its midnight on.
        const std::string from = "(" + field + " >= #" + SqlDay(date) + "#)";
        const auto next = SqlNextDay(date);
        filter = next ? "WHERE (" + field + " < #" + *next + "#) and " + from : "WHERE " + from;
    } else {
        filter = "WHERE " + field + " like " + QuotedStr("%" + text + "%");
    }
    SetRegisterLine(1, filter, true);
}

void TKonverze_Form::Button1Click(core::TObject*)
{
    SetRegisterLine(1, "");
    Hledani_Edit->SetText("");
}

void TKonverze_Form::DBGrid1TitleClick(ui::TColumn* Column)
{
    static const char* const fields[] = {"poradove_cislo", "oznaceni_vstupu", "datum_konverze",
                                         "datum_sepsani_vstupu"};
    const int index = Column != nullptr ? Column->Index() : -1;
    const std::string field = index >= 0 && index < 4 ? fields[index] : "cislo_dokladu";
    // Saved before the direction turns: a refused post leaves both as they were.
    SaveRowBeingTyped();
    // One direction for every column: each click turns it round.
    SortDirection = SortDirection == " DESC" ? " ASC" : " DESC";
    SetRegisterLine(2, "ORDER BY " + field + SortDirection);
}

void TKonverze_Form::Button3Click(core::TObject*)
{
    data::TADOQuery* query = DM->Konverze_ADOQuery;
    if (query->State() != data::dsEdit)
        query->Edit();
    query->FieldByName("datum_konverze")->SetAsDateTime(core::Now());
}

void TKonverze_Form::Button2Click(core::TObject*)
{
    data::TADOQuery* query = DM->Konverze_ADOQuery;
    if (query->State() != data::dsEdit)
        query->Edit();
    query->FieldByName("datum_sepsani_vstupu")->SetAsDateTime(core::Now());
}

void TKonverze_Form::DBGrid2CellClick(ui::TColumn*)
{
    data::TADOQuery* query = DM->Konverze_ADOQuery;
    if (query->State() != data::dsEdit && query->State() != data::dsInsert) {
        if (ui::MessageDlg("Chcete změnit údaje o ověřující osobě k označené konverzi?", ui::TMsgDlgType::mtWarning,
                           ui::mbYes | ui::mbNo) == ui::mrYes) {
            query->Edit();
            query->FieldByName("vystavujici_osoba")->SetAsString(DM->SelectedUserValue("vystavujici"));
            query->Post();
        }
    }
    if (query->State() == data::dsInsert)
        query->FieldByName("vystavujici_osoba")->SetAsString(DM->SelectedUserValue("vystavujici"));
}

void TKonverze_Form::ApplicationEvents1Message(ui::TMsg& Msg, bool&)
{
    // The wheel moves through rows as the arrow keys do, wherever the main
    // form has the focus; other windows keep their wheel.
    if (Msg.message != ui::WM_MOUSEWHEEL || Msg.hwnd == nullptr || Widget() == nullptr ||
        Msg.hwnd->window() != Widget())
        return;
    Msg.message = ui::WM_KEYDOWN;
    Msg.wParam = ui::WheelDelta(Msg.wParam) > 0 ? ui::VK_UP : ui::VK_DOWN;
    Msg.lParam = 0;
}

void TKonverze_Form::SetupHackedNavigator(ui::TDBNavigator* navigator, ui::TImageList* images, bool glyphs)
{
    for (int i = 0; i < 10; ++i) {
        ui::TNavButton& button = navigator->Buttons(static_cast<ui::TNavigateBtn>(i));
        button.SetCaption(NavCaptions[static_cast<size_t>(i)]);
        button.SetGlyph(QPixmap());
        if (glyphs && images != nullptr && i < images->Count())
            button.SetGlyph(images->Bitmap(i));
        button.SetLayout(ui::TButtonLayout::blGlyphTop);
    }
}

void TKonverze_Form::Button5Click(core::TObject*)
{
    if (Export_Form != nullptr)
        Export_Form->Show();
}

} // namespace app
