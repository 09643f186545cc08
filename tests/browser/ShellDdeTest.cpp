#include "browser/BrowserTools.h"
#include "browser/ShellDde.h"
#include "tests/browser/BrowserFixture.h"

#include "platform/core/Registry.h"
#include "platform/ui/kernel/Dde.h"

#include <QDir>
#include <QUrl>

#include <atomic>
#include <thread>

using namespace browser;
using browsertest::BrowserFixture;

namespace {

TShellDdeNames Names()
{
    TShellDdeNames names;
    names.WebApplication = "WebDoc";
    names.WebTopic = "OpenUrl";
    names.FolderApplication = "Slozky";
    names.FolderTopic = "Prikazy";
    names.FolderOpenCommand = "Otevri";
    names.FolderExploreCommand = "Prozkoumej";
    names.DirectoryFindCommand = "Hledej";
    return names;
}

// --- reading the commands

TEST(ShellDdeParsingTest, CommandNamesAndKinds)
{
    const TShellDdeNames names = Names();
    EXPECT_EQ(DdeCommandName("[Otevri(\"/tmp\",0,1)]"), "Otevri");
    EXPECT_EQ(DdeCommandName("xx[Jmeno(a)][Druhe(b)]"), "Jmeno");
    EXPECT_EQ(DdeCommandName("[BezZavorky"), "");
    EXPECT_EQ(DdeCommandName("Otevri(\"/tmp\")"), "");
    EXPECT_EQ(DdeCommandName(""), "");
    EXPECT_EQ(ParseDdeCommandKind("[Otevri(\"/a\")]", names), TDdeCommandKind::Open);
    EXPECT_EQ(ParseDdeCommandKind("[Prozkoumej(\"/a\")]", names), TDdeCommandKind::Explore);
    EXPECT_EQ(ParseDdeCommandKind("[Hledej(\"/a\")]", names), TDdeCommandKind::Find);
    EXPECT_EQ(ParseDdeCommandKind("[otevri(\"/a\")]", names), TDdeCommandKind::None);
    EXPECT_EQ(ParseDdeCommandKind("[Smaz(\"/a\")]", names), TDdeCommandKind::None);
    // Names never read match nothing, not even an empty command name.
    EXPECT_EQ(ParseDdeCommandKind("[(\"/a\")]", TShellDdeNames{}), TDdeCommandKind::None);
}

TEST(ShellDdeParsingTest, ArgumentsStopAtTheTextsEnd)
{
    EXPECT_EQ(DdeCommandArguments("[A(\"/x,y\", :12:34, 3)]"),
              (std::vector<std::string>{"\"/x,y\"", " :12:34", " 3"}));
    EXPECT_EQ(DdeCommandArguments("[A(\"/x\")"), std::vector<std::string>{"\"/x\""}); // no closing: the end
    EXPECT_EQ(DdeCommandArguments("[A("), std::vector<std::string>{""});
    EXPECT_FALSE(DdeCommandArguments("[A(\"/nekonci)]"));
    EXPECT_FALSE(DdeCommandArguments("[A"));
    EXPECT_EQ(ExtractQuotedPath(" \"/home/jana\" "), "/home/jana");
    EXPECT_EQ(ExtractQuotedPath("bez uvozovek"), "");
    EXPECT_FALSE(ExtractQuotedPath("\"/otevreno"));
}

TEST(ShellDdeParsingTest, ShowCommands)
{
    EXPECT_EQ(ParseShowCommand(" 3"), 3);
    EXPECT_EQ(ParseShowCommand("x7y"), 7);
    EXPECT_EQ(ParseShowCommand(""), 1);
    EXPECT_EQ(ParseShowCommand("+"), 1);
    EXPECT_EQ(ParseShowCommand("-"), 1);
    EXPECT_EQ(ParseShowCommand("-5"), 1); // one character: the sign
    EXPECT_EQ(ParseShowCommand("žádné"), 1);
}

TEST(ShellDdeParsingTest, ItemIDListsComeFromSharedMemoryNeverFromAnAddress)
{
    const auto list = ui::ItemIDListFromPath("/home/jana");
    ASSERT_TRUE(list);
    const ui::DWORD process = ui::GetCurrentProcessId();
    const ui::HANDLE block = ui::SHAllocShared(*list, process);
    const std::string argument = ":" + std::to_string(block) + ":" + std::to_string(process);
    EXPECT_EQ(ParsePidlArgument(argument), list);
    EXPECT_FALSE(ParsePidlArgument(argument)); // freed after the copy
    // A plain number would be an address in this process: never followed.
    const ui::HANDLE again = ui::SHAllocShared(*list, process);
    EXPECT_FALSE(ParsePidlArgument(" " + std::to_string(again)));
    EXPECT_FALSE(ParsePidlArgument(":" + std::to_string(again) + ":0"));
    EXPECT_FALSE(ParsePidlArgument(":" + std::to_string(again) + ":" + std::to_string(process + 1)));
    EXPECT_FALSE(ParsePidlArgument(":99999999999999999999999:1"));
    EXPECT_FALSE(ParsePidlArgument(":+-12:1"));
    EXPECT_FALSE(ParsePidlArgument(""));
    EXPECT_FALSE(ParsePidlArgument(":"));
    ui::SHFreeShared(again, process);
    // A block that holds no well-formed list gives none.
    const std::vector<std::uint8_t> broken{9, 0, 'a'};
    const ui::HANDLE bad = ui::SHAllocShared(broken, process);
    EXPECT_FALSE(ParsePidlArgument(":" + std::to_string(bad) + ":" + std::to_string(process)));
}

TEST(ShellDdeParsingTest, FolderCommands)
{
    const TShellDdeNames names = Names();
    auto command = ParseDdeCommand("[Otevri(\"/home/jana\", 0, 3)]", names);
    EXPECT_EQ(command.Kind, TDdeCommandKind::Open);
    EXPECT_EQ(command.Path, "/home/jana");
    EXPECT_FALSE(command.ItemIDList);
    EXPECT_EQ(command.ShowCommand, 3);
    command = ParseDdeCommand("[Prozkoumej(\"/a,b\")]", names);
    EXPECT_EQ(command.Kind, TDdeCommandKind::Explore);
    EXPECT_EQ(command.Path, "/a,b");
    EXPECT_EQ(command.ShowCommand, 1);
    command = ParseDdeCommand("[Hledej(\"/a\",,+)]", names);
    EXPECT_EQ(command.Kind, TDdeCommandKind::Find);
    EXPECT_EQ(command.ShowCommand, 1);
    // Malformed or naming nothing: no kind.
    EXPECT_EQ(ParseDdeCommand("[Otevri(\"/a)]", names).Kind, TDdeCommandKind::None);
    EXPECT_EQ(ParseDdeCommand("[Otevri(, 12345, 1)]", names).Kind, TDdeCommandKind::None);
    EXPECT_EQ(ParseDdeCommand("[Otevri(", names).Kind, TDdeCommandKind::None);
    EXPECT_EQ(ParseDdeCommand("[Neznamy(\"/a\")]", names).Kind, TDdeCommandKind::None);
    EXPECT_EQ(ParseDdeCommand(std::string(100000, '['), names).Kind, TDdeCommandKind::None);
}

TEST(ShellDdeParsingTest, WebDocumentCommands)
{
    EXPECT_EQ(ParseWebDocumentCommand("\"http://a/b\",,-1,0,,,,"), "http://a/b");
    EXPECT_EQ(ParseWebDocumentCommand("  http://a/c  "), "http://a/c");
    EXPECT_FALSE(ParseWebDocumentCommand("\"http://neukoncena"));
    EXPECT_FALSE(ParseWebDocumentCommand("\"\""));
    EXPECT_FALSE(ParseWebDocumentCommand("   "));
    const std::uint8_t block[] = {'a', 'b', 0, 'c'};
    EXPECT_EQ(DdeCommandText(block), "ab");
    const std::uint8_t unterminated[] = {'x', 'y'};
    EXPECT_EQ(DdeCommandText(unterminated), "xy");
}

// --- conversations with the control

class ShellDdeTest : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        // The classes as the shell registers them.
        core::TRegistry registry;
        registry.SetRootKey(core::HKEY_CLASSES_ROOT);
        auto write = [&](const std::string& key, const std::string& value) {
            ASSERT_TRUE(registry.OpenKey(key, true));
            registry.WriteString("", value);
            registry.CloseKey();
        };
        write("\\htmlfile\\shell\\open\\ddeexec\\application", "WebDoc");
        write("\\htmlfile\\shell\\open\\ddeexec\\topic", "OpenUrl");
        write("\\Folder\\shell\\open\\ddeexec\\application", "Slozky");
        write("\\Folder\\shell\\open\\ddeexec\\topic", "Prikazy");
        write("\\Folder\\shell\\open\\ddeexec", "[Otevri(\"%l\", %I, %S)]");
        write("\\Folder\\shell\\explore\\ddeexec", "[Prozkoumej(\"%l\", %I, %S)]");
        write("\\Directory\\shell\\find\\ddeexec", "[Hledej(\"%l\", %I)]");
        control = Make();
        control->Loaded();
        client = ui::CreateWindowEx("Klient", "", nullptr, [this](ui::TMessage& m) { received.push_back(m); });
    }
    void TearDown() override
    {
        ui::DestroyWindow(client);
        SetShellExecuteHandler({});
        BrowserFixture::TearDown();
    }

    // Starts a conversation as the shell does; the answering window, or null.
    // The broadcast reaches the client itself too; only acknowledgements are kept.
    ui::HWND Initiate(const std::string& application, const std::string& topic)
    {
        const std::size_t before = received.size();
        const ui::ATOM a = ui::GlobalAddAtom(application);
        const ui::ATOM t = ui::GlobalAddAtom(topic);
        ui::BroadcastMessage(ui::WM_DDE_INITIATE, ui::ParamFromWindow(client), ui::MakeLParam(a, t));
        ui::GlobalDeleteAtom(a);
        ui::GlobalDeleteAtom(t);
        requested = ui::MakeLParam(a, t);
        std::vector<ui::TMessage> answers(received.begin() + static_cast<std::ptrdiff_t>(before), received.end());
        received.resize(before);
        initiateAnswers.clear();
        for (const auto& m : answers)
            if (m.Msg == ui::WM_DDE_ACK)
                initiateAnswers.push_back(m);
        return initiateAnswers.empty() ? nullptr : ui::WindowFromParam(initiateAnswers[0].WParam);
    }
    // Sends a command and waits for the acknowledgement; its status word.
    ui::WORD Execute(ui::HWND server, const std::string& command)
    {
        received.clear();
        const ui::HGLOBAL block = ui::GlobalAllocText(command);
        EXPECT_TRUE(ui::PostMessage(server, ui::WM_DDE_EXECUTE, ui::ParamFromWindow(client),
                                    ui::PackDDElParam(ui::WM_DDE_EXECUTE, 0, block)));
        EXPECT_TRUE(WaitUntil([&] { return !received.empty(); }));
        ui::UINT_PTR status = 0xFFFF;
        ui::UINT_PTR returned = 0;
        if (!received.empty()) {
            EXPECT_EQ(received[0].Msg, ui::WM_DDE_ACK);
            EXPECT_EQ(ui::WindowFromParam(received[0].WParam), server);
            EXPECT_TRUE(ui::UnpackDDElParam(ui::WM_DDE_ACK, received[0].LParam, &status, &returned));
            ui::FreeDDElParam(ui::WM_DDE_ACK, received[0].LParam);
            EXPECT_EQ(returned, block); // the command block comes back to be freed
        }
        ui::GlobalFree(block);
        return static_cast<ui::WORD>(status);
    }

    THostedBrowser* control = nullptr;
    ui::HWND client = nullptr;
    std::vector<ui::TMessage> received;
    std::vector<ui::TMessage> initiateAnswers;
    ui::LPARAM requested = 0;
};

TEST_F(ShellDdeTest, NamesAreReadFromTheClasses)
{
    const TShellDdeNames& names = ShellDdeNames();
    EXPECT_EQ(names.WebApplication, "WebDoc");
    EXPECT_EQ(names.FolderTopic, "Prikazy");
    EXPECT_EQ(names.FolderOpenCommand, "Otevri");
    EXPECT_EQ(names.FolderExploreCommand, "Prozkoumej");
    EXPECT_EQ(names.DirectoryFindCommand, "Hledej");
}

TEST_F(ShellDdeTest, ConversationsOfThisThreadAreAcknowledged)
{
    EXPECT_EQ(Initiate("WebDoc", "OpenUrl"), control->Handle());
    ASSERT_EQ(initiateAnswers.size(), 1u);
    EXPECT_EQ(initiateAnswers[0].LParam, requested); // the application and topic atoms asked for
    EXPECT_TRUE(DdeWebDocumentConversation());
    EXPECT_EQ(Initiate("Slozky", "Prikazy"), control->Handle());
    EXPECT_FALSE(DdeWebDocumentConversation());
    EXPECT_EQ(Initiate("WebDoc", "Jine"), nullptr);
    EXPECT_EQ(Initiate("Nikdo", "OpenUrl"), nullptr);
    // Atoms added for the answer are given back.
    EXPECT_EQ(ui::GlobalFindAtom("WebDoc"), 0);

    control->DisableErrors().SetEnableDDE(false);
    EXPECT_EQ(Initiate("WebDoc", "OpenUrl"), nullptr);
    control->DisableErrors().SetEnableDDE(true);
    DdeBusy() = true;
    EXPECT_EQ(Initiate("WebDoc", "OpenUrl"), nullptr);
    DdeBusy() = false;
}

TEST_F(ShellDdeTest, AConversationFromAnotherThreadIsRefused)
{
    std::atomic<bool> done{false};
    std::vector<ui::UINT> foreignReceived;
    ui::HWND foreign = nullptr;
    std::thread other([&] {
        foreign = ui::CreateWindowEx("CiziKlient", "", nullptr, [&](ui::TMessage& m) {
            if (m.Msg != ui::WM_DDE_INITIATE) // its own broadcast reaches it too
                foreignReceived.push_back(m.Msg);
        });
        const ui::ATOM a = ui::GlobalAddAtom("WebDoc");
        const ui::ATOM t = ui::GlobalAddAtom("OpenUrl");
        ui::BroadcastMessage(ui::WM_DDE_INITIATE, ui::ParamFromWindow(foreign), ui::MakeLParam(a, t));
        ui::GlobalDeleteAtom(a);
        ui::GlobalDeleteAtom(t);
        done = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return done.load(); }));
    other.join();
    EXPECT_TRUE(foreignReceived.empty());
    ui::DestroyWindow(foreign);
    // The same request from this thread is answered.
    EXPECT_EQ(Initiate("WebDoc", "OpenUrl"), control->Handle());
}

TEST_F(ShellDdeTest, AQuotedAddressNavigatesHere)
{
    server.ServeHtml("/dde.html", "<title>Z DDE</title>");
    const ui::HWND server_ = Initiate("WebDoc", "OpenUrl");
    ASSERT_NE(server_, nullptr);
    EXPECT_EQ(Execute(server_, "\"" + server.Url("/dde.html") + "\",,-1,0,,,,"), ui::DDE_FACK);
    ASSERT_TRUE(WaitUntil([&] { return control->LocationName() == "Z DDE"; }));
    EXPECT_EQ(control->LocationURL(), server.Url("/dde.html"));

    // Malformed commands are refused and navigate nowhere.
    EXPECT_EQ(Execute(server_, "\"http://neukoncena"), 0);
    EXPECT_EQ(Execute(server_, ""), 0);
    EXPECT_EQ(Execute(server_, "\"\""), 0);
    EXPECT_EQ(control->LocationURL(), server.Url("/dde.html"));

    // Terminating: the partner is told.
    received.clear();
    ui::PostMessage(server_, ui::WM_DDE_TERMINATE, ui::ParamFromWindow(client), 0);
    ASSERT_TRUE(WaitUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received[0].Msg, ui::WM_DDE_TERMINATE);
}

TEST_F(ShellDdeTest, FolderCommandsOpenHereOrInTheFileManager)
{
    const ui::HWND server_ = Initiate("Slozky", "Prikazy");
    ASSERT_NE(server_, nullptr);
    const std::string folder = QDir::tempPath().toStdString();
    EXPECT_EQ(Execute(server_, "[Otevri(\"" + folder + "\", 0, 1)]"), ui::DDE_FACK);
    const std::string url = QUrl::fromLocalFile(QString::fromStdString(folder)).toString().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return control->LocationURL().rfind(url, 0) == 0; }));

    // An item-ID list in shared memory.
    server.ServeHtml("/x", "");
    control->Navigate(server.Url("/x"));
    ASSERT_TRUE(WaitUntil([&] { return control->ReadyState() == 4; }));
    const auto list = ui::ItemIDListFromPath(folder);
    const ui::HANDLE block = ui::SHAllocShared(*list, ui::GetCurrentProcessId());
    EXPECT_EQ(Execute(server_, "[Otevri(, :" + std::to_string(block) + ":" + std::to_string(ui::GetCurrentProcessId()) + ", 1)]"),
              ui::DDE_FACK);
    ASSERT_TRUE(WaitUntil([&] { return control->LocationURL().rfind(url, 0) == 0; }));

    // Explore and find go to the shell; the busy flag guards against its own conversations.
    std::vector<TShellExecuteInfo> executed;
    std::vector<bool> answeredMeanwhile;
    SetShellExecuteHandler([&](const TShellExecuteInfo& info) {
        executed.push_back(info);
        answeredMeanwhile.push_back(Initiate("Slozky", "Prikazy") != nullptr);
        return true;
    });
    EXPECT_EQ(Execute(server_, "[Prozkoumej(\"/home\", 0, 3)]"), ui::DDE_FACK);
    const ui::HANDLE found = ui::SHAllocShared(*list, ui::GetCurrentProcessId());
    EXPECT_EQ(Execute(server_, "[Hledej(\"\", :" + std::to_string(found) + ":" + std::to_string(ui::GetCurrentProcessId()) + ")]"),
              ui::DDE_FACK);
    ASSERT_EQ(executed.size(), 2u);
    EXPECT_EQ(executed[0].Verb, "explore");
    EXPECT_EQ(executed[0].Class, "folder");
    EXPECT_EQ(executed[0].Mask, SEE_MASK_CLASSNAME);
    EXPECT_EQ(executed[0].File, "/home");
    EXPECT_EQ(executed[0].Show, 3);
    EXPECT_EQ(executed[1].Verb, "find");
    EXPECT_EQ(executed[1].Class, "");
    EXPECT_EQ(executed[1].Mask, SEE_MASK_IDLIST);
    EXPECT_EQ(executed[1].IDList, *list);
    EXPECT_EQ(answeredMeanwhile, (std::vector<bool>{false, false}));
    EXPECT_FALSE(DdeBusy());

    // A shell that fails is reported as a failure.
    SetShellExecuteHandler([](const TShellExecuteInfo&) { return false; });
    Initiate("Slozky", "Prikazy");
    EXPECT_EQ(Execute(server_, "[Prozkoumej(\"/home\")]"), 0);
}

TEST_F(ShellDdeTest, MalformedFolderCommandsAreRefusedWithoutHarm)
{
    const ui::HWND server_ = Initiate("Slozky", "Prikazy");
    ASSERT_NE(server_, nullptr);
    const std::string before = control->LocationURL();
    for (const std::string& command :
         {std::string("[Neznamy(\"/tmp\")]"), std::string("[Otevri(\"/tmp)]"), std::string("[Otevri(, 140737488355328, 1)]"),
          std::string("[Otevri(, :1:0)]"), std::string("[Otevri("), std::string("[Otevri(, :12:34:56:"),
          std::string("[Otevri(\"\")]"), std::string(5000, ','), std::string("[[[((("), std::string("\"")})
        EXPECT_EQ(Execute(server_, command), 0) << command;
    EXPECT_EQ(control->LocationURL(), before);

    // A command block that names no memory is not answered; a packed parameter that names nothing neither.
    received.clear();
    ui::PostMessage(server_, ui::WM_DDE_EXECUTE, ui::ParamFromWindow(client), 0x7777);
    ui::Application->ProcessMessages();
    EXPECT_TRUE(received.empty());
}

TEST_F(ShellDdeTest, NavigatingToItemIDLists)
{
    EXPECT_FALSE(control->NavigatePidl({}));
    EXPECT_FALSE(control->NavigatePidl({3, 0, 'a'}));
    EXPECT_FALSE(control->NavigateUrlText("   "));
    const auto list = ui::ItemIDListFromPath(QDir::tempPath().toStdString());
    EXPECT_TRUE(control->NavigatePidl(*list));
    EXPECT_THROW(control->Navigate2(std::vector<std::uint8_t>{4, 0, '.', '.', 0, 0}), core::EOleError);
}

TEST_F(ShellDdeTest, TheHiddenWindowGoesWithTheControl)
{
    const ui::HWND window = control->DdeWindow();
    ASSERT_TRUE(ui::IsWindow(window));
    EXPECT_EQ(ui::GetParent(window), nullptr);
    delete control;
    EXPECT_FALSE(ui::IsWindow(window));
    EXPECT_EQ(Initiate("WebDoc", "OpenUrl"), nullptr);
}

} // namespace
