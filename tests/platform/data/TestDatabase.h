#pragma once
// A private copy of the register database the build made (konverze.mdb beside
// the executable), in a folder of its own that goes away with the object.

#include <string>

class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& Folder() const { return folder_; }
    const std::string& Path() const { return path_; }
    std::string ConnectionString() const;
    // Runs SQL on the file directly, past the layer under test.
    void Exec(const std::string& sql) const;

private:
    std::string folder_;
    std::string path_;
};

// Local date-time as days since 1899-12-30 (the database's own form).
double DateTimeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
