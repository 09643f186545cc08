#pragma once
// The shell's DDE conversations that the browser control answers: the names
// under which the shell opens a web document or a folder (read from the
// registry's classes), and the reading of the commands it sends.
//
// Every scan here stops at the end of the text. Numbers in a command name
// blocks of the shell's shared memory (a block and its process), never an
// address.

#include "platform/ui/kernel/ShellItems.h"

#include <span>
#include <vector>

#include <optional>
#include <string>
#include <string_view>

namespace browser {

struct TShellDdeNames {
    std::string WebApplication;
    std::string WebTopic;
    std::string FolderApplication;
    std::string FolderTopic;
    std::string FolderOpenCommand;
    std::string FolderExploreCommand;
    std::string DirectoryFindCommand;
};

// The text without the blanks and control characters around it.
std::string_view TrimText(std::string_view text);

// The names of the process, read by LoadShellDdeNames.
TShellDdeNames& ShellDdeNames();
// Reads the seven names from the classes root; False when the reading failed
// (the names read so far stay).
bool LoadShellDdeNames();
void ClearShellDdeNames();

// The conversation now under way is a web-document conversation (else a folder one).
bool& DdeWebDocumentConversation();
// True while the control runs a shell execution of its own: no conversation is taken.
bool& DdeBusy();

// The command name of a DDE command text: after the first "[", up to the next "(";
// empty when either is missing.
std::string DdeCommandName(std::string_view text);

enum class TDdeCommandKind { None = 0, Open = 1, Explore = 2, Find = 3 };

// The kind of a folder command by its name; an empty name (or one not read) is no kind.
TDdeCommandKind ParseDdeCommandKind(std::string_view text, const TShellDdeNames& names);

// The arguments of "[Name(arg, arg, ...)]": split at the commas outside double
// quotes, up to the closing parenthesis outside quotes (or the text's end).
// Nothing when a quote is left open.
std::optional<std::vector<std::string>> DdeCommandArguments(std::string_view text);

// The text between the first and the second double quote; empty when there is none.
// Nothing when a quote is opened and never closed.
std::optional<std::string> ExtractQuotedPath(std::string_view argument);

// The item-ID list of an argument ":N:P": the block N of the shell's shared memory of
// process P, copied; the block is freed. A plain number would be an address in this
// process and gives nothing; so do a missing block and a malformed list.
std::optional<ui::TItemIDList> ParsePidlArgument(std::string_view argument);

// The show command: the first sign or digit of the argument, as one digit; 1 (normal)
// for none and for a sign alone.
int ParseShowCommand(std::string_view argument);

struct TDdeFolderCommand {
    TDdeCommandKind Kind = TDdeCommandKind::None;
    std::string Path;
    std::optional<ui::TItemIDList> ItemIDList;
    int ShowCommand = 1;
};

// A folder command; kind None for an unknown or malformed command and for one that
// names neither a path nor an item-ID list.
TDdeFolderCommand ParseDdeCommand(std::string_view text, const TShellDdeNames& names);

// The address of a web-document command: a text in double quotes gives what is
// inside them, any other text itself, trimmed. Nothing for an open quote or no address.
std::optional<std::string> ParseWebDocumentCommand(std::string_view text);

// The command text of a DDE command block: up to its first zero byte or its end.
std::string_view DdeCommandText(std::span<const std::uint8_t> block);

} // namespace browser
