#include "platform/data/JetSql.h"

#include "platform/core/Letters.h"
#include "platform/core/FormatSettings.h"
#include "platform/data/DataError.h"
#include "platform/data/TextOrder.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace data {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsIdentStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsIdentPart(char c) { return IsIdentStart(c) || IsDigit(c) || c == '$'; }

// Reads an unsigned number of at most maxDigits digits; returns the digit count.
int ReadNumber(std::string_view s, std::size_t& i, int& value, int maxDigits)
{
    const std::size_t start = i;
    value = 0;
    while (i < s.size() && IsDigit(s[i]) && static_cast<int>(i - start) < maxDigits)
        value = value * 10 + (s[i++] - '0');
    if (i < s.size() && IsDigit(s[i]))
        return 0; // too many digits
    return static_cast<int>(i - start);
}

void SkipBlanks(std::string_view s, std::size_t& i)
{
    while (i < s.size() && IsBlank(s[i]))
        ++i;
}

bool ParseDatePart(std::string_view s, std::size_t& i, int& year, int& month, int& day)
{
    int a, b, c;
    const int da = ReadNumber(s, i, a, 4);
    if (da == 0 || i >= s.size() || (s[i] != '/' && s[i] != '-'))
        return false;
    const char sep = s[i++];
    if (ReadNumber(s, i, b, 2) == 0 || i >= s.size() || s[i] != sep)
        return false;
    ++i;
    const int dc = ReadNumber(s, i, c, 4);
    if (dc == 0)
        return false;
    if (da >= 3) { // year first: yyyy/mm/dd
        year = a, month = b, day = c;
        return true;
    }
    // month first, as Jet reads other literals: m/d/yy[yy]
    month = a, day = b, year = c;
    if (dc <= 2)
        year += year < 30 ? 2000 : 1900;
    return true;
}

bool ParseTimePart(std::string_view s, std::size_t& i, int& hour, int& min, int& sec)
{
    sec = 0;
    if (ReadNumber(s, i, hour, 2) == 0 || i >= s.size() || s[i] != ':')
        return false;
    ++i;
    if (ReadNumber(s, i, min, 2) == 0)
        return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (ReadNumber(s, i, sec, 2) == 0)
            return false;
    }
    std::size_t j = i;
    SkipBlanks(s, j);
    if (j + 2 <= s.size()) {
        const std::string_view suffix = s.substr(j, 2);
        const bool am = core::SameText(suffix, "AM"), pm = core::SameText(suffix, "PM");
        if (am || pm) {
            if (hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + (pm ? 12 : 0);
            i = j + 2;
        }
    }
    return true;
}

std::string RealLiteral(double value)
{
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string out(buf, end);
    if (out.find_first_of(".e") == std::string::npos)
        out += ".0";
    // A negative value in parentheses, so that "x-#...#" never turns into a comment "--".
    return value < 0 ? "(" + out + ")" : out;
}

bool IsDateFunction(std::string_view name)
{
    return core::SameText(name, "YEAR") || core::SameText(name, "MONTH") || core::SameText(name, "DAY");
}

} // namespace

bool ParseJetDateLiteral(std::string_view text, double& value)
{
    std::size_t i = 0;
    SkipBlanks(text, i);
    int year = 1899, month = 12, day = 30, hour = 0, min = 0, sec = 0;
    bool any = false;
    std::size_t probe = i;
    int dummy;
    ReadNumber(text, probe, dummy, 4);
    const bool timeFirst = probe < text.size() && text[probe] == ':';
    if (!timeFirst) {
        if (!ParseDatePart(text, i, year, month, day))
            return false;
        any = true;
        SkipBlanks(text, i);
    }
    if (i < text.size()) {
        if (!ParseTimePart(text, i, hour, min, sec))
            return false;
        any = true;
        SkipBlanks(text, i);
    }
    if (!any || i != text.size())
        return false;
    return core::TryEncodeDateTime(year, month, day, hour, min, sec, 0, value);
}

// The terms of an ORDER BY clause, each given the collation of Jet's text
// order unless it names one itself. The clause's terms end at a comma, at
// ASC or DESC, at LIMIT, OFFSET or ";", at the ")" around the clause, or at
// the end; the collation goes right after the term's last token. A term that
// is only a column name (perhaps after its table's) of a column holding no
// text gets none.
class TOrderTerms {
public:
    TOrderTerms(std::string& out, const TNonTextColumns* nonText) : out_(out), nonText_(nonText) {}

    bool InClause(std::size_t depth) const { return clause_ && depth == depth_; }

    // A name at paren depth (before it is written); a quoted one is never a keyword.
    void Name(std::string_view name, std::size_t depth, bool quoted = false)
    {
        const bool by = !quoted && awaitingBy_ && depth == byDepth_ && core::SameText(name, "BY");
        awaitingBy_ = !quoted && core::SameText(name, "ORDER");
        byDepth_ = depth;
        if (by) {
            clause_ = true;
            depth_ = depth;
            StartTerm();
            separator_ = true;
            return;
        }
        if (!InClause(depth))
            return;
        if (quoted) {
            lastName_ = name;
        } else if (core::SameText(name, "ASC") || core::SameText(name, "DESC")) {
            EndTerm();
        } else if (core::SameText(name, "COLLATE")) {
            term_ = Term::Done;
        } else if (core::SameText(name, "LIMIT") || core::SameText(name, "OFFSET")) {
            EndClause();
        } else {
            lastName_ = name;
        }
    }
    // Any other token at paren depth (before it is written).
    void Other(char c, std::size_t depth)
    {
        awaitingBy_ = false;
        if (!InClause(depth))
            return;
        if (c == ',') {
            EndTerm();
            StartTerm();
            separator_ = true;
        } else if (c == ';' || c == ')') {
            EndClause();
        } else if (c != '.') {
            columnOnly_ = false;
        }
    }
    // After a token was written: a token of a term moves the term's end.
    void Written(std::size_t depth)
    {
        if (separator_) {
            separator_ = false;
            return;
        }
        if (clause_ && depth >= depth_ && term_ != Term::Done) {
            term_ = Term::Open;
            termEnd_ = out_.size();
        }
    }
    void EndClause()
    {
        EndTerm();
        clause_ = false;
    }

private:
    void StartTerm()
    {
        term_ = Term::None;
        columnOnly_ = true;
        lastName_ = {};
    }
    void EndTerm()
    {
        if (clause_ && term_ == Term::Open && !HoldsNoText())
            out_.insert(termEnd_, std::string(" COLLATE ") + JetTextCollation);
        term_ = Term::Done;
    }
    bool HoldsNoText() const
    {
        return columnOnly_ && !lastName_.empty() && nonText_ != nullptr &&
               nonText_->count(core::LowerCase(lastName_)) != 0;
    }

    enum class Term { None, Open, Done };
    std::string& out_;
    const TNonTextColumns* nonText_;
    bool awaitingBy_ = false;
    std::size_t byDepth_ = 0;
    bool clause_ = false;
    std::size_t depth_ = 0;
    Term term_ = Term::None;
    std::size_t termEnd_ = 0;
    // The token being written is "BY" or a comma between terms.
    bool separator_ = false;
    // The term so far is names joined by dots; the last of them.
    bool columnOnly_ = true;
    std::string_view lastName_;
};

std::string TranslateJetSql(std::string_view sql, const TNonTextColumns* nonText)
{
    std::string out;
    out.reserve(sql.size() + 32);
    // One entry per open parenthesis: true when its ")" must close a CAST too.
    std::vector<bool> parens;
    bool nextParenIsCast = false;
    TOrderTerms order(out, nonText);

    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        const bool token = !IsBlank(c) && !(c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') &&
                           !(c == '/' && i + 1 < sql.size() && sql[i + 1] == '*');
        if (token && !IsIdentStart(c) && c != '[' && c != '`')
            order.Other(c, parens.size());
        if (c == '\'') { // 'text', with '' inside
            std::size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == '\'') {
                    if (j + 1 < sql.size() && sql[j + 1] == '\'') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '"') { // Jet string literal "text", with "" inside
            out += '\'';
            std::size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == '"') {
                    if (j + 1 < sql.size() && sql[j + 1] == '"') {
                        out += '"';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                if (sql[j] == '\'')
                    out += '\'';
                out += sql[j++];
            }
            out += '\'';
            i = j;
        } else if (c == '[' || c == '`') { // quoted names
            const char close = c == '[' ? ']' : '`';
            std::size_t j = sql.find(close, i + 1);
            order.Name(sql.substr(i + 1, (j == std::string_view::npos ? sql.size() : j) - i - 1), parens.size(),
                       true);
            j = j == std::string_view::npos ? sql.size() : j + 1;
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            std::size_t j = sql.find('\n', i);
            j = j == std::string_view::npos ? sql.size() : j;
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            std::size_t j = sql.find("*/", i + 2);
            j = j == std::string_view::npos ? sql.size() : j + 2;
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '#') {
            const std::size_t end = sql.find('#', i + 1);
            const std::string_view literal = sql.substr(i, end == std::string_view::npos ? end : end - i + 1);
            double value;
            if (end == std::string_view::npos || !ParseJetDateLiteral(sql.substr(i + 1, end - i - 1), value))
                throw EDatabaseError("Chyba syntaxe v datu ve výrazu dotazu '" + std::string(literal) + "'.");
            out += RealLiteral(value);
            i = end + 1;
        } else if (IsIdentStart(c)) {
            std::size_t j = i + 1;
            while (j < sql.size() && IsIdentPart(sql[j]))
                ++j;
            const std::string_view name = sql.substr(i, j - i);
            order.Name(name, parens.size());
            std::size_t k = j;
            SkipBlanks(sql, k);
            if (k < sql.size() && sql[k] == '(' && IsDateFunction(name)) {
                out += "CAST(";
                nextParenIsCast = true;
            }
            out.append(name);
            i = j;
        } else if (IsDigit(c)) { // numbers, so that 1e5 or 12abc stay as they are
            std::size_t j = i + 1;
            while (j < sql.size() && (IsIdentPart(sql[j]) || sql[j] == '.'))
                ++j;
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '(') {
            parens.push_back(nextParenIsCast);
            nextParenIsCast = false;
            out += c;
            ++i;
        } else if (c == ')') {
            out += c;
            if (!parens.empty()) {
                if (parens.back())
                    out += " AS INTEGER)";
                parens.pop_back();
            }
            ++i;
        } else {
            out += c;
            ++i;
        }
        if (token)
            order.Written(parens.size());
    }
    order.EndClause();
    return out;
}

} // namespace data
