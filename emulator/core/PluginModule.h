// A plug-in file loaded into the process, as a host loads one: its code by the system's
// dynamic loader, its entry point by name, its resources from the file. The platform's
// loader defines the loading (emulator/platform/PluginModule.cpp).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "emulator/core/Resources.h"
#include "plugin/host/Messages.h"

namespace emulator {

class PluginModule {
  public:
    // Loads the file; null with a reason in *error when it is not a plug-in.
    static std::unique_ptr<PluginModule> Load(const std::filesystem::path& file,
                                              std::string* error);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    const std::filesystem::path& File() const { return file_; }
    const emulator::Resources& Bundle() const { return resources_; }
    // Calls the entry point; the code must be loaded.
    ASErr Call(const char* caller, const char* selector, void* message) const;

    bool CodeLoaded() const { return library_ != nullptr; }
    // Unloads the code (the resources stay known); LoadCode brings it back.
    void UnloadCode();
    bool LoadCode(std::string* error);

  private:
    PluginModule(std::filesystem::path file, emulator::Resources resources);

    std::filesystem::path file_;
    emulator::Resources resources_;
    void* library_ = nullptr;
    PluginMainFunction entry_ = nullptr;
};

// The text of `path` as the host hands paths to plug-ins on this system: the file system's
// bytes on POSIX systems; on Windows the ANSI code page, which plug-ins read (Windows-1252
// on a Western system). Nothing when a character of the path has no equivalent there.
std::optional<std::string> PluginPathText(const std::filesystem::path& path);

// The path that a plug-in's path text names: the inverse of PluginPathText.
std::filesystem::path PathFromPluginText(const std::string& text);

}  // namespace emulator
