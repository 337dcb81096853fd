// TGraphCtrl: the small floating window of a source-matrix window in which the analyst
// chooses which cells of the distribution chart get a prism, one check box per cell of
// the chart's 15 x 15 floor. Each source-matrix window owns one, so the four charts keep
// independent selections.
#pragma once

#include "model/Kinds.h"
#include "ui/charts/GraphChart.h"

#include <QDialog>

#include <array>

class QCheckBox;

class TGraphCtrl : public QDialog {
    Q_OBJECT

public:
    // All boxes disabled and clear; no chart served yet.
    explicit TGraphCtrl(QWidget* parent = nullptr);

    // Remembers the mode of the chart served and shows the window, not modally.
    void ShowForMode(AnalysisMode mode);
    // 1 to 4; 0 until the window is first shown.
    int ChartMode() const { return chartMode_; }

    // Which boxes are ticked, [row][column].
    CellSelection Selection() const;
    // Enables and ticks the box of every result cell that has one; the rest stay as they
    // are. Quietly: the owner repaints its chart after a computation anyway.
    void EnableCells(int rows, int cols);
    // 0-based row and column of the chart's matrix; none outside the table.
    QCheckBox* CellBox(int row, int column) const;

signals:
    // The analyst ticked or cleared a box while a chart is served: repaint it.
    void cellToggled();

private:
    void CellBoxToggled();

    int chartMode_ = 0;
    bool enabling_ = false;
    std::array<std::array<QCheckBox*, kChartCells>, kChartCells> cellBoxes_ {};
};
