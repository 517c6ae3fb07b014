#pragma once

#include <optional>
#include <string>

#include "wizard/DialogPresenter.h"

namespace tessaly {

class FileSystem;

// The folder chooser of the output page: it starts at the initial folder, or at its nearest
// existing parent (the default output directory is created by the generation), and its status
// line shows the current selection, shortened.
class DirectoryBrowserPresenter final : public DialogPresenter {
public:
    DirectoryBrowserPresenter(std::string initialFolder, FileSystem& files);

    // Where the chooser opens; nullopt when no folder on the way exists (the view's own start,
    // the home folder).
    std::optional<std::string> StartFolder() const;
    // The folder selected now, the chosen one after OK.
    const std::string& selection() const { return selection_; }

    // The chooser's selection moved to `path`.
    void OnFolderSelected(const std::string& path);

protected:
    void OnInitDialog() override;

private:
    std::string initialFolder_;
    FileSystem& files_;
    std::string selection_;
};

}  // namespace tessaly
