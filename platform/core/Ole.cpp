#include "platform/core/Ole.h"

namespace core {

namespace {
thread_local int initCount = 0;
}

HRESULT OleInitialize(void*)
{
    return initCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (initCount > 0)
        --initCount;
}

int OleInitCount()
{
    return initCount;
}

} // namespace core
