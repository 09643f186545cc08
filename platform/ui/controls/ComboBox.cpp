#include "platform/ui/controls/ComboBox.h"

#include <QComboBox>
#include <QLineEdit>

namespace ui {

TComboBox::TComboBox(core::TComponent* owner) : TWinControl(owner)
{
    auto* box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    SetWidget(box);
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    items_.OnChange = [this](core::TObject*) { Rebuild(); };
    QObject::connect(box, &QComboBox::editTextChanged, box, [this](const QString&) {
        if (updating_)
            return;
        Fire([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

TComboBox::~TComboBox()
{
    items_.OnChange = nullptr;
}

QComboBox* TComboBox::box() const
{
    return static_cast<QComboBox*>(Widget());
}

void TComboBox::Rebuild()
{
    QComboBox* widget = box();
    if (widget == nullptr)
        return;
    // The text typed stays while the list changes.
    const QString text = widget->currentText();
    updating_ = true;
    widget->clear();
    for (int i = 0; i < items_.Count(); ++i)
        widget->addItem(QString::fromStdString(items_.Get(i)));
    widget->setCurrentIndex(-1);
    widget->setEditText(text);
    updating_ = false;
}

std::string TComboBox::Text() const
{
    return box() != nullptr ? box()->currentText().toStdString() : std::string();
}

void TComboBox::SetText(const std::string& text)
{
    if (box() != nullptr && box()->currentText() != QString::fromStdString(text))
        box()->setEditText(QString::fromStdString(text));
}

int TComboBox::ItemIndex() const
{
    if (box() == nullptr || box()->currentIndex() < 0)
        return -1;
    return box()->itemText(box()->currentIndex()) == box()->currentText() ? box()->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int index)
{
    if (box() == nullptr)
        return;
    if (index < 0 || index >= items_.Count()) {
        box()->setCurrentIndex(-1);
        box()->setEditText(QString());
        return;
    }
    box()->setCurrentIndex(index);
}

} // namespace ui
