#include "xml/BinaryXml.h"

#include "xml/FastStreams.h"
#include "xml/VarInt.h"
#include "xml/XmlDocument.h"

#include "platform/core/Exceptions.h"
#include "platform/core/ReplacingFileStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

namespace xml {

namespace {

constexpr std::string_view kMagic = "$BXM";
constexpr std::string_view kPlainCoder = "none";
constexpr std::uint8_t kHeaderEnd = 0x0A;
constexpr char kDamaged[] = "invalid binary xml stream";
// Nodes read between two progress reports.
constexpr int kProgressEvery = 100;
// The smallest record of a symbol (style, length) or of a node (kind, one field).
constexpr std::uint64_t kMinRecord = 2;
// Document types and markup declarations write their nodes by calling each
// node's writer, so how deep they nest inside one another is bounded.
constexpr int kMaxDeclarationNesting = 256;

TXmlDocument& Assigned(TXmlDocument* document)
{
    if (document == nullptr)
        throw core::Exception("XML owner is not assigned");
    return *document;
}

// --- writing -----------------------------------------------------------------------

// How a node goes into the form: with its fields; as its kind with empty
// fields, when its class does not hold what its kind promises; or not at all,
// for a kind that has no record.
enum class Shape { Fit, Misfit, Skip };

bool HasRecord(const TXmlNode* node) { return node->NodeKind() < xeEndTag; }

template <class T>
Shape FitsAs(const TXmlNode* node)
{
    return dynamic_cast<const T*>(node) != nullptr ? Shape::Fit : Shape::Misfit;
}

Shape ShapeOf(const TXmlNode* node)
{
    switch (node->NodeKind()) {
    case xeElement:
    case xeDtdElement:
    case xeDtdAttList:
    case xeDtdEntity:
    case xeDtdNotation: return FitsAs<TxElement>(node);
    case xeAttribute: return FitsAs<TxAttribute>(node);
    case xeCharData:
    case xeComment:
    case xeCData:
    case xeConditionalSection:
    case xeInstruction:
    case xeWhiteSpace: return FitsAs<TxCharData>(node);
    case xeDeclaration:
    case xeStylesheet: return FitsAs<TxContainerNode>(node);
    case xeDocType: return FitsAs<TxDocType>(node);
    case xeQuotedText: return FitsAs<TxQuotedText>(node);
    default: return Shape::Skip;
    }
}

// Every node in document order, each with its shape; only fitting containers
// are entered. Keeps its own stack, so trees of any depth are walked.
template <class Visit>
void WalkNodes(const TxNodeList& top, Visit&& visit)
{
    struct Frame {
        const TXmlNode* parent;
        int next;
    };
    std::vector<Frame> stack;
    int nextTop = 0;
    for (;;) {
        const TXmlNode* node;
        if (stack.empty()) {
            node = top.ItemAt(nextTop++);
            if (node == nullptr)
                return;
        } else {
            Frame& frame = stack.back();
            node = frame.parent->NodeAt(frame.next++);
            if (node == nullptr) {
                stack.pop_back();
                continue;
            }
        }
        const Shape shape = ShapeOf(node);
        visit(node, shape);
        if (shape == Shape::Fit && node->IsContainer() && node->NodeCount() > 0)
            stack.push_back({node, 0});
    }
}

// The symbol IDs that a fitting node holds, in the order its record refers to them.
template <class Use>
void ForEachSymbol(const TXmlNode* node, Use&& use)
{
    switch (node->NodeKind()) {
    case xeElement:
    case xeDtdElement:
    case xeDtdAttList:
    case xeDtdEntity:
    case xeDtdNotation: use(static_cast<const TxElement*>(node)->NameId()); break;
    case xeAttribute: {
        const auto* attribute = static_cast<const TxAttribute*>(node);
        use(attribute->NameId());
        use(attribute->ValueId());
        break;
    }
    case xeDocType: {
        const auto* docType = static_cast<const TxDocType*>(node);
        use(docType->NameId());
        use(docType->ExternalId()->ValueId());
        use(docType->SystemLiteral()->ValueId());
        use(docType->PublicLiteral()->ValueId());
        break;
    }
    case xeDeclaration:
    case xeStylesheet: break;
    default: use(static_cast<const TxCharData*>(node)->ValueId()); break;
    }
}

// Writes the body: the strings used more than once, the node records, the end marker.
class BodyWriter {
public:
    BodyWriter(TxBinaryXml& owner, TXmlDocument& document, std::string& out)
        : owner_(owner), document_(document), table_(document.SymbolTable()), out_(out)
    {
    }

    // Returns the number of node records.
    int Write()
    {
        NumberSymbols();
        Cardinal(static_cast<std::uint32_t>(shared_.size()));
        for (const std::int32_t id : shared_)
            Record(id);
        int count = 0;
        WalkNodes(document_.TopNodes(), [this, &count](const TXmlNode* node, Shape shape) {
            if (shape == Shape::Skip) {
                const TxNodeKind kind = node->NodeKind();
                owner_.EmitDebug(&owner_, dlWarn,
                                 DebugFormat("unknown %s \"%s\"",
                                             kind < kNodeKindCount ? NodeKindNames[kind] : "kind",
                                             node->GetName().c_str()));
                return;
            }
            ++count;
            if (shape == Shape::Fit) {
                WriteNode(node);
            } else {
                owner_.EmitDebug(&owner_, dlFail, "wrong element type");
                WriteEmptyNode(node->NodeKind());
            }
        });
        Cardinal(xeEndTag);
        return count;
    }

private:
    // Counts the uses of every string in the tree. Those used more than once
    // get the slots 1..n of the output's table, most used first (equal counts
    // in the order of their IDs); the others are written where they are used.
    // The document's table stays as it is.
    void NumberSymbols()
    {
        const int symbolCount = table_.SymbolCount();
        std::vector<std::uint32_t> uses(static_cast<std::size_t>(symbolCount) + 1, 0);
        WalkNodes(document_.TopNodes(), [&uses, symbolCount](const TXmlNode* node, Shape shape) {
            if (shape == Shape::Fit)
                ForEachSymbol(node, [&uses, symbolCount](std::int32_t id) {
                    if (id > 0 && id <= symbolCount)
                        ++uses[static_cast<std::size_t>(id)];
                });
        });
        for (std::int32_t id = 1; id <= symbolCount; ++id)
            if (uses[static_cast<std::size_t>(id)] > 1)
                shared_.push_back(id);
        std::stable_sort(shared_.begin(), shared_.end(), [&uses](std::int32_t a, std::int32_t b) {
            return uses[static_cast<std::size_t>(a)] > uses[static_cast<std::size_t>(b)];
        });
        slot_.assign(static_cast<std::size_t>(symbolCount) + 1, 0);
        for (std::size_t i = 0; i < shared_.size(); ++i)
            slot_[static_cast<std::size_t>(shared_[i])] = static_cast<std::uint32_t>(i + 1);
    }

    void Cardinal(std::uint32_t value) { AppendVarUInt(out_, value); }

    void Record(std::int32_t id)
    {
        const TxSymbol symbol = table_.Symbol(id);
        Cardinal(symbol.Style);
        Cardinal(static_cast<std::uint32_t>(symbol.Length));
        out_.append(symbol.Bytes, static_cast<std::size_t>(symbol.Length));
    }

    // 1 for the empty string, slot + 1 for a shared string, else 0 and the record.
    void Reference(std::int32_t id)
    {
        if (id <= 0 || id > table_.SymbolCount()) {
            Cardinal(1);
        } else if (const std::uint32_t slot = slot_[static_cast<std::size_t>(id)]; slot != 0) {
            Cardinal(slot + 1);
        } else {
            Cardinal(0);
            Record(id);
        }
    }

    void Quoted(const TxQuotedText* text)
    {
        Reference(text->ValueId());
        Cardinal(text->QuoteStyle());
    }

    // Child count, attribute block and value index, counting only the
    // children that get a record.
    void ContainerFields(const TxContainerNode* container)
    {
        const int count = container->NodeCount();
        const int directEnd = std::clamp(container->DirectNodeCount(), 0, count);
        const int valueIndex = container->ValueIndex();
        std::uint32_t written = 0, direct = 0, value = 0;
        for (int i = 0; i < count; ++i) {
            if (!HasRecord(container->NodeAt(i)))
                continue;
            if (i == valueIndex)
                value = written + 1;
            if (i < directEnd)
                ++direct;
            ++written;
        }
        Cardinal(written);
        Cardinal(direct);
        Cardinal(value);
    }

    void WriteNode(const TXmlNode* node)
    {
        const TxNodeKind kind = node->NodeKind();
        Cardinal(kind);
        switch (kind) {
        case xeElement:
        case xeDtdElement:
        case xeDtdAttList:
        case xeDtdEntity:
        case xeDtdNotation: {
            const auto* element = static_cast<const TxElement*>(node);
            ContainerFields(element);
            Reference(element->NameId());
            // The element's own style: the document's setting only shapes the text form.
            Cardinal(element->NodeClosingStyle());
            break;
        }
        case xeAttribute: {
            const auto* attribute = static_cast<const TxAttribute*>(node);
            Reference(attribute->NameId());
            Reference(attribute->ValueId());
            Cardinal(attribute->QuoteStyle());
            break;
        }
        case xeDeclaration:
        case xeStylesheet: ContainerFields(static_cast<const TxContainerNode*>(node)); break;
        case xeDocType: {
            const auto* docType = static_cast<const TxDocType*>(node);
            ContainerFields(docType);
            Reference(docType->NameId());
            Reference(docType->ExternalId()->ValueId());
            Quoted(docType->SystemLiteral());
            Quoted(docType->PublicLiteral());
            break;
        }
        case xeQuotedText: Quoted(static_cast<const TxQuotedText*>(node)); break;
        default: Reference(static_cast<const TxCharData*>(node)->ValueId()); break;
        }
    }

    // The record of a node of the kind with no nodes, empty texts and default styles.
    void WriteEmptyNode(TxNodeKind kind)
    {
        const auto emptyContainer = [this] {
            Cardinal(0); // children
            Cardinal(0); // attribute block
            Cardinal(0); // no value node
        };
        const auto emptyQuoted = [this] {
            Cardinal(1);
            Cardinal(qsDouble);
        };
        Cardinal(kind);
        switch (kind) {
        case xeElement:
        case xeDtdElement:
        case xeDtdAttList:
        case xeDtdEntity:
        case xeDtdNotation:
            emptyContainer();
            Cardinal(1);
            Cardinal(csUnspecified);
            break;
        case xeAttribute:
            Cardinal(1);
            emptyQuoted();
            break;
        case xeDeclaration:
        case xeStylesheet: emptyContainer(); break;
        case xeDocType:
            emptyContainer();
            Cardinal(1);
            Cardinal(1);
            emptyQuoted();
            emptyQuoted();
            break;
        case xeQuotedText: emptyQuoted(); break;
        default: Cardinal(1); break;
        }
    }

    TxBinaryXml& owner_;
    TXmlDocument& document_;
    TxSymbolTable& table_;
    std::string& out_;
    std::vector<std::int32_t> shared_; // live IDs in the order of the output's table
    std::vector<std::uint32_t> slot_;  // by live ID: its slot in the output's table, or 0
};

// --- reading -------------------------------------------------------------------------

// Thrown while reading when the bytes do not hold what the form needs; the
// message is reported once the document has been put right.
struct Refusal {
    std::string message = kDamaged;
};

// A cursor over bytes that refuses to read past their end.
class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size) : begin_(data), at_(data), end_(data + size) {}

    std::size_t Offset() const noexcept { return static_cast<std::size_t>(at_ - begin_); }
    std::size_t Remaining() const noexcept { return static_cast<std::size_t>(end_ - at_); }
    const std::uint8_t* At() const noexcept { return at_; }

    // One to five groups; a sixth raises as every varint reader of the library does.
    std::uint32_t Cardinal()
    {
        std::uint32_t value = 0;
        if (!DecodeVarUInt(at_, end_, value))
            throw Refusal{};
        return value;
    }

    std::string_view Take(std::uint64_t count)
    {
        if (count > Remaining())
            throw Refusal{};
        const std::string_view bytes(reinterpret_cast<const char*>(at_), static_cast<std::size_t>(count));
        at_ += count;
        return bytes;
    }

private:
    const std::uint8_t* begin_;
    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

// Reads the body into an empty document.
class BodyReader {
public:
    BodyReader(TXmlDocument& document, Cursor& in, std::int64_t base)
        : document_(document), table_(document.SymbolTable()), in_(in), base_(base)
    {
    }

    // Returns the number of nodes read.
    int Read()
    {
        const std::uint32_t count = in_.Cardinal();
        if (count > in_.Remaining() / kMinRecord)
            throw Refusal{};
        for (std::uint32_t i = 0; i < count; ++i)
            ReadSymbol();
        document_.DoProgress(Position());
        return ReadNodes();
    }

private:
    struct Frame {
        TxContainerNode* parent;
        std::uint32_t remaining; // children still to come
    };

    std::int64_t Position() const { return base_ + static_cast<std::int64_t>(in_.Offset()); }

    std::int32_t ReadSymbol()
    {
        const std::uint32_t style = in_.Cardinal();
        const std::uint32_t length = in_.Cardinal();
        const std::string_view bytes = in_.Take(length);
        if (table_.SymbolCount() == std::numeric_limits<std::int32_t>::max())
            throw Refusal{};
        return table_.AppendSymbol(bytes, style);
    }

    std::int32_t Reference()
    {
        const std::uint32_t value = in_.Cardinal();
        if (value == 0)
            return ReadSymbol();
        if (value - 1 > static_cast<std::uint32_t>(table_.SymbolCount()))
            throw Refusal{};
        return static_cast<std::int32_t>(value - 1);
    }

    std::uint32_t Style(std::uint32_t last)
    {
        const std::uint32_t style = in_.Cardinal();
        if (style > last)
            throw Refusal{};
        return style;
    }

    void Quoted(TxQuotedText* text)
    {
        text->SetValueId(Reference());
        text->SetQuoteStyle(static_cast<TxQuoteStyle>(Style(qsSingle)));
    }

    // Returns the child count, after checking it against what the bytes can
    // still hold next to the children that the open containers wait for.
    std::uint32_t ContainerFields(TxContainerNode* container)
    {
        const std::uint32_t children = in_.Cardinal();
        const std::uint32_t direct = in_.Cardinal();
        const std::uint32_t value = in_.Cardinal();
        if (direct > children || value > children || pending_ + children > in_.Remaining() / kMinRecord)
            throw Refusal{};
        container->SetDirectNodeCount(static_cast<int>(direct));
        container->SetValueIndex(static_cast<int>(value) - 1);
        return children;
    }

    // The fields of a node of the kind; returns its child count.
    std::uint32_t ReadFields(TXmlNode* node)
    {
        switch (node->NodeKind()) {
        case xeElement:
        case xeDtdElement:
        case xeDtdAttList:
        case xeDtdEntity:
        case xeDtdNotation: {
            auto* element = static_cast<TxElement*>(node);
            const std::uint32_t children = ContainerFields(element);
            element->SetNameId(Reference());
            element->SetNodeClosingStyle(static_cast<TxClosingStyle>(Style(csSelfClosing)));
            return children;
        }
        case xeAttribute: {
            auto* attribute = static_cast<TxAttribute*>(node);
            attribute->SetNameId(Reference());
            attribute->SetValueId(Reference());
            attribute->SetQuoteStyle(static_cast<TxQuoteStyle>(Style(qsSingle)));
            return 0;
        }
        case xeDeclaration:
        case xeStylesheet: return ContainerFields(static_cast<TxContainerNode*>(node));
        case xeDocType: {
            auto* docType = static_cast<TxDocType*>(node);
            const std::uint32_t children = ContainerFields(docType);
            docType->SetNameId(Reference());
            docType->ExternalId()->SetValueId(Reference());
            Quoted(docType->SystemLiteral());
            Quoted(docType->PublicLiteral());
            return children;
        }
        case xeQuotedText: Quoted(static_cast<TxQuotedText*>(node)); return 0;
        default: static_cast<TxCharData*>(node)->SetValueId(Reference()); return 0;
        }
    }

    int ReadNodes()
    {
        int count = 0;
        for (;;) {
            const std::uint32_t kind = in_.Cardinal();
            if (kind == xeEndTag) {
                if (!stack_.empty()) // containers still wait for children
                    throw Refusal{};
                return count;
            }
            if (kind > xeEndTag)
                throw Refusal{DebugFormat("unknown element type %u", kind)};
            if (!stack_.empty()) {
                --stack_.back().remaining;
                --pending_;
            }
            std::unique_ptr<TXmlNode> node(NewNodeOfKind(static_cast<TxNodeKind>(kind), &document_));
            const std::uint32_t children = ReadFields(node.get());
            TXmlNode* placed = node.release();
            if (stack_.empty())
                document_.TopNodes().Add(placed);
            else
                stack_.back().parent->NodeAdd(placed);
            if (children > 0) {
                const bool declaration = kind != xeElement;
                if (declaration && ++declarationDepth_ > kMaxDeclarationNesting)
                    throw Refusal{};
                stack_.push_back({static_cast<TxContainerNode*>(placed), children});
                pending_ += children;
            } else {
                while (!stack_.empty() && stack_.back().remaining == 0) {
                    if (stack_.back().parent->NodeKind() != xeElement)
                        --declarationDepth_;
                    stack_.pop_back();
                }
            }
            if (++count % kProgressEvery == 0)
                document_.DoProgress(Position());
        }
    }

    TXmlDocument& document_;
    TxSymbolTable& table_;
    Cursor& in_;
    std::int64_t base_;
    std::vector<Frame> stack_;
    std::uint64_t pending_ = 0;   // children that the open containers still wait for
    int declarationDepth_ = 0;    // open containers that are not elements
};

// The bytes from the stream's position to its end: a memory stream's own
// block, or a copy read from any other stream.
class Rest {
public:
    explicit Rest(core::TStream& stream)
    {
        if (auto* memory = dynamic_cast<TxFastMemStream*>(&stream)) {
            View(reinterpret_cast<const std::uint8_t*>(memory->Memory()), memory->SizeInUse(),
                 memory->CurrentPosition());
        } else if (auto* plain = dynamic_cast<core::TMemoryStream*>(&stream)) {
            View(plain->Memory(), plain->Size(), plain->Position());
        } else {
            constexpr std::size_t kChunk = 64 * 1024;
            for (;;) {
                const std::size_t at = copy_.size();
                copy_.resize(at + kChunk);
                const std::int64_t n = stream.Read(copy_.data() + at, static_cast<std::int64_t>(kChunk));
                copy_.resize(at + static_cast<std::size_t>(std::max<std::int64_t>(n, 0)));
                if (n <= 0)
                    break;
            }
            data_ = copy_.data();
            size_ = copy_.size();
        }
    }

    const std::uint8_t* Data() const noexcept { return data_; }
    std::size_t Size() const noexcept { return size_; }

private:
    void View(const std::uint8_t* memory, std::int64_t size, std::int64_t position)
    {
        if (position >= 0 && position < size) {
            data_ = memory + position;
            size_ = static_cast<std::size_t>(size - position);
        }
    }

    std::vector<std::uint8_t> copy_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace

TxBinaryXml::TxBinaryXml(TXmlDocument* document) : TDebugComponent(document), document_(document) {}

std::uint32_t TxBinaryXml::ReadCardinal(core::TStream& stream) { return ReadVarUInt(stream); }

void TxBinaryXml::WriteCardinal(core::TStream& stream, std::uint32_t value) { WriteVarUInt(stream, value); }

void TxBinaryXml::WriteDocument(core::TStream& stream)
{
    std::string body;
    body.reserve(64 * 1024);
    BodyWriter writer(*this, Assigned(document_), body);
    const int count = writer.Write();
    EmitDebug(this, dlInfo, DebugFormat("total node count: %d", count));

    TxFastMemStream header(32);
    header.WriteBuffer(kMagic.data(), 4);
    WriteVarUInt(header, kVersion);
    std::string coderName(kPlainCoder);
    TxFastMemStream coded(0);
    if (OnEncode) {
        TxStringStream source(body);
        OnEncode(source, coded, coderName, static_cast<std::int64_t>(body.size()));
        if (coderName.size() != 4) {
            EmitDebug(this, dlFail, "coder name length <> 4");
            coderName = kPlainCoder;
        }
        // Under the name "none" a reader takes the body as plain, and the size
        // field holds 32 bits: in both cases the body stays plain.
        if (body.size() > std::numeric_limits<std::uint32_t>::max())
            coderName = kPlainCoder;
    }
    header.WriteBuffer(coderName.data(), 4);
    header.WriteBuffer(&kHeaderEnd, 1);
    const bool isCoded = coderName != kPlainCoder;
    if (isCoded)
        WriteVarUInt(header, static_cast<std::uint32_t>(body.size()));
    stream.WriteBuffer(header.Memory(), header.SizeInUse());
    if (isCoded)
        stream.WriteBuffer(coded.Memory(), coded.SizeInUse());
    else
        stream.WriteBuffer(body.data(), static_cast<std::int64_t>(body.size()));
}

void TxBinaryXml::ReadDocument(core::TStream& stream)
{
    TXmlDocument& document = Assigned(document_);
    const std::int64_t start = stream.Position();
    const Rest rest(stream);
    const auto refuse = [this, &stream, start](const std::string& message) {
        EmitDebug(this, dlFail, message);
        stream.SetPosition(start);
    };

    // The header: nothing in the document changes when it is refused.
    Cursor header(rest.Data(), rest.Size());
    std::string coderName;
    std::uint32_t plainSize = 0;
    try {
        if (header.Take(4) != kMagic)
            return refuse(kDamaged);
        const std::uint32_t version = header.Cardinal();
        if (version > kVersion)
            return refuse("incompatible binary version");
        if (version < kVersion)
            EmitDebug(this, dlWarn,
                      DebugFormat("loading binary version=%u, current version=%u", version, kVersion));
        coderName = header.Take(4);
        header.Take(1); // a line feed, for people who look at the file
        if (coderName != kPlainCoder) {
            if (!OnDecode)
                return refuse("OnDecode event unassigned");
            plainSize = header.Cardinal();
        }
    } catch (const Refusal& refusal) {
        return refuse(refusal.message);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }

    // A coded body is decoded into a buffer of our own; the caller's stream is only read.
    const bool isCoded = coderName != kPlainCoder;
    TxFastMemStream plain(0); // grows as the decoder writes: plainSize is not trusted
    const std::uint8_t* body = header.At();
    std::size_t bodySize = header.Remaining();
    if (isCoded) {
        TxFastMemStream source(static_cast<std::int64_t>(bodySize));
        source.WriteBuffer(body, static_cast<std::int64_t>(bodySize));
        source.SetPosition(0);
        try {
            OnDecode(source, plain, coderName, plainSize);
        } catch (...) {
            stream.SetPosition(start);
            throw;
        }
        EmitDebug(this, dlInfo,
                  DebugFormat("coder name: %s, compressed size: %lld, plain size: %lld", coderName.c_str(),
                              AsLongLong(source.SizeInUse()), AsLongLong(plain.SizeInUse())));
        if (plain.SizeInUse() != static_cast<std::int64_t>(plainSize))
            return refuse(kDamaged);
        body = reinterpret_cast<const std::uint8_t*>(plain.Memory());
        bodySize = static_cast<std::size_t>(plain.SizeInUse());
    }

    // The body: the document holds either all of it or nothing.
    const std::int64_t bodyStart = start + static_cast<std::int64_t>(header.Offset());
    document.ResetContent(false, false, false);
    try {
        Cursor in(body, bodySize);
        BodyReader reader(document, in, bodyStart);
        const int count = reader.Read();
        stream.SetPosition(isCoded ? start + static_cast<std::int64_t>(rest.Size())
                                   : bodyStart + static_cast<std::int64_t>(in.Offset()));
        EmitDebug(this, dlInfo, DebugFormat("total node count: %d", count));
    } catch (const Refusal& refusal) {
        document.ResetContent(false, false, false);
        refuse(refusal.message);
    } catch (...) {
        document.ResetContent(false, false, false);
        stream.SetPosition(start);
        throw;
    }
}

void TxBinaryXml::SaveToFile(const std::string& fileName)
{
    TxFastMemStream form(64 * 1024);
    WriteDocument(form);
    core::TReplacingFileStream file(fileName);
    file.WriteBuffer(form.Memory(), form.SizeInUse());
    file.Commit();
}

void TxBinaryXml::LoadFromFile(const std::string& fileName)
{
    core::TFileStream file(fileName, core::fmOpenRead);
    TxFastMemStream form(file.Size());
    form.CopyFrom(file, 0);
    form.SetPosition(0);
    ReadDocument(form);
}

} // namespace xml
