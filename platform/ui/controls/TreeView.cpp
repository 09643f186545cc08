#include "platform/ui/controls/TreeView.h"

#include "platform/core/Exceptions.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace ui {

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

} // namespace

// ---- TTreeNode ----

void TTreeNode::SetText(const std::string& text)
{
    text_ = text;
    if (item_ != nullptr)
        item_->setText(0, QString::fromStdString(text));
}

TTreeNode* TTreeNode::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw core::EListError("Tree view index out of bounds (" + std::to_string(index) + ")");
    return children_[static_cast<std::size_t>(index)].get();
}

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* p = parent_; p != nullptr; p = p->parent_)
        ++level;
    return level;
}

// ---- TTreeNodes ----

TTreeNodes::~TTreeNodes()
{
    // The widget's items go with the widget; only our records remain.
    view_ = nullptr;
    top_.clear();
}

TTreeNode* TTreeNodes::TopItem(int index) const
{
    if (index < 0 || index >= TopCount())
        throw core::EListError("Tree view index out of bounds (" + std::to_string(index) + ")");
    return top_[static_cast<std::size_t>(index)].get();
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text)
{
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this, parent));
    node->text_ = text;
    TTreeNode* added = node.get();
    QTreeWidget* tree = view_ != nullptr ? view_->tree() : nullptr;
    if (tree != nullptr) {
        auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(text)));
        item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(added)));
        if (parent != nullptr && parent->item_ != nullptr)
            parent->item_->addChild(item);
        else
            tree->addTopLevelItem(item);
        added->item_ = item;
    }
    if (parent != nullptr)
        parent->children_.push_back(std::move(node));
    else
        top_.push_back(std::move(node));
    ++count_;
    return added;
}

void TTreeNodes::Forget(TTreeNode& node)
{
    if (view_ != nullptr && view_->selected_ == &node)
        view_->selected_ = nullptr;
    for (auto& child : node.children_)
        Forget(*child);
}

void TTreeNodes::Clear()
{
    for (auto& node : top_)
        Forget(*node);
    if (view_ != nullptr && view_->tree() != nullptr) {
        view_->updating_ = true;
        view_->tree()->clear();
        view_->updating_ = false;
    }
    top_.clear();
    count_ = 0;
}

void TTreeNodes::BeginUpdate()
{
    if (updates_++ == 0 && view_ != nullptr && view_->tree() != nullptr)
        view_->tree()->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate()
{
    if (updates_ == 0)
        return;
    if (--updates_ == 0 && view_ != nullptr && view_->tree() != nullptr)
        view_->tree()->setUpdatesEnabled(true);
}

// ---- TTreeView ----

TTreeView::TTreeView(core::TComponent* owner) : TWinControl(owner)
{
    auto* tree = new QTreeWidget;
    tree->setColumnCount(1);
    tree->header()->hide();
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(tree, &QTreeWidget::currentItemChanged, tree,
                     [this](QTreeWidgetItem* current, QTreeWidgetItem*) { CurrentItemChanged(current); });
    SetWidget(tree);
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
}

TTreeView::~TTreeView()
{
    Destroying();
    items_.Clear();
}

QTreeWidget* TTreeView::tree() const
{
    return static_cast<QTreeWidget*>(Widget());
}

TTreeNode* TTreeView::NodeOf(QTreeWidgetItem* item) const
{
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<TTreeNode*>(item->data(0, kNodeRole).value<quintptr>());
}

void TTreeView::SetSelected(TTreeNode* node)
{
    if (tree() != nullptr) {
        tree()->setCurrentItem(node != nullptr ? node->item_ : nullptr);
        if (node == nullptr)
            CurrentItemChanged(nullptr);
    } else if (node != selected_) {
        selected_ = node;
        Fire([this] {
            if (OnChange)
                OnChange(this, selected_);
        });
    }
}

void TTreeView::CurrentItemChanged(QTreeWidgetItem* item)
{
    if (updating_ || HasState(core::csDestroying))
        return;
    TTreeNode* node = NodeOf(item);
    if (node == selected_)
        return;
    selected_ = node;
    Fire([this] {
        if (OnChange)
            OnChange(this, selected_);
    });
}

} // namespace ui
