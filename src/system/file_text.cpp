#include "system/file_text.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace adequacy::system {

FileText readFileText(const std::string& path, long maxBytes) {
    FileText result;
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        result.problem = "is a folder, not a file";
        return result;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        result.problem = std::string("cannot open: ") + std::strerror(errno);
        return result;
    }
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        result.text.append(buffer, count);
        if (static_cast<long>(result.text.size()) > maxBytes) {
            result.problem = "larger than " + std::to_string(maxBytes >> 20) + " MiB";
            return result;
        }
    }
    if (std::ferror(file.get()))
        result.problem = std::string("cannot read: ") + std::strerror(errno);
    return result;
}

}  // namespace adequacy::system
