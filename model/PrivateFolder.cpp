#include "model/PrivateFolder.h"

#include "model/Utf8Path.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace {

// A name taken by another folder is retried with other letters; this many tries all
// taken means something else is wrong.
constexpr int kTries = 100;
constexpr std::size_t kRandomLetters = 6;
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

std::optional<std::string> CreatePrivateFolder(std::string_view prefix)
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return std::nullopt;
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        std::string name(prefix);
        for (std::size_t k = 0; k < kRandomLetters; ++k)
            name += kLetters[pick(device)];
        const std::filesystem::path path = base / PathFromUtf8(name);
        // False without an error: the name is taken.
        if (!std::filesystem::create_directory(path, error)) {
            if (error)
                return std::nullopt;
            continue;
        }
        // Only the owner may look inside, before anything is put there.
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, error);
        if (error) {
            std::filesystem::remove(path, error);
            return std::nullopt;
        }
        return Utf8FromPath(path);
    }
    return std::nullopt;
}
