#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompter.h"

namespace tessaly {

// ";" followed by 75 "=": the rule line of every generated file.
inline constexpr std::string_view kRuleLine =
    ";===========================================================================";
static_assert(kRuleLine.size() == 76);

// Builds a generated file: every line ends with CR LF, bytes are copied unchanged.
class InfText {
public:
    InfText& Line(std::string_view text = {}) {
        text_.append(text);
        text_.append("\r\n");
        return *this;
    }
    InfText& Rule() { return Line(kRuleLine); }
    // A line made of several pieces.
    template <typename... Pieces>
    InfText& Join(const Pieces&... pieces) {
        (text_.append(std::string_view(pieces)), ...);
        text_.append("\r\n");
        return *this;
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// Saves a generated file, replacing the one at `path` whole or not at all; when that fails (no
// folder, no room, an I/O error) shows `failureMessage` with the exclamation icon, so the
// generation can go on. Returns whether the file was saved.
inline bool SaveGeneratedFile(const std::string& path, const std::string& bytes,
                              std::string_view failureMessage, FileSystem& files,
                              Prompter& prompter) {
    if (files.WriteFile(path, bytes)) {
        return true;
    }
    prompter.ShowMessage(std::string(failureMessage), MessageIcon::Exclamation);
    return false;
}

// Saves a generated file that names Plug and Play hardware IDs, as SaveGeneratedFile does, and
// appends the IDs to `recorded` only once the file is there: installation updates the drivers of
// the recorded IDs.
inline bool SaveNamingHardwareIds(const std::string& path, const std::string& bytes,
                                  const std::vector<std::string>& ids,
                                  std::string_view failureMessage,
                                  std::vector<std::string>& recorded, FileSystem& files,
                                  Prompter& prompter) {
    if (!SaveGeneratedFile(path, bytes, failureMessage, files, prompter)) {
        return false;
    }
    recorded.insert(recorded.end(), ids.begin(), ids.end());
    return true;
}

}  // namespace tessaly
