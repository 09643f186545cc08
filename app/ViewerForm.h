#pragma once
// The viewer form: the depository's download page beside the register, opened
// maximised. The import shows it, waits for the page and fills its form.

#include "app/PageWait.h"
#include "browser/HostedBrowser.h"
#include "platform/ui/kernel/Forms.h"
#include "platform/web/HtmlDocument.h"

#include <string>

namespace app {

class TProhlizec_Form : public ui::TForm {
public:
    explicit TProhlizec_Form(core::TComponent* owner);
    std::string ClassName() const override { return "TProhlizec_Form"; }

    browser::THostedBrowser* HostedBrowser1;

    // Form number index of the document; a null element when there is none.
    web::THTMLElement GetDocumentForm(const web::THTMLDocument& document, int index) const;
    // Sets the value of the field name of form number formIndex: an input, a
    // select or a text area. A missing form or field, or another kind of
    // element, is left alone; a failing document raises EOleError.
    void SetFormFieldValue(const web::THTMLDocument& document, int formIndex, const std::string& name,
                           const std::string& value) const;
    // True when the field name of form number formIndex holds value and the page
    // will take it from there: the field is there, takes a value, is neither
    // disabled (also by a disabled fieldset around it) nor read-only, and reads
    // back as value (a select without such an option reads back otherwise; one
    // whose option is disabled does not send it).
    bool FormFieldHolds(const web::THTMLDocument& document, int formIndex, const std::string& name,
                        const std::string& value) const;

    // Navigates HostedBrowser1 to url and waits, with the event loop running
    // and sleeping between events, until this navigation's page is complete,
    // PageTimeoutMs passes, or the viewer or the program closes.
    TPageWaitResult NavigateAndWait(const std::string& url);
    bool WaitingForPage() const { return watch_ != nullptr; }
    int PageTimeoutMs() const { return pageTimeoutMs_; }
    void SetPageTimeoutMs(int ms) { pageTimeoutMs_ = ms; }

private:
    TNavigationWatch* watch_ = nullptr;
    int pageTimeoutMs_ = 60000;
};

extern TProhlizec_Form* Prohlizec_Form;

} // namespace app
