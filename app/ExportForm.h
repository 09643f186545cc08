#pragma once
// The export form: the register rows of a period, with a heading naming the
// selected user, written into a new workbook or a semicolon-separated file,
// saved where the user chose and mailed to the bar association.

#include "platform/core/DateTime.h"
#include "platform/ui/controls/DateTimePicker.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/dialogs/FileDialogs.h"
#include "platform/ui/kernel/Forms.h"

#include <string>

namespace app {

// The recipient of mailed exports while the settings file names none: the
// bar association's electronic filing address, set when the program is built.
extern const char* const DefaultRecipient;
// The settings file's section and key of the recipient.
inline constexpr const char* RecipientSection = "CAK";
inline constexpr const char* RecipientKey = "email";

class TExport_Form : public ui::TForm {
public:
    explicit TExport_Form(core::TComponent* owner);
    std::string ClassName() const override { return "TExport_Form"; }

    ui::TLabel* Label1;
    ui::TLabel* Label2;
    ui::TDateTimePicker* Od_DTP;
    ui::TLabel* Label3;
    ui::TDateTimePicker* Do_DTP;
    ui::TButton* Button1;
    ui::TCheckBox* CheckBox3;
    ui::TButton* Button2;
    ui::TCheckBox* CheckBox1;
    ui::TPanel* Panel1;
    ui::TEdit* Edit1;
    ui::TButton* Button3;
    ui::TButton* Button5;
    ui::TCheckBox* CheckBox2;
    ui::TEdit* Edit2;
    ui::TButton* Button4;
    ui::TSaveDialog* SaveDialog1;

    // Handlers.
    void FormCreate(core::TObject* Sender);
    void FormShow(core::TObject* Sender);
    void Button1Click(core::TObject* Sender);
    void CheckBox1Click(core::TObject* Sender);
    void Button3Click(core::TObject* Sender);
    void Button2Click(core::TObject* Sender);
    void Button5Click(core::TObject* Sender);
    void Button4Click(core::TObject* Sender);

private:
    // The period as the two pickers show it.
    struct TPeriod {
        core::TDateTime Start;
        core::TDateTime End;
    };
    TPeriod Period() const;
    // The file the export is saved to; a replacement is shown in Edit1.
    std::string TargetFor(const TPeriod& period, const std::string& extension);
    // Mails the export's copy to the recipient in Edit2; true when handed over.
    bool MailExport(const TPeriod& period, const std::string& file) const;
    template <class T>
    T* Make(ui::TWinControl* parent, const char* name, int left, int top, int width, int height);

    // The default target as filled into Edit1 for the last export, until the
    // user changes or chooses the name; empty when Edit1 holds the user's.
    std::string defaultTarget_;
};

extern TExport_Form* Export_Form;

} // namespace app
