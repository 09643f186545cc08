#pragma once
// The stream through which a document is written as text: every piece it is
// given (UTF-8, line breaks already in the document's style) is re-encoded
// into the document's encoding and passed on in chunks. A piece is converted
// on its own, so a UTF-8 sequence must not be split between two writes.

#include "xml/FastStreams.h"
#include "xml/TextEncoding.h"

#include "platform/core/Component.h"

#include <cstdint>
#include <vector>

namespace xml {

class TXmlDocument;

class TxXmlWriter : public TxBufferWriter, public core::TObject {
public:
    // Messages go to the document; without one they are dropped.
    TxXmlWriter(TXmlDocument* document, std::int32_t chunkSize, core::TStream& target);
    std::string ClassName() const override { return "TxXmlWriter"; }

    TxTextEncoding Encoding() const noexcept { return encoding_; }
    void SetEncoding(TxTextEncoding encoding) noexcept { encoding_ = encoding; }
    std::int32_t CodePage() const noexcept { return codePage_; }
    void SetCodePage(std::int32_t codePage) noexcept { codePage_ = codePage; }

    // utf-8 passes unchanged; ansi is one byte per character ("?" with the
    // warning "default char used for codepage substitution" for characters the
    // code page lacks); the UTF-16 forms write two bytes a unit. Returns count,
    // the UTF-8 bytes taken. Another encoding writes nothing, reports
    // "unsupported encoding (%s)" and returns 0.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    bool PassesBytesUnchanged() const noexcept override { return encoding_ == seUtf8; }

private:
    char* Room(std::size_t bytes);

    TXmlDocument* document_;
    // Both grow to the largest piece and never shrink.
    std::vector<char> conversion_;
    std::vector<char16_t> units_;
    TxTextEncoding encoding_ = seUtf8;
    std::int32_t codePage_ = 0;
};

} // namespace xml
