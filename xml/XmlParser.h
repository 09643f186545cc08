#pragma once
// The XML parser: reads a stream of XML text in any of the supported encodings
// chunk by chunk, decodes it to UTF-8 with every line end folded to LF, and
// offers the token readers with which the document's top-level loop and the
// node classes read markup. It never holds more than the text read since the
// last Flush, which the element reader calls once per element.
//
// Positions count bytes of the decoded text, lines count its LFs (the first
// line is 0). Bad text is never raised about: the parser reports through its
// owner's diagnostics and goes on.

#include "xml/ByteScan.h"
#include "xml/Debug.h"
#include "xml/SymbolTable.h"
#include "xml/TextEncoding.h"
#include "xml/XmlNode.h"

#include "platform/core/Streams.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

// What the content of an element and the internal subset of a document type
// may hold; any other tag there is refused.
inline constexpr TxNodeKinds kElementContentKinds =
    KindBit(xeElement) | KindBit(xeAttribute) | KindBit(xeCharData) | KindBit(xeComment) | KindBit(xeCData) |
    KindBit(xeInstruction) | KindBit(xeWhiteSpace) | KindBit(xeQuotedText) | KindBit(xeEndTag);
inline constexpr TxNodeKinds kInternalSubsetKinds = KindBit(xeCharData) | KindBit(xeComment) |
                                                     KindBit(xeDtdElement) | KindBit(xeDtdAttList) |
                                                     KindBit(xeDtdEntity) | KindBit(xeDtdNotation) |
                                                     KindBit(xeInstruction);

class TxContainerNode;
class TxSymbolTable;

class TxXmlParser : public TDebugPersistent {
public:
    // Reads the first chunk of source; nothing is decoded until DetectEncoding.
    TxXmlParser(core::TStream& source, std::int32_t chunkSize, TDebugComponent* owner);
    ~TxXmlParser() override;
    std::string ClassName() const override { return "TxXmlParser"; }

    static constexpr std::int32_t kDefaultChunkSize = 256;

    // At least 5 bytes were read and the first four are "$BXM".
    bool HasBinaryMagic() const noexcept;
    // Tells the encoding from the first bytes and skips a byte-order mark; must
    // run before any reader.
    void DetectEncoding();
    // Sets CodePage and decodes again, in the encoding now set, the text of the
    // last chunk from the read position on (what was read stays as it was).
    void SetCodePage(std::int32_t codePage);
    // The kind of markup after a "<" that has just been read; Error, with the
    // premature-end message, when the stream ends before the kind is known.
    // "<?" followed by the target "xml" or "xml-stylesheet" (a blank or "?"
    // after it) is a declaration or a style sheet, any other target an
    // instruction.
    TxNodeKind ReadTagKind();

    // The next byte, consumed; 0 at the end of the stream.
    char NextChar()
    {
        if (cur_ < last_ || EnsureData())
            return text_[cur_++];
        return 0;
    }
    // Consumes the next byte when it is c.
    bool SkipChar(char c)
    {
        if ((cur_ < last_ || EnsureData()) && text_[cur_] == c) {
            ++cur_;
            return true;
        }
        return false;
    }
    // One byte back; valid right after a byte was read since the last Flush.
    void MoveBack() noexcept
    {
        if (cur_ > 0)
            --cur_;
    }
    // Steps back over c, the byte just read; nothing when c marked the end of
    // the stream (there is nothing to step back over then).
    void Unread(char c) noexcept
    {
        if (c != 0 || !EndOfStream())
            MoveBack();
    }
    // Skips tab, LF, CR and space; returns the first other byte, consumed, or 0
    // at the end of the stream. blanks receives what was skipped.
    char SkipBlanks(std::string& blanks);
    // The same; the view is valid until the next read.
    char SkipBlanks(std::string_view& blanks)
    {
        // Most often no blank or one space comes: no call for them.
        if (cur_ + 1 < last_) {
            const char c = text_[cur_];
            if (!IsBlankByte(c)) {
                blanks = {};
                return text_[cur_++];
            }
            if (c == ' ' && !IsBlankByte(text_[cur_ + 1])) {
                blanks = std::string_view(text_.get() + cur_, 1);
                cur_ += 2;
                return text_[cur_ - 1];
            }
        }
        return SkipBlanksSlow(blanks);
    }
    char SkipBlanks()
    {
        std::string_view ignored;
        return SkipBlanks(ignored);
    }
    // The text up to the terminator byte, which is consumed; at the end of the
    // stream the text up to the end, without a message.
    void ReadStringUntilChar(char terminator, std::string& text);
    void ReadQuotedValue(char quote, std::string& text);
    // The same; the view is valid until the next read.
    std::string_view ReadUntilChar(char terminator);
    // The same, false when the stream ended before the terminator.
    bool ReadUntilChar(char terminator, std::string_view& text)
    {
        const char* base = text_.get();
        const char* end = base + last_;
        const char* hit = FindByte(base + cur_, end, terminator);
        if (hit == end)
            return ReadUntilCharSlow(terminator, text);
        text = std::string_view(base + cur_, static_cast<std::size_t>(hit - (base + cur_)));
        cur_ = static_cast<std::size_t>(hit - base) + 1;
        return true;
    }
    // The text up to the terminator, which is consumed. At the end of the stream:
    // the warning "stream terminated prematurely at pos %d", text untouched, false.
    bool ReadStringUntilText(std::string_view terminator, std::string& text);
    bool ReadUntilText(std::string_view terminator, std::string_view& text);
    // The text up to the next blank, "/", ">" or "[", which is not consumed. At
    // the end of the stream: the same warning, text untouched, false.
    bool ReadName(std::string& text);
    bool ReadName(std::string_view& text);
    // Compares the coming bytes with keyword, ASCII letters folded; consumes
    // them only when they match.
    bool MatchKeyword(std::string_view keyword);
    // After a failed MatchKeyword: the source has ended and the text left is a
    // proper beginning of keyword, which the end cut short.
    bool EndsWithin(std::string_view keyword);
    // Reports "stream terminated prematurely at pos %d" with the read position
    // at level, once per parse: the first reader that meets the end inside
    // markup says so, and what follows from that end adds nothing. The
    // sender is the node that was being read, or else the parser.
    void ReportPrematureEnd(TxDebugLevel level = dlWarn, core::TObject* sender = nullptr);
    bool PrematureEndReported() const noexcept { return prematureEndReported_; }

    // Text read as UTF-8 is checked to be UTF-8 as it is consumed (at each
    // Flush) and, by this, at the end of the parse: the first bytes that are
    // not give one warning naming their position; the bytes stay as they are.
    void CheckRestOfText() { CheckUtf8(cur_, EndOfStream()); }

    // Discards the decoded text before the last chunk once there is enough of
    // it to be worth moving (the text kept stays bounded).
    void Flush();

    // Offset of the read position in the decoded text.
    std::int64_t Position() const noexcept { return basePos_ + static_cast<std::int64_t>(cur_); }
    // LFs before the read position: the first line is 0.
    std::int64_t LineNumber();
    bool EndOfStream() const noexcept { return sourceDone_ && cur_ >= last_; }

    TxTextEncoding Encoding() const noexcept { return encoding_; }
    void SetEncoding(TxTextEncoding encoding) noexcept { encoding_ = encoding; }
    std::int32_t CodePage() const noexcept { return codePage_; }
    const TxEncodingSignature& ByteOrderMark() const noexcept { return byteOrderMark_; }

    // The ID of text in table, as TxSymbolTable::Intern gives it. Short texts
    // that come again and again (names, blanks, repeated values) are found in
    // a small cache of the parser without searching the table.
    std::int32_t Intern(TxSymbolTable& table, std::string_view text)
    {
        // A short text read from the decoded text, with room to read past
        // it, is hashed and compared a word at a time without a branch on
        // its length.
        const std::size_t n = text.size();
        const auto at = reinterpret_cast<std::uintptr_t>(text.data());
        const auto begin = reinterpret_cast<std::uintptr_t>(text_.get());
        if (n - 1 < kCachedLength && cachedTable_ == &table && at >= begin && at + n <= begin + last_) {
            const CachedSymbol probe = Key<true>(text);
            const std::uint32_t hash = TxSymbolTable::HashWords(probe.words[0], probe.words[1], probe.words[2], n);
            const CachedSymbol& entry = cache_[(hash >> 16 ^ hash) % kCacheSize];
            if (((entry.words[0] ^ probe.words[0]) | (entry.words[1] ^ probe.words[1]) |
                 (entry.words[2] ^ probe.words[2])) == 0 &&
                entry.id != 0)
                return entry.id;
            return InternMissed(table, text, hash);
        }
        return InternUncached(table, text);
    }

    // While a document is read with nothing that could look at its tree
    // before the end (no events, no repair), the nodes read into an element
    // are collected here, innermost element last, and handed to the
    // element's list in one array of the right size when its content ends:
    // a list then never grows node by node. The document sets this.
    void SetCollectNodes(bool collect) noexcept { collectNodes_ = collect; }
    bool CollectNodes() const noexcept { return collectNodes_; }
    // Whether the node events may have listeners: not while nodes are collected.
    bool MayNotify() const noexcept { return !collectNodes_; }
    // node's nodes are collected from now on, until EndNodes.
    void BeginNodes(TxContainerNode* node) { frames_.push_back({node, pending_.size()}); }
    bool Collecting(const TxContainerNode* node) const noexcept
    {
        return !frames_.empty() && frames_.back().node == node;
    }
    // Adds node to those of the innermost collecting container; its index there.
    int Collect(TXmlNode* node)
    {
        pending_.push_back(node);
        return static_cast<int>(pending_.size() - frames_.back().base - 1);
    }
    int CollectedCount() const noexcept { return static_cast<int>(pending_.size() - frames_.back().base); }
    // Hands the innermost container its nodes.
    void EndNodes();
    // Hands every container collecting above depth its nodes, innermost first.
    std::size_t CollectDepth() const noexcept { return frames_.size(); }
    void EndNodesDownTo(std::size_t depth)
    {
        while (frames_.size() > depth)
            EndNodes();
    }

    // Warns about each numeric character reference in text that names no
    // character (0, a surrogate, a number beyond U+10FFFF); such references
    // stay as written.
    void CheckCharacterReferences(std::string_view text)
    {
        if (text.size() >= 4 && FindByte(text.data(), text.data() + text.size(), '&') != text.data() + text.size())
            CheckReferencesIn(text);
    }

private:
    static bool IsBlankByte(char c) noexcept { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }
    char SkipBlanksSlow(std::string_view& blanks);
    bool ReadUntilCharSlow(char terminator, std::string_view& text);
    void CheckReferencesIn(std::string_view text);
    // Intern when the cache does not hold the text; it may take it then.
    std::int32_t InternMissed(TxSymbolTable& table, std::string_view text, std::uint32_t hash);
    std::int32_t InternUncached(TxSymbolTable& table, std::string_view text);
    // Reads chunks until a decoded byte lies after the read position; the
    // count of such bytes, 0 at the end of the stream.
    std::size_t EnsureData();
    // Reads and decodes the next chunk; the bytes read, 0 when the source ends.
    std::size_t ReadNextChunk();
    // Decodes the raw bytes not yet decoded onto the end of the text. Without
    // final, a UTF-16 code unit cut by the chunk end (an odd byte, a high
    // surrogate waiting for its partner) stays for the next chunk.
    void Decode(bool final);
    void ReserveText(std::size_t needed);
    // Checks the text from checked_ up to end as UTF-8 (a character begun
    // before end may take its bytes from after it); at the end of the source
    // (final), a character cut short is no character.
    void CheckUtf8(std::size_t end, bool final);
    void Warn(TxDebugLevel level, const std::string& message) { EmitDebug(this, level, message); }

    core::TStream& source_;
    std::int32_t chunkSize_;

    // Raw bytes of the last chunk, with the undecoded tail of the one before in front.
    std::unique_ptr<std::uint8_t[]> raw_;
    std::size_t rawLast_ = 0;  // bytes in raw_
    std::size_t rawDone_ = 0;  // of them decoded
    std::size_t rawTotal_ = 0; // bytes read by the constructor, for detection

    // Decoded text since the last flush.
    std::unique_ptr<char[]> text_;
    std::size_t textCap_ = 0;
    std::size_t first_ = 0; // start of the last chunk's text
    std::size_t cur_ = 0;   // read position
    std::size_t last_ = 0;  // end of the text
    std::size_t flushThreshold_ = 0;
    std::size_t checked_ = 0; // the text before it is known to be UTF-8

    std::int64_t basePos_ = 0;
    std::int64_t baseLines_ = 0;
    std::size_t lineIndex_ = 0;   // LFs are counted up to here...
    std::int64_t linesBefore_ = 0; // ...and there are so many

    TxTextEncoding encoding_ = seAnsi;
    std::int32_t codePage_ = 0;
    TxEncodingSignature byteOrderMark_{};
    TxTextEncoding chunkEncoding_ = seAnsi; // how the last chunk was decoded

    struct CachedSymbol {
        std::uint64_t words[3]; // the text, zero-padded, with its length in the last byte
        std::int32_t id;        // 0: empty
    };
    // The words of a text of 1 to kCachedLength bytes; with padded, 24 bytes
    // after its beginning may be read.
    template <bool padded>
    static CachedSymbol Key(std::string_view text) noexcept
    {
        const char* p = text.data();
        const std::size_t n = text.size();
        const std::size_t k0 = n < 8 ? n : 8;
        const std::size_t k1 = n < 16 ? n - k0 : 8;
        const std::size_t k2 = n - k0 - k1;
        return {{TxSymbolTable::PartOf<padded>(p, k0), TxSymbolTable::PartOf<padded>(p + 8, k1),
                 TxSymbolTable::PartOf<padded>(p + 16, k2) | std::uint64_t(n) << 56},
                0};
    }
    // Bytes after the decoded text that may always be read (never used).
    static constexpr std::size_t kTextSlack = 32;
    // Large enough for the names and the recurring values of a large document
    // (a few thousand), small enough to stay in the processor's cache.
    static constexpr std::size_t kCacheSize = 4096;
    static constexpr std::size_t kCachedLength = 23;
    std::unique_ptr<CachedSymbol[]> cache_;
    // A longer text that came again (a title, a note), by its hash and
    // length; its bytes are compared with the table's.
    struct CachedLongSymbol {
        std::uint32_t hash;
        std::uint32_t length;
        std::int32_t id; // 0: empty
    };
    static constexpr std::size_t kLongCacheSize = 1024;
    static constexpr std::size_t kLongestCached = 256;
    std::unique_ptr<CachedLongSymbol[]> longCache_;
    TxSymbolTable* longCachedTable_ = nullptr;
    std::int32_t InternLong(TxSymbolTable& table, std::string_view text, std::uint32_t hash);
    TxSymbolTable* cachedTable_ = nullptr;

    struct CollectFrame {
        TxContainerNode* node;
        std::size_t base; // its first node in pending_
    };
    std::vector<CollectFrame> frames_;
    std::vector<TXmlNode*> pending_;
    bool collectNodes_ = false;

    bool folding_ = false;        // the last character decoded was a CR
    bool foldingAtChunk_ = false; // the same before the last chunk
    bool detected_ = false;
    bool decoding_ = false;       // false: nothing is (or will be) decoded
    bool sourceDone_ = false;
    bool prematureEndReported_ = false;
    bool copied_ = false;       // some text was taken over as UTF-8, unconverted
    bool notUtf8Reported_ = false;
};

} // namespace xml
