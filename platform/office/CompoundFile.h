#pragma once
// Writer of a compound document (structured storage, version 3: 512-byte
// sectors) holding one stream under the root storage. A stream shorter than
// 4096 bytes lives in the mini stream (64-byte mini sectors), as the format
// requires; a longer one in regular sectors. Files of any size are written:
// past 109 allocation-table sectors their list goes on in DIFAT sectors.

#include <string>
#include <string_view>

namespace office {

// The whole file; streamName has at most 31 characters (ASCII).
std::string WriteCompoundFile(std::string_view streamName, std::string_view stream);

} // namespace office
