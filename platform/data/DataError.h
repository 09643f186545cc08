#pragma once
// Errors of the data-set layer. EDatabaseError carries the messages of the
// data sets themselves ("Konverze_ADOQuery: Field 'x' not found"); EADOError
// carries what the database engine reported.

#include "platform/core/Exceptions.h"

#include <string>

namespace core {
class TComponent;
}

namespace data {

class EDatabaseError : public core::Exception {
public:
    using core::Exception::Exception;
};

class EADOError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// Raises EDatabaseError with the message, prefixed by "<Name>: " when the
// component has a name.
[[noreturn]] void DatabaseError(const std::string& message, const core::TComponent* component = nullptr);

} // namespace data
