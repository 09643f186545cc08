#pragma once
// An attribute that the parser read plainly (a name, "=", a whole quoted
// value) while nothing could watch the tree being built, kept in its
// element's node list as one tagged word in place of a node pointer: the
// many attributes of a loaded document then cost a list slot each and no
// node. Bit 0 set marks the word (a node pointer is aligned, its bit 0 is
// clear), bit 1 is the single quote, bits 2-31 hold the name's symbol and
// bits 32-63 the value's. The element makes the real nodes from the words
// as soon as anything asks for its attributes as nodes (TxContainerNode::Unpack).

#include "xml/Layout.h"

#include <cstdint>

namespace xml {

class TXmlNode;

class TxPackedAttribute {
public:
    static_assert(sizeof(TXmlNode*) == sizeof(std::uint64_t), "a list slot must hold two symbols");

    // Symbols are numbered from 1 up in the order they come; a table holding
    // 2^30 of them would take tens of gigabytes, so every name fits. The
    // check stays for the sake of soundness: a symbol that does not fit is
    // read into a node as before.
    static bool Fits(std::int32_t nameId, std::int32_t valueId) noexcept
    {
        return nameId >= 0 && nameId < (std::int32_t(1) << 30) && valueId >= 0;
    }
    static TXmlNode* Pack(std::int32_t nameId, std::int32_t valueId, TxQuoteStyle quote) noexcept
    {
        const std::uint64_t word = kTag | (quote == qsSingle ? kSingle : 0) |
                                   static_cast<std::uint64_t>(nameId) << 2 |
                                   static_cast<std::uint64_t>(valueId) << 32;
        return reinterpret_cast<TXmlNode*>(static_cast<std::uintptr_t>(word));
    }

    static bool Is(const TXmlNode* slot) noexcept { return (Word(slot) & kTag) != 0; }
    static std::int32_t NameId(const TXmlNode* slot) noexcept
    {
        return static_cast<std::int32_t>((Word(slot) & 0xFFFFFFFFu) >> 2);
    }
    static std::int32_t ValueId(const TXmlNode* slot) noexcept { return static_cast<std::int32_t>(Word(slot) >> 32); }
    static TxQuoteStyle QuoteStyle(const TXmlNode* slot) noexcept
    {
        return (Word(slot) & kSingle) != 0 ? qsSingle : qsDouble;
    }

private:
    static constexpr std::uint64_t kTag = 1;
    static constexpr std::uint64_t kSingle = 2;
    static std::uint64_t Word(const TXmlNode* slot) noexcept { return reinterpret_cast<std::uintptr_t>(slot); }
};

} // namespace xml
