#pragma once
// A form with hosted browser controls on it, pages from a local server and a
// registry of the test's own.

#include "browser/BrowserTools.h"
#include "browser/HostedBrowser.h"
#include "platform/core/Registry.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Forms.h"
#include "tests/platform/web/WebTestSupport.h"
#include "tests/support/LocalHttpServer.h"

#include <gtest/gtest.h>

namespace browsertest {

class BrowserFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = ui::CreateComponent<ui::TForm>(nullptr);
        form->SetBounds(0, 0, 800, 600);
    }
    void TearDown() override { ui::FreeComponent(form); }

    browser::THostedBrowser* Make()
    {
        auto* control = new browser::THostedBrowser(form);
        control->SetParent(form);
        control->SetAlign(ui::TAlign::alClient);
        return control;
    }
    // Navigates and waits until the page and the engine's load are both complete.
    void Load(browser::THostedBrowser* control, const std::string& path)
    {
        control->Navigate(server.Url(path));
        ASSERT_TRUE(testsupport::WaitUntil([&] { return control->ReadyState() == 4; }, 30000)) << path;
    }
    // The engine drops keys and clicks until a new page has been drawn: waits for that.
    static void WaitUntilDrawn(browser::THostedBrowser* control)
    {
        control->Browser().Evaluate("window.drawn = false;"
                                    "requestAnimationFrame(() => requestAnimationFrame(() => window.drawn = true)); 0");
        ASSERT_TRUE(WaitUntil([&] { return control->Browser().Evaluate("window.drawn").AsBoolean(); }));
    }
    static bool WaitUntil(const std::function<bool()>& condition)
    {
        return testsupport::WaitUntil(condition, 30000);
    }
    // The token is registered for the engine's user agent.
    static bool HasToken(const std::string& token)
    {
        core::TRegistry registry;
        return registry.OpenKeyReadOnly(browser::UserAgentTokenKey) && registry.ValueExists(token);
    }

    testsupport::TempConfigHome config;
    testsupport::LocalHttpServer server;
    ui::TForm* form = nullptr;
};

} // namespace browsertest
