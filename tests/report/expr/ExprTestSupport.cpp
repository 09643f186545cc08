#include "ExprTestSupport.h"

#include "platform/core/Streams.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace report::test {

TestData::TestData()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "konverze-report-data-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern + "/";
    const std::string file = folder_ + "report.mdb";
    core::WriteFileBytes(file, ""); // an empty file is an empty database
    connection_ = new data::TADOConnection(&owner_);
    connection_->SetConnectionString(std::string("Provider=") + data::TADOConnection::kProvider +
                                     ";Data Source=" + file);
    connection_->Open();
}

TestData::~TestData()
{
    owner_.DestroyComponents();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

data::TADOQuery* TestData::Query(const std::string& name, const std::string& sql)
{
    auto* query = new data::TADOQuery(&owner_);
    query->SetName(name);
    query->SetConnection(connection_);
    query->SQL()->Add(sql);
    query->Open();
    return query;
}

} // namespace report::test
