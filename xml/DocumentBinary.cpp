// The document's binary form: loading and saving through TxBinaryXml, which
// is made afresh for each call, without coder events, so the form the
// document writes is always plain.

#include "xml/XmlDocument.h"

#include "xml/BinaryXml.h"
#include "xml/CodePages.h"

namespace xml {

void TXmlDocument::LoadBinaryStream(core::TStream& stream)
{
    TxBinaryXml binary(this);
    binary.ReadDocument(stream);
    TakeEncodingFromDeclaration();
}

void TXmlDocument::LoadBinaryFile(const std::string& fileName)
{
    TxBinaryXml binary(this);
    binary.LoadFromFile(fileName);
    // As from a stream: text saved afterwards must be in the encoding that
    // its declaration names.
    TakeEncodingFromDeclaration();
}

void TXmlDocument::SaveBinaryStream(core::TStream& stream)
{
    TxBinaryXml binary(this);
    binary.WriteDocument(stream);
}

void TXmlDocument::SaveBinaryFile(const std::string& fileName)
{
    TxBinaryXml binary(this);
    binary.SaveToFile(fileName);
}

void TXmlDocument::TakeEncodingFromDeclaration()
{
    if (const TxDeclaration* declaration = FirstDeclaration()) {
        const std::string encoding = declaration->DeclarationEncoding();
        textEncoding_ = EncodingFromName(encoding);
        textCodePage_ = CodePageFromName(encoding, 65001);
    }
}

} // namespace xml
