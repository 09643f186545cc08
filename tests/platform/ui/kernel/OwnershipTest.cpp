#include "platform/ui/controls/ComCtrls.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/Forms.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

using namespace ui;

namespace {

class Form : public TForm {
public:
    explicit Form(core::TComponent* owner, std::vector<std::string>* log = nullptr) : TForm(owner), log_(log)
    {
        OnCreate = [this](core::TObject*) { Log("create"); };
        OnDestroy = [this](core::TObject*) { Log("destroy " + std::to_string(ComponentCount())); };
    }
    void Log(const std::string& line)
    {
        if (log_ != nullptr)
            log_->push_back(line);
    }

private:
    std::vector<std::string>* log_;
};

} // namespace

TEST(Ownership, FormFreesItsComponentsAndTheirWidgetsBeforeItsOwn)
{
    std::vector<std::string> log;
    auto* form = CreateComponent<Form>(nullptr, &log);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* button = new TButton(form);
    button->SetParent(panel);
    QPointer<QWidget> formWidget = form->Widget();
    QPointer<QWidget> buttonWidget = button->Widget();
    EXPECT_EQ(buttonWidget->parentWidget(), panel->Widget());
    EXPECT_EQ(panel->Widget()->parentWidget(), form->Widget());

    FreeComponent(form);
    // OnDestroy saw everything still there; then all widgets went.
    EXPECT_EQ(log, (std::vector<std::string>{"create", "destroy 2"}));
    EXPECT_TRUE(formWidget.isNull());
    EXPECT_TRUE(buttonWidget.isNull());
}

TEST(Ownership, ParentFreedFirstHandsChildWidgetsBack)
{
    auto* form = CreateComponent<Form>(nullptr);
    auto* button = new TButton(form);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    button->SetParent(panel);
    delete panel;
    // The button belongs to the form, not to the panel: it and its widget live on.
    ASSERT_NE(button->Widget(), nullptr);
    EXPECT_EQ(button->Parent(), nullptr);
    EXPECT_EQ(button->Widget()->parentWidget(), nullptr);
    button->SetParent(form);
    EXPECT_EQ(button->Widget()->parentWidget(), form->Widget());
    FreeComponent(form);
}

TEST(Ownership, WidgetDeletedByQtLeavesNoDanglingPointer)
{
    auto* form = CreateComponent<Form>(nullptr);
    auto* label = new TLabel(form);
    label->SetParent(form);
    delete label->Widget();
    EXPECT_EQ(label->Widget(), nullptr);
    label->SetCaption("still fine");
    label->SetBounds(1, 2, 3, 4);
    FreeComponent(form);
}

TEST(Ownership, ControlFoundFromItsWidgetAndItsInnerWidgets)
{
    auto* form = CreateComponent<Form>(nullptr);
    auto* edit = new TButton(form);
    edit->SetParent(form);
    edit->SetName("Button1");
    EXPECT_EQ(TControl::FromWidget(edit->Widget()), edit);
    EXPECT_EQ(edit->Widget()->objectName().toStdString(), "Button1");
    EXPECT_EQ(TWinControl::FindControl(edit->Widget()), edit);
    EXPECT_EQ(TControl::FromWidget(nullptr), nullptr);
    FreeComponent(form);
}

TEST(Layout, AlignedChildrenShareTheClientArea)
{
    auto* form = CreateComponent<Form>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto* top = new TPanel(form);
    top->SetHeight(40);
    top->SetAlign(TAlign::alTop);
    top->SetParent(form);
    auto* left = new TPanel(form);
    left->SetWidth(100);
    left->SetAlign(TAlign::alLeft);
    left->SetParent(form);
    auto* client = new TPanel(form);
    client->SetAlign(TAlign::alClient);
    client->SetParent(form);

    EXPECT_EQ(top->Left(), 0);
    EXPECT_EQ(top->Top(), 0);
    EXPECT_EQ(top->Width(), 400);
    EXPECT_EQ(left->Top(), 40);
    EXPECT_EQ(left->Height(), 260);
    EXPECT_EQ(client->Left(), 100);
    EXPECT_EQ(client->Top(), 40);
    EXPECT_EQ(client->Width(), 300);
    EXPECT_EQ(client->Height(), 260);

    form->SetBounds(0, 0, 500, 300);
    EXPECT_EQ(client->Width(), 400);
    FreeComponent(form);
}
