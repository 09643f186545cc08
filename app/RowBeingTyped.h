#pragma once
// The register's row being typed, as a search, a clear of the search, a
// title click or the closing of the window meets it: they reopen or leave the
// register, which would throw the row away, so it is saved first, as leaving
// it in the grid does.
//
// A new row that holds nothing but what the insert rules put into it is
// dropped instead, without a word, as if it had never been begun. A row the
// post rules or the database refuse stays in its editing state and its
// refusal travels on to the user, once: the search keystrokes that follow
// while the same row, with the same values, stays refused end silently.

#include "platform/data/DataSource.h"
#include "platform/data/Variant.h"

#include <optional>
#include <string>
#include <vector>

namespace app {

class TRowBeingTyped : private data::TDataLink {
public:
    explicit TRowBeingTyped(data::TDataSource* source);
    ~TRowBeingTyped() override;
    TRowBeingTyped(const TRowBeingTyped&) = delete;
    TRowBeingTyped& operator=(const TRowBeingTyped&) = delete;

    // The insert rules are done with the new row; issuer is what they put
    // into the issuing person's edit, written into the row at its post.
    void InsertRulesDone(const std::string& issuer);
    // Saves the row being typed or drops an untouched new one. A refusal
    // raises; with quietWhileRefused, a row refused before and unchanged
    // since ends the caller silently (core::EAbort) instead of asking again.
    void Save(bool quietWhileRefused);

private:
    void EditingChanged() override;
    std::vector<data::Variant> Values() const;
    // The new row holds what the insert rules left in it and nothing else.
    bool AsInserted(const std::vector<data::Variant>& values) const;

    std::optional<std::vector<data::Variant>> inserted_;
    std::string insertedIssuer_;
    std::optional<std::vector<data::Variant>> refused_;
};

} // namespace app
