#pragma once
// The register query lent to an export for its duration.
//
// The export replaces the query's SQL with its own and reads the period's
// rows; giving the query back closes it, puts the kept SQL lines back and
// opens it again, so the register tab's filter and order are as before.
// The query is given back on every way out: when the export fails, the
// destructor gives it back before the failure travels on.
//
// A register row still being edited is posted before the query is lent,
// as leaving a row does, because closing the query would throw its changes
// away; a post the register's rules refuse stops the export there. While
// lent, the data-aware controls on the register are not told of the
// export's rows.

#include "platform/core/StringList.h"
#include "platform/data/ADOQuery.h"

#include <string>

namespace app {

class TRegisterLoan {
public:
    // Posts a pending change (raising what the post raises) and keeps the SQL.
    explicit TRegisterLoan(data::TADOQuery& query);
    TRegisterLoan(const TRegisterLoan&) = delete;
    TRegisterLoan& operator=(const TRegisterLoan&) = delete;
    // Gives the query back if that has not been done; never raises.
    ~TRegisterLoan();

    // Sets the export's one-line SQL and opens the query.
    void Lend(const std::string& sql);
    // Closes the query, puts the kept SQL back and opens it; raises what the
    // opening raises. Once given back, later calls do nothing.
    void GiveBack();

    data::TADOQuery& Query() const { return *query_; }

private:
    data::TADOQuery* query_;
    core::TStringList kept_;
    bool givenBack_ = false;
};

} // namespace app
