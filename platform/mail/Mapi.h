#pragma once
// Simple MAPI send-mail, handed to the desktop's mail client.
//
// The records keep the published Simple MAPI layout (field names, classes,
// flags, result codes), with texts as UTF-8 strings and arrays as a count
// and a pointer to the caller's records.
//
// The message goes to the client through xdg-email, which opens the client's
// compose window filled with the recipients, the subject, the body and the
// attachments; the user sends it from there. The result is SUCCESS_SUCCESS
// exactly when xdg-email accepted the message (exit status 0).
//
// The note text's lines end with CR LF, as the caller writes them. xdg-email
// puts the body into a mailto link and writes every LF there as CR LF
// (%0D%0A) itself, so each line end (CR LF, or a lone CR or LF) is handed
// over as one LF: the client gets each line ended by CR LF exactly once.

#include <cstdint>
#include <string>

namespace mail {

using ULONG = std::uint32_t;
using LHANDLE = std::uintptr_t;

// Recipient classes.
inline constexpr ULONG MAPI_ORIG = 0;
inline constexpr ULONG MAPI_TO = 1;
inline constexpr ULONG MAPI_CC = 2;
inline constexpr ULONG MAPI_BCC = 3;

// Flags of MAPISendMail. The compose window is always shown here: the
// desktop's clients take a message only into their window, never send it
// unseen, so MAPI_DIALOG changes nothing.
inline constexpr ULONG MAPI_LOGON_UI = 0x00000001;
inline constexpr ULONG MAPI_DIALOG = 0x00000008;

// Results.
inline constexpr ULONG SUCCESS_SUCCESS = 0;
inline constexpr ULONG MAPI_USER_ABORT = 1;
inline constexpr ULONG MAPI_E_FAILURE = 2;
inline constexpr ULONG MAPI_E_LOGIN_FAILURE = 3;
inline constexpr ULONG MAPI_E_ATTACHMENT_NOT_FOUND = 11;
inline constexpr ULONG MAPI_E_UNKNOWN_RECIPIENT = 14;
inline constexpr ULONG MAPI_E_BAD_RECIPTYPE = 15;
inline constexpr ULONG MAPI_E_INVALID_MESSAGE = 17;

struct MapiRecipDesc {
    ULONG ulReserved = 0;
    ULONG ulRecipClass = MAPI_ORIG;
    std::string lpszName;
    // An address may carry the transport prefix "SMTP:".
    std::string lpszAddress;
    ULONG ulEIDSize = 0;
    void* lpEntryID = nullptr;
};

struct MapiFileDesc {
    ULONG ulReserved = 0;
    ULONG flFlags = 0;
    // Where the attachment stands in the note text; the client decides.
    ULONG nPosition = 0;
    std::string lpszPathName;
    // The name the attachment shows; not passed on: the client shows the path's own name.
    std::string lpszFileName;
    void* lpFileType = nullptr;
};

struct MapiMessage {
    ULONG ulReserved = 0;
    std::string lpszSubject;
    std::string lpszNoteText;
    std::string lpszMessageType;
    std::string lpszDateReceived;
    std::string lpszConversationID;
    ULONG flFlags = 0;
    // The sender; the client sends from its own account, so it is not passed on.
    MapiRecipDesc* lpOriginator = nullptr;
    ULONG nRecipCount = 0;
    MapiRecipDesc* lpRecips = nullptr;
    ULONG nFileCount = 0;
    MapiFileDesc* lpFiles = nullptr;
};

// Hands lpMessage to the mail client. lhSession, ulUIParam and ulReserved
// are accepted for the call's shape and not used. Results:
// SUCCESS_SUCCESS when xdg-email exited with 0; MAPI_E_INVALID_MESSAGE for a
// missing message or counts without records; MAPI_E_BAD_RECIPTYPE for a
// recipient class other than To, Cc and Bcc; MAPI_E_UNKNOWN_RECIPIENT for an
// address that could be taken for an option; MAPI_E_ATTACHMENT_NOT_FOUND when
// an attachment is not a readable file; MAPI_E_FAILURE when xdg-email is
// missing or refused the message.
ULONG MAPISendMail(LHANDLE lhSession, std::uintptr_t ulUIParam, const MapiMessage* lpMessage, ULONG flFlags,
                   ULONG ulReserved);

} // namespace mail
