// Where the core's messages for the analyst go. The desktop program shows them in
// message boxes, the tools print them, the tests record them.
#pragma once

#include <string>

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // The text is UTF-8, exactly as the analyst should read it.
    virtual void ShowMessage(const std::string& text) = 0;
};
