#pragma once
// The two generated documents of about 50 MB on which loading and saving are
// measured beside the peer libraries.

#include <cstddef>
#include <string>

namespace xmlbench {

inline constexpr std::size_t kDocumentSize = 50u * 1000u * 1000u;

// Records of a conversion register with CR LF line ends: elements nested three
// deep, a few attributes, texts with Czech letters and entity references,
// numbers that make most values unique.
std::string RegisterDocument(std::size_t size = kDocumentSize);

// A goods catalogue with LF line ends: many short elements with three or four
// attributes each, short texts, comments, CDATA sections, character and entity
// references, Czech text.
std::string CatalogDocument(std::size_t size = kDocumentSize);

} // namespace xmlbench
