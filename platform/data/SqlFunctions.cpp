#include "platform/data/SqlFunctions.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "platform/core/FormatSettings.h"
#include "platform/data/DataError.h"
#include "platform/data/JetSql.h"
#include "platform/data/TextOrder.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>

namespace data {

namespace {

constexpr char32_t kAnyRun = 0xFFFFFFFF;
constexpr char32_t kAnyOne = 0xFFFFFFFE;

// Lower-case folding of text into out (which is reused between calls, so
// matching a column row by row allocates nothing once it is warm). Folding
// never lengthens a text: ASCII stays one byte and every letter that folds is
// two bytes before and after.
void FoldInto(std::string& out, std::string_view text)
{
    out.resize(text.size());
    char* w = out.data();
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            *w++ = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t cp = core::NextUtf8(text, pos);
        const char32_t folded = cp == core::kReplacementChar ? cp : core::FoldLower(cp);
        if (folded == cp) { // bytes we cannot read, or a character without case, stay as they are
            w = std::copy(text.data() + start, text.data() + pos, w);
            continue;
        }
        std::string piece;
        core::AppendUtf8(piece, folded);
        if (piece.size() != pos - start) { // not expected: keep the original
            w = std::copy(text.data() + start, text.data() + pos, w);
            continue;
        }
        w = std::copy(piece.begin(), piece.end(), w);
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
}

void FoldInto(std::vector<char32_t>& out, std::string_view text)
{
    out.clear();
    for (std::size_t pos = 0; pos < text.size();)
        out.push_back(core::FoldLower(core::NextUtf8(text, pos)));
}

} // namespace

TLikePattern::TLikePattern(std::string_view pattern, char32_t escape) : escape_(escape)
{
    std::string piece;
    for (std::size_t pos = 0; pos < pattern.size();) {
        char32_t cp = core::NextUtf8(pattern, pos);
        if (escape != 0 && cp == escape && pos < pattern.size()) {
            cp = core::FoldLower(core::NextUtf8(pattern, pos));
            tokens_.push_back(cp);
            core::AppendUtf8(piece, cp);
        } else if (cp == '%') {
            if (tokens_.empty() || tokens_.back() != kAnyRun)
                tokens_.push_back(kAnyRun);
            pieces_.push_back(std::move(piece));
            piece.clear();
        } else if (cp == '_') {
            tokens_.push_back(kAnyOne);
            piecewise_ = false;
        } else {
            cp = core::FoldLower(cp);
            tokens_.push_back(cp);
            core::AppendUtf8(piece, cp);
        }
    }
    pieces_.push_back(std::move(piece));
}

bool TLikePattern::Matches(std::string_view text) const
{
    if (piecewise_) {
        thread_local std::string folded;
        FoldInto(folded, text);
        const std::string_view t = folded;
        const std::size_t n = pieces_.size();
        if (n == 1)
            return t == pieces_[0];
        const std::string& first = pieces_.front();
        const std::string& last = pieces_.back();
        if (t.size() < first.size() + last.size() || t.substr(0, first.size()) != first ||
            t.substr(t.size() - last.size()) != last)
            return false;
        std::size_t pos = first.size();
        const std::size_t end = t.size() - last.size();
        for (std::size_t k = 1; k + 1 < n; ++k) {
            const std::string& piece = pieces_[k];
            if (piece.empty())
                continue;
            const void* hit = memmem(t.data() + pos, end - pos, piece.data(), piece.size());
            if (hit == nullptr)
                return false;
            pos = static_cast<std::size_t>(static_cast<const char*>(hit) - t.data()) + piece.size();
        }
        return true;
    }

    thread_local std::vector<char32_t> chars;
    FoldInto(chars, text);
    const std::size_t tn = chars.size(), pn = tokens_.size();
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string::npos, starT = 0;
    while (t < tn) {
        if (p < pn && (tokens_[p] == kAnyOne || tokens_[p] == chars[t])) {
            ++p;
            ++t;
        } else if (p < pn && tokens_[p] == kAnyRun) {
            starP = p++;
            starT = t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pn && tokens_[p] == kAnyRun)
        ++p;
    return p == pn;
}

namespace {

void LikeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // X LIKE Y [ESCAPE Z] arrives as like(Y, X [, Z]).
    char32_t escape = 0;
    if (argc == 3) {
        const auto* e = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
        const std::string_view es = e ? std::string_view(e, static_cast<std::size_t>(sqlite3_value_bytes(argv[2])))
                                      : std::string_view();
        if (core::Utf8Length(es) != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        std::size_t pos = 0;
        escape = core::NextUtf8(es, pos);
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return; // NULL
    auto* pattern = static_cast<TLikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (pattern == nullptr || pattern->Escape() != escape) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        const std::string_view ps(p, static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
        auto owned = std::make_unique<TLikePattern>(ps, escape);
        pattern = owned.get();
        sqlite3_set_auxdata(ctx, 0, owned.release(), [](void* ptr) { delete static_cast<TLikePattern*>(ptr); });
        // SQLite may free it at once when the pattern is not a constant.
        pattern = static_cast<TLikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (pattern == nullptr) {
            const TLikePattern once(ps, escape);
            const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
            sqlite3_result_int(ctx, once.Matches({t, static_cast<std::size_t>(sqlite3_value_bytes(argv[1]))}));
            return;
        }
    }
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(ctx, pattern->Matches({t, static_cast<std::size_t>(sqlite3_value_bytes(argv[1]))}));
}

// The date-time value of an argument: a number as stored, or a text that reads
// as a number or as a date; false for NULL and anything else.
bool DateArgument(sqlite3_value* value, double& result)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: result = sqlite3_value_double(value); return true;
    case SQLITE_TEXT: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const std::string_view text(p, static_cast<std::size_t>(sqlite3_value_bytes(value)));
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
        if (!text.empty() && ec == std::errc() && end == text.data() + text.size())
            return true;
        return ParseJetDateLiteral(text, result) || core::TryStrToDateTime(text, result);
    }
    default: return false;
    }
}

template <int Part>
void DatePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double value;
    if (!DateArgument(argv[0], value) || !(value > -693594.0 && value < 2958466.0))
        return; // NULL
    int parts[3];
    core::DecodeDate(value, parts[0], parts[1], parts[2]);
    sqlite3_result_int(ctx, parts[Part]);
}

int JetTextCollate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return CompareJetText(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                          std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

} // namespace

void RegisterJetFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Entry {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    const Entry entries[] = {
        {"like", 2, LikeFunction},          {"like", 3, LikeFunction},
        {"year", 1, DatePartFunction<0>},   {"month", 1, DatePartFunction<1>},
        {"day", 1, DatePartFunction<2>},
    };
    for (const Entry& e : entries)
        if (sqlite3_create_function_v2(db, e.name, e.args, flags, nullptr, e.fn, nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            throw EADOError(std::string("Cannot register the SQL function ") + e.name + ": " + sqlite3_errmsg(db));
    if (sqlite3_create_collation_v2(db, JetTextCollation, SQLITE_UTF8, nullptr, JetTextCollate, nullptr) != SQLITE_OK)
        throw EADOError(std::string("Cannot register the collation ") + JetTextCollation + ": " + sqlite3_errmsg(db));
}

} // namespace data
