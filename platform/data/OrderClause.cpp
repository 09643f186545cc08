#include "platform/data/OrderClause.h"

#include "platform/core/Letters.h"
#include "platform/data/TextOrder.h"

#include <cctype>

namespace data {

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80) != 0; }

struct TToken {
    enum Kind { Word, Quoted, Other, End } kind = End;
    std::string_view text; // a word or the inside of a quoted name
    char symbol = 0;
    std::size_t start = 0;
};

// Reads the tokens of SQL: words, quoted names, single symbols; literals and
// comments are passed over (a literal is one Other token).
class TTokens {
public:
    explicit TTokens(std::string_view sql) : sql_(sql) {}

    TToken Next()
    {
        SkipBlanksAndComments();
        TToken t;
        t.start = pos_;
        if (pos_ >= sql_.size())
            return t;
        const char c = sql_[pos_];
        if (c == '\'') {
            Skip('\'');
            t.kind = TToken::Other;
            t.symbol = '\'';
        } else if (c == '"' || c == '[' || c == '`') {
            const std::size_t from = pos_ + 1;
            const bool closed = Skip(c == '[' ? ']' : c);
            t.kind = TToken::Quoted;
            t.text = sql_.substr(from, pos_ - from - (closed ? 1 : 0));
        } else if (IsWordChar(c)) {
            const std::size_t from = pos_;
            while (pos_ < sql_.size() && IsWordChar(sql_[pos_]))
                ++pos_;
            t.kind = TToken::Word;
            t.text = sql_.substr(from, pos_ - from);
        } else {
            ++pos_;
            t.kind = TToken::Other;
            t.symbol = c;
        }
        return t;
    }

private:
    void SkipBlanksAndComments()
    {
        for (;;) {
            while (pos_ < sql_.size() && std::isspace(static_cast<unsigned char>(sql_[pos_])))
                ++pos_;
            if (sql_.compare(pos_, 2, "--") == 0) {
                const std::size_t end = sql_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? sql_.size() : end + 1;
            } else if (sql_.compare(pos_, 2, "/*") == 0) {
                const std::size_t end = sql_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? sql_.size() : end + 2;
            } else {
                return;
            }
        }
    }
    // Past a quoted part; a doubled closing mark stays inside. False when it never closes.
    bool Skip(char close)
    {
        ++pos_;
        while (pos_ < sql_.size()) {
            if (sql_[pos_] == close) {
                if (close != ']' && pos_ + 1 < sql_.size() && sql_[pos_ + 1] == close) {
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return true;
            }
            ++pos_;
        }
        return false;
    }

    std::string_view sql_;
    std::size_t pos_ = 0;
};

bool IsWord(const TToken& t, const char* word) { return t.kind == TToken::Word && core::SameText(t.text, word); }

// Reads the terms after ORDER BY up to the end; false for anything else.
bool ReadTerms(TTokens& tokens, std::vector<TOrderTerm>& terms)
{
    TToken t = tokens.Next();
    for (;;) {
        TOrderTerm term;
        bool named = false;
        while (t.kind == TToken::Word || t.kind == TToken::Quoted) {
            if (t.kind == TToken::Word && (IsWord(t, "COLLATE") || IsWord(t, "ASC") || IsWord(t, "DESC")))
                break;
            term.Column = std::string(t.text);
            named = true;
            t = tokens.Next();
            if (t.kind != TToken::Other || t.symbol != '.')
                break;
            t = tokens.Next();
        }
        if (!named)
            return false;
        if (IsWord(t, "COLLATE")) {
            t = tokens.Next();
            if (!(t.kind == TToken::Word && core::SameText(t.text, JetTextCollation)))
                return false;
            term.JetText = true;
            t = tokens.Next();
        }
        if (IsWord(t, "ASC") || IsWord(t, "DESC")) {
            term.Descending = IsWord(t, "DESC");
            t = tokens.Next();
        }
        terms.push_back(term);
        if (t.kind == TToken::End)
            return true;
        if (t.kind != TToken::Other || t.symbol != ',')
            return false;
        t = tokens.Next();
    }
}

} // namespace

bool SplitOrderClause(std::string_view sql, TOrderClause& clause)
{
    clause.Head.assign(sql);
    clause.Terms.clear();
    // The last ORDER BY outside parentheses.
    TTokens tokens(sql);
    int depth = 0;
    std::size_t orderAt = std::string_view::npos;
    TToken previous;
    for (TToken t = tokens.Next(); t.kind != TToken::End; t = tokens.Next()) {
        if (t.kind == TToken::Other && t.symbol == '(')
            ++depth;
        else if (t.kind == TToken::Other && t.symbol == ')')
            --depth;
        else if (depth == 0 && IsWord(t, "BY") && IsWord(previous, "ORDER"))
            orderAt = previous.start;
        previous = t;
    }
    if (orderAt == std::string_view::npos)
        return true;
    TTokens rest(sql.substr(orderAt));
    rest.Next(); // ORDER
    rest.Next(); // BY
    if (!ReadTerms(rest, clause.Terms))
        return false;
    std::size_t end = orderAt;
    while (end > 0 && std::isspace(static_cast<unsigned char>(sql[end - 1])))
        --end;
    clause.Head.assign(sql.substr(0, end));
    return true;
}

} // namespace data
