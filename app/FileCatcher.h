#pragma once
// The files of one drop on a window: holds the platform's drop handle while it
// lives and gives it back when it goes.

#include "platform/ui/kernel/DropFiles.h"

#include <string>

namespace app {

class TFileCatcher {
public:
    explicit TFileCatcher(ui::HDROP drop) : drop_(drop) {}
    ~TFileCatcher() { ui::DragFinish(drop_); }
    TFileCatcher(const TFileCatcher&) = delete;
    TFileCatcher& operator=(const TFileCatcher&) = delete;

    int GetFileCount() const;
    // The full name of file index.
    std::string GetFile(int index) const;

private:
    ui::HDROP drop_;
};

} // namespace app
