#pragma once
// Errors of the drawing layer.

#include "platform/core/Exceptions.h"

namespace gfx {

// Picture data that cannot be read: a damaged or foreign file.
class EInvalidGraphic : public core::Exception {
public:
    using core::Exception::Exception;
};

// A drawing call that the object cannot serve in its present state.
class EInvalidGraphicOperation : public core::Exception {
public:
    using core::Exception::Exception;
};

} // namespace gfx
