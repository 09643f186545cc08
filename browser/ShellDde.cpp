#include "browser/ShellDde.h"

#include "platform/core/Registry.h"

#include <charconv>
#include <cstdint>

namespace browser {

namespace {

bool IsSignOrDigit(char c)
{
    return c == '+' || c == '-' || (c >= '0' && c <= '9');
}

// The run of signs and digits starting at the first sign or digit from 'from'; its end in 'end'.
std::string_view NumberRun(std::string_view text, std::size_t from, std::size_t& end)
{
    std::size_t start = from;
    while (start < text.size() && !IsSignOrDigit(text[start]))
        ++start;
    end = start;
    while (end < text.size() && IsSignOrDigit(text[end]))
        ++end;
    return text.substr(start, end - start);
}

template <class T>
std::optional<T> ToNumber(std::string_view run)
{
    if (!run.empty() && run.front() == '+')
        run.remove_prefix(1);
    T value{};
    const auto [rest, error] = std::from_chars(run.data(), run.data() + run.size(), value);
    if (error != std::errc() || rest != run.data() + run.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string_view TrimText(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

TShellDdeNames& ShellDdeNames()
{
    static TShellDdeNames names;
    return names;
}

bool LoadShellDdeNames()
{
    TShellDdeNames& names = ShellDdeNames();
    try {
        core::TRegistry registry;
        registry.SetRootKey(core::HKEY_CLASSES_ROOT);
        auto read = [&](const std::string& key) {
            std::string value;
            if (registry.OpenKeyReadOnly(key))
                value = registry.ReadString("");
            registry.CloseKey();
            return value;
        };
        names.WebApplication = read("\\htmlfile\\shell\\open\\ddeexec\\application");
        names.WebTopic = read("\\htmlfile\\shell\\open\\ddeexec\\topic");
        names.FolderApplication = read("\\Folder\\shell\\open\\ddeexec\\application");
        names.FolderTopic = read("\\Folder\\shell\\open\\ddeexec\\topic");
        names.FolderOpenCommand = DdeCommandName(read("\\Folder\\shell\\open\\ddeexec"));
        names.FolderExploreCommand = DdeCommandName(read("\\Folder\\shell\\explore\\ddeexec"));
        names.DirectoryFindCommand = DdeCommandName(read("\\Directory\\shell\\find\\ddeexec"));
        return true;
    } catch (const core::Exception&) {
        return false;
    }
}

void ClearShellDdeNames()
{
    ShellDdeNames() = {};
}

bool& DdeWebDocumentConversation()
{
    static bool web = false;
    return web;
}

bool& DdeBusy()
{
    static bool busy = false;
    return busy;
}

std::string DdeCommandName(std::string_view text)
{
    const auto open = text.find('[');
    if (open == std::string_view::npos)
        return {};
    const auto paren = text.find('(', open + 1);
    if (paren == std::string_view::npos)
        return {};
    return std::string(text.substr(open + 1, paren - open - 1));
}

TDdeCommandKind ParseDdeCommandKind(std::string_view text, const TShellDdeNames& names)
{
    const std::string name = DdeCommandName(text);
    if (name.empty())
        return TDdeCommandKind::None;
    if (name == names.FolderOpenCommand)
        return TDdeCommandKind::Open;
    if (name == names.FolderExploreCommand)
        return TDdeCommandKind::Explore;
    if (name == names.DirectoryFindCommand)
        return TDdeCommandKind::Find;
    return TDdeCommandKind::None;
}

std::optional<std::vector<std::string>> DdeCommandArguments(std::string_view text)
{
    const auto open = text.find('[');
    const auto paren = open == std::string_view::npos ? open : text.find('(', open + 1);
    if (paren == std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> arguments(1);
    bool quoted = false;
    for (std::size_t at = paren + 1; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ')')
            return arguments;
        else if (!quoted && c == ',') {
            arguments.emplace_back();
            continue;
        }
        arguments.back() += c;
    }
    if (quoted)
        return std::nullopt;
    return arguments;
}

std::optional<std::string> ExtractQuotedPath(std::string_view argument)
{
    const auto first = argument.find('"');
    if (first == std::string_view::npos)
        return std::string();
    const auto second = argument.find('"', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    return std::string(argument.substr(first + 1, second - first - 1));
}

std::optional<ui::TItemIDList> ParsePidlArgument(std::string_view argument)
{
    std::size_t end = 0;
    const auto number = ToNumber<std::uint64_t>(NumberRun(argument, 0, end));
    if (!number)
        return std::nullopt;
    // From the end of the number, the first ":" or "," decides whether a process follows.
    std::size_t at = end;
    while (at < argument.size() && argument[at] != ':' && argument[at] != ',')
        ++at;
    std::optional<std::uint32_t> process;
    if (at < argument.size() && argument[at] == ':') {
        std::size_t processEnd = 0;
        process = ToNumber<std::uint32_t>(NumberRun(argument, at + 1, processEnd));
    }
    if (!process || *process == 0)
        return std::nullopt; // an address in this process: never followed
    const auto block = ui::SHLockShared(static_cast<ui::HANDLE>(*number), *process);
    if (block.data() == nullptr)
        return std::nullopt;
    std::optional<ui::TItemIDList> list = ui::CopyItemIDList(block);
    ui::SHUnlockShared(static_cast<ui::HANDLE>(*number), *process);
    ui::SHFreeShared(static_cast<ui::HANDLE>(*number), *process);
    return list;
}

int ParseShowCommand(std::string_view argument)
{
    for (char c : argument)
        if (IsSignOrDigit(c))
            return c >= '0' && c <= '9' ? c - '0' : 1;
    return 1;
}

TDdeFolderCommand ParseDdeCommand(std::string_view text, const TShellDdeNames& names)
{
    TDdeFolderCommand command;
    const TDdeCommandKind kind = ParseDdeCommandKind(text, names);
    if (kind == TDdeCommandKind::None)
        return command;
    const auto arguments = DdeCommandArguments(text);
    if (!arguments)
        return command;
    const auto path = ExtractQuotedPath((*arguments)[0]);
    if (!path)
        return command;
    command.Path = *path;
    if (arguments->size() > 1)
        command.ItemIDList = ParsePidlArgument((*arguments)[1]);
    if (arguments->size() > 2)
        command.ShowCommand = ParseShowCommand((*arguments)[2]);
    if (command.Path.empty() && !command.ItemIDList)
        return command;
    command.Kind = kind;
    return command;
}

std::optional<std::string> ParseWebDocumentCommand(std::string_view text)
{
    std::string_view address = text;
    if (!address.empty() && address.front() == '"') {
        const auto close = address.find('"', 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        address = address.substr(1, close - 1);
    }
    address = TrimText(address);
    if (address.empty())
        return std::nullopt;
    return std::string(address);
}

std::string_view DdeCommandText(std::span<const std::uint8_t> block)
{
    const auto* begin = reinterpret_cast<const char*>(block.data());
    std::size_t size = 0;
    while (size < block.size() && block[size] != 0)
        ++size;
    return {begin, size};
}

} // namespace browser
