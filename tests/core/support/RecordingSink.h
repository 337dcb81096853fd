// A message sink for tests: keeps every message so a test can check what the analyst
// would have been told, and that nothing else was said.
#pragma once

#include "model/Messages.h"

#include <string>
#include <vector>

class RecordingSink : public IMessageSink {
public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }

    std::vector<std::string> Messages;
};
