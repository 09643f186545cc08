#pragma once
// A form for a test's controls, freed with them after the test.

#include "platform/ui/kernel/Forms.h"

#include <gtest/gtest.h>

namespace uitest {

struct FormFixture : testing::Test {
    ui::TForm* form = ui::CreateComponent<ui::TForm>(nullptr);
    ~FormFixture() override { ui::FreeComponent(form); }
    // A control of the form, shown on it.
    template <class T>
    T* Make()
    {
        auto* control = new T(form);
        control->SetParent(form);
        return control;
    }
};

} // namespace uitest
