// The main form's components and their places, as its designer would lay them out.
#include "app/BuildSettings.h"
#include "app/DataModule.h"
#include "app/KonverzeForm.h"
#include "app/NavigatorGlyphs.h"

#include <string>
#include <utility>
#include <vector>

namespace app {

template <class T>
T* TKonverze_Form::Make(ui::TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(this);
    control->SetName(name);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
}

ui::TLabel* TKonverze_Form::MakeLabel(ui::TWinControl* parent, const char* name, const char* caption, int left,
                                      int top)
{
    auto* label = new ui::TLabel(this);
    label->SetName(name);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetParent(parent);
    return label;
}

TKonverze_Form::TKonverze_Form(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("Konverze_Form");
    SetCaption("Konverze");
    SetClientWidth(739);
    SetClientHeight(538);
    // The pages' controls are placed for this size, none of them follows the
    // window: any smaller and they are cut off.
    SetConstraints({Width(), Height()});
    SetPosition(ui::TPosition::poScreenCenter);
    Font().SetName("Tahoma");
    Font().SetSize(8);

    ImageList = new ui::TImageList(this);
    ImageList->SetName("ImageList");
    LoadNavigatorGlyphs(*ImageList);

    PageControl1 = new ui::TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetAlign(ui::TAlign::alClient);
    PageControl1->SetParent(this);
    TabSheet1 = new ui::TTabSheet(this);
    TabSheet1->SetName("TabSheet1");
    TabSheet1->SetCaption("Evidence konverzí   ");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet2 = new ui::TTabSheet(this);
    TabSheet2->SetName("TabSheet2");
    TabSheet2->SetCaption("Údaje o uživatelích   ");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet3 = new ui::TTabSheet(this);
    TabSheet3->SetName("TabSheet3");
    TabSheet3->SetPageControl(PageControl1);

    BuildRegisterTab();
    BuildUsersTab();
    BuildAboutTab();
    TitleFields();

    ApplicationEvents1 = new ui::TApplicationEvents(this);
    ApplicationEvents1->SetName("ApplicationEvents1");
    OpenDialog2 = new ui::TOpenDialog(this);
    OpenDialog2->SetName("OpenDialog2");
    OpenDialog2->SetFilter("XML soubory|*.xml");

    BindHandlers();
}

void TKonverze_Form::BuildRegisterTab()
{
    ui::TWinControl* tab = TabSheet1;
    data::TDataSource* register_ = DM != nullptr ? DM->Konverze_DataSource : nullptr;
    data::TDataSource* users = DM != nullptr ? DM->Uzivatel_DataSource : nullptr;

    Konverze_DBNavigator = Make<ui::TDBNavigator>(tab, "Konverze_DBNavigator", 6, 6, 372, 48);
    Konverze_DBNavigator->SetDataSource(register_);
    Konverze_DBNavigator->SetVisibleButtons(ui::NavButton(ui::nbInsert) | ui::NavButton(ui::nbDelete) |
                                            ui::NavButton(ui::nbEdit) | ui::NavButton(ui::nbPost) |
                                            ui::NavButton(ui::nbCancel) | ui::NavButton(ui::nbRefresh));
    Konverze_DBNavigator->SetShowHint(true);

    Button5 = Make<ui::TButton>(tab, "Button5", 386, 6, 74, 48);
    Button5->SetCaption("EXPORT");
    Button10 = Make<ui::TButton>(tab, "Button10", 466, 6, 74, 48);
    Button10->SetCaption("IMPORT XML");
    Button10->SetWordWrap(true);

    RadioGroup1 = Make<ui::TRadioGroup>(tab, "RadioGroup1", 548, 0, 177, 112);
    RadioGroup1->SetCaption("kde hledat ");
    for (const char* item : {"označení vstupu", "pořadové č.", "datum sepsání", "datum konverze", "č. dokladu"})
        RadioGroup1->Items().Add(item);
    RadioGroup1->SetItemIndex(0);

    Label3 = MakeLabel(tab, "Label3", "Hledání", 6, 69);
    Hledani_Edit = Make<ui::TEdit>(tab, "Hledani_Edit", 56, 64, 396, 22);
    Button1 = Make<ui::TButton>(tab, "Button1", 458, 63, 82, 24);
    Button1->SetCaption("Vymazat");

    DBGrid1 = Make<ui::TDBGrid>(tab, "DBGrid1", 6, 118, 719, 178);
    DBGrid1->SetColor(ui::clWhite);
    DBGrid1->SetDataSource(register_);
    struct ColumnSpec {
        const char* field;
        const char* title;
        int width;
    };
    for (const ColumnSpec& spec : {ColumnSpec{"poradove_cislo", "Pořadové č.", 70},
                                   ColumnSpec{"oznaceni_vstupu", "Označení vstupu", 317},
                                   ColumnSpec{"datum_konverze", "Konverze", 83},
                                   ColumnSpec{"datum_sepsani_vstupu", "Sepsání vstupu", 93},
                                   ColumnSpec{"cislo_dokladu", "Číslo dokladu", 74}}) {
        ui::TColumn* column = DBGrid1->Columns().Add();
        column->SetFieldName(spec.field);
        column->SetTitleCaption(spec.title);
        column->SetWidth(spec.width);
    }

    // The row's own values.
    Label1 = MakeLabel(tab, "Label1", "Datum konverze", 6, 302);
    Datum_Konverze_DB = Make<TadpDBDateTimePicker>(tab, "Datum_Konverze_DB", 6, 318, 110, 22);
    Datum_Konverze_DB->SetDataSource(register_);
    Datum_Konverze_DB->SetDataField("datum_konverze");
    Button3 = Make<ui::TButton>(tab, "Button3", 120, 318, 34, 22);
    Button3->SetCaption("teď");

    Label2 = MakeLabel(tab, "Label2", "Pořadové číslo", 166, 302);
    Poradove_Cislo_DBEdit = Make<ui::TDBEdit>(tab, "Poradove_Cislo_DBEdit", 166, 318, 150, 22);
    Poradove_Cislo_DBEdit->SetDataSource(register_);
    Poradove_Cislo_DBEdit->SetDataField("poradove_cislo");

    Label4 = MakeLabel(tab, "Label4", "Datum sepsání vstupu", 328, 302);
    Datum_vstupu_DB = Make<TadpDBDateTimePicker>(tab, "Datum_vstupu_DB", 328, 318, 110, 22);
    Datum_vstupu_DB->SetDataSource(register_);
    Datum_vstupu_DB->SetDataField("datum_sepsani_vstupu");
    Button2 = Make<ui::TButton>(tab, "Button2", 442, 318, 34, 22);
    Button2->SetCaption("teď");

    Label6 = MakeLabel(tab, "Label6", "Číslo dokladu", 488, 302);
    Cislo_Dokladu_DBEdit = Make<ui::TDBEdit>(tab, "Cislo_Dokladu_DBEdit", 488, 318, 150, 22);
    Cislo_Dokladu_DBEdit->SetDataSource(register_);
    Cislo_Dokladu_DBEdit->SetDataField("cislo_dokladu");

    Label5 = MakeLabel(tab, "Label5", "Označení vstupu", 6, 350);
    int left = 120;
    for (auto [button, name, caption] : {std::tuple{&Button6, "Button6", "rozsudek"},
                                         std::tuple{&Button7, "Button7", "usnesení"},
                                         std::tuple{&Button8, "Button8", "OS"},
                                         std::tuple{&Button9, "Button9", "KS"},
                                         std::tuple{&Button4, "Button4", "smlouva"}}) {
        *button = Make<ui::TButton>(tab, name, left, 346, 66, 22);
        (*button)->SetCaption(caption);
        left += 70;
    }
    Oznaceni_vstupu_DBEdit = Make<ui::TDBEdit>(tab, "Oznaceni_vstupu_DBEdit", 6, 372, 632, 22);
    Oznaceni_vstupu_DBEdit->SetDataSource(register_);
    Oznaceni_vstupu_DBEdit->SetDataField("oznaceni_vstupu");

    Osvobozeni_DBCheckBox = Make<ui::TDBCheckBox>(tab, "Osvobozeni_DBCheckBox", 6, 400, 220, 19);
    Osvobozeni_DBCheckBox->SetCaption("Osvobození od poplatku");
    Osvobozeni_DBCheckBox->SetDataSource(register_);
    Osvobozeni_DBCheckBox->SetDataField("osvobozeni");
    Osvobozeni_DBCheckBox->SetValueChecked("True");
    Osvobozeni_DBCheckBox->SetValueUnchecked("False");

    Label7 = MakeLabel(tab, "Label7", "Ověřující osoba", 6, 424);
    DBGrid2 = Make<ui::TDBGrid>(tab, "DBGrid2", 6, 440, 300, 60);
    DBGrid2->SetOptions(ui::dgIndicator | ui::dgColLines | ui::dgRowLines | ui::dgRowSelect |
                        ui::dgAlwaysShowSelection);
    DBGrid2->SetReadOnly(true);
    DBGrid2->SetDataSource(users);
    for (const char* field : {"jmeno_prijmeni", "vystavujici"}) {
        ui::TColumn* column = DBGrid2->Columns().Add();
        column->SetFieldName(field);
        column->SetWidth(140);
    }

    Label8 = MakeLabel(tab, "Label8", "Osoba vystavující doložku", 328, 424);
    Vystavujici_DBEdit = Make<ui::TDBEdit>(tab, "Vystavujici_DBEdit", 328, 440, 310, 22);
    Vystavujici_DBEdit->SetDataSource(register_);
    Vystavujici_DBEdit->SetDataField("vystavujici_osoba");
}

void TKonverze_Form::BuildUsersTab()
{
    data::TDataSource* users = DM != nullptr ? DM->Uzivatel_DataSource : nullptr;

    GroupBox1 = Make<ui::TGroupBox>(TabSheet2, "GroupBox1", 6, 6, 420, 404);
    GroupBox1->SetCaption("Údaje o uživatelích");
    GroupBox1->SetColor(16443110);

    struct FieldSpec {
        ui::TLabel** label;
        const char* labelName;
        const char* caption;
        ui::TDBEdit** edit;
        const char* editName;
        const char* field;
    };
    const FieldSpec specs[] = {
        {&Label9, "Label9", "Jméno a příjmení ověřující osoby", &DBEdit1, "DBEdit1", "jmeno_prijmeni"},
        {&Label10, "Label10", "Ulice", &DBEdit2, "DBEdit2", "ulice"},
        {&Label11, "Label11", "PSČ", &DBEdit3, "DBEdit3", "psc"},
        {&Label12, "Label12", "Město", &DBEdit4, "DBEdit4", "mesto"},
        {&Label13, "Label13", "Evidenční číslo advokáta", &DBEdit5, "DBEdit5", "ID_advokata"},
        {&Label14, "Label14", "Jméno a příjmení vystavující osoby", &DBEdit6, "DBEdit6", "vystavujici"},
        {&Label15, "Label15", "Email", &DBEdit7, "DBEdit7", "email"},
    };
    int top = 26;
    for (const FieldSpec& spec : specs) {
        *spec.label = MakeLabel(GroupBox1, spec.labelName, spec.caption, 14, top);
        *spec.edit = Make<ui::TDBEdit>(GroupBox1, spec.editName, 14, top + 16, 390, 22);
        (*spec.edit)->SetDataSource(users);
        (*spec.edit)->SetDataField(spec.field);
        top += 53;
    }

    DBNavigator2 = Make<ui::TDBNavigator>(TabSheet2, "DBNavigator2", 6, 418, 330, 48);
    DBNavigator2->SetDataSource(users);
    DBNavigator2->SetVisibleButtons(ui::NavButton(ui::nbInsert) | ui::NavButton(ui::nbDelete) |
                                    ui::NavButton(ui::nbEdit) | ui::NavButton(ui::nbPost) |
                                    ui::NavButton(ui::nbCancel));
    DBNavigator2->SetShowHint(true);

    DBGrid3 = Make<ui::TDBGrid>(TabSheet2, "DBGrid3", 436, 12, 290, 454);
    DBGrid3->SetOptions(ui::dgIndicator | ui::dgColLines | ui::dgRowLines | ui::dgRowSelect |
                        ui::dgAlwaysShowSelection);
    DBGrid3->SetReadOnly(true);
    DBGrid3->SetDataSource(users);
    ui::TColumn* column = DBGrid3->Columns().Add();
    column->SetFieldName("jmeno_prijmeni");
    column->SetWidth(270);

    for (ui::TDBNavigator* navigator : {Konverze_DBNavigator, DBNavigator2})
        for (int i = 0; i < 10; ++i)
            navigator->Hints().Add(NavHints[static_cast<size_t>(i)]);
}

// Product information, the installed version, the update check, the data
// folder and a help text on the XML import.
void TKonverze_Form::BuildAboutTab()
{
    TabSheet3->SetCaption(AboutTabCaption);

    GroupBox3 = Make<ui::TGroupBox>(TabSheet3, "GroupBox3", 8, 8, 345, 214);
    GroupBox3->SetCaption("Informace o produktu :  ");
    Label23 = MakeLabel(GroupBox3, "Label23", AuthorLine, 16, 26);
    Label24 = MakeLabel(GroupBox3, "Label24", "e-mail : ", 16, 50);
    Label27 = MakeLabel(GroupBox3, "Label27", AuthorEmail, 66, 50);
    Label25 = MakeLabel(GroupBox3, "Label25", "web : ", 16, 70);
    Label26 = MakeLabel(GroupBox3, "Label26", MakerWebPage, 66, 70);
    for (ui::TLabel* link : {Label27, Label26}) {
        link->SetParentFont(false);
        link->Font().SetColor(ui::clBlue);
        link->SetCursor(ui::TCursor::crHandPoint);
    }
    verze_label = MakeLabel(GroupBox3, "verze_label", "Verze", 16, 100);
    Aktualizace_Button = Make<ui::TButton>(GroupBox3, "Aktualizace_Button", 16, 124, 170, 27);
    Aktualizace_Button->SetCaption("Kontrola aktualizací");
    CheckBox1 = Make<ui::TCheckBox>(GroupBox3, "CheckBox1", 16, 162, 310, 19);
    CheckBox1->SetCaption("Kontrolovat nové verze po startu");
    CheckBox1->SetChecked(true);

    Button11 = Make<ui::TButton>(TabSheet3, "Button11", 8, 232, 200, 30);
    Button11->SetCaption("Adresář datových souborů");

    Memo1 = Make<ui::TMemo>(TabSheet3, "Memo1", 364, 14, 360, 248);
    Memo1->SetReadOnly(true);
    for (const std::string& line : {std::string("Jak použít funkci \"IMPORT XML\""),
                                    std::string(32, '='),
                                    std::string("Konverze se provádějí v programu"),
                                    std::string(FormProgramName) + ".",
                                    std::string("Po vyplnění všech údajů v tomto programu"),
                                    std::string("uložte data do souboru XML na disk"),
                                    std::string("jeho tlačítkem pro uložení dat do souboru."),
                                    std::string("Potom zde stiskněte tlačítko \"IMPORT XML\","),
                                    std::string("vyhledejte uložený soubor a otevřete jej."),
                                    std::string("Program naimportuje data a pokud se jedná o konverzi"),
                                    std::string("z listinné podoby do elektronické,"),
                                    std::string("otevře se stránka úschovny"),
                                    std::string("s přednastavenými hodnotami."),
                                    std::string(),
                                    std::string()})
        Memo1->Lines().Add(line);
}

void TKonverze_Form::TitleFields()
{
    if (DM == nullptr)
        return;
    const auto title = [](data::TDataSource* source, const std::string& field, const std::string& caption) {
        data::TDataSet* set = source->DataSet();
        if (data::TField* f = set != nullptr ? set->FindField(field) : nullptr)
            f->SetDisplayLabel(caption);
    };
    data::TDataSource* register_ = DM->Konverze_DataSource;
    for (auto [field, label] : {std::pair{"poradove_cislo", Label2}, std::pair{"datum_konverze", Label1},
                                std::pair{"oznaceni_vstupu", Label5}, std::pair{"datum_sepsani_vstupu", Label4},
                                std::pair{"cislo_dokladu", Label6}, std::pair{"overujici_osoba", Label7},
                                std::pair{"vystavujici_osoba", Label8}})
        title(register_, field, label->Caption());
    title(register_, "osvobozeni", Osvobozeni_DBCheckBox->Caption());
    // The users' fields are made anew at each opening of their query: the
    // titles go to each new set (taken now, so the form may go first).
    std::vector<std::pair<std::string, std::string>> users;
    for (auto [edit, label] : {std::pair{DBEdit1, Label9}, std::pair{DBEdit2, Label10}, std::pair{DBEdit3, Label11},
                               std::pair{DBEdit4, Label12}, std::pair{DBEdit5, Label13}, std::pair{DBEdit6, Label14},
                               std::pair{DBEdit7, Label15}})
        users.emplace_back(edit->DataField(), label->Caption());
    data::TDataSource* source = DM->Uzivatel_DataSource;
    const auto titleUsers = [source, title, users](data::TDataSet*) {
        for (const auto& [field, caption] : users)
            title(source, field, caption);
    };
    DM->Uzivatel_ADOQuery->AfterOpen = titleUsers;
    titleUsers(DM->Uzivatel_ADOQuery);
}

void TKonverze_Form::BindHandlers()
{
    OnCreate = [this](core::TObject* sender) { FormCreate(sender); };
    Hledani_Edit->OnChange = [this](core::TObject* sender) { Hledani_EditChange(sender); };
    RadioGroup1->OnClick = [this](core::TObject* sender) { Hledani_EditChange(sender); };
    Button1->OnClick = [this](core::TObject* sender) { Button1Click(sender); };
    DBGrid1->OnTitleClick = [this](ui::TColumn* column) { DBGrid1TitleClick(column); };
    Button3->OnClick = [this](core::TObject* sender) { Button3Click(sender); };
    Button2->OnClick = [this](core::TObject* sender) { Button2Click(sender); };
    DBGrid2->OnCellClick = [this](ui::TColumn* column) { DBGrid2CellClick(column); };
    ApplicationEvents1->OnMessage = [this](ui::TMsg& msg, bool& handled) { ApplicationEvents1Message(msg, handled); };
    for (ui::TButton* button : {Button6, Button7, Button8, Button9, Button4})
        button->OnClick = [this](core::TObject* sender) { Button6Click(sender); };
    Button5->OnClick = [this](core::TObject* sender) { Button5Click(sender); };
    OnCloseQuery = [this](core::TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnClose = [this](core::TObject* sender, ui::TCloseAction& action) { FormClose(sender, action); };
    Aktualizace_Button->OnClick = [this](core::TObject* sender) { Aktualizace_ButtonClick(sender); };
    Label26->OnClick = [this](core::TObject* sender) { Label26Click(sender); };
    Label27->OnClick = [this](core::TObject* sender) { Label27Click(sender); };
    Button11->OnClick = [this](core::TObject* sender) { Button11Click(sender); };
    Button10->OnClick = [this](core::TObject* sender) { Button10Click(sender); };
    OnDestroy = [this](core::TObject* sender) { FormDestroy(sender); };
}

} // namespace app
