#include "platform/ui/controls/ListBox.h"

#include <QListWidget>

namespace ui {

TListBox::TListBox(core::TComponent* owner) : TWinControl(owner)
{
    auto* list = new QListWidget;
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    SetWidget(list);
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    items_.OnChange = [this](core::TObject*) { Rebuild(); };
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int row) { RowChanged(row); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [this](QListWidgetItem*) {
        Fire([this] {
            if (OnDblClick)
                OnDblClick(this);
        });
    });
}

TListBox::~TListBox()
{
    items_.OnChange = nullptr;
}

QListWidget* TListBox::list() const
{
    return static_cast<QListWidget*>(Widget());
}

void TListBox::Rebuild()
{
    QListWidget* widget = list();
    if (widget == nullptr)
        return;
    updating_ = true;
    widget->clear();
    for (int i = 0; i < items_.Count(); ++i)
        widget->addItem(QString::fromStdString(items_.Get(i)));
    if (itemIndex_ >= items_.Count())
        itemIndex_ = -1;
    widget->setCurrentRow(itemIndex_);
    updating_ = false;
}

void TListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_.Count())
        index = -1;
    itemIndex_ = index;
    if (list() == nullptr)
        return;
    updating_ = true;
    list()->setCurrentRow(index);
    if (index < 0)
        list()->clearSelection();
    updating_ = false;
}

void TListBox::RowChanged(int row)
{
    if (updating_)
        return;
    itemIndex_ = row;
    Fire([this] { Click(); });
}

} // namespace ui
