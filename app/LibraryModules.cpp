#include "app/LibraryModules.h"

#include "browser/BrowserModule.h"
#include "report/bands/RpStartup.h"
#include "report/expr/RpExprUnit.h"
#include "report/printer/RpPrintDialog.h"
#include "xml/ValueTexts.h"

namespace app {

TLibraryModules::TLibraryModules()
{
    xml::XmlFormatSettings();
    browser::StartBrowserModule();
    report::InitializeExpressionUnit();
    report::InitializePrintDialogUnit();
    reportEngine_ = std::make_unique<report::TRpEngineStartup>();
}

TLibraryModules::~TLibraryModules()
{
    reportEngine_.reset();
    report::FinalizePrintDialogUnit();
    report::FinalizeExpressionUnit();
    browser::StopBrowserModule();
}

} // namespace app
