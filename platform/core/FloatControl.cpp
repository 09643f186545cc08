#include "platform/core/FloatControl.h"

namespace core {

TFloatEnvironment TFloatEnvironment::Current()
{
    TFloatEnvironment result;
    std::fegetenv(&result.env_);
    return result;
}

void TFloatEnvironment::Apply() const
{
    std::fesetenv(&env_);
}

void MaskFloatExceptions()
{
    std::feclearexcept(FE_ALL_EXCEPT);
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}

int TrappingFloatExceptions()
{
    return fegetexcept() & FE_ALL_EXCEPT;
}

void UnmaskFloatExceptions(int exceptions)
{
    std::feclearexcept(exceptions & FE_ALL_EXCEPT);
    feenableexcept(exceptions & FE_ALL_EXCEPT);
}

} // namespace core
