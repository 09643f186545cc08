#pragma once
// Mailing an export: the Simple MAPI message handed to the user's mail
// client, whose compose window the user sends it from, and the fixed Czech
// subject and body that name the attorney and the period.

#include "platform/mail/Mapi.h"

#include <string>
#include <vector>

namespace app {

// Clears the record and gives it the class, and the address as both its name and its address.
void FillMapiRecip(mail::MapiRecipDesc& recip, const std::string& address, mail::ULONG recipClass);

// A message with the records it points to, kept together.
struct TMapiMail {
    TMapiMail() = default;
    TMapiMail(const TMapiMail&) = delete;
    TMapiMail& operator=(const TMapiMail&) = delete;

    mail::MapiRecipDesc Originator;
    std::vector<mail::MapiRecipDesc> Recipients;
    std::vector<mail::MapiFileDesc> Files;
    mail::MapiMessage Message;
};

// Fills the message: the sender as originator, each recipient as primary
// recipient in order, and file i attached at the position of the body's
// length (in characters) + i.
void BuildMapiMail(TMapiMail& out, const std::vector<std::string>& recipients, const std::string& sender,
                   const std::string& subject, const std::string& body, const std::vector<std::string>& files);

// Hands the message to the mail client, showing its dialog when asked.
// True exactly when the client took it.
bool SendMapiMail(const std::vector<std::string>& recipients, const std::string& sender, const std::string& subject,
                  const std::string& body, const std::vector<std::string>& files, bool showDialog);

// The mail of an export for the attorney's registration number and name and
// the period's first and last day ("dd.mm.yyyy").
std::string ExportMailSubject(const std::string& registration, const std::string& start, const std::string& end);
std::string ExportMailBody(const std::string& name, const std::string& registration, const std::string& start,
                           const std::string& end);

} // namespace app
