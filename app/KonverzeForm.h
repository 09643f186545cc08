#pragma once
// The main form: the register of conversions and the users.

#include "app/DBDateTimePicker.h"
#include "app/UpdateCheckAtStart.h"
#include "platform/ui/controls/ComCtrls.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/controls/ImgList.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/data/DBCtrls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DBNavigator.h"
#include "platform/ui/dialogs/FileDialogs.h"
#include "platform/ui/kernel/AppEvents.h"
#include "platform/ui/kernel/Forms.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace app {

// The order suffix of the register's sort, " DESC" or " ASC".
extern std::string SortDirection;
// The data file to import next; empty when none is pending.
extern std::string XmlFileName;

// The navigators' captions, in button order.
extern const std::array<const char*, 10> NavCaptions;
// The navigators' hints, in button order.
extern const std::array<const char*, 10> NavHints;

class TKonverze_Form : public ui::TForm {
public:
    explicit TKonverze_Form(core::TComponent* owner);
    std::string ClassName() const override { return "TKonverze_Form"; }

    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1;
    ui::TTabSheet* TabSheet2;
    ui::TTabSheet* TabSheet3;

    // The register tab.
    ui::TDBNavigator* Konverze_DBNavigator;
    ui::TButton* Button5;
    ui::TButton* Button10;
    ui::TRadioGroup* RadioGroup1;
    ui::TLabel* Label3;
    ui::TEdit* Hledani_Edit;
    ui::TButton* Button1;
    ui::TDBGrid* DBGrid1;
    ui::TLabel* Label1;
    TadpDBDateTimePicker* Datum_Konverze_DB;
    ui::TButton* Button3;
    ui::TLabel* Label2;
    ui::TDBEdit* Poradove_Cislo_DBEdit;
    ui::TLabel* Label4;
    TadpDBDateTimePicker* Datum_vstupu_DB;
    ui::TButton* Button2;
    ui::TLabel* Label6;
    ui::TDBEdit* Cislo_Dokladu_DBEdit;
    ui::TLabel* Label5;
    ui::TButton* Button6;
    ui::TButton* Button7;
    ui::TButton* Button8;
    ui::TButton* Button9;
    ui::TButton* Button4;
    ui::TDBEdit* Oznaceni_vstupu_DBEdit;
    ui::TDBCheckBox* Osvobozeni_DBCheckBox;
    ui::TLabel* Label7;
    ui::TDBGrid* DBGrid2;
    ui::TLabel* Label8;
    ui::TDBEdit* Vystavujici_DBEdit;

    // The users tab.
    ui::TGroupBox* GroupBox1;
    ui::TLabel* Label9;
    ui::TDBEdit* DBEdit1;
    ui::TLabel* Label10;
    ui::TDBEdit* DBEdit2;
    ui::TLabel* Label11;
    ui::TDBEdit* DBEdit3;
    ui::TLabel* Label12;
    ui::TDBEdit* DBEdit4;
    ui::TLabel* Label13;
    ui::TDBEdit* DBEdit5;
    ui::TLabel* Label14;
    ui::TDBEdit* DBEdit6;
    ui::TLabel* Label15;
    ui::TDBEdit* DBEdit7;
    ui::TDBNavigator* DBNavigator2;
    ui::TDBGrid* DBGrid3;

    // The about tab.
    ui::TGroupBox* GroupBox3;
    ui::TLabel* Label23;
    ui::TLabel* Label24;
    ui::TLabel* Label27;
    ui::TLabel* Label25;
    ui::TLabel* Label26;
    ui::TLabel* verze_label;
    ui::TButton* Aktualizace_Button;
    ui::TCheckBox* CheckBox1;
    ui::TMemo* Memo1;
    ui::TButton* Button11;

    ui::TImageList* ImageList;
    ui::TApplicationEvents* ApplicationEvents1;
    ui::TOpenDialog* OpenDialog2;

    // Handlers.
    void FormCreate(core::TObject* Sender);
    // A row being typed is saved before the window closes; one that cannot
    // be saved is given up only when the user says so.
    void FormCloseQuery(core::TObject* Sender, bool& CanClose);
    void FormClose(core::TObject* Sender, ui::TCloseAction& Action);
    void FormDestroy(core::TObject* Sender);
    void Hledani_EditChange(core::TObject* Sender);
    void Button1Click(core::TObject* Sender);
    void DBGrid1TitleClick(ui::TColumn* Column);
    void Button3Click(core::TObject* Sender);
    void Button2Click(core::TObject* Sender);
    void DBGrid2CellClick(ui::TColumn* Column);
    void ApplicationEvents1Message(ui::TMsg& Msg, bool& Handled);
    void Button6Click(core::TObject* Sender);
    void Button5Click(core::TObject* Sender);
    void Aktualizace_ButtonClick(core::TObject* Sender);
    void Label26Click(core::TObject* Sender);
    void Label27Click(core::TObject* Sender);
    void Button11Click(core::TObject* Sender);
    // The import of one conversion from the outside form program's data file.
    void Button10Click(core::TObject* Sender);
    // The register grid's window procedure: dropped files go to WMDropFiles.
    void GridWindowProc(ui::TMessage& Msg);
    void WMDropFiles(ui::TMessage& Msg);

    // The grid's window procedure before GridWindowProc took its place.
    ui::TWndMethod OldGridWindowProc;

    // Gives a navigator its captions and, when glyphs is set, the pictures of images.
    void SetupHackedNavigator(ui::TDBNavigator* navigator, ui::TImageList* images, bool glyphs);
    // True when the text is a date under the current format settings.
    static bool IsValidDate(const std::string& text);
    // True while the update check at start waits for its answer.
    bool UpdateCheckAtStartRunning() const { return updateCheckAtStart_ && updateCheckAtStart_->Running(); }

private:
    void BuildRegisterTab();
    void BuildUsersTab();
    void BuildAboutTab();
    // A refusal of the database names a field by the title it has on this
    // form ("Označení vstupu"): each bound field takes its label's caption.
    void TitleFields();
    void BindHandlers();
    // Closing the register would throw away a row being typed: it is saved
    // first (TRowBeingTyped), or dropped when it holds nothing of the user's.
    // A row the post rules refuse stays in its editing state, and the post's
    // failure travels on; with quietWhileRefused, only when it was not
    // refused before as it is.
    void SaveRowBeingTyped(bool quietWhileRefused = false);
    // Saves rows being typed (save), or, when they cannot be saved, asks
    // whether to give them up; false keeps them and the window.
    bool SavedOrGivenUp(data::TDataSet& rows, const std::function<void()>& save);
    // Sets the register query's line (1 the filter, 2 the order), closing and
    // reopening it, once the row being typed is saved. A line the register
    // cannot open with is taken back, the register opened again as it was,
    // and the failure travels on.
    void SetRegisterLine(int line, const std::string& text, bool quietWhileRefused = false);
    // Makes a control owned by the form, named and placed in parent.
    template <class T>
    T* Make(ui::TWinControl* parent, const char* name, int left, int top, int width, int height);
    ui::TLabel* MakeLabel(ui::TWinControl* parent, const char* name, const char* caption, int left, int top);

    std::unique_ptr<TUpdateCheckAtStart> updateCheckAtStart_;
};

extern TKonverze_Form* Konverze_Form;

} // namespace app
