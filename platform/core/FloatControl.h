#pragma once
// The floating-point environment of the calling thread: rounding and which
// floating-point exceptions trap. Code that hands control to foreign engines
// masks every exception and later gives the saved environment back.

#include <cfenv>

namespace core {

class TFloatEnvironment {
public:
    // The environment in force now.
    static TFloatEnvironment Current();
    // Makes this environment the thread's own again.
    void Apply() const;

private:
    std::fenv_t env_{};
};

// Every floating-point exception masked (none traps), rounding to nearest.
void MaskFloatExceptions();
// The exceptions that trap now, as FE_* bits; 0 when every exception is masked.
int TrappingFloatExceptions();
// Lets the given FE_* exceptions trap (unmasks them); the others keep their state.
void UnmaskFloatExceptions(int exceptions);

} // namespace core
