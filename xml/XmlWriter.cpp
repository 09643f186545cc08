#include "xml/XmlWriter.h"

#include "xml/Conversions.h"
#include "xml/XmlDocument.h"

#include <utility>

namespace xml {

TxXmlWriter::TxXmlWriter(TXmlDocument* document, std::int32_t chunkSize, core::TStream& target)
    : TxBufferWriter(target, chunkSize), document_(document)
{
}

char* TxXmlWriter::Room(std::size_t bytes)
{
    if (conversion_.size() < bytes)
        conversion_.resize(bytes);
    return conversion_.data();
}

std::int64_t TxXmlWriter::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const auto* text = static_cast<const char*>(buffer);
    const auto n = static_cast<std::size_t>(count);
    switch (encoding_) {
    case seUtf8:
        WriteBuffered(text, count);
        return count;
    case seAnsi: {
        char* out = Room(n);
        bool substitution = false;
        const std::size_t bytes = Utf8ToAnsiBuffer(text, out, codePage_, substitution, n);
        WriteBuffered(out, static_cast<std::int64_t>(bytes));
        if (substitution && document_ != nullptr)
            document_->EmitDebug(this, dlWarn, "default char used for codepage substitution");
        return count;
    }
    case seUtf16LE:
    case seUtf16BE: {
        if (units_.size() < n)
            units_.resize(n);
        const std::size_t unitCount = Utf8ToUtf16Buffer(text, units_.data(), n);
        // Bytes in the order asked for, whatever the machine's.
        auto* bytes = reinterpret_cast<unsigned char*>(Room(2 * unitCount));
        const bool little = encoding_ == seUtf16LE;
        for (std::size_t i = 0; i < unitCount; ++i) {
            const auto low = static_cast<unsigned char>(units_[i] & 0xFF);
            const auto high = static_cast<unsigned char>(units_[i] >> 8);
            bytes[2 * i] = little ? low : high;
            bytes[2 * i + 1] = little ? high : low;
        }
        WriteBuffered(bytes, static_cast<std::int64_t>(2 * unitCount));
        return count;
    }
    default:
        if (document_ != nullptr)
            document_->EmitDebug(this, dlFail,
                                 DebugFormat("unsupported encoding (%s)", EncodingNames[encoding_]));
        return 0;
    }
}

} // namespace xml
