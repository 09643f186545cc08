#include "xml/XmlParser.h"

#include "xml/Conversions.h"
#include "xml/Elements.h"
#include "xml/SymbolTable.h"
#include "xml/TextRoutines.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>

namespace xml {

namespace {

// A UTF-16 unit cut by a chunk end and a high surrogate before it.
constexpr std::size_t kMaxCarry = 3;

constexpr std::array<bool, 256> MakeNameEnds()
{
    std::array<bool, 256> ends{};
    for (unsigned char c : std::string_view("\t\n\r />["))
        ends[c] = true;
    return ends;
}
constexpr std::array<bool, 256> kNameEnds = MakeNameEnds();

// The first byte in [p, end) that ends a name, or end. Sixteen bytes are
// looked at together for the candidates (every byte up to a space, "/", ">",
// "["); a control byte among them that ends no name is passed over.
const char* FindNameEnd(const char* p, const char* end) noexcept
{
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' '), slash = _mm_set1_epi8('/'), close = _mm_set1_epi8('>'),
                  bracket = _mm_set1_epi8('[');
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(chunk, space), chunk);
        const __m128i marks =
            _mm_or_si128(_mm_cmpeq_epi8(chunk, slash), _mm_or_si128(_mm_cmpeq_epi8(chunk, close), _mm_cmpeq_epi8(chunk, bracket)));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(low, marks)));
        while (mask != 0) {
            const char* hit = p + __builtin_ctz(mask);
            if (kNameEnds[static_cast<unsigned char>(*hit)])
                return hit;
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    while (p < end && !kNameEnds[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

bool IsBlank(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }

// The LF bytes in [p, end).
std::int64_t CountLineFeeds(const char* p, const char* end)
{
    return static_cast<std::int64_t>(CountByte(p, end, '\n'));
}

// Whether the sixteen bytes at p are ASCII and two-byte characters (most of
// Czech text), each whole inside them; anything else is looked at byte by byte.
bool WellFormedBlock(const char* p)
{
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(x));
    if (high == 0)
        return true;
    // As signed bytes: 80..BF (continuations) are below -64, C2..DF (leads of
    // two bytes) lie between -63 and -32.
    const unsigned follow = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(_mm_set1_epi8(-64), x)));
    const unsigned lead = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(-63)), _mm_cmpgt_epi8(_mm_set1_epi8(-32), x))));
    return (high & ~(follow | lead)) == 0 && (lead & 0x8000) == 0 && (lead << 1) == follow;
#else
    (void)p;
    return false;
#endif
}

bool IsUtf16(TxTextEncoding e) { return e == seUtf16BE || e == seUtf16LE; }

} // namespace

TxXmlParser::TxXmlParser(core::TStream& source, std::int32_t chunkSize, TDebugComponent* owner)
    : TDebugPersistent(owner), source_(source), chunkSize_(chunkSize > 0 ? chunkSize : kDefaultChunkSize)
{
    raw_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(chunkSize_) + kMaxCarry);
    // A stream may deliver less than asked for before its end.
    while (rawLast_ < static_cast<std::size_t>(chunkSize_)) {
        const std::int64_t n = source_.Read(raw_.get() + rawLast_, chunkSize_ - static_cast<std::int64_t>(rawLast_));
        if (n <= 0)
            break;
        rawLast_ += static_cast<std::size_t>(n);
    }
    rawTotal_ = rawLast_;
    flushThreshold_ = std::max<std::size_t>(static_cast<std::size_t>(chunkSize_) * 16, 16 * 1024);
    ReserveText(static_cast<std::size_t>(chunkSize_) * 3 + 16);
}

TxXmlParser::~TxXmlParser() = default;

bool TxXmlParser::HasBinaryMagic() const noexcept
{
    return rawTotal_ >= 5 && !detected_ && std::memcmp(raw_.get(), "$BXM", 4) == 0;
}

void TxXmlParser::DetectEncoding()
{
    detected_ = true;
    if (rawLast_ < 5) {
        Warn(dlWarn, DebugFormat("stream terminated prematurely at pos %lld",
                                 AsLongLong(static_cast<std::int64_t>(rawLast_))));
        prematureEndReported_ = true;
        sourceDone_ = true;
        return;
    }
    const TxEncodingSignature* match = nullptr;
    for (const TxEncodingSignature& row : EncodingSignatures) {
        if (std::memcmp(raw_.get(), row.Pattern.data(), static_cast<std::size_t>(row.Length)) == 0) {
            match = &row;
            break;
        }
    }
    if (match == nullptr) {
        Warn(dlWarn, "unknown encoding");
        encoding_ = seUtf8;
    } else {
        byteOrderMark_ = *match;
        encoding_ = match->Encoding;
        if (encoding_ > seUtf16LE) {
            Warn(dlFail, DebugFormat("unsupported encoding (%s)", EncodingNames[encoding_]));
            sourceDone_ = true;
            return;
        }
        if (match->MarkPresent) {
            const auto n = static_cast<std::size_t>(match->Length);
            std::memmove(raw_.get(), raw_.get() + n, rawLast_ - n);
            rawLast_ -= n;
            Warn(dlInfo, DebugFormat("BOM with encoding %s", EncodingNames[encoding_]));
        }
    }
    decoding_ = true;
    foldingAtChunk_ = folding_;
    Decode(false);
}

void TxXmlParser::ReserveText(std::size_t needed)
{
    needed += kTextSlack;
    if (needed <= textCap_)
        return;
    std::size_t capacity = std::max<std::size_t>(textCap_ * 2, 1024);
    while (capacity < needed)
        capacity *= 2;
    auto grown = std::make_unique<char[]>(capacity);
    if (last_ > 0)
        std::memcpy(grown.get(), text_.get(), last_);
    text_ = std::move(grown);
    textCap_ = capacity;
}

void TxXmlParser::Decode(bool final)
{
    const std::uint8_t* from = raw_.get() + rawDone_;
    const std::size_t count = rawLast_ - rawDone_;
    if (count == 0)
        return;
    chunkEncoding_ = encoding_;
    switch (encoding_) {
    case seAnsi:
    case seUtf8: {
        const bool copy = encoding_ == seUtf8 || codePage_ == 0 || codePage_ == kCodePageUtf8;
        copied_ |= copy;
        ReserveText(last_ + count * (copy ? 1 : 3));
        const auto* bytes = reinterpret_cast<const char*>(from);
        last_ += copy ? Utf8CopyBuffer(bytes, text_.get() + last_, count, folding_)
                      : AnsiToUtf8Buffer(bytes, text_.get() + last_, codePage_, folding_, count);
        rawDone_ = rawLast_;
        break;
    }
    case seUtf16BE:
    case seUtf16LE: {
        const bool bigEndian = encoding_ == seUtf16BE;
        std::size_t units = count / 2;
        if (!final && units > 0) {
            const std::uint8_t* u = from + 2 * (units - 1);
            const unsigned unit = bigEndian ? (u[0] << 8 | u[1]) : (u[1] << 8 | u[0]);
            if (unit >= 0xD800 && unit <= 0xDBFF)
                --units; // its partner comes with the next chunk
        }
        ReserveText(last_ + units * 3);
        last_ += Utf16BytesToUtf8Buffer(from, text_.get() + last_, units, folding_, bigEndian);
        // At the end an odd byte is no character and goes.
        rawDone_ = final ? rawLast_ : rawDone_ + units * 2;
        break;
    }
    default:
        rawDone_ = rawLast_;
        break;
    }
}

std::size_t TxXmlParser::ReadNextChunk()
{
    if (sourceDone_ || !decoding_)
        return 0;
    const std::size_t carry = rawLast_ - rawDone_;
    std::memmove(raw_.get(), raw_.get() + rawDone_, carry);
    rawDone_ = 0;
    rawLast_ = carry;
    const std::int64_t n = source_.Read(raw_.get() + carry, chunkSize_);
    if (n <= 0) {
        sourceDone_ = true;
        if (carry > 0) {
            first_ = last_;
            foldingAtChunk_ = folding_;
            Decode(true);
        }
        return 0;
    }
    rawLast_ += static_cast<std::size_t>(n);
    first_ = last_;
    foldingAtChunk_ = folding_;
    Decode(false);
    return static_cast<std::size_t>(n);
}

std::size_t TxXmlParser::EnsureData()
{
    while (cur_ >= last_) {
        if (ReadNextChunk() == 0 && cur_ >= last_) {
            sourceDone_ = true;
            return 0;
        }
    }
    return last_ - cur_;
}

void TxXmlParser::SetCodePage(std::int32_t codePage)
{
    const std::int32_t previous = codePage_;
    codePage_ = codePage;
    if (!decoding_ || cur_ < first_ || IsUtf16(chunkEncoding_))
        return;
    // Find the raw offset of the read position: decode the chunk again byte by
    // byte as it was decoded (8-bit text, the only kind a declaration switches)
    // until the decoded length reaches the read position.
    const bool copy = previous == 0 || previous == kCodePageUtf8;
    std::size_t rawPos = 0;
    std::size_t produced = 0;
    bool folding = foldingAtChunk_;
    const std::size_t wanted = cur_ - first_;
    char scratch[4];
    while (rawPos < rawDone_ && produced < wanted) {
        const auto* byte = reinterpret_cast<const char*>(raw_.get() + rawPos++);
        produced += copy ? Utf8CopyBuffer(byte, scratch, 1, folding)
                         : AnsiToUtf8Buffer(byte, scratch, previous, folding, 1);
    }
    // An LF that folds into the CR just read belongs to what was read.
    if (folding && rawPos < rawDone_ && raw_[rawPos] == '\n') {
        ++rawPos;
        folding = false;
    }
    rawDone_ = rawPos;
    folding_ = folding;
    last_ = cur_;
    Decode(sourceDone_);
}

char TxXmlParser::SkipBlanksSlow(std::string_view& blanks)
{
    std::size_t start = cur_;
    for (;;) {
        while (cur_ < last_ && IsBlank(text_[cur_]))
            ++cur_;
        if (cur_ < last_)
            break;
        if (ReadNextChunk() == 0 && cur_ >= last_) {
            sourceDone_ = true;
            blanks = std::string_view(text_.get() + start, cur_ - start);
            return 0;
        }
    }
    blanks = std::string_view(text_.get() + start, cur_ - start);
    return text_[cur_++];
}

char TxXmlParser::SkipBlanks(std::string& blanks)
{
    std::string_view view;
    const char c = SkipBlanks(view);
    blanks.assign(view);
    return c;
}

std::string_view TxXmlParser::ReadUntilChar(char terminator)
{
    std::string_view text;
    ReadUntilChar(terminator, text);
    return text;
}

bool TxXmlParser::ReadUntilCharSlow(char terminator, std::string_view& text)
{
    const std::size_t start = cur_;
    std::size_t scan = last_; // the text up to last_ holds no terminator
    for (;;) {
        if (ReadNextChunk() == 0 && scan >= last_) {
            sourceDone_ = true;
            cur_ = last_;
            text = std::string_view(text_.get() + start, last_ - start);
            return false;
        }
        const char* base = text_.get();
        const char* hit = FindByte(base + scan, base + last_, terminator);
        if (hit != base + last_) {
            const auto at = static_cast<std::size_t>(hit - base);
            cur_ = at + 1;
            text = std::string_view(base + start, at - start);
            return true;
        }
        scan = last_;
    }
}

void TxXmlParser::ReadStringUntilChar(char terminator, std::string& text) { text.assign(ReadUntilChar(terminator)); }

void TxXmlParser::ReadQuotedValue(char quote, std::string& text) { text.assign(ReadUntilChar(quote)); }

bool TxXmlParser::ReadUntilText(std::string_view terminator, std::string_view& text)
{
    if (terminator.empty()) {
        text = {};
        return true;
    }
    const std::size_t start = cur_;
    std::size_t scan = cur_;
    const std::size_t n = terminator.size();
    for (;;) {
        // Terminators hold no letters, so the byte search equals the keyword match.
        while (scan + n <= last_) {
            const void* hit = std::memchr(text_.get() + scan, terminator[0], last_ - n + 1 - scan);
            if (hit == nullptr) {
                scan = last_ - n + 1;
                break;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.get());
            if (std::memcmp(text_.get() + at, terminator.data(), n) == 0) {
                cur_ = at + n;
                text = std::string_view(text_.get() + start, at - start);
                return true;
            }
            scan = at + 1;
        }
        if (ReadNextChunk() == 0 && scan + n > last_) {
            sourceDone_ = true;
            cur_ = last_;
            ReportPrematureEnd();
            return false;
        }
    }
}

bool TxXmlParser::ReadStringUntilText(std::string_view terminator, std::string& text)
{
    std::string_view view;
    if (!ReadUntilText(terminator, view))
        return false;
    text.assign(view);
    return true;
}

bool TxXmlParser::ReadName(std::string_view& text)
{
    const std::size_t start = cur_;
    for (;;) {
        const char* bytes = text_.get();
        cur_ = static_cast<std::size_t>(FindNameEnd(bytes + cur_, bytes + last_) - bytes);
        if (cur_ < last_) {
            text = std::string_view(text_.get() + start, cur_ - start);
            return true;
        }
        if (ReadNextChunk() == 0 && cur_ >= last_) {
            sourceDone_ = true;
            ReportPrematureEnd();
            return false;
        }
    }
}

bool TxXmlParser::ReadName(std::string& text)
{
    std::string_view view;
    if (!ReadName(view))
        return false;
    text.assign(view);
    return true;
}

bool TxXmlParser::MatchKeyword(std::string_view keyword)
{
    const std::size_t n = keyword.size();
    while (last_ - cur_ < n) {
        if (ReadNextChunk() == 0 && last_ - cur_ < n)
            return false;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (AsciiLower(text_[cur_ + i]) != AsciiLower(keyword[i]))
            return false;
    cur_ += n;
    return true;
}

bool TxXmlParser::EndsWithin(std::string_view keyword)
{
    if (!sourceDone_ || last_ - cur_ >= keyword.size())
        return false;
    for (std::size_t i = cur_; i < last_; ++i)
        if (AsciiLower(text_[i]) != AsciiLower(keyword[i - cur_]))
            return false;
    return true;
}

TxNodeKind TxXmlParser::ReadTagKind()
{
    const char c = NextChar();
    if (c == 0 && EndOfStream()) {
        ReportPrematureEnd();
        return xeError;
    }
    // A keyword that the end of the stream cuts short is reported as such, not
    // as a tag of no known kind.
    const auto keywordKind = [this](std::initializer_list<std::string_view> keywords, TxNodeKind kind) {
        if (MatchKeyword(*keywords.begin()))
            return kind;
        for (std::string_view keyword : keywords) {
            if (EndsWithin(keyword)) {
                cur_ = last_;
                ReportPrematureEnd();
                break;
            }
        }
        return xeError;
    };
    switch (c) {
    case '!': {
        const char k = AsciiLower(NextChar());
        switch (k) {
        case '-':
            return keywordKind({"-"}, xeComment);
        case '[':
            return keywordKind({"cdata["}, xeCData);
        case 'a':
            return keywordKind({"ttlist"}, xeDtdAttList);
        case 'd':
            return keywordKind({"octype"}, xeDocType);
        case 'e':
            if (MatchKeyword("lement"))
                return xeDtdElement;
            return keywordKind({"ntity", "lement"}, xeDtdEntity);
        case 'n':
            return keywordKind({"otation"}, xeDtdNotation);
        default:
            if (k == 0 && EndOfStream()) {
                ReportPrematureEnd();
                return xeError;
            }
            Warn(dlFail, DebugFormat("illegal tag (\"%s\") at pos %lld", std::string(1, k).c_str(),
                                     AsLongLong(Position())));
            return xeError;
        }
    }
    case '/':
        return xeEndTag;
    case '?': {
        // Only the whole targets "xml" and "xml-stylesheet" are these; other
        // targets that begin so ("xml-model", "xmlfoo") are instructions, which
        // keep their text as written.
        const auto targetEnds = [this] {
            return (cur_ >= last_ && EnsureData() == 0) || IsBlank(text_[cur_]) || text_[cur_] == '?';
        };
        if (MatchKeyword("xml")) {
            if (targetEnds())
                return xeDeclaration;
            if (MatchKeyword("-stylesheet")) {
                if (targetEnds())
                    return xeStylesheet;
                cur_ -= std::string_view("-stylesheet").size();
            }
            cur_ -= std::string_view("xml").size();
        }
        return xeInstruction;
    }
    default:
        MoveBack();
        return xeElement;
    }
}

void TxXmlParser::Flush()
{
    // Moving the last chunk to the front for every small element would cost
    // more than the parse; the consumed text goes once it is worth moving.
    if (cur_ <= first_ || first_ < flushThreshold_)
        return;
    CheckUtf8(cur_, false); // what goes must have been checked
    LineNumber(); // brings the LF count up to the read position
    // LFs of the discarded text: those before the read position less those between first_ and it.
    const std::int64_t kept = CountLineFeeds(text_.get() + first_, text_.get() + cur_);
    baseLines_ += linesBefore_ - kept;
    linesBefore_ = kept;
    basePos_ += static_cast<std::int64_t>(first_);
    std::memmove(text_.get(), text_.get() + first_, last_ - first_);
    cur_ -= first_;
    last_ -= first_;
    lineIndex_ = cur_;
    // A character begun before the discarded text's end and cut by the
    // chunk's is no longer checked: that takes chunks of under 4 bytes.
    checked_ = checked_ > first_ ? checked_ - first_ : 0;
    first_ = 0;
}

void TxXmlParser::CheckUtf8(std::size_t end, bool final)
{
    if (notUtf8Reported_ || !copied_ || checked_ >= end) {
        checked_ = std::max(checked_, end);
        return;
    }
    const char* text = text_.get();
    std::size_t i = checked_;
    while (i < end) {
        if (end - i >= 16 && WellFormedBlock(text + i)) {
            i += 16;
            continue;
        }
        i = static_cast<std::size_t>(FindNonAscii(text + i, text + end) - text);
        if (i >= end)
            break;
        // Two-byte letters (most of Czech text) without a call.
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xC2 && lead <= 0xDF && last_ - i >= 2 && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            i += 2;
            continue;
        }
        const int length = Utf8CharacterLength(text + i, last_ - i);
        if (length > 0) {
            i += static_cast<std::size_t>(length);
            continue;
        }
        if (length < 0 && !final)
            break; // the rest of the character is still to come
        notUtf8Reported_ = true;
        Warn(dlWarn, DebugFormat("bytes that are not UTF-8 at pos %lld, kept as read",
                                 AsLongLong(basePos_ + static_cast<std::int64_t>(i))));
        i = end;
    }
    checked_ = std::max(checked_, i);
}

std::int64_t TxXmlParser::LineNumber()
{
    if (cur_ >= lineIndex_)
        linesBefore_ += CountLineFeeds(text_.get() + lineIndex_, text_.get() + cur_);
    else
        linesBefore_ -= CountLineFeeds(text_.get() + cur_, text_.get() + lineIndex_);
    lineIndex_ = cur_;
    return baseLines_ + linesBefore_;
}

void TxXmlParser::ReportPrematureEnd(TxDebugLevel level, core::TObject* sender)
{
    if (prematureEndReported_)
        return;
    prematureEndReported_ = true;
    // Where the text ended, which a reader cut short by a keyword has not reached.
    EmitDebug(sender != nullptr ? sender : this, level,
              DebugFormat("stream terminated prematurely at pos %lld",
                          AsLongLong(basePos_ + static_cast<std::int64_t>(last_))));
}

std::int32_t TxXmlParser::InternUncached(TxSymbolTable& table, std::string_view text)
{
    const std::size_t n = text.size();
    if (n == 0)
        return 0;
    const std::uint32_t hash = TxSymbolTable::HashText(text);
    if (n > kCachedLength)
        return InternLong(table, text, hash);
    // The cache belongs to one table.
    cache_ = std::make_unique<CachedSymbol[]>(kCacheSize);
    cachedTable_ = &table;
    return InternMissed(table, text, hash);
}

std::int32_t TxXmlParser::InternLong(TxSymbolTable& table, std::string_view text, std::uint32_t hash)
{
    const std::size_t n = text.size();
    if (n > kLongestCached)
        return table.Intern(text, hash);
    if (longCachedTable_ != &table) {
        longCache_ = std::make_unique<CachedLongSymbol[]>(kLongCacheSize); // it belongs to one table
        longCachedTable_ = &table;
    }
    CachedLongSymbol& entry = longCache_[(hash >> 16 ^ hash) % kLongCacheSize];
    if (entry.hash == hash && entry.length == n && entry.id != 0 && entry.id <= table.SymbolCount() &&
        EqualBytes(table.LookupView(entry.id).data(), text.data(), n))
        return entry.id;
    // As below: a text enters the cache when it comes the second time.
    const int known = table.SymbolCount();
    const std::int32_t id = table.Intern(text, hash);
    if (id <= known)
        entry = {hash, static_cast<std::uint32_t>(n), id};
    return id;
}

std::int32_t TxXmlParser::InternMissed(TxSymbolTable& table, std::string_view text, std::uint32_t hash)
{
    // A text seen for the first time is most likely unique (a number, a date)
    // and would only push out one that recurs: texts enter the cache when they
    // come the second time.
    const int known = table.SymbolCount();
    const std::int32_t id = table.Intern(text, hash);
    if (id > known)
        return id;
    CachedSymbol& entry = cache_[(hash >> 16 ^ hash) % kCacheSize];
    entry = Key<false>(text);
    entry.id = id;
    return id;
}

void TxXmlParser::EndNodes()
{
    const CollectFrame frame = frames_.back();
    frames_.pop_back();
    frame.node->TakeParsedNodes(pending_.data() + frame.base, pending_.size() - frame.base);
    pending_.resize(frame.base);
}

void TxXmlParser::CheckReferencesIn(std::string_view text)
{
    for (std::size_t amp = text.find("&#"); amp != std::string_view::npos; amp = text.find("&#", amp + 2)) {
        const std::size_t stop = text.find_first_of(";&", amp + 2);
        if (stop == std::string_view::npos || text[stop] == '&')
            continue;
        const long value = CharacterReferenceValue(text.substr(amp + 2, stop - amp - 2));
        if (value >= 0 && !NamesCharacter(value))
            Warn(dlWarn, DebugFormat("character reference \"%s\" names no character, kept as written at pos %lld",
                                     std::string(text.substr(amp, stop - amp + 1)).c_str(),
                                     AsLongLong(Position())));
    }
}

} // namespace xml
