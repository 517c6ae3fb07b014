#include "system/MemoryRegistry.h"

#include <cctype>
#include <vector>

namespace tessaly {
namespace {

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// Splits a registry path at its backslashes; empty parts (doubled or trailing) are dropped.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

const MemoryRegistry::Node* Find(const MemoryRegistry::Node& from, const std::string& path) {
    const MemoryRegistry::Node* node = &from;
    for (const std::string& part : SplitPath(path)) {
        auto it = node->children.find(Lower(part));
        if (it == node->children.end()) {
            return nullptr;
        }
        node = it->second.get();
    }
    return node;
}

class MemoryKey final : public RegistryKey {
public:
    explicit MemoryKey(const MemoryRegistry::Node& node) : node_(node) {}

    std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path) override {
        const MemoryRegistry::Node* found = Find(node_, path);
        return found ? std::make_unique<MemoryKey>(*found) : nullptr;
    }

    std::optional<std::string> QueryString(const std::string& name,
                                           std::size_t bufferBytes) override {
        auto it = node_.values.find(Lower(name));
        if (it == node_.values.end() || it->second.size() + 1 > bufferBytes) {
            return std::nullopt;
        }
        return it->second;
    }

    std::optional<std::string> EnumSubKey(std::size_t index, std::size_t bufferChars) override {
        if (index >= node_.children.size()) {
            return std::nullopt;
        }
        auto it = node_.children.begin();
        std::advance(it, static_cast<std::ptrdiff_t>(index));
        const std::string& name = it->second->name;
        if (name.size() + 1 > bufferChars) {
            return std::nullopt;
        }
        return name;
    }

private:
    const MemoryRegistry::Node& node_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : root_(std::make_unique<Node>()) {}

MemoryRegistry::~MemoryRegistry() {
    // Level by level, not each node destroying the next: a key nested a few hundred thousand
    // levels deep would overflow the stack.
    std::vector<std::unique_ptr<Node>> pending;
    pending.push_back(std::move(root_));
    while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        for (auto& [name, child] : node->children) {
            pending.push_back(std::move(child));
        }
    }
}

MemoryRegistry::Node& MemoryRegistry::CreateKey(const std::string& path) {
    Node* node = root_.get();
    for (const std::string& part : SplitPath(path)) {
        std::unique_ptr<Node>& child = node->children[Lower(part)];
        if (!child) {
            child = std::make_unique<Node>();
            child->name = part;
        }
        node = child.get();
    }
    return *node;
}

void MemoryRegistry::SetString(const std::string& path, const std::string& name,
                               const std::string& data) {
    CreateKey(path).values[Lower(name)] = data;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenLocalMachineKey(const std::string& path) {
    const Node* found = Find(*root_, path);
    return found ? std::make_unique<MemoryKey>(*found) : nullptr;
}

}  // namespace tessaly
