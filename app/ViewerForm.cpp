#include "app/ViewerForm.h"

#include "platform/core/Exceptions.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace app {

TProhlizec_Form* Prohlizec_Form = nullptr;

namespace {

// Tells when a window is hidden or closed; a minimised window (whose hiding
// comes from the window system) is still open.
class THideWatch : public QObject {
public:
    THideWatch(QWidget* window, std::function<void()> hidden) : window_(window), hidden_(std::move(hidden))
    {
        if (window_)
            window_->installEventFilter(this);
    }
    ~THideWatch() override
    {
        if (window_)
            window_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Hide && !event->spontaneous())
            hidden_();
        return false;
    }

private:
    QPointer<QWidget> window_;
    std::function<void()> hidden_;
};

} // namespace

TProhlizec_Form::TProhlizec_Form(core::TComponent* owner) : ui::TForm(owner)
{
    SetName("Prohlizec_Form");
    SetCaption("Prohlížeč");
    SetClientWidth(800);
    SetClientHeight(600);
    SetPosition(ui::TPosition::poMainFormCenter);
    SetWindowState(ui::TWindowState::wsMaximized);

    using browser::TDownloadControlOption;
    using browser::TUserInterfaceOption;
    HostedBrowser1 = new browser::THostedBrowser(this);
    HostedBrowser1->SetName("HostedBrowser1");
    HostedBrowser1->SetParent(this);
    HostedBrowser1->SetAlign(ui::TAlign::alClient);
    HostedBrowser1->SetDownloadOptions({TDownloadControlOption::DownloadImages, TDownloadControlOption::DownloadVideos,
                                        TDownloadControlOption::DownloadBGSounds});
    HostedBrowser1->MessagesBoxes().SetInternalErrMsg(false);
    HostedBrowser1->SetUserInterfaceOptions(
        {TUserInterfaceOption::EnablesFormsAutoComplete, TUserInterfaceOption::EnableThemes});
    browser::TPrintOptions& print = HostedBrowser1->PrintOptions();
    print.Margins().SetLeft(19.05);
    print.Margins().SetRight(19.05);
    print.Margins().SetTop(19.05);
    print.Margins().SetBottom(19.05);
    print.SetHeader("&w&bStránka č. &p z &P");
    print.HTMLHeader().Clear();
    print.HTMLHeader().Add("<HTML></HTML>");
    print.SetFooter("&u&b&d");
    print.SetOrientation(browser::TPrintOrientationOption::poPortrait);

    // What the engine reports goes to the wait in hand, if any.
    HostedBrowser1->OnBeforeNavigate2 = [this](core::TObject*, const std::string&, std::uint32_t,
                                               const std::string& frame, const std::string&, const std::string&,
                                               bool& cancel) {
        if (watch_ != nullptr)
            watch_->NavigationStarted(frame.empty(), cancel);
    };
    HostedBrowser1->OnNavigateError = [this](core::TObject*, const std::string&, const std::string& frame,
                                             std::int32_t, bool&) {
        if (watch_ != nullptr)
            watch_->NavigationFailed(frame.empty());
    };
    HostedBrowser1->OnDocumentComplete = [this](core::TObject*, const std::string&) {
        if (watch_ != nullptr)
            watch_->DocumentComplete(HostedBrowser1->ReadyState());
    };

    // The form's stored description ends here.
    HostedBrowser1->Loaded();
}

web::THTMLElement TProhlizec_Form::GetDocumentForm(const web::THTMLDocument& document, int index) const
{
    web::THTMLElement form = document.Forms().Item(web::TOleVariant(static_cast<std::int32_t>(index)),
                                                   web::TOleVariant(std::string()));
    return form && form.TagName() == "FORM" ? form : web::THTMLElement();
}

void TProhlizec_Form::SetFormFieldValue(const web::THTMLDocument& document, int formIndex, const std::string& name,
                                        const std::string& value) const
{
    const web::THTMLElement form = GetDocumentForm(document, formIndex);
    if (!form)
        return;
    const web::THTMLElement field = form.Item(web::TOleVariant(name), web::TOleVariant(std::string()));
    if (!field)
        return;
    const std::string& tag = field.TagName();
    if (tag == "INPUT" || tag == "SELECT" || tag == "TEXTAREA")
        field.SetValue(value);
}

bool TProhlizec_Form::FormFieldHolds(const web::THTMLDocument& document, int formIndex, const std::string& name,
                                     const std::string& value) const
{
    const web::THTMLElement form = GetDocumentForm(document, formIndex);
    if (!form)
        return false;
    const web::THTMLElement field = form.Item(web::TOleVariant(name), web::TOleVariant(std::string()));
    if (!field)
        return false;
    const std::string& tag = field.TagName();
    if (tag != "INPUT" && tag != "SELECT" && tag != "TEXTAREA")
        return false;
    return field.SendsValue() && !field.ReadOnly() && field.Value() == value;
}

TPageWaitResult TProhlizec_Form::NavigateAndWait(const std::string& url)
{
    if (watch_ != nullptr)
        throw core::Exception("Prohlížeč už čeká na jinou stránku.");
    TNavigationWatch watch;
    QEventLoop loop;
    watch.OnEnd = [&loop] { loop.quit(); };
    watch_ = &watch;
    struct Done {
        TNavigationWatch*& watch;
        ~Done() { watch = nullptr; }
    } done{watch_};

    HostedBrowser1->Navigate(url);
    if (watch.Ended())
        return watch.Result();

    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&watch] { watch.TimeOut(); });
    deadline.start(pageTimeoutMs_);
    THideWatch hidden(Widget(), [&watch] { watch.Close(); });
    QPointer<QWidget> window = Widget();
    QMetaObject::Connection destroyed;
    if (window)
        destroyed = QObject::connect(window, &QObject::destroyed, [&watch] { watch.Close(); });
    QMetaObject::Connection quitting =
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [&watch] { watch.Close(); });
    // The program's end leaves this loop too; the watch then answers Closed.
    loop.exec();
    QObject::disconnect(destroyed);
    QObject::disconnect(quitting);
    return watch.Result();
}

} // namespace app
