// Saving a data file where a POSIX system can make a write fail half-way.
#include "model/Data.h"
#include "tests/core/support/RecordingSink.h"
#include "tests/core/support/SampleStores.h"
#include "tests/core/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Lets a test make writes fail even as root: past the limit a write returns EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST(DataFile, AWriteThatFailsHalfWayKeepsTheOldFile)
{
    TempFolder folder;
    const std::string target = folder.Path("kept.sav");
    WriteBytes(target, SampleBytes());
    const CData store = RichStore();
    RecordingSink sink;
    bool saved = true;
    {
        FileSizeLimit limit(1000);
        saved = store.SaveToFile(target, sink);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(sink.Messages, std::vector<std::string> { "Не удалось сохранить файл " + target + "." });
    EXPECT_EQ(ReadBytes(target), SampleBytes());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()), {}), 1);
}
