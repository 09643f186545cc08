#include "app/RegisterLoan.h"

namespace app {

TRegisterLoan::TRegisterLoan(data::TADOQuery& query) : query_(&query)
{
    if (query.Active())
        query.CheckBrowseMode();
    kept_.Assign(query.SQL());
    query.DisableControls();
}

TRegisterLoan::~TRegisterLoan()
{
    try {
        GiveBack();
    } catch (...) {
        // The export's own failure, if any, is the one the user sees; the
        // register shows closed and the next search or export opens it.
    }
}

void TRegisterLoan::Lend(const std::string& sql)
{
    core::TStrings* lines = query_->SQL();
    lines->Clear();
    lines->Add(sql);
    query_->Open();
}

void TRegisterLoan::GiveBack()
{
    if (givenBack_)
        return;
    givenBack_ = true;
    struct Controls {
        data::TADOQuery* query;
        ~Controls() { query->EnableControls(); }
    } controls{query_};
    query_->Close();
    query_->SQL()->Assign(&kept_);
    query_->Open();
}

} // namespace app
