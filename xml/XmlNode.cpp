#include "xml/XmlNode.h"

#include "xml/CharData.h"
#include "xml/Elements.h"
#include "xml/FastStreams.h"
#include "xml/NodeClasses.h"
#include "xml/NodeList.h"
#include "xml/PieceBuffer.h"
#include "xml/TextRoutines.h"
#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace xml {

const char* const NodeKindNames[kNodeKindCount] = {
    "Element",  "Attribute",  "CharData",   "Comment",    "CData",       "ConditionalSection",
    "Declaration", "Stylesheet", "DocType",  "DtdElement", "DtdAttList",  "DtdEntity",
    "DtdNotation", "Instruction", "WhiteSpace", "QuotedText", "EndTag",   "Error",
};

namespace {

[[noreturn]] void Misuse(const char* message) { throw core::Exception(message); }

// Room before a node made with new: its document, and alignment.
constexpr std::size_t kHeapHeader = 16;

// The documents of nodes that are neither in an arena nor made with new.
struct NotedApart {
    std::mutex mutex;
    std::unordered_map<const TXmlNode*, TXmlDocument*> documents;
};

NotedApart& Apart()
{
    static NotedApart* apart = new NotedApart; // never freed: nodes may outlive static destruction
    return *apart;
}

} // namespace

// --- construction --------------------------------------------------------------

TXmlNode::TXmlNode(TXmlDocument* document) : TXmlNode(document, xeError, 0) {}

void TXmlNode::NoDocument() { Misuse("XML owner is not assigned"); }

void TXmlNode::NoteApart(const TXmlNode* node, TXmlDocument* document)
{
    NotedApart& apart = Apart();
    std::lock_guard<std::mutex> lock(apart.mutex);
    if (document != nullptr)
        apart.documents[node] = document;
    else
        apart.documents.erase(node);
}

void TXmlNode::NoteOnHeap(TXmlNode* node, TXmlDocument* document) noexcept
{
    reinterpret_cast<TXmlDocument**>(node)[-1] = document;
}

TXmlNode::~TXmlNode()
{
    if ((family_ & (kfInArena | kfOnHeap)) == 0)
        NoteApart(this, nullptr);
}

TXmlDocument* TXmlNode::DocumentNotedApart() const noexcept
{
    NotedApart& apart = Apart();
    std::lock_guard<std::mutex> lock(apart.mutex);
    const auto it = apart.documents.find(this);
    return it != apart.documents.end() ? it->second : nullptr;
}

TDebugComponent* TXmlNode::DebugOwner() const noexcept { return Document(); }

void* TXmlNode::operator new(std::size_t size)
{
    auto* block = static_cast<char*>(::operator new(size + kHeapHeader));
    HeapNodeToBuild() = block + kHeapHeader;
    return block + kHeapHeader;
}

void TXmlNode::operator delete(void* memory) noexcept { ::operator delete(static_cast<char*>(memory) - kHeapHeader); }

void TXmlNode::operator delete(TXmlNode* node, std::destroying_delete_t) noexcept
{
    const std::size_t size = std::size_t(node->arenaUnits_) * 8;
    const bool inArena = node->InArena();
    node->~TXmlNode();
    if (inArena)
        TxNodeArena::Release(node, size);
    else
        ::operator delete(reinterpret_cast<char*>(node) - kHeapHeader);
}

TXmlNode* TXmlNode::NewInstance(TXmlDocument* document) const { return new TXmlNode(document); }

void TXmlNode::NoParent() { Misuse("XML parent is not assigned"); }


std::string TXmlNode::KindName() const { return NodeKindNames[kind_]; }

int TXmlNode::TreeDepth() const
{
    int depth = 0;
    for (const TXmlNode* p = Parent(); p != nullptr; p = p->Parent())
        ++depth;
    return depth;
}

std::string TXmlNode::FullPath() const
{
    std::vector<const TXmlNode*> chain;
    for (const TXmlNode* n = this; n != nullptr; n = n->Parent())
        chain.push_back(n);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += '/';
        path += (*it)->NameView();
    }
    return path;
}

bool TXmlNode::NameMatches(std::string_view name) const
{
    if (!name.empty() && name.front() == '/')
        return SameName(FullPath(), name);
    return SameName(NameView(), name);
}

// --- name and value ---------------------------------------------------------------

std::string_view TXmlNode::NameView() const { return {}; }

std::string TXmlNode::GetValue() const { return {}; }

void TXmlNode::SetName(const std::string&) { Misuse("cannot set name on this type of element"); }

void TXmlNode::SetValue(const std::string&) { Misuse("cannot set value on this type of element"); }

std::string TXmlNode::ContentAsString() const
{
    TxStringStream stream;
    WriteContent(stream);
    return stream.AsString();
}

// --- nodes -------------------------------------------------------------------------

namespace {

// The lookups by name read packed nodes where they stand, so that reading
// a loaded document makes no nodes of its leaves (PackedNode.h).
const TxContainerNode* Packed(const TXmlNode& node)
{
    return node.HasPackedNodes() ? static_cast<const TxContainerNode*>(&node) : nullptr;
}

TxNodeKind ChildKind(const TXmlNode& node, int index)
{
    const TxContainerNode* packed = Packed(node);
    return packed != nullptr ? packed->NodeKindAt(index) : node.NodeAt(index)->NodeKind();
}

std::string_view ChildName(const TXmlNode& node, int index)
{
    const TxContainerNode* packed = Packed(node);
    return packed != nullptr ? packed->NodeNameAt(index) : node.NodeAt(index)->NameView();
}

// The value of the attribute at index, unescaped.
std::string AttributeValueAt(const TXmlNode& node, int index)
{
    const TxContainerNode* packed = Packed(node);
    return packed != nullptr ? packed->ValueAt(index) : node.NodeAt(index)->GetValue();
}

} // namespace

int TXmlNode::DirectNodeCount() const { return 0; }
int TXmlNode::NodeCount() const { return 0; }
TXmlNode* TXmlNode::NodeAt(int) const { return nullptr; }
int TXmlNode::NodeIndexOf(const TXmlNode*) const { return -1; }
int TXmlNode::ContainerCount() const { return 0; }
TXmlNode* TXmlNode::ContainerAt(int) const { return nullptr; }
int TXmlNode::ElementCount() const { return 0; }
TXmlNode* TXmlNode::ElementAt(int) const { return nullptr; }
TXmlNode* TXmlNode::FirstNodeOfKind(TxNodeKind) const { return nullptr; }
TXmlNode* TXmlNode::NextSiblingOf(const TXmlNode*) const { return nullptr; }

int TXmlNode::NodeIndexNamed(std::string_view name) const
{
    const int count = NodeCount();
    for (int i = 0; i < count; ++i)
        if (SameName(ChildName(*this, i), name))
            return i;
    return -1;
}

int TXmlNode::NodeAdd(TXmlNode*) { Misuse("cannot add node to this type of element"); }
void TXmlNode::NodeInsert(int, TXmlNode*) { Misuse("cannot add node to this type of element"); }
void TXmlNode::NodeDelete(int) { Misuse("cannot manipulate nodes in this type of element"); }
TXmlNode* TXmlNode::NodeExtract(TXmlNode*) { Misuse("cannot manipulate nodes in this type of element"); }
void TXmlNode::NodeExchange(int, int) { Misuse("cannot manipulate nodes in this type of element"); }
void TXmlNode::NodesClear() { Misuse("cannot manipulate nodes in this type of element"); }
void TXmlNode::Clear() {}

void TXmlNode::NodeRemove(TXmlNode* node)
{
    const int index = NodeIndexOf(node);
    if (index >= 0)
        NodeDelete(index);
}

void TXmlNode::NodeRemoveWithSpace(TXmlNode* node)
{
    int index = NodeIndexOf(node);
    if (index < 0)
        return;
    NodeDelete(index);
    while (--index >= 0 && NodeAt(index)->NodeKind() == xeWhiteSpace)
        NodeDelete(index);
}

void TXmlNode::DeleteSelf()
{
    if (Parent() != nullptr)
        Parent()->NodeRemove(this);
}

void TXmlNode::DeleteEmptyNodes()
{
    // Post-order with a stack of (node, index of the child to look at next),
    // walking children from the last to the first.
    struct Frame {
        TXmlNode* node;
        int index;
    };
    std::vector<Frame> stack{{this, NodeCount() - 1}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.index < 0) {
            stack.pop_back();
            if (stack.empty())
                break;
            Frame& parent = stack.back(); // its child at parent.index is done
            TXmlNode* child = parent.node->NodeAt(parent.index);
            if (child->NodeCount() == 0 && child->GetValue().empty())
                parent.node->NodeDelete(parent.index);
            --parent.index;
            continue;
        }
        TXmlNode* child = top.node->NodeAt(top.index);
        stack.push_back({child, child->NodeCount() - 1});
    }
}

TXmlNode* TXmlNode::ChildByName(std::string_view name) const
{
    const int index = NodeIndexNamed(name);
    return index < 0 ? nullptr : NodeAt(index);
}

TXmlNode* TXmlNode::ChildFindOrAdd(const std::string& name)
{
    if (TXmlNode* child = ChildByName(name))
        return child;
    return ChildAdd(name);
}

std::unique_ptr<TXmlNode> TXmlNode::NewChild(const std::string& name) const
{
    const TxNodeClass nodeClass = NodeClasses[kind_];
    if (nodeClass == nullptr)
        return nullptr;
    std::unique_ptr<TXmlNode> child(nodeClass(Document()));
    child->SetName(name);
    return child;
}

TXmlNode* TXmlNode::ChildAdd(const std::string& name)
{
    std::unique_ptr<TXmlNode> child = NewChild(name);
    if (child == nullptr)
        return nullptr;
    NodeAdd(child.get()); // a kind without children raises; the child goes with it
    return child.release();
}

TXmlNode* TXmlNode::ChildInsert(int index, const std::string& name)
{
    std::unique_ptr<TXmlNode> child = NewChild(name);
    if (child == nullptr)
        return nullptr;
    NodeInsert(index, child.get());
    return child.release();
}

void TXmlNode::PutChildValue(const std::string& name, const std::string& value)
{
    if (TXmlNode* child = ChildFindOrAdd(name))
        child->SetValue(value);
}

void TXmlNode::ElementDelete(int index)
{
    if (TXmlNode* element = ElementAt(index))
        NodeRemove(element);
}

void TXmlNode::ElementsClear()
{
    for (int i = NodeCount() - 1; i >= 0; --i)
        if (NodeAt(i)->IsElement())
            NodeDelete(i);
}

void TXmlNode::NodesAddAll(std::span<TXmlNode* const> nodes)
{
    for (TXmlNode* node : nodes)
        NodeAdd(node);
}

// --- search --------------------------------------------------------------------------

template <typename Visit>
void TXmlNode::WalkDescendants(std::string_view name, Visit&& visit) const
{
    // Pre-order with an explicit stack. A path is matched one "/name" step at a
    // time: a subtree whose path is no prefix of the one searched cannot hold a
    // match, and a step never needs the steps above it compared again. (Case
    // folding keeps byte lengths, so the steps line up.)
    const bool byPath = !name.empty() && name.front() == '/';
    std::size_t rootLength = 0;
    if (byPath) {
        const std::string root = FullPath();
        rootLength = root.size();
        if (name.size() <= rootLength || name[rootLength] != '/' || !SameName(root, name.substr(0, rootLength)))
            return;
    }
    struct Frame {
        const TXmlNode* node;
        int next;
        std::size_t pathLength; // of the node's full path, when searching by path
    };
    std::vector<Frame> stack{{this, 0, rootLength}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->NodeCount()) {
            stack.pop_back();
            continue;
        }
        const int index = top.next++;
        const std::string_view childName = ChildName(*top.node, index);
        bool matches, descend;
        std::size_t pathLength = 0;
        if (byPath) {
            const std::size_t start = top.pathLength;
            pathLength = start + 1 + childName.size();
            const bool step = name.size() >= pathLength && name[start] == '/' &&
                              SameName(childName, name.substr(start + 1, childName.size()));
            matches = step && name.size() == pathLength;
            descend = step && name.size() > pathLength && name[pathLength] == '/';
        } else {
            matches = SameName(childName, name);
            descend = true;
        }
        // A packed leaf has no nodes: it is made only when it matches.
        const TxContainerNode* packed = Packed(*top.node);
        if (!matches && (!descend || (packed != nullptr && !packed->IsContainerAt(index))))
            continue;
        TXmlNode* child = top.node->NodeAt(index);
        if (matches && visit(child))
            return;
        if (descend && child->NodeCount() > 0)
            stack.push_back({child, 0, pathLength});
    }
}

TXmlNode* TXmlNode::SearchNode(std::string_view name) const
{
    TXmlNode* found = nullptr;
    WalkDescendants(name, [&found](TXmlNode* node) {
        found = node;
        return true;
    });
    return found;
}

void TXmlNode::SearchAll(std::string_view name, TxNodeList& list) const
{
    list.Clear();
    WalkDescendants(name, [&list](TXmlNode* node) {
        list.Add(node);
        return false;
    });
}

// --- attributes ------------------------------------------------------------------------

void TXmlNode::AttributeAdd(TxAttribute*) { Misuse("cannot add attribute"); }

int TXmlNode::AttributeCount() const
{
    int count = 0;
    const int nodes = NodeCount();
    for (int i = 0; i < nodes; ++i)
        if (ChildKind(*this, i) == xeAttribute)
            ++count;
    return count;
}

TxAttribute* TXmlNode::AttributeAt(int index) const
{
    if (index < 0)
        return nullptr;
    const int nodes = NodeCount();
    for (int i = 0; i < nodes; ++i) {
        TXmlNode* node = NodeAt(i);
        if (node->NodeKind() == xeAttribute && index-- == 0)
            return static_cast<TxAttribute*>(node);
    }
    return nullptr;
}

std::string TXmlNode::AttributeNameAt(int index) const
{
    if (index < 0)
        return {};
    const int nodes = NodeCount();
    for (int i = 0; i < nodes; ++i)
        if (ChildKind(*this, i) == xeAttribute && index-- == 0)
            return std::string(ChildName(*this, i));
    return {};
}

TxAttribute* TXmlNode::AttributeNamed(std::string_view name) const
{
    const int nodes = NodeCount();
    for (int i = 0; i < nodes; ++i) {
        TXmlNode* node = NodeAt(i);
        if (node->NodeKind() == xeAttribute && SameName(node->NameView(), name))
            return static_cast<TxAttribute*>(node);
    }
    return nullptr;
}

std::string TXmlNode::AttributeValueNamed(std::string_view name) const
{
    const int nodes = NodeCount();
    for (int i = 0; i < nodes; ++i)
        if (ChildKind(*this, i) == xeAttribute && SameName(ChildName(*this, i), name))
            return AttributeValueAt(*this, i);
    return {};
}

int TXmlNode::AttributeIndexNamed(std::string_view name) const
{
    const int count = std::min(DirectNodeCount(), NodeCount());
    for (int i = 0; i < count; ++i)
        if (SameName(ChildName(*this, i), name))
            return i;
    return -1;
}

bool TXmlNode::HasAttribute(std::string_view name) const
{
    const int nodes = NodeCount();
    for (int i = 0; i < nodes; ++i)
        if (ChildKind(*this, i) == xeAttribute && ChildName(*this, i) == name)
            return true;
    return false;
}

void TXmlNode::AttributeAddNamed(const std::string& name, const std::string& value)
{
    std::unique_ptr<TxAttribute> attribute(new TxAttribute(Document()));
    attribute->SetName(name);
    attribute->SetValue(value);
    AttributeAdd(attribute.get());
    if (attribute->Parent() == this)
        attribute.release(); // refused attributes are not left to leak
}

void TXmlNode::SetAttributeValue(const std::string& name, const std::string& value)
{
    TxAttribute* attribute = AttributeNamed(name);
    if (attribute == nullptr) {
        // Into the attribute block, where it is written, also behind content.
        std::unique_ptr<TxAttribute> added(new TxAttribute(Document()));
        added->SetName(name);
        AttributeAdd(added.get());
        if (added->Parent() != this)
            return;
        attribute = added.release();
    }
    attribute->SetValue(value);
}

void TXmlNode::AttributeDelete(int index)
{
    if (TxAttribute* attribute = AttributeAt(index))
        NodeRemove(attribute);
}

void TXmlNode::AttributesClear()
{
    for (int i = NodeCount() - 1; i >= 0; --i)
        if (NodeAt(i)->NodeKind() == xeAttribute)
            NodeDelete(i);
}

void TXmlNode::AttributesAddAll(std::span<TxAttribute* const> attributes)
{
    for (TxAttribute* attribute : attributes)
        AttributeAdd(attribute);
}

// --- copying, reading, writing -------------------------------------------------------------

void TXmlNode::CopyOwn(const TXmlNode&) {}

void TXmlNode::CopyTree(const TXmlNode& source)
{
    CopyOwn(source);
    if (IsContainer())
        static_cast<TxContainerNode*>(this)->CopyNodes(source);
}

void TXmlNode::CopyFrom(const TXmlNode* source)
{
    if (source == nullptr)
        Misuse("CopyFrom can only be used with TXmlNode descendants");
    if (source == this)
        return;
    // A source inside this node would be freed by the clearing; a source
    // that holds this node would grow with the copy as it is walked, without
    // end. Either is copied from a copy of it as it stands now.
    bool related = false;
    for (const TXmlNode* p = source->Parent(); p != nullptr && !related; p = p->Parent())
        related = p == this;
    for (const TXmlNode* p = Parent(); p != nullptr && !related; p = p->Parent())
        related = p == source;
    std::unique_ptr<TXmlNode> keep;
    if (related) {
        keep.reset(source->NewInstance(Document()));
        keep->CopyTree(*source);
        source = keep.get();
    }
    Clear();
    CopyTree(*source);
}

void TXmlNode::Assign(core::TPersistent* source)
{
    if (auto* node = dynamic_cast<TXmlNode*>(source))
        CopyFrom(node);
    else
        core::TPersistent::Assign(source);
}

TXmlNode* TXmlNode::ReadFromParser(TxXmlParser&) { return this; }

void TXmlNode::WriteToStream(core::TStream& stream) { DoWrite(stream, TreeDepth()); }

void TXmlNode::DoWrite(core::TStream&, int) {}

void TXmlNode::WriteContent(core::TStream&) const {}

// --- layout ------------------------------------------------------------------------------------

std::string_view TXmlNode::EolText() const { return LineBreakText(LineBreakStyle()); }

std::string_view TXmlNode::LineFeedText() const
{
    return Layout() == xlReadable ? EolText() : std::string_view();
}

std::string_view TXmlNode::IndentText() const { return IndentAt(TreeDepth()); }

std::string_view TXmlNode::IndentAt(int depth) const { return Document()->IndentFor(depth); }

bool TXmlNode::StoreDefaults() const { return Document()->StoreDefaults(); }
TxLineBreakStyle TXmlNode::LineBreakStyle() const { return Document()->LineBreakStyle(); }
TxXmlLayout TXmlNode::Layout() const { return Document()->Layout(); }
bool TXmlNode::PreservesWhiteSpace() const { return Layout() == xlPreserve; }

// --- symbols and events -------------------------------------------------------------------------

std::string TXmlNode::SymbolText(std::int32_t id) const { return std::string(SymbolView(id)); }

std::string_view TXmlNode::SymbolView(std::int32_t id) const { return Document()->SymbolTable().LookupView(id); }

std::int32_t TXmlNode::SymbolId(std::string_view text) const { return Document()->SymbolTable().Intern(text); }

void TXmlNode::NotifyNodeCreated(TXmlNode* node) { Document()->DoNodeCreated(node); }

void TXmlNode::NotifyNodeParsed(TXmlNode* node) { Document()->DoNodeParsed(node); }

void TXmlNode::ReportProgress(core::TStream& stream)
{
    TXmlDocument* document = Document();
    if (document->OnLoadProgress) // asking a stream for its position may cost a system call
        document->DoProgress(stream.Position());
}

void TXmlNode::ReportProgress(TxPieceBuffer& out)
{
    if (Document()->OnLoadProgress) {
        out.Flush(); // the position counts what was written
        ReportProgress(out.Stream());
    }
}

} // namespace xml
