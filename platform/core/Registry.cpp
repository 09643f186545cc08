#include "platform/core/Registry.h"

#include "platform/core/Letters.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace core {

namespace {

struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const { return AnsiCompareText(a, b) < 0; }
};

struct Value {
    TRegDataType type = TRegDataType::rdString;
    std::string text;
    std::int32_t number = 0;
};

struct Node {
    std::map<std::string, std::unique_ptr<Node>, NameLess> keys;
    std::map<std::string, Value, NameLess> values;

    std::unique_ptr<Node> Clone() const
    {
        auto copy = std::make_unique<Node>();
        copy->values = values;
        for (const auto& [name, child] : keys)
            copy->keys.emplace(name, child->Clone());
        return copy;
    }
    // Copies every key and value of other into this node, other's values winning.
    void Merge(const Node& other)
    {
        for (const auto& [name, value] : other.values)
            values[name] = value;
        for (const auto& [name, child] : other.keys) {
            auto& mine = keys[name];
            if (!mine)
                mine = std::make_unique<Node>();
            mine->Merge(*child);
        }
    }
};

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

std::string JoinPath(const std::vector<std::string>& parts, std::size_t count)
{
    std::string path;
    for (std::size_t i = 0; i < count && i < parts.size(); ++i) {
        if (i)
            path += '\\';
        path += parts[i];
    }
    return path;
}

bool ValidKeyName(const std::string& name)
{
    for (unsigned char c : name)
        if (c < 0x20)
            return false;
    return true;
}

const char* HiveName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return nullptr;
    }
}

// Quoted text with the escapes \\ \" \n \r \t and \xHH for other control bytes.
std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[5];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// Reads a quoted text starting at pos (on the opening quote); pos ends after the closing quote.
bool Unquote(const std::string& line, std::size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return false;
        switch (line[pos]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x':
            if (pos + 2 >= line.size())
                return false;
            out += static_cast<char>(std::stoi(line.substr(pos + 1, 2), nullptr, 16));
            pos += 2;
            break;
        default: out += line[pos];
        }
    }
    return false;
}

void WriteNode(std::ostream& out, const Node& node, const std::string& path)
{
    out << '[' << path << "]\n";
    for (const auto& [name, value] : node.values) {
        out << (name.empty() ? std::string("@") : Quote(name)) << '=';
        if (value.type == TRegDataType::rdInteger) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<std::uint32_t>(value.number));
            out << buf << '\n';
        } else {
            out << Quote(value.text) << '\n';
        }
    }
    for (const auto& [name, child] : node.keys)
        WriteNode(out, *child, path.empty() ? name : path + '\\' + name);
}

} // namespace

struct TRegistry::Hive {
    std::string file;
    Node root;

    explicit Hive(HKEY key) : file(RegistryHiveFile(key)) { Load(); }

    void Load()
    {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return;
        Node* current = &root;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == ';')
                continue;
            if (line[0] == '[' && line.back() == ']') {
                current = Find(SplitPath(line.substr(1, line.size() - 2)), true);
                continue;
            }
            std::size_t pos = 0;
            std::string name;
            if (line[0] == '@')
                pos = 1;
            else if (!Unquote(line, pos, name))
                continue;
            if (pos >= line.size() || line[pos] != '=')
                continue;
            ++pos;
            Value value;
            if (line.compare(pos, 6, "dword:") == 0) {
                value.type = TRegDataType::rdInteger;
                value.number = static_cast<std::int32_t>(std::strtoul(line.c_str() + pos + 6, nullptr, 16));
            } else if (!Unquote(line, pos, value.text)) {
                continue;
            }
            current->values[name] = std::move(value);
        }
    }

    void Save() const
    {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
        std::ostringstream text;
        text << "; Konverze registry hive\n";
        WriteNode(text, root, "");
        const std::string temp = file + ".tmp" + std::to_string(::getpid());
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out << text.str();
            out.flush();
            if (!out) {
                std::filesystem::remove(temp, ec);
                throw ERegistryException("Do registru nelze zapsat: " + file);
            }
        }
        std::filesystem::rename(temp, file, ec);
        if (ec) {
            std::filesystem::remove(temp, ec);
            throw ERegistryException("Do registru nelze zapsat: " + file);
        }
    }

    Node* Find(const std::vector<std::string>& parts, bool create)
    {
        Node* node = &root;
        for (const auto& part : parts) {
            auto it = node->keys.find(part);
            if (it == node->keys.end()) {
                if (!create)
                    return nullptr;
                it = node->keys.emplace(part, std::make_unique<Node>()).first;
            }
            node = it->second.get();
        }
        return node;
    }
    Node* Find(const std::string& path, bool create) { return Find(SplitPath(path), create); }
};

std::string RegistryFolder()
{
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    if (base.back() != '/')
        base += '/';
    return base + "konverze/registry/";
}

std::string RegistryHiveFile(HKEY root)
{
    const char* name = HiveName(root);
    if (!name)
        throw ERegistryException("Neznámý kořenový klíč registru");
    return RegistryFolder() + name + ".reg";
}

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY root)
{
    if (!HiveName(root))
        throw ERegistryException("Neznámý kořenový klíč registru");
    CloseKey();
    root_ = root;
}

std::string TRegistry::Resolve(const std::string& key) const
{
    if (!key.empty() && key[0] == '\\')
        return JoinPath(SplitPath(key), SIZE_MAX);
    auto parts = SplitPath(open_ ? currentPath_ : std::string());
    for (auto& part : SplitPath(key))
        parts.push_back(std::move(part));
    return JoinPath(parts, parts.size());
}

void TRegistry::RequireOpenKey(const char* operation) const
{
    if (!open_)
        throw ERegistryException(std::string("Žádný klíč registru není otevřen (") + operation + ")");
}

void TRegistry::RequireWritable(const std::string& name) const
{
    RequireOpenKey("zápis");
    if (readOnly_)
        throw ERegistryException("Klíč registru je otevřen jen pro čtení: " + name);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    const std::string path = Resolve(key);
    Hive hive(root_);
    if (!hive.Find(path, false)) {
        if (!canCreate)
            return false;
        for (const auto& part : SplitPath(path))
            if (!ValidKeyName(part))
                return false;
        hive.Find(path, true);
        hive.Save();
    }
    currentPath_ = path;
    open_ = true;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    if (!OpenKey(key, false))
        return false;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey()
{
    currentPath_.clear();
    open_ = false;
    readOnly_ = false;
}

bool TRegistry::KeyExists(const std::string& key)
{
    Hive hive(root_);
    return hive.Find(Resolve(key), false) != nullptr;
}

bool TRegistry::CreateKey(const std::string& key)
{
    const std::string path = Resolve(key);
    for (const auto& part : SplitPath(path))
        if (!ValidKeyName(part))
            return false;
    Hive hive(root_);
    if (hive.Find(path, false))
        return true;
    hive.Find(path, true);
    hive.Save();
    return true;
}

bool TRegistry::DeleteKey(const std::string& key)
{
    auto parts = SplitPath(Resolve(key));
    if (parts.empty())
        return false;
    Hive hive(root_);
    const std::string last = parts.back();
    parts.pop_back();
    Node* parent = hive.Find(parts, false);
    if (!parent || parent->keys.erase(last) == 0)
        return false;
    hive.Save();
    return true;
}

void TRegistry::MoveKey(const std::string& oldName, const std::string& newName, bool deleteOld)
{
    auto from = SplitPath(Resolve(oldName));
    auto to = SplitPath(Resolve(newName));
    if (from.empty() || to.empty())
        return;
    // A key cannot be moved into itself or below itself.
    bool inside = to.size() >= from.size();
    for (std::size_t i = 0; inside && i < from.size(); ++i)
        inside = AnsiSameText(from[i], to[i]);
    if (inside)
        return;
    for (const auto& part : to)
        if (!ValidKeyName(part))
            return;
    Hive hive(root_);
    Node* source = hive.Find(from, false);
    if (!source)
        return;
    auto copy = source->Clone();
    hive.Find(to, true)->Merge(*copy);
    if (deleteOld) {
        const std::string last = from.back();
        from.pop_back();
        hive.Find(from, false)->keys.erase(last);
    }
    hive.Save();
}

bool TRegistry::HasSubKeys()
{
    RequireOpenKey("podklíče");
    Hive hive(root_);
    Node* node = hive.Find(currentPath_, false);
    return node && !node->keys.empty();
}

void TRegistry::GetKeyNames(TStrings& names)
{
    names.Clear();
    if (!open_)
        return;
    Hive hive(root_);
    if (Node* node = hive.Find(currentPath_, false))
        for (const auto& entry : node->keys)
            names.Add(entry.first);
}

void TRegistry::GetValueNames(TStrings& names)
{
    names.Clear();
    if (!open_)
        return;
    Hive hive(root_);
    if (Node* node = hive.Find(currentPath_, false))
        for (const auto& entry : node->values)
            names.Add(entry.first);
}

bool TRegistry::ValueExists(const std::string& name)
{
    return GetDataType(name) != TRegDataType::rdUnknown;
}

TRegDataType TRegistry::GetDataType(const std::string& name)
{
    if (!open_)
        return TRegDataType::rdUnknown;
    Hive hive(root_);
    Node* node = hive.Find(currentPath_, false);
    if (!node)
        return TRegDataType::rdUnknown;
    auto it = node->values.find(name);
    return it == node->values.end() ? TRegDataType::rdUnknown : it->second.type;
}

bool TRegistry::DeleteValue(const std::string& name)
{
    RequireWritable(name);
    Hive hive(root_);
    Node* node = hive.Find(currentPath_, false);
    if (!node || node->values.erase(name) == 0)
        return false;
    hive.Save();
    return true;
}

std::string TRegistry::ReadString(const std::string& name)
{
    RequireOpenKey("čtení");
    Hive hive(root_);
    Node* node = hive.Find(currentPath_, false);
    if (!node)
        return {};
    auto it = node->values.find(name);
    if (it == node->values.end())
        return {};
    if (it->second.type != TRegDataType::rdString)
        throw ERegistryException("Hodnota '" + name + "' v registru není text");
    return it->second.text;
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    RequireWritable(name);
    Hive hive(root_);
    Value& slot = hive.Find(currentPath_, true)->values[name];
    slot.type = TRegDataType::rdString;
    slot.text = value;
    hive.Save();
}

std::int32_t TRegistry::ReadInteger(const std::string& name)
{
    RequireOpenKey("čtení");
    Hive hive(root_);
    if (Node* node = hive.Find(currentPath_, false)) {
        auto it = node->values.find(name);
        if (it != node->values.end() && it->second.type == TRegDataType::rdInteger)
            return it->second.number;
    }
    throw ERegistryException("Hodnota '" + name + "' v registru není číslo");
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value)
{
    RequireWritable(name);
    Hive hive(root_);
    Value& slot = hive.Find(currentPath_, true)->values[name];
    slot.type = TRegDataType::rdInteger;
    slot.text.clear();
    slot.number = value;
    hive.Save();
}

} // namespace core
