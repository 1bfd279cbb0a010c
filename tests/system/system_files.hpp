#pragma once
// A fresh folder for the system files of one test, removed afterwards.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace adequacy::testing {

class SystemFileFolder {
  public:
    SystemFileFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "systemXXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
    }
    ~SystemFileFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    SystemFileFolder(const SystemFileFolder&) = delete;
    SystemFileFolder& operator=(const SystemFileFolder&) = delete;

    // Writes `name` in the folder and returns its path.
    std::string write(const std::string& name, const std::string& text) const {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

  private:
    std::filesystem::path dir_;
};

}  // namespace adequacy::testing
