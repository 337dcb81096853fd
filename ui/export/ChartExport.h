// A chart out of the program: as a PNG picture, the window's area as on screen at 1:1, or
// as an SVG drawing in which lines, rectangles and texts stay what they are.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class Canvas;
class QLabel;
class QWidget;

// Set to true on a label whose picture is a curve marker (an outlined ellipse filling the
// picture): a drawing then has it as an ellipse, not as a bitmap.
inline constexpr char kMarkerPictureProperty[] = "chartMarkerPicture";

struct ChartPicture {
    // The widget the chart is drawn on, with the labels and controls over it.
    QWidget* Surface = nullptr;
    // The chart's drawing in the surface's coordinates.
    std::function<void(Canvas&)> Draw;
    // The labels that belong to the chart (axis names, numbers, values), which the
    // drawing leaves to the window; children of the surface.
    std::vector<QLabel*> Labels;
};

// The chart as a PNG picture of its surface at 1:1, labels and controls included; none when
// nothing could be drawn.
std::optional<std::string> ChartPng(const ChartPicture& chart);
// The chart as an SVG drawing of its own shapes and its labels' texts.
std::optional<std::string> ChartSvg(const ChartPicture& chart);
