#pragma once
// The connection to the register database.
//
// ConnectionString is read as semicolon-separated key=value pairs (keys
// without regard to letter case, values optionally in quotes). The provider
// "Microsoft.Jet.OLEDB.4.0" opens the file named by "Data Source" with
// SQLite; any other provider is an error naming it. The file must exist: the
// connection never creates a database in its place.
//
// Several connections, in this process or others, may have the file open at
// once (share deny-none); a connection that finds the database busy waits up
// to BusyTimeout milliseconds before it reports the error.

#include "platform/core/Component.h"
#include "platform/data/JetSql.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace data {

class TADOQuery;

enum TConnectMode {
    cmUnknown,
    cmRead,
    cmWrite,
    cmReadWrite,
    cmShareDenyRead,
    cmShareDenyWrite,
    cmShareExclusive,
    cmShareDenyNone,
};

class TADOConnection : public core::TComponent {
public:
    static constexpr const char* kProvider = "Microsoft.Jet.OLEDB.4.0";

    explicit TADOConnection(core::TComponent* owner);
    ~TADOConnection() override;
    std::string ClassName() const override { return "TADOConnection"; }

    const std::string& ConnectionString() const noexcept { return connectionString_; }
    // Only while closed.
    void SetConnectionString(const std::string& text);
    // Kept for the callers' sake; the database asks for no login.
    bool LoginPrompt() const noexcept { return loginPrompt_; }
    void SetLoginPrompt(bool prompt) { loginPrompt_ = prompt; }
    // cmRead opens read-only, cmShareExclusive keeps other connections out;
    // every other mode reads and writes and shares the file. Only while closed.
    TConnectMode Mode() const noexcept { return mode_; }
    void SetMode(TConnectMode mode);
    int BusyTimeout() const noexcept { return busyTimeout_; }
    void SetBusyTimeout(int milliseconds);

    bool Connected() const noexcept { return db_ != nullptr; }
    void SetConnected(bool connected);
    void Open();
    // Closes the data sets that use the connection first.
    void Close();

    // Runs SQL that returns no rows; the number of rows it changed.
    int Execute(const std::string& sql);
    // The SQL SQLite runs for the program's Jet SQL on this open database.
    std::string TranslateSql(std::string_view sql);

    // The file the open connection works on.
    const std::string& DataSource() const noexcept { return fileName_; }
    sqlite3* Handle() const noexcept { return db_; }
    // Tells one opening of a connection from every other in the process.
    std::uint64_t OpenSerial() const noexcept { return openSerial_; }
    int DataSetCount() const noexcept { return static_cast<int>(dataSets_.size()); }
    TADOQuery* DataSets(int index) const { return dataSets_.at(static_cast<std::size_t>(index)); }

    // The pairs of a connection string in their order, values unquoted.
    static std::vector<std::pair<std::string, std::string>> ParseConnectionString(const std::string& text);

    core::TNotifyEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;

private:
    friend class TADOQuery;
    void AddDataSet(TADOQuery* dataSet);
    void RemoveDataSet(TADOQuery* dataSet);

    std::string connectionString_;
    bool loginPrompt_ = true;
    TConnectMode mode_ = cmUnknown;
    int busyTimeout_ = 5000;
    std::string fileName_;
    sqlite3* db_ = nullptr;
    std::uint64_t openSerial_ = 0;
    std::vector<TADOQuery*> dataSets_;
    // The columns of the database that hold no text, read again whenever the
    // schema changes.
    TNonTextColumns nonTextColumns_;
    int schemaVersion_ = -1;
};

} // namespace data
