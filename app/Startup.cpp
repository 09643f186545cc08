#include "app/Startup.h"

#include "app/DataModule.h"
#include "app/ExportForm.h"
#include "app/Folders.h"
#include "app/KonverzeForm.h"
#include "app/LibraryModules.h"
#include "app/ViewerForm.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/ui/kernel/Application.h"

#include <cstdlib>
#include <unistd.h>

namespace app {

void PrepareWebEngineEnvironment()
{
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
}

void CreateForms()
{
    // The data module opens the database the main form's controls bind to.
    ui::Application->CreateForm(DM);
    ui::Application->CreateForm(Konverze_Form);
    ui::Application->CreateForm(Export_Form);
    ui::Application->CreateForm(Prohlizec_Form);
}

int ApplicationStartup(int argc, char** argv)
{
    core::SetCommandLine(argc, argv);
    PrepareWebEngineEnvironment();
    ui::TApplication application(argc, argv);
    // The libraries start before the forms and stop after the loop, in reverse.
    const TLibraryModules libraries;
    try {
        ProgramFolder = core::ExecutableFolder();
        const std::string argument = core::ParamStr(1);
        DataFolder = ChooseDataFolder(argument, GetLocalAppDataFolder(), ProgramFolder);
        PrepareDataFolder(ProgramFolder, DataFolder, !argument.empty());
    } catch (const core::Exception& error) {
        // Start-up ends with the error's message.
        application.Initialize();
        application.SetTitle("Orvalis");
        application.ShowException(error);
        return 1;
    }
    application.Initialize();
    application.SetTitle("Orvalis");
    CreateForms();
    application.Run();
    return 0;
}

} // namespace app
