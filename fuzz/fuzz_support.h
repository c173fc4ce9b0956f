// Shared by the fuzz targets: a private folder for the run, and writing the
// input into a file there for parsers that read files.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzzsupport {

// A folder of this process under the temporary folder, made on first use;
// it is also the application-data folder ($ZELKA_APPDATA) of the run.
inline const std::filesystem::path& folder()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelka-fuzz-XXXXXX").string();
        std::filesystem::path made = mkdtemp(pattern.data());
        setenv("ZELKA_APPDATA", made.c_str(), 1);
        return made;
    }();
    return dir;
}

inline std::filesystem::path writeInput(const std::filesystem::path& path, const uint8_t* data, size_t size)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace fuzzsupport
