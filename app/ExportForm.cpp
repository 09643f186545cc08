#include "app/ExportForm.h"

#include "app/DataModule.h"
#include "app/ExportCopies.h"
#include "app/ExportCsv.h"
#include "app/ExportPeriod.h"
#include "app/ExportRows.h"
#include "app/ExportWorkbook.h"
#include "app/Folders.h"
#include "app/MapiMail.h"
#include "app/RegisterLoan.h"
#include "platform/core/Files.h"
#include "platform/data/Field.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/IniFile.h"
#include "platform/office/ExcelApplication.h"
#include "platform/shell/Shell.h"
#include "platform/ui/kernel/Dialogs.h"

#include <exception>
#include <memory>
#include <optional>
#include <utility>

#ifndef KONVERZE_CAK_EMAIL
#error "KONVERZE_CAK_EMAIL (the default recipient of mailed exports) comes from the build settings"
#endif

namespace app {

TExport_Form* Export_Form = nullptr;
const char* const DefaultRecipient = KONVERZE_CAK_EMAIL;

namespace {

std::string SettingsFile() { return DataFolder + "nastaveni.ini"; }

} // namespace

template <class T>
T* TExport_Form::Make(ui::TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(this);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

TExport_Form::TExport_Form(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("Export_Form");
    SetCaption("Export evidence do Excelu");
    SetClientWidth(463);
    SetClientHeight(299);
    SetPosition(ui::TPosition::poMainFormCenter);
    Font().SetName("Tahoma");
    Font().SetSize(8);

    Label1 = Make<ui::TLabel>(this, "Label1", 16, 12, 300, 13);
    Label1->SetCaption("Zadejte období, za které chcete vyexportovat evidenci:");
    Label2 = Make<ui::TLabel>(this, "Label2", 16, 40, 16, 13);
    Label2->SetCaption("Od");
    Od_DTP = Make<ui::TDateTimePicker>(this, "Od_DTP", 40, 36, 105, 21);
    Label3 = Make<ui::TLabel>(this, "Label3", 160, 40, 16, 13);
    Label3->SetCaption("Do");
    Do_DTP = Make<ui::TDateTimePicker>(this, "Do_DTP", 184, 36, 105, 21);
    Button1 = Make<ui::TButton>(this, "Button1", 304, 34, 137, 25);
    Button1->SetCaption("Do konce měsíce");
    CheckBox3 = Make<ui::TCheckBox>(this, "CheckBox3", 16, 70, 425, 17);
    CheckBox3->SetCaption("Exportovat také informace o správním poplatku");

    Button2 = Make<ui::TButton>(this, "Button2", 16, 100, 129, 33);
    Button2->SetCaption("Export Excel");
    CheckBox1 = Make<ui::TCheckBox>(this, "CheckBox1", 160, 108, 281, 17);
    CheckBox1->SetCaption("Uložit do souboru");
    Panel1 = Make<ui::TPanel>(this, "Panel1", 16, 140, 431, 37);
    Panel1->SetBevelOuter(ui::TBevelCut::bvNone);
    Panel1->SetVisible(false);
    Edit1 = Make<ui::TEdit>(Panel1, "Edit1", 0, 8, 385, 21);
    Button3 = Make<ui::TButton>(Panel1, "Button3", 393, 6, 33, 25);
    Button3->SetCaption("...");

    Button5 = Make<ui::TButton>(this, "Button5", 16, 188, 129, 33);
    Button5->SetCaption("EXPORT CSV");
    CheckBox2 = Make<ui::TCheckBox>(this, "CheckBox2", 16, 236, 425, 17);
    CheckBox2->SetCaption("Odeslat emailem výchozím poštovním klientem");
    CheckBox2->SetChecked(true);
    Edit2 = Make<ui::TEdit>(this, "Edit2", 16, 262, 337, 21);
    Button4 = Make<ui::TButton>(this, "Button4", 361, 260, 80, 25);
    Button4->SetCaption("Uložit");

    SaveDialog1 = new ui::TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetDefaultExt("xls");
    SaveDialog1->SetFilter("Excel 2003 nebo vyšší|*.xls|Soubor CSV - lze otevřít v EXCEL, OPEN OFFICE|*.csv");

    OnCreate = [this](core::TObject* sender) { FormCreate(sender); };
    OnShow = [this](core::TObject* sender) { FormShow(sender); };
    Button1->OnClick = [this](core::TObject* sender) { Button1Click(sender); };
    CheckBox1->OnClick = [this](core::TObject* sender) { CheckBox1Click(sender); };
    Button3->OnClick = [this](core::TObject* sender) { Button3Click(sender); };
    Button2->OnClick = [this](core::TObject* sender) { Button2Click(sender); };
    Button5->OnClick = [this](core::TObject* sender) { Button5Click(sender); };
    Button4->OnClick = [this](core::TObject* sender) { Button4Click(sender); };
    // Any change to the default target makes it the user's own.
    Edit1->OnChange = [this](core::TObject*) {
        if (Edit1->Text() != defaultTarget_)
            defaultTarget_.clear();
    };
}

void TExport_Form::FormCreate(core::TObject*)
{
    const core::TIniFile settings(SettingsFile());
    Edit2->SetText(settings.ReadString(RecipientSection, RecipientKey, DefaultRecipient));
    // The copies earlier runs handed to the mail client and the spreadsheet
    // program, once those have had a day to read them.
    RemoveStaleExportCopies();
}

void TExport_Form::Button4Click(core::TObject*)
{
    core::TIniFile settings(SettingsFile());
    settings.WriteString(RecipientSection, RecipientKey, Edit2->Text());
}

void TExport_Form::FormShow(core::TObject*)
{
    int year = 0, month = 0, day = 0;
    core::DecodeDate(core::Date(), year, month, day);
    Od_DTP->SetDateTime(core::EncodeDate(year, month, 1));
    Do_DTP->SetDateTime(core::Now());
}

void TExport_Form::Button1Click(core::TObject*)
{
    Do_DTP->SetDateTime(EndOfMonth(Od_DTP->DateTime()));
}

void TExport_Form::CheckBox1Click(core::TObject*)
{
    Panel1->SetVisible(!Panel1->Visible());
}

void TExport_Form::Button3Click(core::TObject*)
{
    // The dialog opens at the file the target names, else where the
    // default target would go.
    const std::string target = Edit1->Text();
    const std::string folder = core::ExtractFilePath(target);
    SaveDialog1->SetInitialDir(!folder.empty() && core::DirectoryExists(folder) ? folder : core::TempFolder());
    SaveDialog1->SetFileName(core::ExtractFileName(target));
    if (SaveDialog1->Execute()) {
        Edit1->SetText(SaveDialog1->FileName());
        defaultTarget_.clear(); // chosen, even where it is the default's name
    }
}

TExport_Form::TPeriod TExport_Form::Period() const
{
    // A picker whose typed date was refused still holds its former date:
    // exporting that period would export one the user did not ask for.
    for (const auto& [picker, label] : {std::pair{Od_DTP, Label2}, std::pair{Do_DTP, Label3}})
        if (picker->Refused())
            throw core::Exception(data::NotADateMessage(picker->RefusedText(), label->Caption()));
    return {Od_DTP->DateTime(), Do_DTP->DateTime()};
}

std::string TExport_Form::TargetFor(const TPeriod& period, const std::string& extension)
{
    // The default filled in for an earlier export follows the period.
    const bool filledIn = !defaultTarget_.empty() && Edit1->Text() == defaultTarget_;
    const std::optional<std::string> given = filledIn ? std::nullopt : ExportTarget(Edit1->Text(), extension);
    const std::string target =
        given ? *given : core::TempFolder() + ExportFileName(period.Start, period.End, ".", extension);
    Edit1->SetText(target);
    defaultTarget_ = given ? std::string() : target;
    return target;
}

bool TExport_Form::MailExport(const TPeriod& period, const std::string& file) const
{
    const TExportHeading heading = TExportHeading::OfSelectedUser();
    const std::string sender = DM != nullptr ? DM->SelectedUserValue("email") : std::string();
    const std::string start = core::FormatDateTime("dd.mm.yyyy", period.Start);
    const std::string end = core::FormatDateTime("dd.mm.yyyy", period.End);
    return SendMapiMail({Edit2->Text()}, sender, ExportMailSubject(heading.Registration, start, end),
                        ExportMailBody(heading.Name, heading.Registration, start, end), {file}, true);
}

void TExport_Form::Button2Click(core::TObject*)
{
    RemoveStaleExportCopies();
    const TPeriod period = Period();
    TRegisterLoan loan(*DM->Konverze_ADOQuery);
    loan.Lend(ExportSql(period.Start, period.End));
    const std::string target = TargetFor(period, ".xls");
    const bool fee = CheckBox3->Checked();

    // The user's answer when a save would replace an existing file.
    bool declined = false;
    std::unique_ptr<office::TExcelApplication> Excel;
    std::exception_ptr failure;
    try {
        Excel = office::CreateOleObject("Excel.Application");
        Excel->SetVisible(true);
        // Asked once: the save's second attempt takes the same answer.
        Excel->OnAlert = [&declined](const std::string& question) {
            if (!declined)
                declined =
                    ui::MessageDlg(question, ui::TMsgDlgType::mtConfirmation, ui::mbYes | ui::mbNo) != ui::mrYes;
            return !declined;
        };
        TExportRows rows(loan.Query());
        FillExportWorkbook(*Excel, rows, TExportHeading::OfSelectedUser(), fee);
    } catch (...) {
        failure = std::current_exception();
    }

    // An export that failed on the way is neither saved nor mailed: the
    // workbook would lack rows. The user sees it in the spreadsheet program
    // and the failure below.
    if (!failure && CheckBox1->Checked()) {
        try {
            SaveExportWorkbook(Excel->Workbooks(1), target);
        } catch (const std::exception&) {
            // A replacement the user declined is no error to report.
            if (!declined)
                ui::ShowMessage("Při ukládání došlo k chybě.");
        }
    }
    if (!failure && CheckBox2->Checked()) {
        try {
            const std::string copy = MailedCopyFile(period.Start, period.End, ".xls");
            Excel->SetDisplayAlerts(false);
            SaveExportWorkbook(Excel->Workbooks(1), copy);
            Excel->SetDisplayAlerts(true);
            if (!MailExport(period, copy))
                ui::ShowMessage("Chyba při odesílání");
        } catch (const std::exception&) {
            ui::ShowMessage("Při ukládání došlo k chybě.");
        }
    }
    if (Excel) {
        // The workbook stays open for the user in the spreadsheet program.
        Excel->SetDisplayAlerts(false);
        Excel->SetVisible(true);
        Excel.reset();
    }
    if (failure)
        std::rethrow_exception(failure); // the loan gives the register back on the way
    loan.GiveBack();
}

void TExport_Form::Button5Click(core::TObject*)
{
    RemoveStaleExportCopies();
    // A text export is always saved to a file.
    CheckBox1->SetChecked(true);
    const TPeriod period = Period();
    TRegisterLoan loan(*DM->Konverze_ADOQuery);
    loan.Lend(ExportSql(period.Start, period.End));
    const std::string target = TargetFor(period, ".csv");
    const bool fee = CheckBox3->Checked();

    core::TStringList lines;
    TExportRows rows(loan.Query());
    BuildCsvLines(rows, TExportHeading::OfSelectedUser(), fee, lines);
    const std::string bytes = CsvFileBytes(lines);

    // Written whole through a new file, so a failed save leaves the old one.
    try {
        core::WriteFileReplacing(target, bytes);
    } catch (const std::exception&) {
        ui::ShowMessage("Při ukládání souboru do místa \"" + target + "\" došlo k chybě.");
    }
    if (CheckBox2->Checked()) {
        try {
            const std::string copy = MailedCopyFile(period.Start, period.End, ".csv");
            bool saved = true;
            try {
                core::WriteFileReplacing(copy, bytes);
            } catch (const core::Exception&) {
                saved = false;
                // Worded as the program always had it, without a blank after the name.
                ui::ShowMessage("Při ukládání souboru do místa " + copy + "došlo k chybě.");
            }
            // A copy that was not written is not mailed: an older file of
            // that name would go out in its place.
            if (saved) {
                if (!MailExport(period, copy))
                    ui::ShowMessage("Chyba při odesílání");
                shell::ShellExecute("open", copy);
            }
        } catch (const std::exception&) {
            ui::ShowMessage("Při ukládání a odesílání došlo k chybě.");
        }
    }
    loan.GiveBack();
}

} // namespace app
