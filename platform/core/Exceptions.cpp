#include "platform/core/Exceptions.h"

namespace core {

void Abort() { throw EAbort(); }

} // namespace core
