#include "platform/data/Query.h"

#include "platform/core/Letters.h"
#include "platform/data/DataError.h"
#include "platform/data/Statement.h"

#include <sqlite3.h>

#include <cctype>

namespace data {

TParam* TParams::FindParam(const std::string& name)
{
    for (TParam& param : items_)
        if (core::SameText(param.Name, name))
            return &param;
    return nullptr;
}

TParam& TParams::ParamByName(const std::string& name)
{
    if (TParam* param = FindParam(name))
        return *param;
    throw EDatabaseError("Parameter '" + name + "' not found");
}

void TParams::ParseSQL(const std::string& sql)
{
    std::vector<TParam> found;
    char quote = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"' || c == '[') {
            quote = c == '[' ? ']' : c;
            continue;
        }
        // "::" is no parameter; a name follows a single colon.
        if (c != ':' || i + 1 >= sql.size() || sql[i + 1] == ':' || (i > 0 && sql[i - 1] == ':'))
            continue;
        std::size_t end = i + 1;
        while (end < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '_'))
            ++end;
        if (end == i + 1)
            continue;
        std::string name = sql.substr(i + 1, end - i - 1);
        bool known = false;
        for (const TParam& p : found)
            known = known || core::SameText(p.Name, name);
        if (!known) {
            TParam* old = FindParam(name);
            found.push_back(old != nullptr ? *old : TParam{name, TParamDataType::Unknown, Variant()});
        }
        i = end - 1;
    }
    items_ = std::move(found);
}

void TQuery::SqlChanged()
{
    TADOQuery::SqlChanged();
    params_.ParseSQL(SQL()->Text());
}

void TQuery::BindParameters(TStatement& statement)
{
    for (int i = 0; i < params_.Count(); ++i) {
        const TParam& param = params_.Items(i);
        const int index = sqlite3_bind_parameter_index(statement.Handle(), (":" + param.Name).c_str());
        if (index > 0)
            statement.Bind(index, param.Value);
    }
}

void TTable::SetTableName(const std::string& name)
{
    tableName_ = name;
    SQL()->Clear();
    if (!name.empty())
        SQL()->Add("SELECT * FROM [" + name + "]");
}

} // namespace data
