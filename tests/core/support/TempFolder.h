// A folder of its own for a test's files, removed with everything in it afterwards,
// and plain byte access to files that does not go through the code under test. Paths
// are UTF-8, as everywhere in the program.
#pragma once

#include "model/PrivateFolder.h"
#include "model/Utf8Path.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder()
    {
        const std::optional<std::string> made = CreatePrivateFolder("vardun-test-");
        if (!made)
            throw std::runtime_error("no temporary folder could be made");
        path_ = PathFromUtf8(*made);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string Path(const std::string& name) const { return Utf8FromPath(path_ / PathFromUtf8(name)); }
    const std::filesystem::path& Root() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// The permission bits of a file as chmod sets them; on Windows a file without the
// owner's write bit is read-only, and the other bits have no meaning there.
inline bool SetPermissions(const std::string& path, unsigned bits)
{
    std::error_code error;
    std::filesystem::permissions(PathFromUtf8(path), static_cast<std::filesystem::perms>(bits), error);
    return !error;
}
