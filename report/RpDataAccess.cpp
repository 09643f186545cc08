#include "report/RpDataAccess.h"

#include "platform/core/Letters.h"

namespace report {

int TRpDataSetAccess::FieldIndex(const std::string& name) const
{
    const int count = FieldCount();
    for (int i = 0; i < count; ++i) {
        const TRpFieldAccess* field = Field(i);
        if (field != nullptr && core::AnsiSameText(field->FieldName(), name))
            return i;
    }
    return -1;
}

} // namespace report
