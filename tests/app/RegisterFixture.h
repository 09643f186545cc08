#pragma once
// A fresh copy of the shipped database in a temporary data folder, with the
// application's forms created on it as at start-up; every dialog answered
// from a script.

#include "app/DataModule.h"
#include "app/KonverzeForm.h"
#include "platform/core/DateTime.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace apptest {

// A new empty folder under the system's temporary folder, ending with "/".
std::string MakeTempFolder();
void RemoveFolder(const std::string& folder);
// The database the build ships beside the executable.
std::string ShippedDatabase();

class RegisterFixture : public testing::Test {
public:
    // Frees the forms as the program's end does.
    static void FreeForms();

protected:
    void SetUp() override;
    void TearDown() override;
    // Runs after the data folder is ready and before the forms are created.
    // A derived SetUp goes on only when this one did not fail
    // (if (HasFatalFailure()) return;): there are no forms to work on then.
    virtual void BeforeForms() {}

    // Adds a user straight into the database and reads the users again; the first user stays selected.
    void AddUser(const std::string& name, const std::string& issuing, const std::string& email = "",
                 const std::string& registration = "");
    // Adds a register row straight into the database and reads the register again.
    void AddRow(const std::string& serial, const std::string& designation, double converted,
                const std::string& certifying = "", bool withInputDate = false, double inputDate = 0);
    // The designations of the register's rows, in the order shown.
    std::vector<std::string> Designations();
    // One text value of the row with that serial number, read from the database.
    std::string Stored(const std::string& serial, const std::string& column);
    bool StoredIsNull(const std::string& serial, const std::string& column);
    // The names of the users in the database file, in their order there.
    std::string StoredUserNames();
    // Moves the register to the row with that serial number.
    void GoTo(const std::string& serial);
    // Searches the register: the radio group's item where, then the text in "Hledání".
    void Search(int where, const std::string& text);

    // The texts of the messages and questions shown, in order.
    std::vector<std::string> Messages() const;

    data::TADOQuery* Register() const { return app::DM->Konverze_ADOQuery; }
    app::TKonverze_Form* Form() const { return app::Konverze_Form; }

    std::string folder_;
    ui::TScriptedDialogs dialogs_;
};

} // namespace apptest
