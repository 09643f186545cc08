// The run of a report: GenerateReport, and the geometry of pages and columns
// that the bands and controllers ask for while it runs.

#include "platform/core/FormatSettings.h"
#include "platform/core/Letters.h"
#include "platform/data/DataSet.h"
#include "platform/data/Query.h"
#include "platform/gfx/Canvas.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpReport.h"
#include "report/expr/RpEnvironment.h"
#include "report/layout/RpMath.h"
#include "report/printables/RpPrintable.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrinter.h"

namespace report {

namespace {

// The data sets owned by owner and, recursively, by the windowed controls among them.
void CollectOwnedDataSets(core::TComponent* owner, std::vector<data::TDataSet*>& list)
{
    if (owner == nullptr)
        return;
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        core::TComponent* component = owner->Components(i);
        if (auto* dataSet = dynamic_cast<data::TDataSet*>(component))
            list.push_back(dataSet);
        else if (dynamic_cast<ui::TWinControl*>(component) != nullptr)
            CollectOwnedDataSets(component, list);
    }
}

} // namespace

void TCustomRpReport::CollectReportDataSets()
{
    dataSets_ = std::make_unique<std::vector<data::TDataSet*>>();
    CollectOwnedDataSets(Owner(), *dataSets_);
    backImage_ = nullptr;
    if (!backImageControl_.empty())
        for (TRpPrintable* printable : ReportPrintables())
            if (printable->Name() == backImageControl_)
                backImage_ = printable;
}

void TCustomRpReport::ComputePageFooterHeight()
{
    pageFooterHeight_ = 0;
    for (TRpCustomBand* band : bandList_) {
        if (band->BandType() != TRpBandType::rbPageFooter || !band->Enabled())
            continue;
        pageFooterHeight_ += band->Size().NativeLength();
        for (TRpCustomBand* child = band->ChildBand(); child != nullptr; child = child->ChildBand())
            pageFooterHeight_ += child->Size().NativeLength();
    }
}

void TCustomRpReport::TellPartsTheirReport()
{
    for (TRpCustomBand* band : bandList_)
        band->SetParentReport(this);
    // Every printable below the report, on the report, on a band or deeper.
    ForEachPrintable(*this, [this](TRpPrintable& printable) { printable.SetParentReport(this); });
}

bool TCustomRpReport::CreateRunPrinter()
{
    if (!available_)
        return false;
    ui::TWinControl* preview = rpPrinter_ != nullptr ? rpPrinter_->Preview() : nullptr;
    auto printer = std::make_unique<TRpPrinter>(this);
    printer->SetPreview(preview);
    // The printer's requests to print again and the preview's closing come to the report.
    printer->SetClient(this);
    printer->OnAfterPreview = [this](core::TObject*) {
        if (AfterPreview)
            AfterPreview(this);
    };
    printer->OnAfterPrint = [this](core::TObject*) {
        if (AfterPrint)
            AfterPrint(this);
    };
    rpPrinter_ = printer.get();
    ownPrinter_ = std::move(printer);
    return true;
}

void TCustomRpReport::RunController() { controller_->Execute(); }

void TCustomRpReport::GenerateReport(bool prepareOnly)
{
    if (!available_)
        return;
    const bool wasVisible = Visible();
    designImage_.reset();

    TRpPage& page = *page_;
    if (page.NativeValue(TRpPage::kWidth) - page.NativeValue(TRpPage::kLeftMargin) -
            page.NativeValue(TRpPage::kRightMargin) <
        0) {
        page.SetLeftMargin(0);
        page.SetRightMargin(0);
    }
    if (page.NativeValue(TRpPage::kLength) - page.NativeValue(TRpPage::kTopMargin) -
            page.NativeValue(TRpPage::kBottomMargin) <
        0) {
        page.SetTopMargin(0);
        page.SetBottomMargin(0);
    }

    available_ = false;
    cancelled_ = false;
    finalPage_ = false;
    newPageStarted_ = false;
    firstColumnRequested_ = false;
    bool printReport = true;
    CollectReportDataSets();
    if (BeforePrint && !Designing())
        BeforePrint(this, printReport);
    if (!printReport) {
        dataSets_.reset();
        SetVisible(wasVisible);
        available_ = true;
        return;
    }

    if (rpPrinter_ == nullptr) {
        // A run needs a printer; the report makes its own when none was given.
        available_ = true;
        CreateRunPrinter();
        available_ = false;
    }
    TRpPrinter& printer = *rpPrinter_;
    const TRpUnit savedUnit = Units();
    bool unitSwitched = false;
    bool prepared = false;
    bool environmentsPrepared = false;

    // Whatever happens in the loop, the printer is finished and the data sets let go.
    auto finishPrinter = [&] {
        try {
            if (cancelled_ || printer.Cancelled())
                printer.AbortDoc();
            else if (!prepareOnly)
                printer.EndDoc();
        } catch (...) {
            dataSets_.reset();
            throw;
        }
        dataSets_.reset();
    };
    // The report is whole again after a run that failed, too.
    auto endSteps = [&] {
        if (unitSwitched)
            SetUnits(savedUnit);
        if (prepared) {
            EndRunAll();
            controller_->UnprepareRun();
        }
        if (environmentsPrepared) {
            functions_->ReleaseEnvironment();
            ProcessEnvironment().ReleaseEnvironment();
        }
        pageElement_ = columnElement_ = titleElement_ = nullptr;
        prepareOnly_ = false;
        functions_->AssignDataSets(nullptr);
    };
    auto becomeAvailable = [&] {
        SetVisible(wasVisible);
        available_ = true;
    };

    try {
        SetUnits(TRpUnit::Native);
        unitSwitched = true;
        if (prepareOnly) {
            page.SetOrientation(printer.Orientation());
            page.SetPaperSize(printer.PaperSize());
        } else {
            // The pages of a former run give way to the new run's.
            if (printer.Status() == TRpPrinterStatus::Finished)
                printer.Cleanup();
            SetupPrinter(printer);
            printer.SetTitle(reportTitle_);
            printer.SetCompression((options_ & Compression) != 0);
            printer.BeginDoc();
            currentY_ = -1;
            columnStartY_ = -1;
            pageCount_ = 0;
        }
    } catch (...) {
        endSteps();
        dataSets_.reset();
        becomeAvailable();
        throw;
    }

    try {
        columnNumber_ = page.Columns();
        if (TRpExportFilter* filter = ExportingFilter(); filter != nullptr && !filter->Started())
            filter->ExportStart(RpRound(page.NativeValue(TRpPage::kWidth)), RpRound(page.NativeValue(TRpPage::kLength)),
                                Font());
        ComputePageFooterHeight();
        TellPartsTheirReport();
        currentX_ = RpRound(page.NativeValue(TRpPage::kLeftMargin));

        controller_->CollectTree();
        ProcessEnvironment().PrepareEnvironment();
        functions_->AssignDataSets(dataSets_.get());
        functions_->PrepareEnvironment();
        environmentsPrepared = true;
        pageElement_ = functions_->ConstantElement("PAGENUMBER");
        columnElement_ = functions_->ConstantElement("COLUMNNUMBER");
        titleElement_ = functions_->ConstantElement("REPORTTITLE");
        TRpEvEnvironment::PutTextConstant(titleElement_, reportTitle_);
        controller_->PrepareRun();
        prepared = true;
        BeginRunAll();
        prepareOnly_ = prepareOnly;
        RunController();

        if (!prepareOnly) {
            currentX_ = RpRound(page.NativeValue(TRpPage::kLeftMargin));
            finalPage_ = true;
            if (!RunCancelled())
                EndPage();
            if (TRpExportFilter* filter = ExportingFilter())
                filter->ExportFinish();
        } else if (Tag() == 999) {
            finalPage_ = true;
            EndPage();
            if (TRpExportFilter* filter = ExportingFilter())
                filter->ExportFinish();
        }
    } catch (...) {
        endSteps();
        try {
            finishPrinter();
        } catch (...) {
            // The error of the run is the one the caller hears.
        }
        becomeAvailable();
        throw;
    }
    endSteps();
    try {
        finishPrinter();
    } catch (...) {
        becomeAvailable();
        throw;
    }
    becomeAvailable();
}

// --- space on the page

std::int32_t TCustomRpReport::PaperLengthForSpace() const
{
    if (rpPrinter_ == nullptr)
        return RpRound(page_->NativeValue(TRpPage::kLength));
    TPrinterSettings& settings = rpPrinter_->Settings();
    const bool landscape = page_->Orientation() == print::TPrinterOrientation::poLandscape;
    if (landscape && page_->PaperSize() != TRpPaperSize::Custom)
        return settings.PaperWidth();
    return settings.PaperLength();
}

bool TCustomRpReport::RunCancelled() const
{
    return cancelled_ || (rpPrinter_ != nullptr && rpPrinter_->Cancelled());
}

std::int32_t TCustomRpReport::AvailableSpace() const
{
    if (available_ || pageCount_ == 0)
        return 0;
    if (TRpExportFilter* filter = ExportingFilter(); filter != nullptr && filter->ExportSpaceQuery())
        return PaperLengthForSpace();
    return RpRound(PaperLengthForSpace() - page_->NativeValue(TRpPage::kBottomMargin) - pageFooterHeight_ - currentY_);
}

// --- pages and columns

void TCustomRpReport::PrintReportBand(TRpCustomBand* band)
{
    if (band == nullptr)
        return;
    if (band->AlignToBottom()) {
        if (band->BandType() == TRpBandType::rbSummary && (options_ & LastPageFooter) == 0)
            pageFooterHeight_ = 0;
        const long double bottom = page_->NativeValue(TRpPage::kBottomMargin) + pageFooterHeight_;
        const std::int32_t paper = PaperLengthForSpace();
        const long double height = band->Size().NativeLength();
        if (paper - currentY_ >= RpRound(height + bottom))
            currentY_ = paper - RpRound(height) - RpRound(bottom);
    }
    band->Print();
}

void TCustomRpReport::NewPage()
{
    EndPage();
    if (TRpExportFilter* filter = ExportingFilter())
        filter->ExportNewPage();
    ++pageCount_;
    TRpEvEnvironment::PutIntegerConstant(pageElement_, pageCount_);
    rpPrinter_->NewPage();
    currentY_ = RpRound(page_->NativeValue(TRpPage::kTopMargin));
    columnStartY_ = currentY_;
    if (OnStartPage && !Designing())
        OnStartPage(this);
    if (pageCount_ != 1 || (options_ & FirstPageHeader) != 0)
        PrintReportBand(BandOfType(TRpBandType::rbPageHeader));
    columnTop_ = currentY_;
    columnStartY_ = currentY_;
    if (pageCount_ == 1)
        if (TRpCustomBand* title = BandOfType(TRpBandType::rbTitle))
            columnTop_ += RpRound(title->Size().NativeLength());
}

void TCustomRpReport::PrintPagePrintables()
{
    for (TRpPrintable* printable : ReportPrintables())
        if (printable != backImage_)
            printable->PrintAt(0, 0);
    if (rpPrinter_ == nullptr || rpPrinter_->Canvas() == nullptr)
        return;
    const TRpPage& page = *page_;
    TRpPrinter& printer = *rpPrinter_;
    const gfx::TRect rect = gfx::Rect(
        printer.XPos(page.NativeValue(TRpPage::kLeftMargin)), printer.YPos(page.NativeValue(TRpPage::kTopMargin)),
        printer.XPos(page.NativeValue(TRpPage::kWidth) - page.NativeValue(TRpPage::kRightMargin)),
        printer.YPos(page.NativeValue(TRpPage::kLength) - page.NativeValue(TRpPage::kBottomMargin)));
    Frame().DrawFrame(*printer.Canvas(), rect, printer.XFactor(), printer.YFactor());
}

void TCustomRpReport::EndPage()
{
    if (pageCount_ > 0) {
        const TRpPage& page = *page_;
        currentY_ = RpRound(page.NativeValue(TRpPage::kLength) - page.NativeValue(TRpPage::kBottomMargin) -
                            pageFooterHeight_);
        currentX_ = RpRound(page.NativeValue(TRpPage::kLeftMargin));
        if (!finalPage_ || (options_ & LastPageFooter) != 0)
            PrintReportBand(BandOfType(TRpBandType::rbPageFooter));
        PrintPagePrintables();
        if (OnEndPage && !Designing())
            OnEndPage(this);
    }
    if (TRpExportFilter* filter = ExportingFilter())
        filter->ExportEndPage();
}

void TCustomRpReport::NewColumn()
{
    const TRpPage& page = *page_;
    const std::int32_t columns = page.Columns();
    if (columnNumber_ >= columns) {
        columnNumber_ = 1;
        currentX_ = RpRound(page.NativeValue(TRpPage::kLeftMargin));
        NewPage();
    } else {
        std::int32_t width;
        if (TRpCustomBand* detail = BandOfType(TRpBandType::rbDetail))
            width = RpRound(detail->Size().NativeWidth());
        else
            width = (RpRound(page.NativeValue(TRpPage::kWidth) -
                             (page.NativeValue(TRpPage::kLeftMargin) + page.NativeValue(TRpPage::kRightMargin))) -
                     RpRound(page.NativeValue(TRpPage::kColumnSpace)) * (columns - 1)) /
                    columns;
        currentX_ += RpRound(page.NativeValue(TRpPage::kColumnSpace)) + width;
        currentY_ = columnTop_;
        ++columnNumber_;
    }
    columnStartY_ = currentY_;
    TRpEvEnvironment::PutIntegerConstant(columnElement_, columnNumber_);
    if (columnNumber_ != 1 || pageCount_ != 1) {
        PrintReportBand(BandOfType(TRpBandType::rbColumnHeader));
        columnStartY_ = currentY_;
        controller_->ReprintGroups();
    }
    columnStartY_ = currentY_;
}

void TCustomRpReport::ForcedNewColumn()
{
    if (available_)
        return;
    if (!firstColumnRequested_ && columnNumber_ == 1) {
        firstColumnRequested_ = true;
        return;
    }
    NewColumn();
}

void TCustomRpReport::ForcedNewPage()
{
    if (available_)
        return;
    if (newPageStarted_) {
        newPageStarted_ = false;
        return;
    }
    do
        NewColumn();
    while (columnNumber_ != 1 && !RunCancelled());
}

bool TCustomRpReport::QueryTakesVariables(data::TDataSet* dataSet) const
{
    auto* query = dynamic_cast<data::TQuery*>(dataSet);
    if (query == nullptr)
        return false;
    for (int i = 0; i < query->ParamCount(); ++i)
        if (functions_->IndexOf(core::AnsiUpperCase(query->Params().Items(i).Name)) >= 0)
            return true;
    return false;
}

void TCustomRpReport::UpdateParamsBeforeOpen(data::TDataSet* dataSet, TRpEvEnvironment& environment)
{
    auto* query = dynamic_cast<data::TQuery*>(dataSet);
    if (query == nullptr)
        return;
    using data::TParamDataType;
    query->Close();
    for (int i = 0; i < query->ParamCount(); ++i) {
        data::TParam& param = query->Params().Items(i);
        const std::string name = core::AnsiUpperCase(param.Name);
        if (environment.IndexOf(name) < 0)
            continue;
        const TRpEvValue value = environment.VariableValue(name);
        switch (param.DataType) {
        case TParamDataType::String:
            if (value.Kind == evString)
                param.Value = data::Variant(value.StringValue);
            break;
        case TParamDataType::Smallint:
        case TParamDataType::Integer:
        case TParamDataType::Word:
            if (value.Kind == evInteger)
                param.Value = data::Variant(static_cast<int>(value.IntegerValue));
            break;
        case TParamDataType::Boolean:
            if (value.Kind == evBoolean)
                param.Value = data::Variant(value.BooleanValue);
            break;
        case TParamDataType::Float:
        case TParamDataType::Currency:
        case TParamDataType::BCD:
            if (value.Kind == evFloat)
                param.Value = data::Variant(value.FloatValue);
            break;
        case TParamDataType::Date:
            if (value.Kind == evString)
                param.Value = data::Variant::FromDateTime(core::StrToDate(value.StringValue));
            break;
        case TParamDataType::Time:
            if (value.Kind == evString)
                param.Value = data::Variant::FromDateTime(core::StrToTime(value.StringValue));
            break;
        case TParamDataType::DateTime:
            if (value.Kind == evString)
                param.Value = data::Variant::FromDateTime(core::StrToDateTime(value.StringValue));
            break;
        default:
            break;
        }
    }
    query->Open();
}

} // namespace report
