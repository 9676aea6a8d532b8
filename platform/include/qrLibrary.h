#pragma once
// A dynamic library loaded at run time, as a host loads a plug-in: its
// exported symbols and, where the system keeps them in the file, its
// resources.
#include <optional>
#include <string>
#include <string_view>

namespace Quarn::Platform {

class Library {
public:
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library();

    // Loads `path`; false, with the system's reason in `error`, when it
    // cannot be loaded. A library already loaded is released first.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return handle_ != nullptr; }

    // The address of the exported `name`, or null with the reason in `error`.
    void* symbol(const char* name, std::string& error) const;

    // The bytes of the resource of type `type` and number `id`; nothing
    // when the library has none (always so where resources are not kept
    // in the file).
    std::optional<std::string_view> resource(const char* type, int id) const;

private:
    void close();

    void* handle_ = nullptr;
};

}  // namespace Quarn::Platform
