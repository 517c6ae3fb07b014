#pragma once

#include "platform/Shell.h"

namespace tessaly {

// Opens folders through the desktop's file manager; anything else goes to `fallback`.
class QtShell final : public Shell {
public:
    explicit QtShell(Shell& fallback) : fallback_(fallback) {}

    bool OpenFolder(const std::string& path) override;
    int Execute(const std::string& file, const std::string& parameters) override {
        return fallback_.Execute(file, parameters);
    }

private:
    Shell& fallback_;
};

}  // namespace tessaly
