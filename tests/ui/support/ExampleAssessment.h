// The example assessment of the tests' data, for tests whose own loading must not fail:
// any message it raises fails the test.
#pragma once

#include "model/Data.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

#include <string>

struct FailOnMessage : IMessageSink {
    void ShowMessage(const std::string& text) override { ADD_FAILURE() << text; }
};

inline CData LoadExample()
{
    CData data;
    FailOnMessage messages;
    EXPECT_TRUE(data.LoadFromFile(VARDUN_TEST_DATA "/example.sav", messages));
    return data;
}
