#include "report/bands/RpStartup.h"

#include "platform/core/ClassRegistry.h"
#include "platform/data/Query.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpControllerBand.h"
#include "report/bands/RpDesignColors.h"
#include "report/bands/RpGroup.h"
#include "report/bands/RpReport.h"
#include "report/layout/RpUnits.h"
#include "report/pages/RpPageSearch.h"
#include "report/printables/RpExprLabel.h"
#include "report/printables/RpShape.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

namespace report {


namespace {

std::unique_ptr<core::TStringList>& FontList()
{
    static std::unique_ptr<core::TStringList> list;
    return list;
}

std::vector<std::string>& StepLog()
{
    static std::vector<std::string> log;
    return log;
}

struct ClassRecord {
    const char* Name;
    core::TComponentFactory Create;
};

template <class T>
core::TComponentFactory Factory()
{
    return [](core::TComponent* owner) -> core::TComponent* { return new T(owner); };
}

// The classes of stored reports in their order of registration.
const std::vector<ClassRecord>& ReportClasses()
{
    static const std::vector<ClassRecord> classes = {
        {"TRpReport", Factory<TRpReport>()},
        {"TRpBand", Factory<TRpBand>()},
        {"TRpGroup", Factory<TRpGroup>()},
        {"TRpSubDetail", Factory<TRpSubDetail>()},
        {"TRpExpr", Factory<TRpExpr>()},
        {"TRpShape", Factory<TRpShape>()},
        {"TTable", Factory<data::TTable>()},
        {"TQuery", Factory<data::TQuery>()},
        {"TRpChildBand", Factory<TRpChildBand>()},
    };
    return classes;
}

} // namespace

core::TStringList* ExportFontList() { return FontList().get(); }

std::vector<std::string> ReportClassNames()
{
    std::vector<std::string> names;
    for (const ClassRecord& record : ReportClasses())
        names.emplace_back(record.Name);
    return names;
}

TRpStartupEnvironment SystemStartupEnvironment()
{
    TRpStartupEnvironment environment;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const int depth = screen->depth();
            environment.DisplayColors = depth >= 63 || depth <= 0 ? -1 : 1LL << depth;
        }
    if (QLocale::system().measurementSystem() == QLocale::ImperialUSSystem)
        environment.MeasurementSystem = std::string(1, '1');
    return environment;
}

const std::vector<std::string>& TRpEngineStartup::Log() { return StepLog(); }

void TRpEngineStartup::RegisterClasses()
{
    for (const ClassRecord& record : ReportClasses()) {
        // A class another part of the program registered already stays its.
        if (core::IsClassRegistered(record.Name))
            continue;
        core::RegisterClass(record.Name, record.Create);
        registered_.emplace_back(record.Name);
    }
}

void TRpEngineStartup::UnregisterClasses()
{
    for (auto it = registered_.rbegin(); it != registered_.rend(); ++it)
        core::UnRegisterClass(*it);
    registered_.clear();
}

TRpEngineStartup::TRpEngineStartup(const TRpStartupEnvironment& environment)
{
    StepLog().clear();
    RegisterClasses();
    TextSearchBusy = false;
    StepLog().push_back("classes");

    FontList() = std::make_unique<core::TStringList>();
    StepLog().push_back("export constants");

    SetDesignColors(DesignColorsForDisplay(environment.DisplayColors));
    UseUSUnits = environment.MeasurementSystem == "1";
    StepLog().push_back("report unit");
}

TRpEngineStartup::~TRpEngineStartup()
{
    StepLog().push_back("report unit ends");
    FontList().reset();
    StepLog().push_back("export constants end");
    UnregisterClasses();
    StepLog().push_back("classes end");
}

} // namespace report
