// Random analysts walk the whole program from reproducible seeds; nothing may crash and
// the walk's rules must hold after every action. A longer walk: scripts/random-walk.sh.
#include "RandomWalk.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int FromEnvironment(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// The walk works in a folder of its own: a path without a drive would then name one on
// that folder's drive on Windows, so every path is made whole before.
QStringList Absolute(const QStringList& paths)
{
    QStringList whole;
    for (const QString& path : paths)
        whole.push_back(QFileInfo(path).absoluteFilePath());
    return whole;
}

QStringList DataFiles()
{
    const QString data = QStringLiteral(VARDUN_TEST_DATA);
    const QString seeds = QStringLiteral(VARDUN_SOURCE_DIR "/fuzz/seeds/datafile/");
    return Absolute({ data + QStringLiteral("/example.sav"), data + QStringLiteral("/sample.sav"),
        QStringLiteral(VARDUN_SOURCE_DIR "/sample/example-variant.sav"), seeds + QStringLiteral("mixed.sav"),
        seeds + QStringLiteral("no-layer.sav"), seeds + QStringLiteral("empty.sav") });
}

QStringList Dictionaries()
{
    const QString seeds = QStringLiteral(VARDUN_SOURCE_DIR "/fuzz/seeds/dictionary/");
    return Absolute({ QStringLiteral(VARDUN_SOURCE_DIR "/sample/default.dic"), seeds + QStringLiteral("long.dic"),
        seeds + QStringLiteral("empty.dic") });
}

TEST(RandomWalk, ThousandsOfRandomActionsKeepTheRules)
{
    const int seed = FromEnvironment("VARDUN_WALK_SEED", 20261210);
    const int actions = FromEnvironment("VARDUN_WALK_ACTIONS", 3000);
    const int walks = FromEnvironment("VARDUN_WALKS", 1);
    for (int walk = 0; walk < walks; ++walk) {
        const auto walkSeed = static_cast<std::uint32_t>(seed + walk);
        RandomWalk walker(walkSeed, DataFiles(), Dictionaries());
        const std::optional<std::string> fault = walker.Run(actions);
        std::string reach;
        for (const auto& [window, count] : walker.ActionsPerWindow())
            reach += " " + window + ":" + std::to_string(count);
        std::printf("seed %u: %d actions, %d restarts;%s\n", walkSeed, actions, walker.Restarts(), reach.c_str());
        EXPECT_FALSE(fault) << "seed " << walkSeed << ": " << *fault;
        if (fault)
            break;
    }
}

} // namespace
