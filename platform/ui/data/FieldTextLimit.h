#pragma once
// What a user types or pastes into an edit bound to a text field stays
// within the characters the field holds, and the user is told what was cut
// with the words the database uses when a longer text reaches it.

#include <string>

class QLineEdit;

namespace data {
class TField;
}

namespace ui {

// Cuts the edit's text to the characters the field holds, dropping what went
// in last (the characters just before the cursor), and returns the message
// that tells the user; empty when the text fits or the field is no sized text.
std::string KeepWithinField(QLineEdit* edit, const data::TField& field);

} // namespace ui
