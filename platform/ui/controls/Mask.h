#pragma once
// An edit whose text follows an edit mask: each mask character stands for a
// kind of character the user may type there.
//   0  a digit, required        9  a digit, optional
//   #  a digit or sign, optional
//   L  a letter, required       l  a letter, optional
//   A  a letter or digit, required   a  a letter or digit, optional
//   C  any character, required  c  any character, optional
//   \  the next character is literal; any other character is a literal
// A mask may end in sections after ";" (whether literals are kept, the blank
// character); only the first section shapes the input here.

#include "platform/ui/controls/Edits.h"

#include <string>

namespace ui {

class TMaskEdit : public TCustomEdit {
public:
    explicit TMaskEdit(core::TComponent* owner) : TCustomEdit(owner) {}
    std::string ClassName() const override { return "TMaskEdit"; }

    const std::string& EditMask() const { return editMask_; }
    // An empty mask lets any text through.
    void SetEditMask(const std::string& mask);

private:
    std::string editMask_;
};

// The Qt input mask of an edit mask.
std::string QtInputMask(const std::string& editMask);

} // namespace ui
