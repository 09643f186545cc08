#pragma once
// Queries with parameters and tables, as stored reports name them: TQuery
// runs its SQL with ":name" parameters filled from Params; TTable reads a
// whole table.

#include "platform/data/ADOQuery.h"
#include "platform/data/Variant.h"

#include <string>
#include <vector>

namespace data {

enum class TParamDataType {
    Unknown, String, Smallint, Integer, Word, Boolean, Float, Currency, BCD, Date, Time, DateTime
};

struct TParam {
    std::string Name;
    TParamDataType DataType = TParamDataType::Unknown;
    Variant Value;
};

class TParams {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TParam& Items(int index) { return items_.at(static_cast<std::size_t>(index)); }
    const TParam& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    // Names compare without regard to ASCII letter case.
    TParam* FindParam(const std::string& name);
    // Raises EDatabaseError "Parameter 'name' not found" when there is none.
    TParam& ParamByName(const std::string& name);
    // The parameters a text names, in order of first use; those already
    // known keep their type and value.
    void ParseSQL(const std::string& sql);

private:
    std::vector<TParam> items_;
};

class TQuery : public TADOQuery {
public:
    explicit TQuery(core::TComponent* owner) : TADOQuery(owner) {}
    std::string ClassName() const override { return "TQuery"; }
    TParams& Params() { return params_; }
    const TParams& Params() const { return params_; }
    int ParamCount() const { return params_.Count(); }

protected:
    void BindParameters(TStatement& statement) override;
    bool KeepsRows() const override { return false; }
    void SqlChanged() override;

private:
    TParams params_;
};

class TTable : public TADOQuery {
public:
    explicit TTable(core::TComponent* owner) : TADOQuery(owner) {}
    std::string ClassName() const override { return "TTable"; }
    const std::string& TableName() const { return tableName_; }
    // Closes the table; it reads every row of the named table when opened.
    void SetTableName(const std::string& name);

private:
    std::string tableName_;
};

} // namespace data
