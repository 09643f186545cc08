#pragma once
// A tree view: nodes with a text and a value of the program's own (Data),
// each under its parent, shown as an outline the user can open and choose
// from.

#include "platform/ui/kernel/WinControl.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace ui {

class TTreeNodes;
class TTreeView;

class TTreeNode {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // The program's own value for the node.
    std::intptr_t Data() const { return data_; }
    void SetData(std::intptr_t data) { data_ = data; }
    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    // 0 for a top-level node.
    int Level() const;

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::string text_;
    std::intptr_t data_ = 0;
    QTreeWidgetItem* item_ = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> children_;
};

class TTreeNodes {
public:
    ~TTreeNodes();
    // Every node, at any level.
    int Count() const { return count_; }
    int TopCount() const { return static_cast<int>(top_.size()); }
    TTreeNode* TopItem(int index) const;
    // A new last child of parent, or a new last top-level node when parent is none.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    void Clear();
    // Holds the screen's updates until as many EndUpdate calls.
    void BeginUpdate();
    void EndUpdate();
    TTreeView* Owner() const { return view_; }

private:
    friend class TTreeNode;
    friend class TTreeView;
    explicit TTreeNodes(TTreeView* view) : view_(view) {}
    void Forget(TTreeNode& node);

    TTreeView* view_;
    std::vector<std::unique_ptr<TTreeNode>> top_;
    int count_ = 0;
    int updates_ = 0;
};

using TTVChangedEvent = std::function<void(core::TObject* sender, TTreeNode* node)>;

class TTreeView : public TWinControl {
public:
    explicit TTreeView(core::TComponent* owner);
    ~TTreeView() override;
    std::string ClassName() const override { return "TTreeView"; }

    TTreeNodes& Items() { return items_; }
    TTreeNode* Selected() const { return selected_; }
    // Chooses a node (none clears the choice); OnChange runs when it changed.
    void SetSelected(TTreeNode* node);

    // Runs when another node was chosen, by the user or the program.
    TTVChangedEvent OnChange;

private:
    friend class TTreeNodes;
    friend class TTreeNode;
    QTreeWidget* tree() const;
    void CurrentItemChanged(QTreeWidgetItem* item);
    TTreeNode* NodeOf(QTreeWidgetItem* item) const;

    TTreeNodes items_{this};
    TTreeNode* selected_ = nullptr;
    bool updating_ = false;
};

} // namespace ui
