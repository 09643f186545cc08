#include "platform/mail/Mapi.h"

#include "platform/shell/Process.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace mail {

namespace {

// The address of a recipient record: the address field, else the name (a
// client may fill only one of them), without the transport prefix.
std::string RecipientAddress(const MapiRecipDesc& recip) {
    std::string address = recip.lpszAddress.empty() ? recip.lpszName : recip.lpszAddress;
    constexpr std::string_view prefix = "SMTP:";
    if (address.size() >= prefix.size()) {
        bool same = true;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            char c = address[i];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            same = same && c == prefix[i];
        }
        if (same)
            address.erase(0, prefix.size());
    }
    return address;
}

// The body with every line end (CR LF, CR or LF) as one LF: xdg-email makes
// each LF the CR LF of the mailto link and would keep a CR as a character.
std::string BodyForMailto(const std::string& body) {
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r') {
            out += '\n';
            if (i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
        } else {
            out += body[i];
        }
    }
    return out;
}

} // namespace

ULONG MAPISendMail(LHANDLE /*lhSession*/, std::uintptr_t /*ulUIParam*/, const MapiMessage* lpMessage,
                   ULONG /*flFlags*/, ULONG /*ulReserved*/) {
    if (lpMessage == nullptr)
        return MAPI_E_INVALID_MESSAGE;
    const MapiMessage& message = *lpMessage;
    if ((message.nRecipCount > 0 && message.lpRecips == nullptr) ||
        (message.nFileCount > 0 && message.lpFiles == nullptr))
        return MAPI_E_INVALID_MESSAGE;

    // --utf8 first: every text that follows is UTF-8, whatever the locale says.
    std::vector<std::string> argv{"xdg-email", "--utf8"};
    std::vector<std::string> to;
    for (ULONG i = 0; i < message.nRecipCount; ++i) {
        const MapiRecipDesc& recip = message.lpRecips[i];
        const std::string address = RecipientAddress(recip);
        if (recip.ulRecipClass != MAPI_TO && recip.ulRecipClass != MAPI_CC && recip.ulRecipClass != MAPI_BCC)
            return MAPI_E_BAD_RECIPTYPE;
        // No address: the user fills it in the compose window.
        if (address.empty())
            continue;
        if (address.front() == '-')
            return MAPI_E_UNKNOWN_RECIPIENT;
        if (recip.ulRecipClass == MAPI_TO) {
            to.push_back(address);
        } else {
            argv.push_back(recip.ulRecipClass == MAPI_CC ? "--cc" : "--bcc");
            argv.push_back(address);
        }
    }
    if (!message.lpszSubject.empty()) {
        argv.push_back("--subject");
        argv.push_back(message.lpszSubject);
    }
    if (!message.lpszNoteText.empty()) {
        argv.push_back("--body");
        argv.push_back(BodyForMailto(message.lpszNoteText));
    }
    for (ULONG i = 0; i < message.nFileCount; ++i) {
        const std::string& path = message.lpFiles[i].lpszPathName;
        std::error_code error;
        if (path.empty() || !std::filesystem::is_regular_file(path, error) || access(path.c_str(), R_OK) != 0)
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        // The client may run in another working folder: give it the whole path.
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (error)
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        argv.push_back("--attach");
        argv.push_back(absolute.string());
    }
    argv.insert(argv.end(), to.begin(), to.end());

    return shell::RunProcess(argv) == 0 ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}

} // namespace mail
