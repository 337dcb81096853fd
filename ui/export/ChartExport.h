// A chart out of the program: as a PNG picture, the window's area as on screen at 1:1, or
// as an SVG drawing in which lines, rectangles and texts stay what they are.
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

class Canvas;
class IDialogs;
class IMessageSink;
class QLabel;
class QWidget;

struct ChartPicture {
    // The widget the chart is drawn on, with the labels and controls over it.
    QWidget* Surface = nullptr;
    // The chart's drawing in the surface's coordinates.
    std::function<void(Canvas&)> Draw;
    // The labels that belong to the chart (axis names, numbers, values), which the
    // drawing leaves to the window; children of the surface.
    std::vector<QLabel*> Labels;
};

// Asks where to save; PNG or SVG by the file name's extension.
void SaveChartAs(QWidget* owner, const ChartPicture& chart, IDialogs& dialogs);
// False, with the save-failure message, when the file was not written.
bool SaveChart(const std::string& path, const ChartPicture& chart, IMessageSink& messages);
