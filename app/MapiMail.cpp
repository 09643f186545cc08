#include "app/MapiMail.h"

#include "platform/core/Unicode.h"

namespace app {

void FillMapiRecip(mail::MapiRecipDesc& recip, const std::string& address, mail::ULONG recipClass)
{
    recip = mail::MapiRecipDesc{};
    recip.ulRecipClass = recipClass;
    recip.lpszName = address;
    recip.lpszAddress = address;
}

void BuildMapiMail(TMapiMail& out, const std::vector<std::string>& recipients, const std::string& sender,
                   const std::string& subject, const std::string& body, const std::vector<std::string>& files)
{
    FillMapiRecip(out.Originator, sender, mail::MAPI_ORIG);
    out.Recipients.assign(recipients.size(), mail::MapiRecipDesc{});
    for (std::size_t i = 0; i < recipients.size(); ++i)
        FillMapiRecip(out.Recipients[i], recipients[i], mail::MAPI_TO);

    out.Message = mail::MapiMessage{};
    out.Message.lpszSubject = subject;
    out.Message.lpszNoteText = body;
    out.Message.lpOriginator = &out.Originator;
    out.Message.nRecipCount = static_cast<mail::ULONG>(out.Recipients.size());
    out.Message.lpRecips = out.Recipients.empty() ? nullptr : out.Recipients.data();

    out.Files.assign(files.size(), mail::MapiFileDesc{});
    const auto bodyLength = static_cast<mail::ULONG>(core::Utf8Length(body));
    for (std::size_t i = 0; i < files.size(); ++i) {
        out.Files[i].nPosition = bodyLength + static_cast<mail::ULONG>(i);
        out.Files[i].lpszPathName = files[i];
    }
    if (!out.Files.empty()) {
        out.Message.nFileCount = static_cast<mail::ULONG>(out.Files.size());
        out.Message.lpFiles = out.Files.data();
    }
}

bool SendMapiMail(const std::vector<std::string>& recipients, const std::string& sender, const std::string& subject,
                  const std::string& body, const std::vector<std::string>& files, bool showDialog)
{
    TMapiMail message;
    BuildMapiMail(message, recipients, sender, subject, body, files);
    const mail::ULONG flags = showDialog ? mail::MAPI_DIALOG : 0;
    return mail::MAPISendMail(0, 0, &message.Message, flags, 0) == mail::SUCCESS_SUCCESS;
}

std::string ExportMailSubject(const std::string& registration, const std::string& start, const std::string& end)
{
    return "Přehled provedených konverzí, advokát ev. č. " + registration + ", období " + start + " až " + end;
}

std::string ExportMailBody(const std::string& name, const std::string& registration, const std::string& start,
                           const std::string& end)
{
    return "Dobrý den, \r\n\r\n zasílám Vám v příloze evidenci provedených konverzí ve smyslu § 26 zákona č. "
           "300/2008 Sb., o elektronických úkonech a autorizované konverzi dokumentů,  a to za období od " +
           start + " do " + end + ".\r\n\r\n" + name + "\r\nEvidenční číslo advokáta: " + registration + "\r\n";
}

} // namespace app
