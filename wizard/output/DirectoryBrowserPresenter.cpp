#include "wizard/output/DirectoryBrowserPresenter.h"

#include <utility>

#include "output/FolderStatusText.h"
#include "platform/FileSystem.h"
#include "wizard/PageIds.h"

namespace tessaly {

DirectoryBrowserPresenter::DirectoryBrowserPresenter(std::string initialFolder, FileSystem& files)
    : DialogPresenter(kDirectoryBrowserDialog),
      initialFolder_(std::move(initialFolder)),
      files_(files) {}

std::optional<std::string> DirectoryBrowserPresenter::StartFolder() const {
    const char separator = files_.Separator();
    std::string folder = initialFolder_;
    while (!folder.empty()) {
        const FileAttributes attributes = files_.QueryAttributes(folder);
        if (attributes.ok() && attributes.isDirectory) {
            return folder;
        }
        const auto last = folder.find_last_of(separator);
        if (last == std::string::npos) {
            break;
        }
        // The root keeps its separator.
        std::string parent = folder.substr(0, last == 0 ? 1 : last);
        if (parent == folder) {
            break;
        }
        folder = std::move(parent);
    }
    return std::nullopt;
}

void DirectoryBrowserPresenter::OnInitDialog() {
    OnFolderSelected(initialFolder_);
}

void DirectoryBrowserPresenter::OnFolderSelected(const std::string& path) {
    selection_ = path;
    if (attached()) {
        view().SetText(kStatusText, ShortenStatusText(path));
    }
}

}  // namespace tessaly
