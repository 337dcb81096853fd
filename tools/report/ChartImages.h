// What the analysis windows show, as PNG images of their whole client areas, for an
// assessment as it was loaded: each mode window after its computation with the file's
// thresholds and every chart cell ticked. Made with the program's own windows, on Qt's
// offscreen platform, so no display is needed.
#pragma once

#include "tools/report/Report.h"

#include <optional>
#include <string>

class CData;
class IMessageSink;

// Writes chart-mode1.png .. chart-mode4.png, chart-mmee.png and, for a rating request,
// chart-rating.png (its selection checked, its levels typed) into `folder` (made if
// missing). False, with a message, when an image could not be written or this build has
// no windows.
bool WriteChartImages(
    const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating, IMessageSink& messages);

// The same charts as SVG drawings, chart-mode1.svg .. chart-rating.svg: lines, rectangles
// and texts stay what they are.
bool WriteChartSvgs(
    const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating, IMessageSink& messages);
