#pragma once
// A fresh folder for each test, removed with everything in it afterwards.

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

class TempFolderFixture : public ::testing::Test {
protected:
    // The names in the folder, sorted.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names = folder.Entries();
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TestFolder folder{"core"};
    const std::string dir = folder.Path().string() + "/"; // ends with "/"
};
