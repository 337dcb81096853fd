// The source-matrix window's spreadsheet editing, apart from the window: a block pasted as
// spreadsheets copy it (rows of tab-separated cells), each cell checked as a typed one is,
// and the history of typed and pasted cells that undo and redo walk. The window shows and
// keeps what the editing hands it.
#pragma once

#include "analysis/Modes.h"
#include "model/Kinds.h"

#include <QString>

#include <functional>
#include <vector>

class Matrix;
class MatrixGridModel;
class QUndoCommand;

// One cell of a source changed by typing or pasting: what undo and redo put back.
struct CellChange {
    int Source;
    int Row;
    int Column;
    float OldValue;
    float NewValue;
    QString OldText;
    QString NewText;
};

// Where the history puts cells back: the window.
class ISourceCells {
public:
    virtual ~ISourceCells() = default;
    // Puts the new (or, undoing, the old) values and texts of the cells back, showing their
    // source.
    virtual void ApplyCellChanges(const std::vector<CellChange>& changes, bool undoing) = 0;
};

// One step of the history. Characters typed one after another into one cell make one
// step; a typed character is in its cell already when its step is pushed (`applied`).
QUndoCommand* MakeSourceEdit(ISourceCells& cells, std::vector<CellChange> changes, bool typed, bool applied);

// What a paste would change, and what it refused.
struct PastePlan {
    std::vector<CellChange> Changes;
    int Refused = 0;
    // The first refused cell, as the analyst is told of it.
    QString FirstRefusal;
    // Cells fell beyond the grid's edge.
    bool Cut = false;

    // One message about all that was not pasted; empty when everything was.
    QString Problems() const;
};

// `text` pasted into source `source` of `mode` (shown in `model`, kept in `matrix`) from the
// cell at `row`, `column` on. `itemName` names a row or column item for the messages.
PastePlan PlanPaste(const QString& text, AnalysisMode mode, int source, const Matrix& matrix,
    const MatrixGridModel& model, int row, int column, const std::function<QString(ItemKind, int)>& itemName);
