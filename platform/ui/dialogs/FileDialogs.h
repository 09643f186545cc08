#pragma once
// The open and save dialog components. Execute asks the dialog service.

#include "platform/core/Component.h"
#include "platform/ui/kernel/Dialogs.h"

#include <string>

namespace ui {

class TOpenDialog : public core::TComponent {
public:
    explicit TOpenDialog(core::TComponent* owner) : core::TComponent(owner) {}
    std::string ClassName() const override { return "TOpenDialog"; }

    // True when the user chose a file; FileName() then holds it.
    virtual bool Execute();

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

protected:
    bool Run(bool save);

private:
    std::string fileName_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string defaultExt_;
    std::string initialDir_;
    std::string title_;
};

// A save dialog adds the default extension to a name chosen without one.
class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(core::TComponent* owner) : TOpenDialog(owner) {}
    std::string ClassName() const override { return "TSaveDialog"; }
    bool Execute() override;
};

} // namespace ui
