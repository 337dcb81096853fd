// What both fuzzers need besides their reader: a sink that counts what the analyst
// would be told, and a check that stops the run with a reason libFuzzer records.
#pragma once

#include "model/Messages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

class CountingSink : public IMessageSink {
public:
    void ShowMessage(const std::string&) override { ++Count; }
    int Count = 0;
};

inline void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}
