#include "report/expr/RpExprUnit.h"

#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpFunctions.h"
#include "report/expr/RpLibrary.h"

#include <filesystem>
#include <system_error>

namespace report {

char ArgumentSeparator = ',';
bool detail::ReleaseGuard = false;

namespace {

int initCount = 0;
TRpFunctionLibrary* functionLibrary = nullptr;
TRpEvEnvironment* processEnvironment = nullptr;

std::string ExecutableTitle()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.stem().string();
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

} // namespace

void InitializeExpressionUnit(const std::string& applicationTitle)
{
    if (initCount++ > 0)
        return;
    ArgumentSeparator = ',';
    detail::ReleaseGuard = false;
    functionLibrary = new TRpFunctionLibrary;
    RegisterStandardFunctions(*functionLibrary);
    processEnvironment = new TRpEvEnvironment;
    const core::TDateTime now = core::Now();
    processEnvironment->DefineVariable("AppStartTime",
                                       Quoted(core::FormatDateTime(core::FormatSettings.LongTimeFormat, now)));
    processEnvironment->DefineVariable("AppStartDate",
                                       Quoted(core::FormatDateTime(core::FormatSettings.ShortDateFormat, now)));
    processEnvironment->DefineVariable(
        "AppName", Quoted(applicationTitle.empty() ? ExecutableTitle() : applicationTitle));
}

void FinalizeExpressionUnit()
{
    if (initCount == 0 || --initCount > 0)
        return;
    // The global environment is gone before its variables' evaluators let go
    // of it, so they find nothing to release.
    TRpEvEnvironment* environment = processEnvironment;
    processEnvironment = nullptr;
    delete environment;
    delete functionLibrary;
    functionLibrary = nullptr;
}

TRpFunctionLibrary& FunctionLibrary()
{
    if (functionLibrary == nullptr)
        InitializeExpressionUnit();
    return *functionLibrary;
}

TRpEvEnvironment& ProcessEnvironment()
{
    if (processEnvironment == nullptr)
        InitializeExpressionUnit();
    return *processEnvironment;
}

TRpEvEnvironment* detail::ProcessEnvironmentIfCreated() { return processEnvironment; }

} // namespace report
