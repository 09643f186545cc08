#pragma once
// The error of readers and writers of stored data: binary data kept as text,
// lengths of embedded streams, missing root objects.

#include "platform/core/Exceptions.h"

namespace core {

class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

} // namespace core
