#include "report/expr/RpEnvironment.h"

#include "platform/core/Letters.h"
#include "report/expr/RpMessages.h"

namespace report {

// --- variables -------------------------------------------------------------------

TRpEvEmbeddedFunction::TRpEvEmbeddedFunction(std::string expressionText)
    : ExpressionText(std::move(expressionText))
{
}

TRpEvValue TRpEvEmbeddedFunction::Evaluate(TRpFiFo&) { return Evaluate(); }

TRpEvValue TRpEvEmbeddedFunction::Evaluate()
{
    if (InUse)
        return TRpEvValue::Error(msg::RecursiveCall);
    InUse = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{InUse};
    return OwnEvaluator.Evaluate();
}

// --- environment -----------------------------------------------------------------

TRpEvEnvironment::TRpEvEnvironment() = default;

TRpEvEnvironment::~TRpEvEnvironment() { Clear(); }

TRpEvEmbeddedFunction* TRpEvEnvironment::Variable(int index) const
{
    return static_cast<TRpEvEmbeddedFunction*>(Objects(index));
}

TRpEvEmbeddedFunction* TRpEvEnvironment::Variable(const std::string& name) const
{
    const int index = IndexOf(core::AnsiUpperCase(name));
    return index < 0 ? nullptr : Variable(index);
}

void TRpEvEnvironment::ParseVariable(TRpEvEmbeddedFunction* variable)
{
    variable->OwnEvaluator.AssignDataSets(OwnDataSetList());
    variable->OwnEvaluator.SetLocalScope(this);
    variable->OwnEvaluator.Parse(variable->ExpressionText);
}

void TRpEvEnvironment::DefineVariable(const std::string& name, const std::string& expressionText)
{
    const std::string upper = core::AnsiUpperCase(name);
    if (IndexOf(upper) >= 0)
        return;
    auto variable = std::make_unique<TRpEvEmbeddedFunction>(expressionText);
    TRpEvEmbeddedFunction* added = variable.get();
    AddObject(upper, variable.release());
    if (IsPrepared())
        ParseVariable(added);
}

void TRpEvEnvironment::RemoveVariable(const std::string& name)
{
    const int index = IndexOf(core::AnsiUpperCase(name));
    if (index >= 0)
        Delete(index);
}

void TRpEvEnvironment::ReplaceVariable(int index, const std::string& expressionText)
{
    auto variable = std::make_unique<TRpEvEmbeddedFunction>(expressionText);
    TRpEvEmbeddedFunction* old = Variable(index);
    PutObject(index, variable.get());
    TRpEvEmbeddedFunction* added = variable.release();
    delete old;
    if (IsPrepared())
        ParseVariable(added);
}

TRpEvValue TRpEvEnvironment::VariableValue(const std::string& name)
{
    TRpEvEmbeddedFunction* variable = Variable(name);
    if (variable == nullptr)
        return TRpEvValue::Error(FormatMessage(msg::UnknownFunction, {name}));
    return variable->Evaluate();
}

std::unique_ptr<TRpEvElement> TRpEvEnvironment::ElementFor(const std::string& name) const
{
    if (TRpEvEmbeddedFunction* variable = Variable(name))
        return std::make_unique<TRpEvElementWrapper>(variable);
    return std::make_unique<TRpEvElementError>(FormatMessage(msg::UnknownFunction, {name}));
}

TRpEvElement* TRpEvEnvironment::ConstantElement(const std::string& name) const
{
    const TRpEvEmbeddedFunction* variable = Variable(name);
    return variable == nullptr ? nullptr : variable->FirstElement();
}

void TRpEvEnvironment::PutTextConstant(TRpEvElement* element, const std::string& text)
{
    if (auto* s = dynamic_cast<TRpEvElementString*>(element))
        s->SetText(text);
}

void TRpEvEnvironment::PutIntegerConstant(TRpEvElement* element, std::int32_t value)
{
    if (auto* c = dynamic_cast<TRpEvElementConstant*>(element))
        c->Value = TRpEvValue::Integer(value);
}

void TRpEvEnvironment::PutConstantValue(TRpEvElement* element, const TRpEvValue& value)
{
    if (auto* c = dynamic_cast<TRpEvElementConstant*>(element))
        c->Value = value;
    else if (auto* s = dynamic_cast<TRpEvElementString*>(element); s != nullptr && value.Kind == evString)
        s->SetText(value.StringValue);
}

void TRpEvEnvironment::PrepareEnvironment()
{
    if (prepareLevel_++ != 0)
        return;
    for (int i = 0; i < Count(); ++i)
        if (TRpEvEmbeddedFunction* variable = Variable(i))
            ParseVariable(variable);
}

void TRpEvEnvironment::ReleaseEnvironment()
{
    if (detail::ReleaseGuard && this == detail::ProcessEnvironmentIfCreated())
        return;
    if (prepareLevel_ <= 0)
        return;
    const bool saved = detail::ReleaseGuard;
    detail::ReleaseGuard = true;
    struct Restore {
        bool value;
        ~Restore() { detail::ReleaseGuard = value; }
    } restore{saved};
    if (prepareLevel_-- != 1)
        return;
    for (int i = 0; i < Count(); ++i)
        if (TRpEvEmbeddedFunction* variable = Variable(i))
            variable->OwnEvaluator.Release();
}

void TRpEvEnvironment::AssignDataSets(TRpDataSetList* list)
{
    if (ownedDataSets_ && ownedDataSets_.get() != list)
        ownedDataSets_.reset();
    dataSets_ = list;
}

TRpDataSetList* TRpEvEnvironment::OwnDataSetList()
{
    if (dataSets_ == nullptr) {
        ownedDataSets_ = std::make_unique<TRpDataSetList>();
        dataSets_ = ownedDataSets_.get();
    }
    return dataSets_;
}

void TRpEvEnvironment::Clear()
{
    for (int i = Count() - 1; i >= 0; --i) {
        TRpEvEmbeddedFunction* variable = Variable(i);
        PutObject(i, nullptr);
        delete variable;
    }
    core::TStringList::Clear();
}

void TRpEvEnvironment::Delete(int index)
{
    TRpEvEmbeddedFunction* variable = Variable(index);
    core::TStringList::Delete(index);
    delete variable;
}

void TRpEvEnvironment::Assign(core::TPersistent* source)
{
    auto* strings = dynamic_cast<core::TStrings*>(source);
    if (strings == nullptr || strings == this) {
        core::TStringList::Assign(source);
        return;
    }
    // Variables are owned: another environment's are copied by their texts.
    auto* other = dynamic_cast<TRpEvEnvironment*>(source);
    BeginUpdate();
    Clear();
    for (int i = 0; i < strings->Count(); ++i) {
        const int index = Add(strings->Get(i));
        if (other != nullptr)
            if (TRpEvEmbeddedFunction* variable = other->Variable(i))
                ReplaceVariable(index, variable->ExpressionText);
    }
    EndUpdate();
}

std::vector<std::string> TRpEvEnvironment::WriteData() const
{
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) {
        const TRpEvEmbeddedFunction* variable = Variable(i);
        out.push_back(variable == nullptr ? std::string() : variable->ExpressionText);
    }
    return out;
}

void TRpEvEnvironment::ReadData(const std::vector<std::string>& expressions)
{
    for (std::size_t i = 0; i < expressions.size(); ++i) {
        // Past the names this raises the list's index error.
        ReplaceVariable(static_cast<int>(i), expressions[i]);
    }
}

} // namespace report
