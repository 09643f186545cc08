// The designation templates: five buttons that append a court decision's or a
// contract's title to the designation of the input.
#include "app/DataModule.h"
#include "app/KonverzeForm.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/kernel/Dialogs.h"

namespace app {

void TKonverze_Form::Button6Click(core::TObject* Sender)
{
    data::TADOQuery* query = DM->Konverze_ADOQuery;
    if (query->State() != data::dsEdit)
        query->Edit();

    auto inputDate = [this] { return core::DateToStr(Datum_vstupu_DB->Date()); };
    std::string text;
    if (Sender == Button6) {
        text = "Rozsudek ";
    } else if (Sender == Button7) {
        text = "Usnesení ";
    } else if (Sender == Button8) {
        std::string court = ui::InputBox("Okresní soud v ...", "Doplňte: \"Okresního soudu ...\"", "v Benešově");
        std::string caseNumber = ui::InputBox("Číslo jednací", "Zadejte číslo jednací: ", "");
        text = "Okresního soudu " + court + " čj. " + caseNumber + " ze dne " + inputDate();
    } else if (Sender == Button9) {
        std::string court = ui::InputBox("Krajský soud v ...", "Doplňte: \"Krajského soudu ...\"", "v Brně");
        std::string caseNumber = ui::InputBox("Číslo jednací", "Zadejte číslo jednací: ", "");
        text = "Krajského soudu " + court + " čj. " + caseNumber + " ze dne " + inputDate();
    } else if (Sender == Button4) {
        std::string kind = ui::InputBox("Jaká smlouva", "Zadejte o jakou smlouvu se jedná:",
                                        "Kupní smlouva o prodeji ... KS 01 ");
        std::string parties = ui::InputBox("Účatníci smlouvy ", "Doplňte: \"Uzavřená mezi \"", "");
        text = kind + " ze dne " + inputDate();
        if (!parties.empty())
            text += " uzavřená mezi " + parties;
    }
    // The templates append; they never replace what is there.
    data::TField* designation = query->FieldByName("oznaceni_vstupu");
    designation->SetAsString(designation->AsString() + text);
}

} // namespace app
