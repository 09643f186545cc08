#pragma once
// A leaf that the parser read while nothing could watch the tree being built,
// kept in its container's node list as one tagged word in place of a node
// pointer: an attribute written plainly (a name, "=", a whole quoted value),
// a piece of character data, or whitespace kept as read. The many leaves of a
// loaded document then cost a list slot each and no node.
//
// Bit 0 set marks the word (a node pointer is aligned, its bit 0 is clear);
// bits 1-2 tell the form (an attribute in double or in single quotes,
// character data, whitespace); bits 3-31 hold an attribute's name symbol and
// bits 32-63 the stored value's symbol. The container makes the real nodes
// from the words as soon as anything asks for one of them as a node
// (TxContainerNode::Unpack).

#include "xml/Layout.h"
#include "xml/XmlNode.h"

#include <cstdint>

namespace xml {

class TxPackedNode {
public:
    static_assert(sizeof(TXmlNode*) == sizeof(std::uint64_t), "a list slot must hold two symbols");

    // Symbols are numbered from 1 up in the order they come; a table holding
    // 2^29 of them would take tens of gigabytes, so every name fits. The
    // check stays for the sake of soundness: a symbol that does not fit is
    // read into a node as before.
    static bool Fits(std::int32_t nameId, std::int32_t valueId) noexcept
    {
        return nameId >= 0 && nameId < (std::int32_t(1) << 29) && valueId >= 0;
    }
    static TXmlNode* Attribute(std::int32_t nameId, std::int32_t valueId, TxQuoteStyle quote) noexcept
    {
        return Make(quote == qsSingle ? kSingleQuoted : kDoubleQuoted, nameId, valueId);
    }
    // kind: xeCharData or xeWhiteSpace.
    static TXmlNode* Text(TxNodeKind kind, std::int32_t valueId) noexcept
    {
        return Make(kind == xeWhiteSpace ? kWhiteSpace : kCharData, 0, valueId);
    }

    static bool Is(const TXmlNode* slot) noexcept { return (Word(slot) & kTag) != 0; }
    // xeAttribute, xeCharData or xeWhiteSpace.
    static TxNodeKind Kind(const TXmlNode* slot) noexcept
    {
        switch (Form(slot)) {
        case kCharData: return xeCharData;
        case kWhiteSpace: return xeWhiteSpace;
        default: return xeAttribute;
        }
    }
    static std::int32_t NameId(const TXmlNode* slot) noexcept
    {
        return static_cast<std::int32_t>((Word(slot) & 0xFFFFFFFFu) >> 3);
    }
    static std::int32_t ValueId(const TXmlNode* slot) noexcept { return static_cast<std::int32_t>(Word(slot) >> 32); }
    static TxQuoteStyle QuoteStyle(const TXmlNode* slot) noexcept
    {
        return Form(slot) == kSingleQuoted ? qsSingle : qsDouble;
    }

private:
    static constexpr std::uint64_t kTag = 1;
    enum : std::uint64_t { kDoubleQuoted = 0, kSingleQuoted = 1, kCharData = 2, kWhiteSpace = 3 };
    static std::uint64_t Word(const TXmlNode* slot) noexcept { return reinterpret_cast<std::uintptr_t>(slot); }
    static std::uint64_t Form(const TXmlNode* slot) noexcept { return Word(slot) >> 1 & 3; }
    static TXmlNode* Make(std::uint64_t form, std::int32_t nameId, std::int32_t valueId) noexcept
    {
        const std::uint64_t word = kTag | form << 1 | static_cast<std::uint64_t>(nameId) << 3 |
                                   static_cast<std::uint64_t>(valueId) << 32;
        return reinterpret_cast<TXmlNode*>(static_cast<std::uintptr_t>(word));
    }
};

} // namespace xml
