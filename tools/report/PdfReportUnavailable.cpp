// The core-only build of the report tool has no means to draw a PDF.
#include "tools/report/PdfReport.h"

#include "model/Messages.h"

bool WritePdfReport(const CData&, const std::string&, const std::string&, const std::optional<RatingRequest>&,
    IMessageSink& messages, const CData*, const std::string&)
{
    messages.ShowMessage("vardun-report: this build has no windows; --pdf needs the full build");
    return false;
}
