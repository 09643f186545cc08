#include "platform/core/StringList.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Letters.h"
#include "platform/core/Streams.h"

#include <algorithm>

namespace core {

// --- TStrings ------------------------------------------------------------------

TObject* TStrings::Objects(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const std::string& text, TObject* object)
{
    const int index = Add(text);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& other)
{
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i)
        AddObject(other.Get(i), other.Objects(i));
    EndUpdate();
}

int TStrings::IndexOf(const std::string& text) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(Get(i), text))
            return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(Names(i), name) && Get(i).find('=') != std::string::npos)
            return i;
    return -1;
}

std::string TStrings::Names(int index) const
{
    const std::string line = Get(index);
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string line = Get(index);
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

std::string TStrings::Values(const std::string& name) const
{
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(const std::string& name, const std::string& value)
{
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
    } else if (index >= 0) {
        Put(index, name + "=" + value);
    } else {
        Add(name + "=" + value);
    }
}

std::string TStrings::Text() const
{
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(const std::string& text)
{
    BeginUpdate();
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const
{
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            out += ',';
        const std::string item = Get(i);
        const bool quote = item.empty() || item.find_first_of(" ,\"") != std::string::npos ||
                           static_cast<unsigned char>(item.front()) <= ' ';
        if (!quote) {
            out += item;
            continue;
        }
        out += '"';
        for (char c : item) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStrings::SetCommaText(const std::string& text)
{
    BeginUpdate();
    Clear();
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ')
                item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    EndUpdate();
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0 && OnChanging)
        OnChanging(this);
}

void TStrings::EndUpdate()
{
    if (--updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TStrings::Changing()
{
    if (updateCount_ == 0 && OnChanging)
        OnChanging(this);
}

void TStrings::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TStrings::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TStrings*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    Clear();
    AddStrings(*other);
    EndUpdate();
}

void TStrings::SaveToFile(const std::string& fileName, unsigned codePage) const
{
    WriteFileBytes(fileName, Utf8ToCodePage(Text(), codePage));
}

void TStrings::LoadFromFile(const std::string& fileName, unsigned codePage)
{
    std::string bytes = ReadFileBytes(fileName);
    if (codePage == CP_UTF8 && bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    SetText(CodePageToUtf8(bytes, codePage));
}

// --- TStringList -----------------------------------------------------------------

TStringList::~TStringList()
{
    if (ownsObjects_)
        for (Item& item : items_)
            delete item.object;
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TStringList::Compare(const std::string& a, const std::string& b) const
{
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& text)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].text = text;
    Changed();
}

void TStringList::Insert(int index, const std::string& text)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    Changing();
    items_.insert(items_.begin() + index, Item{text, nullptr});
    Changed();
}

int TStringList::Add(const std::string& text)
{
    if (!sorted_) {
        const int index = Count();
        Insert(index, text);
        return index;
    }
    int index = 0;
    if (Find(text, index)) {
        if (duplicates_ == TDuplicates::dupIgnore)
            return index;
        if (duplicates_ == TDuplicates::dupError)
            throw EListError("String list does not allow duplicates");
    }
    Changing();
    items_.insert(items_.begin() + index, Item{text, nullptr});
    Changed();
    return index;
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    if (ownsObjects_)
        delete items_[static_cast<std::size_t>(index)].object;
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    if (ownsObjects_)
        for (Item& item : items_)
            delete item.object;
    items_.clear();
    Changed();
}

TObject* TStringList::Objects(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].object = object;
}

int TStringList::IndexOf(const std::string& text) const
{
    if (!sorted_) {
        for (int i = 0; i < Count(); ++i)
            if (Compare(items_[static_cast<std::size_t>(i)].text, text) == 0)
                return i;
        return -1;
    }
    int index = 0;
    return Find(text, index) ? index : -1;
}

bool TStringList::Find(const std::string& text, int& index) const
{
    int low = 0;
    int high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int c = Compare(items_[static_cast<std::size_t>(middle)].text, text);
        if (c < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept)
                    low = middle;
            }
        }
    }
    index = low;
    return found;
}

void TStringList::Sort()
{
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == sorted_)
        return;
    if (sorted)
        Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == caseSensitive_)
        return;
    caseSensitive_ = caseSensitive;
    if (sorted_)
        Sort();
}

} // namespace core
