#pragma once
// The HTML document object model of the engine's current page, reached through
// the page's script: documents, element collections, elements, the window and
// its event object.
//
// An object here refers to a node of one document: it keeps the way to find the
// node again from the document's root (the steps of the lookups that gave it)
// and the document it belongs to. Once the engine has loaded another document,
// every object of the old one raises EOleError instead of touching the new page.
// Every read and write waits for the page's answer (see TWebBrowser::Evaluate).

#include "platform/core/Ole.h"
#include "platform/web/OleVariant.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace web {

class THTMLElement;
class THTMLElementCollection;
class THTMLWindow;

// The engine and the document generation an object belongs to (private to the engine).
struct TDocumentContext;

class THTMLDocument {
public:
    explicit THTMLDocument(std::shared_ptr<TDocumentContext> context);

    THTMLElementCollection Forms() const;
    THTMLElementCollection All() const;
    // A null element when there is none.
    THTMLElement GetElementById(const std::string& id) const;
    THTMLWindow ParentWindow() const;
    std::string Title() const;
    std::string Url() const;
    // "loading", "interactive" or "complete".
    std::string ReadyState() const;
    // False once the engine has loaded another document (or is gone).
    bool IsCurrent() const;
    // The document's command target: runs an engine command for this document.
    core::HRESULT Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in, TOleVariant* out) const;

private:
    std::shared_ptr<TDocumentContext> context_;
};

class THTMLElementCollection {
public:
    THTMLElementCollection(std::shared_ptr<TDocumentContext> context, std::string path);

    std::int32_t Length() const;
    // An integer name is a position; a text name is matched against the members'
    // name and id attributes, index then choosing among several matches (an empty
    // index the first). A null element when nothing matches.
    THTMLElement Item(const TOleVariant& name, const TOleVariant& index = {}) const;

private:
    std::shared_ptr<TDocumentContext> context_;
    std::string path_; // script steps (a JSON array) that find the collection
};

class THTMLElement {
public:
    THTMLElement() = default; // a null element
    THTMLElement(std::shared_ptr<TDocumentContext> context, std::string path, std::string tagName);

    bool Assigned() const { return context_ != nullptr; }
    explicit operator bool() const { return Assigned(); }

    // The tag name in capitals ("INPUT", "FORM"...), as the element was found.
    const std::string& TagName() const { return tagName_; }
    std::string Id() const;
    std::string Name() const;
    std::string InnerText() const;
    std::string GetAttribute(const std::string& name) const;
    void SetAttribute(const std::string& name, const std::string& value) const;

    // The value of an INPUT, SELECT or TEXTAREA element; any other element raises EOleError.
    // Setting it tells the page's scripts through "input" and "change" events.
    std::string Value() const;
    void SetValue(const std::string& value) const;
    // The element's disabled and readOnly properties: a field the user cannot change
    // (and a disabled one is not sent with its form).
    bool Disabled() const;
    bool ReadOnly() const;
    // Whether the element's form would send its value: not when the element is disabled,
    // by itself or by a disabled fieldset around it (outside that fieldset's first
    // legend), nor for a select whose chosen option is disabled (or in a disabled group).
    // Raises EOleError as Value does.
    bool SendsValue() const;

    // A form's controls, and a form's item by name (see THTMLElementCollection::Item).
    THTMLElementCollection Elements() const;
    THTMLElement Item(const TOleVariant& name, const TOleVariant& index = {}) const;

private:
    TOleVariant Call(const std::string& operation, const std::string& argument1 = {},
                     const std::string& argument2 = {}) const;

    std::shared_ptr<TDocumentContext> context_;
    std::string path_;
    std::string tagName_;
};

// The event object of a window: the properties of the event being handled, read by name.
class THTMLEventObj {
public:
    explicit THTMLEventObj(std::map<std::string, TOleVariant> properties) : properties_(std::move(properties)) {}
    bool Has(const std::string& name) const { return properties_.count(name) != 0; }
    // Raises EOleError "'name' not supported." for a property the event does not have.
    TOleVariant GetProperty(const std::string& name) const;

private:
    std::map<std::string, TOleVariant> properties_;
};

class THTMLWindow {
public:
    explicit THTMLWindow(std::shared_ptr<TDocumentContext> context);
    // The event being handled (during a script-error report: the error); null when none.
    std::shared_ptr<THTMLEventObj> Event() const;
    THTMLDocument Document() const;
    std::string Name() const;

private:
    std::shared_ptr<TDocumentContext> context_;
};

} // namespace web
