#include "DialogDriver.h"
#include "tests/report/expr/ExprTestSupport.h"

#include "platform/core/FormatSettings.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/ScrollBox.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "report/editors/RpWordWrapEdit.h"
#include "report/expr/RpEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace report;
using namespace report::test;

namespace {

// A click as the user makes it: nothing happens on a disabled or hidden page.
void Press(ui::TButton* button)
{
    static_cast<QPushButton*>(button->Widget())->click();
}

void Press(ui::TSpeedButton* button)
{
    static_cast<QToolButton*>(button->Widget())->click();
}

// Selects the item as a click on it does (running the list's OnClick).
void Pick(ui::TListBox* list, const std::string& item)
{
    int index = list->Items().IndexOf(item);
    ASSERT_GE(index, 0) << item;
    static_cast<QListWidget*>(list->Widget())->setCurrentRow(index);
}

std::vector<std::string> ItemsOf(const ui::TListBox* list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list->Items().Count(); ++i)
        items.push_back(list->Items().Get(i));
    return items;
}

bool MainReady()
{
    TRpExpressionBuilder* b = Builder();
    return b != nullptr && b->Showing() && b->MainPage->Enabled();
}

bool PageReady(ui::TPanel* TRpExpressionBuilder::*page)
{
    TRpExpressionBuilder* b = Builder();
    return b != nullptr && b->Showing() && (b->*page)->Enabled();
}

std::function<bool()> Ready(ui::TPanel* TRpExpressionBuilder::*page)
{
    return [page] { return PageReady(page); };
}

// Inserts a function through the function page: category, name, then OK.
void ChooseFunction(TDialogDriver& driver, const std::string& category, const std::string& name)
{
    driver.When(MainReady, [] { Press(Builder()->InsertFunctionBtn); })
        .When(Ready(&TRpExpressionBuilder::FunctionPage), [category, name] {
            Pick(Builder()->Categories, category);
            Pick(Builder()->AvailableFunc, name);
            Press(Builder()->FunctionOKBtn);
        });
}

struct ExpressionBuilder : testing::Test {
    ~ExpressionBuilder() override { EXPECT_TRUE(Builders().empty()) << "a builder was left behind"; }
};

} // namespace

TEST_F(ExpressionBuilder, ModalBuilderShowsItsPagesAndReturnsTheEditedText)
{
    std::string expression = "1";
    std::string heading, boxText;
    bool othersDisabled = false;
    TDialogDriver driver;
    driver.When(MainReady, [&] {
        TRpExpressionBuilder* b = Builder();
        heading = b->Heading->Caption();
        boxText = b->ExpressionBox->SelText();
        othersDisabled = !b->DataFieldPage->Enabled() && !b->FunctionPage->Enabled() &&
                         !b->FuncParamsPage->Enabled() && !b->VariablePage->Enabled();
        b->ExpressionBox->SetSelStart(1);
        Press(b->AddPlus);
        b->ExpressionBox->SetSelText("2");
        Press(b->OK);
    });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(heading, "Enter expression:");
    EXPECT_EQ(boxText, "1"); // the whole expression arrives selected
    EXPECT_TRUE(othersDisabled);
    EXPECT_EQ(expression, "1 + 2");
}

TEST_F(ExpressionBuilder, CancelEmptiesTheExpressionAndAHeadingReplacesTheDefault)
{
    std::string expression = "PAGENUMBER";
    std::string heading, caption;
    TDialogDriver driver;
    driver.When(MainReady, [&] {
        heading = Builder()->Heading->Caption();
        caption = Builder()->Caption();
        Builder()->ExpressionBox->SetText("changed");
        Press(Builder()->Cancel);
    });
    EXPECT_FALSE(RunExpressionBuilder("TOTAL", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(expression, "");
    EXPECT_EQ(heading, "TOTAL");
    EXPECT_EQ(caption, "Expression Builder");
}

TEST_F(ExpressionBuilder, OperatorButtonsArriveAsSeparateWordsAtTheCursor)
{
    std::string expression = "AB";
    TDialogDriver driver;
    driver.When(MainReady, [] {
        TRpExpressionBuilder* b = Builder();
        b->ExpressionBox->SetSelStart(1);
        for (ui::TButton* button : {b->AddNot, b->AddAnd, b->AddOr, b->AddLessEqual, b->AddGreaterEqual,
                                    b->AddNotEqual, b->AddMinus, b->AddMul, b->AddDiv, b->AddEqual,
                                    b->AddSmaller, b->AddLarger})
            Press(button);
        Press(b->OK);
    });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(expression, "A Not  And  Or  <=  >=  <>  -  *  /  =  <  > B");
}

TEST_F(ExpressionBuilder, ClearEmptiesTheBoxAndLineBreaksAreRemovedFromTheResult)
{
    EXPECT_EQ(RemoveLineBreaks("1 +\r\n2"), "1 +2");
    EXPECT_EQ(RemoveLineBreaks("a\rb\r"), "a");
    EXPECT_EQ(RemoveLineBreaks("\r\n\r\n"), "");

    std::string expression = "old";
    std::string afterClear = "?";
    TDialogDriver driver;
    driver.When(MainReady, [&] {
        TRpExpressionBuilder* b = Builder();
        Press(b->Clear);
        afterClear = b->ExpressionBox->Text();
        b->ExpressionBox->SetFocus();
        QTest::keyClicks(b->ExpressionBox->Widget(), "2 +");
        QTest::keyClick(b->ExpressionBox->Widget(), Qt::Key_Return);
        QTest::keyClicks(b->ExpressionBox->Widget(), "3");
        Press(b->OK);
    });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(afterClear, "");
    EXPECT_EQ(expression, "2 +3");
}

TEST_F(ExpressionBuilder, TrueIsInsertedBareWithoutTheArgumentPage)
{
    std::string expression;
    bool askedArguments = false;
    TDialogDriver driver;
    ChooseFunction(driver, "Logical", "TRUE");
    driver.When(MainReady, [&] {
        askedArguments = !Builder()->ArgumentEdits().empty();
        Press(Builder()->OK);
    });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_TRUE(driver.Finished());
    EXPECT_FALSE(askedArguments);
    EXPECT_EQ(expression, "TRUE");
}

TEST_F(ExpressionBuilder, CopyAsksForItsThreeArgumentsAndJoinsThemWithCommas)
{
    std::string expression;
    std::vector<std::string> captions;
    std::string copiedName, copiedDescription;
    std::vector<int> tops;
    int range = 0;
    TDialogDriver driver;
    ChooseFunction(driver, "Other", "COPY");
    driver
        .When(Ready(&TRpExpressionBuilder::FuncParamsPage),
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  copiedName = b->CopyFuncName->Caption();
                  copiedDescription = b->CopyFuncDescription->Caption();
                  range = b->FuncParamSB->VertScrollBar().Range();
                  for (ui::TEdit* edit : b->ArgumentEdits())
                      tops.push_back(edit->Top());
                  for (int i = 0; i < b->FuncParamSB->ControlCount(); ++i)
                      if (auto* label = dynamic_cast<ui::TLabel*>(b->FuncParamSB->Controls(i)))
                          captions.push_back(label->Caption());
                  b->ArgumentEdits()[0]->SetText("'abc'");
                  b->ArgumentEdits()[1]->SetText("1");
                  b->ArgumentEdits()[2]->SetText("2");
                  Press(b->FuncParamOkBtn);
              })
        .When(MainReady, [] { Press(Builder()->OK); });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(expression, "COPY('abc',1,2)");
    EXPECT_EQ(copiedName, "COPY(<X>, <St>,<Len>)");
    EXPECT_EQ(copiedDescription, "Returns a substring of string X");
    EXPECT_EQ(captions, (std::vector<std::string>{"Argument 1 - text Value", "Argument 2 - numeric value",
                                                  "Argument 3 - numeric value"}));
    EXPECT_EQ(tops, (std::vector<int>{15, 55, 95}));
    EXPECT_EQ(range, 120);
}

TEST_F(ExpressionBuilder, ArgumentLabelsNameEveryKindAndTheControlsGoAfterwards)
{
    std::string expression = "X";
    std::vector<std::string> captions;
    int leftOver = -1;
    TDialogDriver driver;
    ChooseFunction(driver, "Logical", "IF");
    driver
        .When(Ready(&TRpExpressionBuilder::FuncParamsPage),
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  for (int i = 0; i < b->FuncParamSB->ControlCount(); ++i)
                      if (auto* label = dynamic_cast<ui::TLabel*>(b->FuncParamSB->Controls(i)))
                          captions.push_back(label->Caption());
                  Press(b->FuncArgCancelBtn);
              })
        .When(MainReady, [&] {
            leftOver = Builder()->FuncParamSB->ControlCount();
            Press(Builder()->OK);
        });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(captions, (std::vector<std::string>{"Argument 1 - logical value", "Argument 2 - value",
                                                  "Argument 3 - value"}));
    EXPECT_EQ(leftOver, 0);
    // A cancelled argument page inserts nothing.
    EXPECT_EQ(expression, "X");
}

TEST_F(ExpressionBuilder, CategoriesListTheirFunctionsInRegistrationOrder)
{
    std::vector<std::string> categories, statistical, database, all;
    std::string helpName, helpText, emptyName = "?";
    TDialogDriver driver;
    driver.When(MainReady, [] { Press(Builder()->InsertFunctionBtn); })
        .When(Ready(&TRpExpressionBuilder::FunctionPage),
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  categories = ItemsOf(b->Categories);
                  all = ItemsOf(b->AvailableFunc);
                  Pick(b->Categories, "Statistical");
                  statistical = ItemsOf(b->AvailableFunc);
                  helpName = b->FuncName->Caption();
                  helpText = b->FuncDescription->Caption();
                  Pick(b->Categories, "Database");
                  database = ItemsOf(b->AvailableFunc);
                  emptyName = b->FuncName->Caption();
                  // Continue with nothing listed chooses nothing.
                  Press(b->FunctionOKBtn);
              })
        .When(MainReady, [] { Press(Builder()->OK); });
    std::string expression = "1";
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(expression, "1");
    EXPECT_EQ(categories, (std::vector<std::string>{"All", "Date & time", "Math & trig", "Statistical", "Database",
                                                    "Logical", "Information", "Other"}));
    EXPECT_EQ(statistical, (std::vector<std::string>{"SUM", "COUNT", "MAX", "MIN", "AVERAGE"}));
    EXPECT_TRUE(database.empty());
    EXPECT_EQ(all.size(), 21u);
    EXPECT_EQ(all.front(), "IF");
    EXPECT_EQ(helpName, "SUM(<X>)");
    EXPECT_EQ(helpText, "Sums the numeric <X>");
    EXPECT_EQ(emptyName, "");
}

TEST_F(ExpressionBuilder, AnArgumentIsBuiltByANestedBuilderInsideThisOne)
{
    std::string expression;
    std::string nestedHeading, nestedText;
    bool nestedInside = false;
    std::string afterNested;
    TDialogDriver driver;
    ChooseFunction(driver, "Other", "UPPER");
    driver
        .When(Ready(&TRpExpressionBuilder::FuncParamsPage),
              [] {
                  Builder()->ArgumentEdits()[0]->SetText("'a'");
                  auto* more = dynamic_cast<ui::TSpeedButton*>(Builder()->FuncParamSB->Controls(2));
                  ASSERT_NE(more, nullptr);
                  Press(more);
              })
        .When([] { return Builders().size() == 2 && MainReady(); },
              [&] {
                  TRpExpressionBuilder* outer = Builders()[0];
                  TRpExpressionBuilder* nested = Builder();
                  nestedHeading = nested->Heading->Caption();
                  nestedText = nested->ExpressionBox->Text();
                  nestedInside = nested->Widget()->parentWidget() == outer->Widget() && nested->Left() == 0 &&
                                 nested->Top() == 0;
                  nested->ExpressionBox->SetText("LOWER('A') +\r\n'b'");
                  Press(nested->OK);
              })
        .When([] { return Builders().size() == 1 && PageReady(&TRpExpressionBuilder::FuncParamsPage); },
              [&] {
                  afterNested = Builder()->ArgumentEdits()[0]->Text();
                  Press(Builder()->FuncParamOkBtn);
              })
        .When(MainReady, [] { Press(Builder()->OK); });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(nestedHeading, "Enter 1. parameter for UPPER(<X>)");
    EXPECT_EQ(nestedText, "'a'");
    EXPECT_TRUE(nestedInside);
    EXPECT_EQ(afterNested, "LOWER('A') +'b'");
    EXPECT_EQ(expression, "UPPER(LOWER('A') +'b')");
}

TEST_F(ExpressionBuilder, ValidationEvaluatesOnceAndReportsByMessage)
{
    struct Case {
        const char* expression;
        const char* message;
    };
    const Case cases[] = {
        {"1/0", "ERROR: Cannot divide by 0"},
        {"2+3", "There are no errors. The result is : 5"},
        {"''", "ERROR: "},
        {"2.5*2", "There are no errors. The result is : 5"},
        {"1 <\r\n 2", "There are no errors. The result is : True"},
        {"UPPER('ab')", "There are no errors. The result is : AB"},
        {"NOSUCH", "ERROR: Unknown function : NOSUCH"},
    };
    int level = -1;
    for (const Case& c : cases) {
        ui::TScriptedDialogs dialogs;
        std::string expression = c.expression;
        TDialogDriver driver;
        driver.When(MainReady, [] {
            Press(Builder()->ValidateBtn);
            Press(Builder()->OK);
        });
        EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
        ASSERT_EQ(dialogs.Questions().size(), 1u) << c.expression;
        EXPECT_EQ(dialogs.Questions()[0].Text, c.message) << c.expression;
        // Validating keeps no prepare of its own.
        if (level < 0)
            level = ProcessEnvironment().PrepareLevel();
        EXPECT_EQ(ProcessEnvironment().PrepareLevel(), level) << c.expression;
    }
}

TEST_F(ExpressionBuilder, ValidationWritesFloatsWithTheDecimalSeparatorOfTheFormatSettings)
{
    ui::TScriptedDialogs dialogs;
    std::string expression = "3/2";
    TDialogDriver driver;
    driver.When(MainReady, [] {
        Press(Builder()->ValidateBtn);
        Press(Builder()->OK);
    });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].Text,
              std::string("There are no errors. The result is : 1") + core::FormatSettings.DecimalSeparator + "5");
}

TEST_F(ExpressionBuilder, ValidationSeesTheLocalVariablesAndReleasesThem)
{
    TRpEvEnvironment local;
    local.DefineVariable("BASE", "20");
    ui::TScriptedDialogs dialogs;
    std::string expression = "BASE * 2 + 2";
    TDialogDriver driver;
    driver.When(MainReady, [] {
        Press(Builder()->ValidateBtn);
        Press(Builder()->Cancel);
    });
    EXPECT_FALSE(RunExpressionBuilder("", expression, nullptr, &local, nullptr));
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].Text, "There are no errors. The result is : 42");
    EXPECT_FALSE(local.IsPrepared());
}

TEST_F(ExpressionBuilder, DataFieldsOfTheOwnerFormAndOfDataModulesAreOffered)
{
    TestData data;
    data.Exec("CREATE TABLE zapis (cislo INTEGER, [druh-zapisu] TEXT, [datum sepsani] REAL)");
    data.Exec("INSERT INTO zapis VALUES (7, 'A', 45000)");
    ui::TForm* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* module = ui::CreateComponent<ui::TDataModule>(nullptr);
    form->InsertComponent(data.Query("Zapisy", "SELECT * FROM zapis"));
    module->InsertComponent(data.Query("Uzivatele", "SELECT 1 AS jmeno"));

    std::vector<std::string> dataSets, fields, moduleFields;
    std::string expression = "1 + ";
    ui::TScriptedDialogs dialogs;
    TDialogDriver driver;
    driver.When(MainReady, [] {
              Builder()->ExpressionBox->SetSelStart(4);
              Press(Builder()->InsertDataFieldBtn);
          })
        .When(Ready(&TRpExpressionBuilder::DataFieldPage),
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  dataSets = ItemsOf(b->AvailableDatasets);
                  fields = ItemsOf(b->AvailableFields);
                  Pick(b->AvailableDatasets, "Uzivatele");
                  moduleFields = ItemsOf(b->AvailableFields);
                  Pick(b->AvailableDatasets, "Zapisy");
                  Pick(b->AvailableFields, "druh-zapisu");
                  Press(b->DataFieldOKBtn);
              })
        .When(MainReady, [] {
            TRpExpressionBuilder* b = Builder();
            b->ExpressionBox->SetText("Zapisy.cislo * 6");
            Press(b->ValidateBtn);
            b->ExpressionBox->SetText("1 + Zapisy.druh-zapisu");
            Press(b->OK);
        });
    EXPECT_TRUE(RunExpressionBuilder("", expression, form, nullptr, nullptr));
    EXPECT_EQ(dataSets, (std::vector<std::string>{"Zapisy", "Uzivatele"}));
    EXPECT_EQ(fields, (std::vector<std::string>{"cislo", "druh-zapisu", "datum sepsani"}));
    EXPECT_EQ(moduleFields, (std::vector<std::string>{"jmeno"}));
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].Text, "There are no errors. The result is : 42");
    ui::FreeComponent(module);
    ui::FreeComponent(form);
}

TEST_F(ExpressionBuilder, ChosenFieldIsInsertedAsOneWordEvenWithABlank)
{
    TestData data;
    data.Exec("CREATE TABLE zapis (cislo INTEGER, [datum sepsani] REAL)");
    ui::TForm* form = ui::CreateComponent<ui::TForm>(nullptr);
    form->InsertComponent(data.Query("Zapisy", "SELECT * FROM zapis"));
    std::string expression;
    std::string cancelled = "?";
    TDialogDriver driver;
    driver.When(MainReady, [] { Press(Builder()->InsertDataFieldBtn); })
        .When(Ready(&TRpExpressionBuilder::DataFieldPage), [] {
            Pick(Builder()->AvailableFields, "datum sepsani");
            Press(Builder()->DataFieldCancelBtn);
        })
        .When(MainReady, [&] {
            cancelled = Builder()->ExpressionBox->Text();
            Press(Builder()->InsertDataFieldBtn);
        })
        .When(Ready(&TRpExpressionBuilder::DataFieldPage), [] {
            TRpExpressionBuilder* b = Builder();
            Pick(b->AvailableFields, "datum sepsani");
            // A double click on a field chooses it.
            auto* list = static_cast<QListWidget*>(b->AvailableFields->Widget());
            emit list->itemDoubleClicked(list->currentItem());
        })
        .When(MainReady, [] { Press(Builder()->OK); });
    EXPECT_TRUE(RunExpressionBuilder("", expression, form, nullptr, nullptr));
    EXPECT_EQ(cancelled, "");
    EXPECT_EQ(expression, "Zapisy.datum sepsani");
    ui::FreeComponent(form);
}

TEST_F(ExpressionBuilder, VariablesOfTheLocalEnvironmentComeBeforeTheGlobalOnes)
{
    TRpEvEnvironment local;
    local.DefineVariable("PAGENUMBER", "0");
    local.DefineVariable("Celkem", "SUM(1)");
    std::vector<std::string> names;
    std::string firstValue, globalValue, renamedValue = "?";
    std::string expression = "x";
    TDialogDriver driver;
    driver.When(MainReady, [] {
              Builder()->ExpressionBox->SelectAll();
              Press(Builder()->InsertVariableBtn);
          })
        .When(Ready(&TRpExpressionBuilder::VariablePage),
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  names = ItemsOf(b->AvailableVariables);
                  firstValue = b->VariableValue->Caption();
                  Pick(b->AvailableVariables, "APPNAME");
                  globalValue = b->VariableValue->Caption();
                  // A name gone since the list was filled shows nothing.
                  local.Put(1, "RENAMED");
                  Pick(b->AvailableVariables, "CELKEM");
                  renamedValue = b->VariableValue->Caption();
                  local.Put(1, "CELKEM");
                  Press(b->VariableOKBtn);
              })
        .When(MainReady, [] { Press(Builder()->OK); });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, &local, nullptr));
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
              (std::vector<std::string>{"PAGENUMBER", "CELKEM", "APPSTARTTIME", "APPSTARTDATE", "APPNAME"}));
    EXPECT_EQ(firstValue, "0");
    EXPECT_EQ(globalValue, "'Sestavy'");
    EXPECT_EQ(renamedValue, "");
    EXPECT_EQ(expression, "CELKEM");
}

TEST_F(ExpressionBuilder, VariablesModifiedInTheEditorAreOfferedAtOnce)
{
    TRpEvEnvironment local;
    local.DefineVariable("STARA", "1");
    std::vector<std::string> before, after;
    std::string value;
    std::string expression;
    TDialogDriver driver;
    driver.When(MainReady, [] { Press(Builder()->InsertVariableBtn); })
        .When(Ready(&TRpExpressionBuilder::VariablePage),
              [&] {
                  before = ItemsOf(Builder()->AvailableVariables);
                  Press(Builder()->ModifyVariables);
              })
        .When([] { return Editor() != nullptr && Editor()->Showing(); },
              [&] {
                  // What the editor's Add and rename do to the environment.
                  local.DefineVariable("Nova", "7");
                  local.Put(0, "PREJMENOVANA");
                  Press(Editor()->VariableOKBtn);
              })
        .When([] { return Editor() == nullptr && PageReady(&TRpExpressionBuilder::VariablePage); },
              [&] {
                  TRpExpressionBuilder* b = Builder();
                  after = ItemsOf(b->AvailableVariables);
                  Pick(b->AvailableVariables, "NOVA");
                  value = b->VariableValue->Caption();
                  Press(b->VariableOKBtn);
              })
        .When(MainReady, [] { Press(Builder()->OK); });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, &local, nullptr));
    EXPECT_TRUE(driver.Finished());
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.front(), "STARA");
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(after.begin(), after.begin() + 2),
              (std::vector<std::string>{"PREJMENOVANA", "NOVA"}));
    EXPECT_EQ(value, "7");
    EXPECT_EQ(expression, "NOVA");
}

TEST_F(ExpressionBuilder, ClosingTheWindowEndsEveryWait)
{
    std::string expression = "1";
    TDialogDriver driver;
    ChooseFunction(driver, "Other", "COPY");
    driver.When(Ready(&TRpExpressionBuilder::FuncParamsPage), [] { Builder()->Widget()->close(); });
    EXPECT_FALSE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_TRUE(driver.Finished());
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(expression, "");
}

TEST_F(ExpressionBuilder, EscapeOrSpaceAbandonsOnlyWhenTheFormItselfHasTheKeys)
{
    std::string expression = "1";
    bool abandonedByBox = true;
    TDialogDriver driver;
    driver.When(MainReady, [&] {
              TRpExpressionBuilder* b = Builder();
              b->ExpressionBox->SetFocus();
              b->ExpressionBox->SetSelStart(1);
              QTest::keyClick(b->ExpressionBox->Widget(), Qt::Key_Space);
              abandonedByBox = b->AbandonFlag;
              Press(b->InsertVariableBtn);
          })
        .When(Ready(&TRpExpressionBuilder::VariablePage), [] {
            TRpExpressionBuilder* b = Builder();
            b->Widget()->setFocus();
            QApplication::setActiveWindow(b->Widget());
            if (QApplication::focusWidget() != nullptr)
                QApplication::focusWidget()->clearFocus();
            QTest::keyClick(b->Widget(), Qt::Key_Escape);
        })
        .When(MainReady, [] { Press(Builder()->OK); });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_FALSE(abandonedByBox);
    // The abandoned variable page inserted nothing.
    EXPECT_EQ(expression, "1 ");
}

TEST_F(ExpressionBuilder, RunInsideAParentFormAtItsTopLeftCorner)
{
    ui::TForm* parent = ui::CreateComponent<ui::TForm>(nullptr);
    parent->SetBounds(100, 100, 500, 400);
    parent->Show();
    TRpEvEnvironment local;
    local.DefineVariable("MISTNI", "1");
    bool inside = false;
    std::vector<std::string> variables;
    std::string expression = "2";
    TDialogDriver driver;
    driver.When(MainReady, [&] {
        TRpExpressionBuilder* b = Builder();
        inside = b->Widget()->parentWidget() == parent->Widget() && !b->Widget()->isWindow() && b->Left() == 0 &&
                 b->Top() == 0;
        variables = ItemsOf(b->AvailableVariables);
        b->ExpressionBox->SetText("3");
        Press(b->OK);
    });
    EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, &local, parent));
    EXPECT_TRUE(inside);
    ASSERT_FALSE(variables.empty());
    EXPECT_EQ(variables.front(), "MISTNI"); // filled at once, with no activation
    EXPECT_EQ(expression, "3");
    EXPECT_TRUE(parent->Widget()->findChildren<QWidget*>("MainPage").isEmpty());
    ui::FreeComponent(parent);
}

TEST(WordWrapEdit, WrapsLongTextAndGivesLineBreaksAsCarriageReturnLineFeed)
{
    ui::TForm* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* box = new TWordWrapEdit(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 120, 60);
    box->SetText("řádek\r\ndruhý");
    EXPECT_EQ(box->Text(), "řádek\r\ndruhý");
    box->SetSelStart(6);
    box->SetSelLength(5);
    EXPECT_EQ(box->SelText(), "druhý");
    box->SetSelText("třetí");
    EXPECT_EQ(box->Text(), "řádek\r\ntřetí");
    EXPECT_EQ(box->SelStart(), 11);
    EXPECT_EQ(box->SelLength(), 0);
    box->SelectAll();
    EXPECT_EQ(box->SelLength(), 11);
    box->Clear();
    EXPECT_EQ(box->Text(), "");
    ui::FreeComponent(form);
}
