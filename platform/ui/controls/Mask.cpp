#include "platform/ui/controls/Mask.h"

#include <QLineEdit>

#include <string_view>

namespace ui {

std::string QtInputMask(const std::string& editMask)
{
    const std::string first = editMask.substr(0, editMask.find(';'));
    if (first.empty())
        return {};
    std::string out;
    for (std::size_t i = 0; i < first.size(); ++i) {
        const char c = first[i];
        switch (c) {
        case '0': out += '9'; break;
        case '9': out += '0'; break;
        case '#': out += '#'; break;
        case 'L': out += 'A'; break;
        case 'l': out += 'a'; break;
        case 'A': out += 'N'; break;
        case 'a': out += 'n'; break;
        case 'C': out += 'X'; break;
        case 'c': out += 'x'; break;
        case '\\':
            if (i + 1 < first.size())
                out += std::string("\\") + first[++i];
            break;
        default:
            // Characters that are mask characters to Qt but literals here.
            if (std::string_view("XxNnHhBbDd").find(c) != std::string_view::npos)
                out += '\\';
            out += c;
            break;
        }
    }
    // Optional places left empty read as nothing.
    return out + "; ";
}

void TMaskEdit::SetEditMask(const std::string& mask)
{
    editMask_ = mask;
    if (LineEdit() != nullptr)
        LineEdit()->setInputMask(QString::fromStdString(QtInputMask(mask)));
}

} // namespace ui
