// The printable report of an assessment file as a PDF, made without a display.
#pragma once

#include "tools/report/Report.h"

#include <optional>
#include <string>

class CData;
class IMessageSink;

// False, with a message, when the report was not written or this build has no windows.
// With `other` (--compare, read from `otherName`) the report ends with the comparison.
bool WritePdfReport(const CData& loaded, const std::string& inputName, const std::string& path,
    const std::optional<RatingRequest>& rating, IMessageSink& messages, const CData* other = nullptr,
    const std::string& otherName = {});
