#include "platform/ui/data/FieldTextLimit.h"

#include "platform/data/Field.h"

#include <QLineEdit>

#include <algorithm>

namespace ui {

std::string KeepWithinField(QLineEdit* edit, const data::TField& field)
{
    const bool text = field.DataType() == data::ftString || field.DataType() == data::ftWideString;
    if (edit == nullptr || !text || field.Size() <= 0)
        return {};
    // Characters, not UTF-16 units: a letter outside the basic plane is one.
    const std::u32string typed = edit->text().toStdU32String();
    const std::size_t limit = static_cast<std::size_t>(field.Size());
    if (typed.size() <= limit)
        return {};
    const std::size_t excess = typed.size() - limit;
    const std::size_t cursor = edit->text().left(edit->cursorPosition()).toStdU32String().size();
    const std::size_t end = std::max(cursor, excess);
    const std::u32string kept = typed.substr(0, end - excess) + typed.substr(end);
    edit->setText(QString::fromStdU32String(kept));
    edit->setCursorPosition(static_cast<int>(QString::fromStdU32String(kept.substr(0, end - excess)).size()));
    return data::TextTooLongMessage(field.DisplayLabel(), typed.size(), limit);
}

} // namespace ui
