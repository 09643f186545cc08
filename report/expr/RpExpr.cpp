#include "report/expr/RpExpr.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Letters.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpExprUnit.h"
#include "report/expr/RpLibrary.h"
#include "report/expr/RpMessages.h"
#include "report/expr/RpNumbers.h"

#include <optional>

namespace report {

namespace {

// Deeper nesting than this becomes an error element.
constexpr int kMaxNesting = 1000;

// An operator found at the top level of a text: its characters are
// text[position, position + length).
struct TopLevelOperator {
    std::size_t position;
    std::size_t length;
    TRpOperation operation;
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchWord(std::string_view text, std::size_t at, std::string_view word)
{
    if (at + word.size() > text.size())
        return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (Lower(text[at + k]) != word[k])
            return false;
    return true;
}

// Walks text from its first to its next-to-last character, keeping track of
// quotes, brackets and parentheses, and offers each character from the second
// on that stands outside all of them to match.
template <class Match>
std::optional<TopLevelOperator> ScanTopLevel(std::string_view text, Match match)
{
    bool quote = false;
    bool bracket = false;
    int depth = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (i >= 1 && !quote && !bracket && depth == 0)
            if (auto found = match(text, i))
                return found;
        switch (text[i]) {
        case '\'':
            if (!bracket)
                quote = !quote;
            break;
        case '[':
            if (!quote && !bracket)
                bracket = true;
            break;
        case ']':
            if (bracket && !quote)
                bracket = false;
            break;
        case '(':
            if (!quote && !bracket)
                ++depth;
            break;
        case ')':
            if (!quote && !bracket)
                --depth;
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

std::optional<TopLevelOperator> MatchRelational(std::string_view t, std::size_t i)
{
    switch (t[i]) {
    case '<':
        if (t[i + 1] == '>')
            return TopLevelOperator{i, 2, opNotEqual};
        if (t[i + 1] == '=')
            return TopLevelOperator{i, 2, opLessEqual};
        return TopLevelOperator{i, 1, opLess};
    case '=':
        return TopLevelOperator{i, 1, opEqual};
    case '>':
        if (t[i + 1] == '=')
            return TopLevelOperator{i, 2, opGreaterEqual};
        return TopLevelOperator{i, 1, opGreater};
    default:
        return std::nullopt;
    }
}

// "or" and "and" need a blank on either side; the blank before stays with
// the left operand.
std::optional<TopLevelOperator> MatchAdditive(std::string_view t, std::size_t i)
{
    switch (t[i]) {
    case '+': return TopLevelOperator{i, 1, opPlus};
    case '-': return TopLevelOperator{i, 1, opMinus};
    case ' ':
        if (MatchWord(t, i + 1, "or "))
            return TopLevelOperator{i + 1, 2, opOr};
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<TopLevelOperator> MatchMultiplicative(std::string_view t, std::size_t i)
{
    switch (t[i]) {
    case '*': return TopLevelOperator{i, 1, opTimes};
    case '/': return TopLevelOperator{i, 1, opDivide};
    case ' ':
        if (MatchWord(t, i + 1, "and "))
            return TopLevelOperator{i + 1, 3, opAnd};
        return std::nullopt;
    default: return std::nullopt;
    }
}

// The right operand of "-" (or "/") is parsed as one group: exchanging its
// top-level signs keeps a - b + c meaning (a - b) + c.
std::string SwapTopLevelSigns(std::string_view text, char a, char b)
{
    std::string out(text);
    bool quote = false;
    int depth = 0;
    for (char& c : out) {
        if (c == '\'') {
            quote = !quote;
        } else if (!quote) {
            if (c == '(')
                ++depth;
            else if (c == ')')
                --depth;
            else if (depth == 0 && c == a)
                c = b;
            else if (depth == 0 && c == b)
                c = a;
        }
    }
    return out;
}

// Only blanks go, not tabs; a text of blanks keeps one.
std::string TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return text.empty() ? std::string() : std::string(" ");
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

class DepthGuard {
public:
    explicit DepthGuard(int& depth, int by = 1) : depth_(depth), by_(by) { depth_ += by_; }
    ~DepthGuard() { depth_ -= by_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
    int by_;
};

} // namespace

TRpEvaluator::TRpEvaluator() = default;

TRpEvaluator::~TRpEvaluator()
{
    if (parsed_)
        Release();
}

void TRpEvaluator::Append(std::unique_ptr<TRpEvElement> element) { list_->Append(std::move(element)); }

void TRpEvaluator::AppendError(const std::string& message)
{
    Append(std::make_unique<TRpEvElementError>(message));
}

void TRpEvaluator::Parse(const std::string& text)
{
    if (list_ || parsed_)
        Release();
    ProcessEnvironment().PrepareEnvironment();
    list_ = std::make_unique<TRpFiFo>();
    depth_ = 0;
    ParseRelational(text.empty() ? std::string_view("' '") : std::string_view(text));
    parsed_ = true;
}

void TRpEvaluator::Release()
{
    const bool wasParsed = parsed_;
    list_.reset();
    parsed_ = false;
    // Only a parse prepared the global environment; releasing without one
    // would unbalance its count.
    if (wasParsed)
        if (TRpEvEnvironment* global = detail::ProcessEnvironmentIfCreated())
            global->ReleaseEnvironment();
}

TRpEvValue TRpEvaluator::Evaluate()
{
    if (!parsed_)
        throw core::Exception(std::string(msg::EvaluatorNotPrepared));
    list_->Rewind();
    if (list_->Elements.empty())
        return TRpEvValue::Error("");
    return list_->EvaluateNext();
}

TRpEvValue TRpEvaluator::EvaluateText(const std::string& text)
{
    Parse(text);
    struct Releaser {
        TRpEvaluator* self;
        ~Releaser() { self->Release(); }
    } releaser{this};
    return Evaluate();
}

void TRpEvaluator::ResetAggregates()
{
    if (!list_)
        return;
    for (auto& element : list_->Elements)
        element->ResetState();
}

void TRpEvaluator::AggregateStep()
{
    if (!parsed_)
        throw core::Exception(std::string(msg::EvaluatorNotPrepared));
    list_->Aggregating = true;
    struct Clear {
        TRpFiFo* list;
        ~Clear() { list->Aggregating = false; }
    } clear{list_.get()};
    Evaluate();
}

bool TRpEvaluator::ContainsAggregates() const
{
    if (!list_)
        return false;
    for (const auto& element : list_->Elements)
        if (element->IsAggregate())
            return true;
    return false;
}

void TRpEvaluator::AssignDataSets(TRpDataSetList* list)
{
    if (ownedDataSets_ && ownedDataSets_.get() != list)
        ownedDataSets_.reset();
    dataSets_ = list;
}

TRpDataSetList* TRpEvaluator::OwnDataSetList()
{
    if (dataSets_ == nullptr) {
        ownedDataSets_ = std::make_unique<TRpDataSetList>();
        dataSets_ = ownedDataSets_.get();
    }
    return dataSets_;
}

TRpEvElement* TRpEvaluator::FirstElement() const
{
    if (!parsed_ || !list_ || list_->Elements.empty())
        return nullptr;
    return list_->Elements.front().get();
}

// --- the three operator levels ---------------------------------------------------

void TRpEvaluator::ParseRelational(std::string_view text)
{
    // At most one relational operator: a second one stays in the right text,
    // where no lower level takes it for an operator.
    if (auto found = ScanTopLevel(text, MatchRelational)) {
        Append(std::make_unique<TRpEvElementOperator>(found->operation));
        ParseAdditive(text.substr(0, found->position));
        ParseAdditive(text.substr(found->position + found->length));
        return;
    }
    ParseAdditive(text);
}

void TRpEvaluator::ParseAdditive(std::string_view text)
{
    // The right operand is parsed at this same level: a loop instead of a
    // recursion, with its own share of the nesting count.
    std::string rest;
    int levels = 0;
    while (auto found = ScanTopLevel(text, MatchAdditive)) {
        if (depth_ + levels >= kMaxNesting)
            break;
        ++levels;
        Append(std::make_unique<TRpEvElementOperator>(found->operation));
        {
            DepthGuard guard(depth_, levels);
            ParseMultiplicative(text.substr(0, found->position));
        }
        std::string right(text.substr(found->position + found->length));
        rest = found->operation == opMinus ? SwapTopLevelSigns(right, '+', '-') : std::move(right);
        text = rest;
    }
    DepthGuard guard(depth_, levels);
    ParseMultiplicative(text);
}

void TRpEvaluator::ParseMultiplicative(std::string_view text)
{
    std::string rest;
    int levels = 0;
    while (auto found = ScanTopLevel(text, MatchMultiplicative)) {
        if (depth_ + levels >= kMaxNesting)
            break;
        ++levels;
        Append(std::make_unique<TRpEvElementOperator>(found->operation));
        {
            DepthGuard guard(depth_, levels);
            ParseFactor(text.substr(0, found->position));
        }
        std::string right(text.substr(found->position + found->length));
        rest = found->operation == opDivide ? SwapTopLevelSigns(right, '*', '/') : std::move(right);
        text = rest;
    }
    DepthGuard guard(depth_, levels);
    ParseFactor(text);
}

void TRpEvaluator::ParseFactor(std::string_view raw)
{
    DepthGuard guard(depth_);
    const std::string text = TrimBlanks(raw);
    if (depth_ >= kMaxNesting) {
        AppendError(FormatMessage(msg::ErrorInExpression, {CutValueText(text)}));
        return;
    }
    if (MatchWord(text, 0, "not")) {
        Append(std::make_unique<TRpEvElementNot>());
        ParseAdditive(std::string_view(text).substr(3));
        return;
    }
    const char first = text.empty() ? '\0' : text.front();
    const char last = text.empty() ? '\0' : text.back();
    const std::size_t n = text.size();
    if (first == '\'') {
        // A lone quote opens a text that never closes.
        if (n >= 2 && last == '\'')
            Append(std::make_unique<TRpEvElementString>(std::string_view(text).substr(1, n - 2)));
        else
            AppendError(FormatMessage(msg::Missing, {"'"}));
    } else if (first == '(') {
        if (last == ')')
            ParseRelational(std::string_view(text).substr(1, n - 2));
        else
            AppendError(FormatMessage(msg::Missing, {")"}));
    } else if (first == '+') {
        ParseFactor(std::string_view(text).substr(1));
    } else if (first == '-') {
        // Unary minus is a subtraction from 0.
        ParseAdditive("0-" + text.substr(1));
    } else if (IsDigit(first)) {
        ParseNumber(text);
    } else if (IsLetter(first)) {
        ParseCall(text);
    } else if (first == '[') {
        if (n >= 2 && last == ']')
            ParseReference(text.substr(1, n - 2));
        else
            AppendError(FormatMessage(msg::Missing, {"]"}));
    } else {
        AppendError(FormatMessage(msg::ErrorInExpression, {CutValueText(text)}));
    }
}

void TRpEvaluator::ParseNumber(std::string_view raw)
{
    const std::string text = CutValueText(raw);
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    bool isFloat = false;
    while (i < text.size() && std::string_view("+-.0123456789Ee").find(text[i]) != std::string_view::npos) {
        isFloat = true;
        ++i;
    }
    const std::string illegal = FormatMessage(msg::IllegalNumeric, {text});
    if (i < text.size()) {
        AppendError(illegal);
        return;
    }
    if (!isFloat) {
        if (auto v = TextToInteger(text)) {
            Append(std::make_unique<TRpEvElementConstant>(TRpEvValue::Integer(*v)));
            return;
        }
        // Beyond the 32-bit range: a float constant.
    }
    if (auto v = TextToFloat(text))
        Append(std::make_unique<TRpEvElementConstant>(TRpEvValue::Float(*v)));
    else
        AppendError(illegal);
}

void TRpEvaluator::ParseCall(const std::string& text)
{
    const auto open = text.find('(');
    if (open == std::string::npos)
        ParseFunction(text, "");
    else if (text.back() == ')')
        ParseFunction(text.substr(0, open), text.substr(open + 1, text.size() - open - 2));
    else
        ParseFunction("", "");
}

void TRpEvaluator::ParseFunction(const std::string& name, const std::string& arguments)
{
    const std::string upper = core::AnsiUpperCase(name);
    const TRpLibraryEntry* entry = FunctionLibrary().Find(upper);
    if (entry == nullptr || entry->ElementClass == nullptr) {
        if (!arguments.empty())
            AppendError(FormatMessage(msg::UnknownFunction, {upper}));
        else
            ParseReference(upper);
        return;
    }
    Append(entry->ElementClass());
    if (!arguments.empty()) {
        // Split at the separators outside quotes and parentheses; the last
        // character is never a separator.
        const std::string_view args(arguments);
        bool quote = false;
        int depth = 0;
        std::size_t start = 0;
        for (std::size_t i = 0; i + 1 < args.size(); ++i) {
            const char c = args[i];
            if (c == '\'') {
                quote = !quote;
            } else if (!quote) {
                if (c == '(') {
                    ++depth;
                } else if (c == ')') {
                    --depth;
                } else if (depth == 0 && c == ArgumentSeparator) {
                    ParseRelational(args.substr(start, i - start));
                    start = i + 1;
                }
            }
        }
        ParseRelational(args.substr(start));
    }
    Append(std::make_unique<TRpEvElementArgumentEnd>());
}

void TRpEvaluator::ParseReference(const std::string& text)
{
    if (dataSets_ == nullptr) {
        ParseVariable(text);
        return;
    }
    const auto dot = text.find('.');
    const std::string dataSetName = dot == std::string::npos ? std::string() : core::AnsiUpperCase(text.substr(0, dot));
    const std::string fieldName = core::AnsiUpperCase(dot == std::string::npos ? text : text.substr(dot + 1));
    for (data::TDataSet* dataSet : *dataSets_) {
        if (dataSet == nullptr)
            continue;
        if (!dataSetName.empty() && core::AnsiUpperCase(dataSet->Name()) != dataSetName)
            continue;
        if (data::TField* field = dataSet->FindField(fieldName)) {
            Append(std::make_unique<TRpEvElementDataField>(dataSet, dataSet->Fields()->IndexOf(field), field));
            return;
        }
        // A named data set is the only one asked.
        if (!dataSetName.empty())
            break;
    }
    ParseVariable(text);
}

void TRpEvaluator::ParseVariable(const std::string& name)
{
    std::unique_ptr<TRpEvElement> element;
    if (localScope_ != nullptr) {
        element = localScope_->ElementFor(name);
        if (dynamic_cast<TRpEvElementError*>(element.get()) != nullptr)
            element.reset();
    }
    if (!element)
        element = ProcessEnvironment().ElementFor(name);
    Append(std::move(element));
}

} // namespace report
