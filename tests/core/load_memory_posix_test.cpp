// Loading a file larger than the memory left: refused with a message like a malformed
// file, the store or lists as they were, the program still running. It used to end with
// std::bad_alloc and take the unsaved work of the windows along. Each load runs in a child
// process under an address-space limit, from a little above what the process uses to
// plenty, so that memory runs out at every stage of reading and parsing on the way.
#include "model/Data.h"
#include "model/Dictionary.h"
#include "support/RandomAssessment.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// AddressSanitizer reserves terabytes of shadow memory and ignores the limit.
#if defined(__SANITIZE_ADDRESS__)
#define VARDUN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARDUN_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

const std::string kOutOfMemory = "Недостаточно памяти для загрузки файла.";

// What a load in a child came to.
enum Outcome : int {
    kLoaded = 0,
    kRefused = 1, // the memory message, the old contents kept
    kWrong = 2, // another message, several, or contents changed
    kEscaped = 4, // an exception came out of the loader
};

std::size_t AddressSpaceInUse()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Runs `load` in a child with `extra` bytes of address space beyond what it uses at the
// start; the exit status of a child that ended normally, or -1 (a crash). The child never
// returns into the test.
int InChildWithLimit(std::size_t extra, const std::function<Outcome()>& load)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        rlimit limit {};
        ::getrlimit(RLIMIT_AS, &limit);
        const rlimit old = limit;
        limit.rlim_cur = AddressSpaceInUse() + extra;
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(3);
        int outcome = kEscaped;
        try {
            outcome = load();
        } catch (...) {
        }
        ::setrlimit(RLIMIT_AS, &old);
        ::_exit(outcome);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The outcomes from a tight limit to a generous one: none may crash or misreport, the
// tightest must be refused, the most generous loaded.
void ExpectRefusedOrLoaded(const std::function<Outcome()>& load)
{
    const std::size_t megabyte = 1u << 20;
    std::vector<std::size_t> extras;
    for (std::size_t extra = 1; extra <= 24; ++extra)
        extras.push_back(extra);
    for (std::size_t extra : { 32, 48, 64, 128, 512 })
        extras.push_back(extra);
    std::vector<int> outcomes;
    for (std::size_t extra : extras) {
        const int outcome = InChildWithLimit(extra * megabyte, load);
        outcomes.push_back(outcome);
        EXPECT_TRUE(outcome == kLoaded || outcome == kRefused) << extra << " MB more: outcome " << outcome;
    }
    EXPECT_EQ(outcomes.front(), kRefused);
    EXPECT_EQ(outcomes.back(), kLoaded);
}

class LoadMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef VARDUN_ADDRESS_SANITIZER
        GTEST_SKIP() << "AddressSanitizer ignores the address-space limit";
#endif
    }

    TempFolder folder;
};

TEST_F(LoadMemory, ADataFileTooLargeForTheMemoryLeftIsRefusedAndTheStoreKept)
{
    const std::string path = folder.Path("large.sav");
    {
        RecordingSink sink;
        ASSERT_TRUE(RandomAssessment(500, 7).SaveToFile(path, sink));
    }
    ExpectRefusedOrLoaded([&path] {
        CData store = RandomAssessment(2, 3);
        const CData before = store;
        RecordingSink sink;
        if (store.LoadFromFile(path, sink))
            return sink.Messages.empty() && store.LayerCount == 500 && store.FM.Rows() == 500 ? kLoaded : kWrong;
        const bool kept = store.LayerNames == before.LayerNames && store.LayerIndices == before.LayerIndices
            && store.LayerCount == before.LayerCount && store.MT.Rows() == before.MT.Rows()
            && store.MT(0, 0) == before.MT(0, 0) && store.FM.Cols() == before.FM.Cols();
        return sink.Messages == std::vector<std::string> { kOutOfMemory } && kept ? kRefused : kWrong;
    });
}

TEST_F(LoadMemory, ADictionaryTooLargeForTheMemoryLeftIsRefusedAndTheListsKept)
{
    const std::string path = folder.Path("large.dic");
    {
        NameLists large;
        for (int i = 0; i < 60000; ++i) {
            const std::string number = std::to_string(i);
            large.Layers.push_back("Эшелон защиты номер " + number);
            large.Threats.push_back("Угроза безопасности номер " + number);
            large.Mechanisms.push_back("Механизм защиты номер " + number);
        }
        RecordingSink sink;
        ASSERT_TRUE(SaveDictionary(path, large, sink));
    }
    ExpectRefusedOrLoaded([&path] {
        const NameLists before { { "Периметр" }, { "Вирус" }, { "Антивирус" } };
        NameLists lists = before;
        RecordingSink sink;
        if (LoadDictionary(path, lists, sink))
            return sink.Messages.empty() && lists.Mechanisms.size() == 60000 ? kLoaded : kWrong;
        const bool kept
            = lists.Layers == before.Layers && lists.Threats == before.Threats && lists.Mechanisms == before.Mechanisms;
        return sink.Messages == std::vector<std::string> { kOutOfMemory } && kept ? kRefused : kWrong;
    });
}

} // namespace
