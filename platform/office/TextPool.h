#pragma once
// The texts of a workbook's cells, each distinct text kept once; cells refer
// to a text by index. The file keeps its texts the same way (a shared table),
// so the writer finds them already counted out.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace office {

class TTextPool {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    std::uint32_t Intern(std::string_view text) {
        if (const auto it = index_.find(text); it != index_.end())
            return it->second;
        const auto id = static_cast<std::uint32_t>(texts_.size());
        // A deque never moves its elements, so the views in index_ stay valid.
        const std::string& stored = texts_.emplace_back(text);
        index_.emplace(stored, id);
        return id;
    }
    const std::string& operator[](std::uint32_t id) const { return texts_[id]; }
    std::size_t Count() const { return texts_.size(); }

private:
    std::deque<std::string> texts_;
    std::unordered_map<std::string_view, std::uint32_t> index_;
};

} // namespace office
