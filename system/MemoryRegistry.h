#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace tessaly {

// A registry held in memory: the keys and string values of HKEY_LOCAL_MACHINE. Key and value
// names match without regard to case, as on Windows; subkeys enumerate in name order.
class MemoryRegistry final : public Registry {
public:
    struct Node {
        std::string name;                                       // as first written
        std::map<std::string, std::string> values;              // lower-case name -> data
        std::map<std::string, std::unique_ptr<Node>> children;  // lower-case name -> key
    };

    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    // Creates the key (and all keys above it); `path` is below HKEY_LOCAL_MACHINE.
    Node& CreateKey(const std::string& path);
    // Creates the key if needed and sets a string value; "" names the default value.
    void SetString(const std::string& path, const std::string& name, const std::string& data);

    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override;

private:
    std::unique_ptr<Node> root_;
};

}  // namespace tessaly
