// The core-only build of the report tool has no windows to draw with.
#include "tools/report/ChartImages.h"

#include "model/Messages.h"

bool WriteChartImages(const CData&, const std::string&, const std::optional<RatingRequest>&, IMessageSink& messages)
{
    messages.ShowMessage("vardun-report: this build has no windows; --charts needs the full build");
    return false;
}

bool WriteChartSvgs(const CData&, const std::string&, const std::optional<RatingRequest>&, IMessageSink& messages)
{
    messages.ShowMessage("vardun-report: this build has no windows; --svg needs the full build");
    return false;
}
