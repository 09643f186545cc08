#pragma once
// The compact binary form of a whole document: "$BXM", the format version, a
// four-character coder name and a body. The body holds the strings that the
// document uses more than once, most used first, then one record per node in
// document order and an end marker; every number is a varint (VarInt.h).
// Strings used once stand inline at their single use.
//
// Writing numbers the strings for the output only: the document and its
// symbol table are not changed. Reading checks every count, index and length
// against what the stream still holds before it uses it; a stream that does
// not hold a whole, sound body leaves the document empty and reports why.
// An optional pair of events lets a caller compress or otherwise code the body.

#include "xml/Debug.h"

#include "platform/core/Streams.h"

#include <cstdint>
#include <functional>
#include <string>

namespace xml {

class TXmlDocument;

// Gets the plain body in source (at position 0) and puts the coded body into
// dest; sets coderName to the four characters that name the coding.
using TxBinaryEncodeEvent = std::function<void(core::TStream& source, core::TStream& dest, std::string& coderName,
                                               std::int64_t plainSize)>;
// Gets the coded body in source (at position 0) and puts the plain body, of
// plainSize bytes, into dest.
using TxBinaryDecodeEvent = std::function<void(core::TStream& source, core::TStream& dest,
                                               const std::string& coderName, std::int64_t plainSize)>;

class TxBinaryXml : public TDebugComponent {
public:
    // The document is the owner too, so that messages reach its handler.
    explicit TxBinaryXml(TXmlDocument* document);
    std::string ClassName() const override { return "TxBinaryXml"; }

    static constexpr std::uint32_t kVersion = 2;

    TXmlDocument* Document() const noexcept { return document_; }
    void SetDocument(TXmlDocument* document) noexcept { document_ = document; }

    // Writes the form at the stream's position. The stream only receives the
    // finished bytes, in order; it is never read, sought or overwritten.
    virtual void WriteDocument(core::TStream& stream);
    // Reads the form from the stream's position; afterwards the position is
    // just after what was read. A refused header ("invalid binary xml stream",
    // "incompatible binary version", "OnDecode event unassigned") leaves the
    // document as it was; a damaged body leaves it empty. In both cases the
    // stream goes back to where it was. A varint with a sixth group raises
    // "invalid cardinal reader", also leaving the document empty.
    virtual void ReadDocument(core::TStream& stream);

    // The form built in memory, then put in place of the file once complete.
    void SaveToFile(const std::string& fileName);
    // The whole file read into memory, then ReadDocument.
    void LoadFromFile(const std::string& fileName);

    // The varint coding of the form.
    static std::uint32_t ReadCardinal(core::TStream& stream);
    static void WriteCardinal(core::TStream& stream, std::uint32_t value);

    TxBinaryEncodeEvent OnEncode;
    TxBinaryDecodeEvent OnDecode;

private:
    TXmlDocument* document_;
};

} // namespace xml
