// Shows the report's design-time dialogs in a real window for a look by eye,
// and with a file name saves a picture of the screen once the asked page is up.
//
//   report_dialogs_viewer builder|fields|functions|arguments|variables|editor|newentry|print [picture.png]
#include "DialogDriver.h"

#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/StdCtrls.h"
#include "report/editors/RpWordWrapEdit.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpExprUnit.h"
#include "report/printer/RpPrintDialog.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <cstdio>
#include <string>

using namespace report;
using namespace report::test;

namespace {

void Press(ui::TButton* button)
{
    static_cast<QPushButton*>(button->Widget())->click();
}

void Pick(ui::TListBox* list, const std::string& item)
{
    int index = list->Items().IndexOf(item);
    if (index >= 0)
        static_cast<QListWidget*>(list->Widget())->setCurrentRow(index);
}

} // namespace

int main(int argc, char** argv)
{
    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Sestavy");
    InitializeExpressionUnit(application.Title());
    const std::string what = argc > 1 ? argv[1] : "builder";
    const std::string picture = argc > 2 ? argv[2] : "";

    TRpEvEnvironment local;
    local.DefineVariable("PAGENUMBER", "0");
    local.DefineVariable("CELKEM", "SUM(1)");
    local.DefineVariable("NAZEV", "'Evidence konverzí'");

    // Takes the picture once the page is up, then ends every wait.
    auto finish = [&] {
        if (!picture.empty()) {
            QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
            if (!shot.save(QString::fromStdString(picture)))
                std::fprintf(stderr, "cannot save %s\n", picture.c_str());
        }
        if (picture.empty())
            return;
        for (TRpExpressionBuilder* b : Builders()) {
            bool close = true;
            b->FormCloseQuery(b, close);
            b->SetModalResult(ui::mrCancel);
        }
        if (TRpEnvironmentEditor* e = Editor()) {
            e->CloseRequested = true;
            e->SetModalResult(ui::mrCancel);
        }
    };
    auto settled = [] {
        static int ticks = 0;
        return ++ticks > 150; // let the window manager and painting settle
    };
    auto builderUp = [] { return Builder() != nullptr && Builder()->Showing() && Builder()->MainPage->Enabled(); };

    TDialogDriver driver(std::chrono::hours(1));
    if (what == "print") {
        // The platform's print dialog as the report's print dialog runs it.
        TRpPrintDialog dialog(nullptr);
        dialog.SetOptions(print::poPageNums | print::poPrintToFile);
        dialog.SetMinPage(1);
        dialog.SetMaxPage(12);
        dialog.SetHelpContext(7);
        dialog.OnShow = [](core::TObject*) { std::fprintf(stderr, "the dialog shows\n"); };
        dialog.OnClose = [](core::TObject*) { std::fprintf(stderr, "the dialog closes\n"); };
        QTimer::singleShot(1500, [&] {
            if (!picture.empty())
                QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(picture));
            if (QWidget* modal = QApplication::activeModalWidget())
                std::fprintf(stderr, "dialog at %d,%d size %dx%d\n", modal->x(), modal->y(), modal->width(),
                             modal->height());
            if (!picture.empty())
                if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    modal->reject();
        });
        dialog.Execute();
        return 0;
    }
    if (what == "editor" || what == "newentry") {
        driver.When([] { return Editor() != nullptr && Editor()->Showing(); }, [what] {
            if (what == "newentry")
                Press(Editor()->AddBtn);
        });
        driver.When(settled, finish);
        EditEnvironment(&local, true);
        return 0;
    }
    if (what == "builder") {
        driver.When(builderUp, [] {}).When(settled, finish);
    } else if (what == "fields") {
        driver.When(builderUp, [] { Press(Builder()->InsertDataFieldBtn); }).When(settled, finish);
    } else if (what == "functions" || what == "arguments") {
        driver.When(builderUp, [] { Press(Builder()->InsertFunctionBtn); });
        if (what == "arguments")
            driver.When([] { return Builder()->FunctionPage->Enabled(); }, [] {
                Pick(Builder()->Categories, "Other");
                Pick(Builder()->AvailableFunc, "COPY");
                Press(Builder()->FunctionOKBtn);
            });
        else
            driver.When([] { return Builder()->FunctionPage->Enabled(); },
                        [] {
                            Pick(Builder()->Categories, "Statistical");
                            Pick(Builder()->AvailableFunc, "AVERAGE");
                        });
        driver.When(settled, finish);
    } else if (what == "variables") {
        driver.When(builderUp, [] { Press(Builder()->InsertVariableBtn); }).When(settled, finish);
    }
    std::string expression = "IF(CELKEM > 10, 'mnoho', 'málo') + ' konverzí za období ' + STR(PAGENUMBER)";
    RunExpressionBuilder("", expression, nullptr, &local, nullptr);
    return 0;
}
