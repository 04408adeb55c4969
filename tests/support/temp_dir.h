#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    // Under the system's temporary folder, or under `parent`.
    explicit TempDir(const std::string& parent = std::filesystem::temp_directory_path().string()) {
        std::string tmpl = parent + "/kov-test-XXXXXX";
        // Without its folder a test would work on paths under the filesystem's root.
        if (!::mkdtemp(tmpl.data())) {
            throw std::runtime_error("cannot create a temporary folder " + tmpl);
        }
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

// A temporary Workspace with its folders.
class TempWorkspace : public TempDir {
public:
    explicit TempWorkspace(
        const std::string& parent = std::filesystem::temp_directory_path().string())
        : TempDir(parent) {
        for (const char* sub : {"Shells", "System", "Dbor", "Data", "Solving", "Reports"}) {
            std::filesystem::create_directories(path() + "/" + sub);
        }
    }
};
