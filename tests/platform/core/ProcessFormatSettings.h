#pragma once
// Gives each test the Czech conventions as the process-wide format record,
// whatever locale the machine runs under, and puts the old record back after.

#include "platform/core/FormatSettings.h"

#include <gtest/gtest.h>

class ProcessFormatSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = core::FormatSettings;
        core::FormatSettings = core::TFormatSettings::Czech();
    }
    void TearDown() override { core::FormatSettings = saved_; }

private:
    core::TFormatSettings saved_;
};
