// Loading a document from XML text: from a file, a stream or a string. The
// top-level loop reads the nodes between the declaration and the end, lets
// each node read its own markup, switches the code page at the declaration,
// and, with RepairStructure, closes the elements whose end tags never came.

#include "xml/XmlDocument.h"

#include "xml/CodePages.h"
#include "xml/Conversions.h"
#include "xml/FastStreams.h"
#include "xml/TextRoutines.h"
#include "xml/XmlParser.h"

#include "platform/core/Streams.h"

#include <algorithm>
#include <vector>

namespace xml {

void TXmlDocument::LoadFromFile(const std::string& fileName)
{
    core::TFileStream file(fileName, core::fmOpenRead);
    // The parser reads small chunks; one system call per chunk would cost
    // more than the parse.
    TxBufferedReader reader(file);
    LoadFromStream(reader);
}

void TXmlDocument::LoadFromText(const std::string& text)
{
    TxStringStream stream(text);
    LoadFromStream(stream);
}

void TXmlDocument::LoadFromStream(core::TStream& stream)
{
    ClearNodes();
    const std::int64_t start = stream.Position();
    try {
        TxXmlParser parser(stream, TxXmlParser::kDefaultChunkSize, this);
        if (parser.HasBinaryMagic()) {
            // The binary form is read from where the text would have begun,
            // not from the stream's beginning.
            stream.SetPosition(start);
            LoadBinaryStream(stream);
        } else {
            // Room for the symbols that a document of this size is likely to
            // hold (one per 64 bytes is more than generous), taken once: the
            // record array then does not move while it fills, and the room
            // that stays untouched costs address space only.
            const auto bytes = static_cast<std::size_t>(std::max<std::int64_t>(stream.Size() - start, 0));
            symbolTable_->Reserve(bytes / 64);
            // Documents hold about one distinct text per 130 bytes.
            symbolTable_->ExpectSymbols(bytes / 128);
            ParseDocument(parser);
            textEncoding_ = parser.Encoding();
            textCodePage_ = parser.CodePage();
            byteOrderMark_ = parser.ByteOrderMark();
        }
    } catch (...) {
        repairNames_.reset(); // they belong to the parse only
        unclosed_.clear();
        DoProgress(stream.Size());
        throw;
    }
    DoProgress(stream.Size());
}

void TXmlDocument::MarkUnclosed(TXmlNode* node)
{
    if (repairNames_ == nullptr)
        return;
    int index;
    const std::string name(node->NameView());
    if (!repairNames_->Find(name, index))
        repairNames_->Add(name);
    unclosed_.insert(node);
}

void TXmlDocument::ParseDocument(TxXmlParser& parser)
{
    abortParsing_ = false;
    unclosed_.clear();
    if (repairStructure_) {
        repairNames_ = std::make_unique<core::TStringList>();
        repairNames_->SetSorted(true);
        repairNames_->SetCaseSensitive(false);
    }
    parser.DetectEncoding();
    byteOrderMark_ = parser.ByteOrderMark();
    // Nothing looks at the tree while it is read: the parser may hand each
    // element its nodes at once when its content ends.
    parser.SetCollectNodes(!repairStructure_ && !OnNodeCreated && !OnNodeParsed && !OnLoadProgress);
    // A byte-order mark or a UTF-16 form found by detection is what the text
    // is; a declaration naming another encoding does not change its reading.
    const bool signatureWins =
        byteOrderMark_.MarkPresent != 0 || parser.Encoding() == seUtf16LE || parser.Encoding() == seUtf16BE;

    // Nothing to read after detection: too short, or an encoding not read.
    const bool nothingToRead = parser.EndOfStream();
    bool repair = repairStructure_;
    bool broken = false; // the parse ended at an error, which was reported
    do {
        std::string_view text = parser.ReadUntilChar('<');
        if (!PreservesWhiteSpace())
            text = TrimmedView(text);
        if (!text.empty()) {
            auto* data = NewParsedNode<TxCharData>(this);
            data->SetRawValue(text);
            parser.CheckCharacterReferences(text);
            topNodes_.Add(data);
            DoNodeCreated(data);
            DoNodeParsed(data);
        }
        if (parser.EndOfStream())
            break;
        parser.MoveBack();
        if (parser.NextChar() != '<')
            continue;
        // Between top-level nodes the consumed text can go too.
        parser.Flush();
        const TxNodeKind kind = parser.ReadTagKind();
        if (kind == xeError) {
            repair = false;
            broken = true;
            if (parser.PrematureEndReported())
                break; // a tag cut by the end, reported as such
            EmitDebug(this, dlWarn, DebugFormat("illegal tag (\"<\") at pos %lld", AsLongLong(parser.Position())));
            break;
        }
        TXmlNode* node = NewParsedNodeOfKind(kind, this);
        if (node == nullptr) {
            EmitDebug(this, dlWarn,
                      DebugFormat("unsupported tag (\"%s\") at pos %lld", NodeKindNames[kind], AsLongLong(parser.Position())));
            repair = false;
            broken = true;
            break;
        }
        topNodes_.Add(node);
        if (kind != xeElement)
            DoNodeCreated(node);
        node->ReadFromParser(parser);
        DoNodeParsed(node);
        if (kind == xeDeclaration) {
            const std::string encoding = static_cast<TxDeclaration*>(node)->DeclarationEncoding();
            const TxTextEncoding named = EncodingFromName(encoding);
            // 8-bit text switches only between 8-bit encodings: naming UTF-16
            // does not make it so.
            if (!signatureWins && (named == seAnsi || named == seUtf8)) {
                parser.SetEncoding(named);
                parser.SetCodePage(CodePageFromName(encoding, kCodePageUtf8));
            }
            EmitDebug(this, dlInfo,
                      DebugFormat("declaration with encoding \"%s\" and codepage %d", encoding.c_str(),
                                  static_cast<int>(parser.CodePage())));
        } else if (node->NodeKind() == xeComment && dropCommentsOnParse_) {
            EmitDebug(this, dlInfo, "option DropCommentsOnParse is true, deleting comment");
            topNodes_.Delete(topNodes_.IndexOf(node));
        }
    } while (!abortParsing_ && !parser.EndOfStream());

    parser.CheckRestOfText();
    // Text that ends before any element began is a document cut short too.
    if (!nothingToRead && !broken && parser.EndOfStream() && RootElement() == nullptr)
        parser.ReportPrematureEnd(dlWarn, this);

    if (repair)
        CloseUnclosed();
    repairNames_.reset();
    unclosed_.clear();
}

void TXmlDocument::CloseUnclosed()
{
    if (unclosed_.empty())
        return; // nothing to move: the walk would change nothing
    // Every node in document order, parents before their nodes, as the node
    // list's NextInDocument walks; a stack of positions keeps it linear. What
    // moves comes right after the node, so the walk meets it next.
    struct Frame {
        TXmlNode* parent; // nullptr: the top level
        int next;
    };
    std::vector<Frame> stack{{nullptr, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        TXmlNode* parent = frame.parent;
        const int at = frame.next++;
        TXmlNode* node = parent != nullptr ? parent->NodeAt(at) : topNodes_.ItemAt(at);
        if (node == nullptr) {
            stack.pop_back();
            continue;
        }
        if (node->IsContainer() && unclosed_.count(node) != 0) {
            // Its content follows it, in the order it had; a top-level node's
            // content goes to the top level.
            bool moved = false;
            while (node->NodeCount() > node->DirectNodeCount()) {
                TXmlNode* child = node->NodeExtract(node->NodeAt(node->NodeCount() - 1));
                if (parent != nullptr)
                    parent->NodeInsert(at + 1, child);
                else
                    topNodes_.Insert(at + 1, child);
                moved = true;
            }
            if (moved)
                EmitDebug(this, dlInfo,
                          DebugFormat("correctly closed node \"%s\" at pos %lld", std::string(node->NameView()).c_str(),
                                      AsLongLong(node->SourcePosition())));
        }
        if (node->NodeCount() > 0)
            stack.push_back({node, 0});
    }
}

} // namespace xml
