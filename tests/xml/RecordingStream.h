#pragma once
// A memory stream that records the size of each write it receives and
// refuses everything after `limit` bytes, for the tests of buffered writing.

#include "platform/core/Streams.h"

#include <cstdint>
#include <vector>

namespace xmltest {

class RecordingStream : public core::TMemoryStream {
public:
    std::vector<std::int64_t> writes;
    std::int64_t limit = 1 << 30;
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        writes.push_back(count);
        if (Size() + count > limit)
            return 0;
        return TMemoryStream::Write(buffer, count);
    }
};

} // namespace xmltest
