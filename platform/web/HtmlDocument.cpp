#include "platform/web/HtmlDocument.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Letters.h"
#include "platform/web/DocumentContext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QVariantMap>

#include <algorithm>

namespace web {

namespace {

// The object model's operations, run in the page: the path steps find a node from
// the document's root, the operation reads or writes it. Names and values arrive
// as JSON texts, so nothing a page or a caller gives is ever read as script.
const char* const DomScript = R"JS(
(function (steps, op, a1, a2) {
  function named(e, name) {
    return e && e.getAttribute && (e.getAttribute('name') === name || e.id === name);
  }
  function item(c, name, index) {
    if (c instanceof HTMLFormElement) c = c.elements;
    if (typeof name === 'number') return c[name] || null;
    var k = typeof index === 'number' ? index : 0, n = 0;
    for (var i = 0; i < c.length; i++)
      if (named(c[i], name) && n++ === k) return c[i];
    return null;
  }
  function hasValue(e) {
    return e instanceof HTMLInputElement || e instanceof HTMLSelectElement || e instanceof HTMLTextAreaElement;
  }
  var node = document;
  for (var i = 0; i < steps.length && node; i++) {
    var s = steps[i];
    if (s[0] === 'forms') node = node.forms;
    else if (s[0] === 'all') node = node.getElementsByTagName('*');
    else if (s[0] === 'id') node = node.getElementById(s[1]);
    else if (s[0] === 'elements') node = node.elements;
    else if (s[0] === 'item') node = item(node, s[1], s[2]);
  }
  if (!node) return { missing: true };
  switch (op) {
  case 'find': return { tag: String(node.tagName || '').toUpperCase() };
  case 'length': return { value: node.length };
  case 'property': var p = node[a1]; return { value: p === undefined || p === null ? '' : String(p) };
  case 'attribute': var v = node.getAttribute(a1); return { value: v === null ? '' : v };
  case 'setattribute': node.setAttribute(a1, a2); return {};
  case 'value':
    if (!hasValue(node)) return { novalue: true };
    return { value: node.value };
  case 'setvalue':
    if (!hasValue(node)) return { novalue: true };
    node.value = a1;
    node.dispatchEvent(new Event('input', { bubbles: true }));
    node.dispatchEvent(new Event('change', { bubbles: true }));
    return {};
  case 'sendsvalue':
    if (!hasValue(node)) return { novalue: true };
    // Disabled by itself or by a disabled fieldset around it (outside its first legend).
    if (node.matches(':disabled')) return { value: 'false' };
    if (!(node instanceof HTMLSelectElement)) return { value: 'true' };
    for (var j = 0; j < node.selectedOptions.length; j++)
      if (!node.selectedOptions[j].matches(':disabled')) return { value: 'true' };
    return { value: 'false' };
  case 'windowname': return { value: window.name };
  }
  return { unknown: true };
})
)JS";

QString Json(const QJsonValue& value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

std::string AddStep(const std::string& path, const QJsonArray& step)
{
    QJsonArray steps = QJsonDocument::fromJson(QByteArray::fromStdString(path)).array();
    steps.append(step);
    return QJsonDocument(steps).toJson(QJsonDocument::Compact).toStdString();
}

QJsonValue ItemName(const TOleVariant& name)
{
    if (name.IsInteger() || name.IsDouble())
        return name.AsInteger();
    return QString::fromStdString(name.AsString());
}

QJsonValue ItemIndex(const TOleVariant& index)
{
    if (index.IsEmpty() || (index.IsString() && index.AsString().empty()))
        return QJsonValue::Null;
    return index.AsInteger();
}

// Runs one operation; "missing" raises unless the caller asked to see it.
QVariantMap Run(const TDocumentContext& context, const std::string& path, const std::string& operation,
                const std::string& argument1 = {}, const std::string& argument2 = {}, bool missingAllowed = false)
{
    const QString script = QString::fromUtf8(DomScript) + "(" + QString::fromStdString(path) + ","
        + Json(QString::fromStdString(operation)) + "," + Json(QString::fromStdString(argument1)) + ","
        + Json(QString::fromStdString(argument2)) + ")";
    const QVariantMap result = context.Engine().RunDomScript(script).toMap();
    if (result.contains("missing") && !missingAllowed)
        throw core::EOleError("Prvek stránky už neexistuje.");
    return result;
}

THTMLElement Find(const std::shared_ptr<TDocumentContext>& context, const std::string& path)
{
    const QVariantMap result = Run(*context, path, "find", {}, {}, true);
    if (result.contains("missing"))
        return THTMLElement();
    return THTMLElement(context, path, result.value("tag").toString().toStdString());
}

} // namespace

TEngineCore& TDocumentContext::Engine() const
{
    if (!link || !link->engine)
        throw core::EOleError("Prohlížeč stránky už neexistuje.");
    if (link->engine->Generation() != generation)
        throw core::EOleError("Prohlížeč mezitím načetl jinou stránku.");
    return *link->engine;
}

bool TDocumentContext::IsCurrent() const
{
    return link && link->engine && link->engine->Generation() == generation;
}

// --- document

THTMLDocument::THTMLDocument(std::shared_ptr<TDocumentContext> context) : context_(std::move(context)) {}

THTMLElementCollection THTMLDocument::Forms() const
{
    return THTMLElementCollection(context_, AddStep("[]", {"forms"}));
}

THTMLElementCollection THTMLDocument::All() const
{
    return THTMLElementCollection(context_, AddStep("[]", {"all"}));
}

THTMLElement THTMLDocument::GetElementById(const std::string& id) const
{
    return Find(context_, AddStep("[]", {"id", QString::fromStdString(id)}));
}

THTMLWindow THTMLDocument::ParentWindow() const
{
    return THTMLWindow(context_);
}

std::string THTMLDocument::Title() const
{
    return Run(*context_, "[]", "property", "title").value("value").toString().toStdString();
}

std::string THTMLDocument::Url() const
{
    return Run(*context_, "[]", "property", "URL").value("value").toString().toStdString();
}

std::string THTMLDocument::ReadyState() const
{
    return Run(*context_, "[]", "property", "readyState").value("value").toString().toStdString();
}

bool THTMLDocument::IsCurrent() const
{
    return context_->IsCurrent();
}

core::HRESULT THTMLDocument::Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in,
                                  TOleVariant* out) const
{
    if (!context_->IsCurrent())
        return core::E_FAIL;
    return context_->Engine().ExecCommand(commandId, execOption, in, out);
}

// --- collection

THTMLElementCollection::THTMLElementCollection(std::shared_ptr<TDocumentContext> context, std::string path)
    : context_(std::move(context)), path_(std::move(path))
{
}

std::int32_t THTMLElementCollection::Length() const
{
    return Run(*context_, path_, "length").value("value").toInt();
}

THTMLElement THTMLElementCollection::Item(const TOleVariant& name, const TOleVariant& index) const
{
    return Find(context_, AddStep(path_, {"item", ItemName(name), ItemIndex(index)}));
}

// --- element

THTMLElement::THTMLElement(std::shared_ptr<TDocumentContext> context, std::string path, std::string tagName)
    : context_(std::move(context)), path_(std::move(path)), tagName_(std::move(tagName))
{
}

TOleVariant THTMLElement::Call(const std::string& operation, const std::string& argument1,
                               const std::string& argument2) const
{
    if (!context_)
        throw core::EOleError("Prvek stránky není přiřazen.");
    const QVariantMap result = Run(*context_, path_, operation, argument1, argument2);
    if (result.contains("novalue"))
        throw core::EOleError("Prvek " + tagName_ + " nemá hodnotu.");
    return result.value("value").toString().toStdString();
}

std::string THTMLElement::Id() const
{
    return Call("property", "id").AsString();
}

std::string THTMLElement::Name() const
{
    return Call("attribute", "name").AsString();
}

std::string THTMLElement::InnerText() const
{
    return Call("property", "innerText").AsString();
}

std::string THTMLElement::GetAttribute(const std::string& name) const
{
    return Call("attribute", name).AsString();
}

void THTMLElement::SetAttribute(const std::string& name, const std::string& value) const
{
    Call("setattribute", name, value);
}

std::string THTMLElement::Value() const
{
    return Call("value").AsString();
}

void THTMLElement::SetValue(const std::string& value) const
{
    Call("setvalue", value);
}

bool THTMLElement::Disabled() const
{
    return Call("property", "disabled").AsString() == "true";
}

bool THTMLElement::SendsValue() const
{
    return Call("sendsvalue").AsString() == "true";
}

bool THTMLElement::ReadOnly() const
{
    return Call("property", "readOnly").AsString() == "true";
}

THTMLElementCollection THTMLElement::Elements() const
{
    if (!context_)
        throw core::EOleError("Prvek stránky není přiřazen.");
    return THTMLElementCollection(context_, AddStep(path_, {"elements"}));
}

THTMLElement THTMLElement::Item(const TOleVariant& name, const TOleVariant& index) const
{
    if (!context_)
        throw core::EOleError("Prvek stránky není přiřazen.");
    return Find(context_, AddStep(path_, {"item", ItemName(name), ItemIndex(index)}));
}

// --- window and event

TOleVariant THTMLEventObj::GetProperty(const std::string& name) const
{
    // Names are looked up as a dispatch interface looks them up: without regard to case.
    auto it = properties_.find(name);
    if (it == properties_.end())
        it = std::find_if(properties_.begin(), properties_.end(),
                          [&](const auto& property) { return core::SameText(property.first, name); });
    if (it == properties_.end())
        throw core::EOleError("'" + name + "' not supported.");
    return it->second;
}

THTMLWindow::THTMLWindow(std::shared_ptr<TDocumentContext> context) : context_(std::move(context)) {}

std::shared_ptr<THTMLEventObj> THTMLWindow::Event() const
{
    return context_->Engine().CurrentEvent();
}

THTMLDocument THTMLWindow::Document() const
{
    return THTMLDocument(context_);
}

std::string THTMLWindow::Name() const
{
    return Run(*context_, "[]", "windowname").value("value").toString().toStdString();
}

} // namespace web
