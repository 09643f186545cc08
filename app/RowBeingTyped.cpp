#include "app/RowBeingTyped.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataSet.h"

#include <exception>

namespace app {

namespace {
const char* const kIssuerField = "vystavujici_osoba";
}

TRowBeingTyped::TRowBeingTyped(data::TDataSource* source) { SetDataSource(source); }

TRowBeingTyped::~TRowBeingTyped() { SetDataSource(nullptr); }

void TRowBeingTyped::EditingChanged()
{
    // A row refused or inserted before is over once the register leaves or
    // enters an editing state: what follows is another row.
    refused_.reset();
    inserted_.reset();
}

std::vector<data::Variant> TRowBeingTyped::Values() const
{
    std::vector<data::Variant> values;
    data::TDataSet* set = DataSet();
    for (int i = 0; i < set->FieldCount(); ++i)
        values.push_back(set->Fields()->Fields(i)->Value());
    return values;
}

void TRowBeingTyped::InsertRulesDone(const std::string& issuer)
{
    if (!Editing() || DataSet()->State() != data::dsInsert)
        return;
    inserted_ = Values();
    insertedIssuer_ = issuer;
}

bool TRowBeingTyped::AsInserted(const std::vector<data::Variant>& values) const
{
    if (!inserted_ || DataSet()->State() != data::dsInsert || values.size() != inserted_->size())
        return false;
    data::TField* issuer = DataSet()->FindField(kIssuerField);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == (*inserted_)[i])
            continue;
        // The issuing person the rules put into its edit reaches the row only now.
        const bool issuerAsPut = issuer != nullptr && static_cast<int>(i) == issuer->Index() &&
                                 values[i].AsString() == insertedIssuer_;
        if (!issuerAsPut)
            return false;
    }
    return true;
}

void TRowBeingTyped::Save(bool quietWhileRefused)
{
    data::TDataSet* set = DataSet();
    if (!Editing())
        return;
    // What the controls hold but have not written yet belongs to the row; a
    // control may refuse what it holds (a date that does not exist), and
    // that refuses the row as the post rules do.
    std::exception_ptr controlRefused;
    try {
        set->UpdateRecord();
    } catch (...) {
        controlRefused = std::current_exception();
    }
    const std::vector<data::Variant> values = Values();
    if (!controlRefused && AsInserted(values)) {
        set->Cancel();
        return;
    }
    if (quietWhileRefused && refused_ && *refused_ == values)
        core::Abort();
    try {
        if (controlRefused)
            std::rethrow_exception(controlRefused);
        set->CheckBrowseMode();
    } catch (...) {
        if (Editing())
            refused_ = values;
        throw;
    }
}

} // namespace app
