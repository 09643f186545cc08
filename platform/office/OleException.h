#pragma once
// The error the spreadsheet automation raises: a refused property value, an
// invalid address or index, a failed save.

#include "platform/core/Exceptions.h"

namespace office {

class EOleException : public core::EOleError {
public:
    using core::EOleError::EOleError;
};

} // namespace office
