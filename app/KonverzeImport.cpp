// The main form's import of one conversion from the outside form program's
// data file, by the "IMPORT XML" button or by files dropped on the register
// grid, and the filling of the depository's download page.

#include "app/DataModule.h"
#include "app/Depository.h"
#include "app/FileCatcher.h"
#include "app/KonverzeForm.h"
#include "app/ViewerForm.h"
#include "app/XmlImport.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Dialogs.h"
#include "xml/XmlDocument.h"

#include <memory>

namespace app {

namespace {

const char* const DepositoryCaption = "Získání souboru z úschovny";

// True from the start of an import to its end, the wait for the page included.
bool importRunning = false;

// A second import while one runs is refused: it would run inside the first.
bool RefusedWhileImporting()
{
    if (!importRunning)
        return false;
    ui::Application->MessageBox("Předchozí načítání souboru XML ještě neskončilo. Další soubor lze načíst, až skončí.",
                                "Import XML", ui::MB_OK | ui::MB_ICONWARNING);
    return true;
}

// What the user needs to fill the page by hand.
std::string ValuesForHand(const TConversionData& data)
{
    return "Pořadové číslo: " + data.SerialNumber + ", identifikátor v úschovně: " + data.DepositoryId + ".";
}

void OpenDepositoryPage(const TConversionData& data)
{
    if (Prohlizec_Form == nullptr)
        return;
    Prohlizec_Form->Show();
    const TPageWaitResult result = Prohlizec_Form->NavigateAndWait(DepositoryPageUrl());
    const int seconds = (Prohlizec_Form->PageTimeoutMs() + 999) / 1000;
    switch (result) {
    case TPageWaitResult::Closed:
        return;
    case TPageWaitResult::TimedOut:
        ui::Application->MessageBox("Stránka úschovny se nenačetla ani za " + std::to_string(seconds) +
                                        " s. Pole formuláře nebyla vyplněna. " + ValuesForHand(data),
                                    DepositoryCaption, ui::MB_OK | ui::MB_ICONWARNING);
        return;
    case TPageWaitResult::Failed:
        ui::Application->MessageBox("Stránku úschovny se nepodařilo načíst. Pole formuláře nebyla vyplněna. " +
                                        ValuesForHand(data),
                                    DepositoryCaption, ui::MB_OK | ui::MB_ICONWARNING);
        return;
    case TPageWaitResult::Complete:
        break;
    }
    const std::shared_ptr<web::THTMLDocument> document = Prohlizec_Form->HostedBrowser1->Document();
    if (document == nullptr || !Prohlizec_Form->GetDocumentForm(*document, 0)) {
        ui::Application->MessageBox("Na stránce úschovny není formulář pro zadání údajů. Pole nebyla vyplněna. " +
                                        ValuesForHand(data),
                                    DepositoryCaption, ui::MB_OK | ui::MB_ICONWARNING);
        return;
    }
    Prohlizec_Form->SetFormFieldValue(*document, 0, "konverze", data.SerialNumber);
    Prohlizec_Form->SetFormFieldValue(*document, 0, "pruvodka", data.DepositoryId);

    // A field may not take its value (a select without such an option, a disabled or
    // read-only field): the user is told what to fill by hand.
    const bool serialHeld = Prohlizec_Form->FormFieldHolds(*document, 0, "konverze", data.SerialNumber);
    const bool idHeld = Prohlizec_Form->FormFieldHolds(*document, 0, "pruvodka", data.DepositoryId);
    if (serialHeld && idHeld)
        return;
    const std::string byHand = !serialHeld && !idHeld ? ValuesForHand(data)
        : !serialHeld                                  ? "Pořadové číslo: " + data.SerialNumber + "."
                                                       : "Identifikátor v úschovně: " + data.DepositoryId + ".";
    ui::Application->MessageBox("Formulář na stránce úschovny nepřijal všechny údaje. Vyplňte je ručně. " + byHand,
                                DepositoryCaption, ui::MB_OK | ui::MB_ICONWARNING);
}

} // namespace

void TKonverze_Form::Button10Click(core::TObject*)
{
    if (RefusedWhileImporting())
        return;
    if (XmlFileName.empty() && OpenDialog2->Execute())
        XmlFileName = OpenDialog2->FileName();
    if (XmlFileName.empty())
        return;

    importRunning = true;
    // Whatever happens from here on, the document goes and nothing stays pending.
    std::unique_ptr<xml::TXmlDocument> document;
    struct Done {
        ~Done()
        {
            importRunning = false;
            XmlFileName.clear();
        }
    } done;
    document = std::make_unique<xml::TXmlDocument>(this);
    document->LoadFromFile(XmlFileName);

    TConversionData data;
    try {
        data = ReadConversionData(*document);
    } catch (const EMissingElement& missing) {
        ui::Application->MessageBox(MissingElementMessage(XmlFileName, missing.Element()), "Chyba.",
                                    ui::MB_OK | ui::MB_ICONERROR);
        return;
    }

    data::TADOQuery* query = DM->Konverze_ADOQuery;
    query->Insert();
    query->FieldByName("poradove_cislo")->SetAsString(data.SerialNumber);
    query->FieldByName("oznaceni_vstupu")->SetAsString(data.Designation);
    data::TField* drawnUp = query->FieldByName("datum_sepsani_vstupu");
    drawnUp->SetAsDateTime(ImportDate(data.DateText, drawnUp->DisplayLabel()));
    query->Post();

    ui::Application->MessageBox("Proces načítání dat byl dokončen.", "Dokončeno. ", ui::MB_OK | ui::MB_ICONINFORMATION);
    if (data.DepositoryId.empty())
        return;
    if (ui::Application->MessageBox("Přejete si načíst úschovnu?", DepositoryCaption,
                                    ui::MB_YESNO | ui::MB_ICONINFORMATION) == ui::IDYES)
        OpenDepositoryPage(data);
}

void TKonverze_Form::GridWindowProc(ui::TMessage& Msg)
{
    if (Msg.Msg == ui::WM_DROPFILES)
        WMDropFiles(Msg);
    else if (OldGridWindowProc)
        OldGridWindowProc(Msg);
}

void TKonverze_Form::WMDropFiles(ui::TMessage& Msg)
{
    // The handle is held while the file is imported and given back after, whatever happens.
    TFileCatcher catcher(reinterpret_cast<ui::HDROP>(Msg.WParam));
    Msg.Result = 0;
    if (RefusedWhileImporting())
        return;
    // One drop imports one file: the last one.
    for (int i = 0; i < catcher.GetFileCount(); ++i)
        XmlFileName = catcher.GetFile(i);
    Button10Click(Button10);
}

} // namespace app
