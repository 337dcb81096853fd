// The grids of the analysis windows: a table of texts in fixed-size cells without
// headers, on a small model, so that a 100 x 100 matrix costs no widget per cell. A grid
// may be editable (the source matrices): each typed character reaches the window at once,
// and the window decides which keys a cell takes. Read-only grids paint their cells
// themselves on the window colour, with a colour per cell (blue for the figures that
// matter). Every grid copies its selected block as tab-separated text (Ctrl+C and its
// context menu); an editable grid asks its window to paste, undo and redo.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QLineEdit;

class MatrixGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using CellColour = std::function<QColor(int row, int column)>;

    explicit MatrixGridModel(QObject* parent = nullptr);

    // Becomes rows x columns of empty cells.
    void Reset(int rows, int columns);
    // Becomes rows x columns holding `texts`, row by row (cells past their end empty): one
    // reset for the whole grid. Filling it cell by cell would tell the view, and with a
    // screen reader running the accessibility bridge, of every cell on its own.
    void Reset(int rows, int columns, std::vector<QString> texts);
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);

    void SetEditable(bool editable) { editable_ = editable; }
    bool Editable() const { return editable_; }
    void SetCellColour(CellColour colour) { colour_ = std::move(colour); }
    // The items of the rows and of the columns (UTF-8), which a screen reader says with
    // each header and cell, the grid showing numbers only; a shorter list leaves the rest
    // unnamed.
    void SetItemNames(const std::vector<std::string>& rows, const std::vector<std::string>& columns);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<QString> texts_; // row by row
    bool editable_ = false;
    CellColour colour_;
    std::vector<QString> rowNames_;
    std::vector<QString> columnNames_;
};

class MatrixGrid : public QTableView {
    Q_OBJECT

public:
    // Decides about a key typed into a cell whose text is `cellText`: true lets it through.
    using KeyFilter = std::function<bool(const QKeyEvent& event, const QString& cellText)>;

    // `cell` is the size of a cell without its grid line.
    MatrixGrid(QSize cell, QWidget* parent = nullptr);

    MatrixGridModel& Model() { return model_; }
    const MatrixGridModel& Model() const { return model_; }

    // Cells painted by the grid on the window colour, text at three pixels from the
    // cell's top-left corner in the model's colour; selection changes no colour.
    void SetOwnerDrawn(bool ownerDrawn);
    bool OwnerDrawn() const { return ownerDrawn_; }
    void SetKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }

    // The cell being edited, if any, loses its text (the model's and the editor's).
    void EmptyCell(int row, int column);
    // Closes the open editor, if any, keeping what it holds.
    void FinishEditing();
    // The selected block as rows of tab-separated texts, numbers with a decimal comma.
    QString SelectionText() const;
    // Entries of the window's own (undo, redo, paste) put above Copy in the context menu.
    void SetWindowActions(QList<QAction*> actions) { windowActions_ = std::move(actions); }

signals:
    // The analyst changed a cell's text: every character, while the cell is edited.
    void cellTextEdited(int row, int column, const QString& text, const QString& previousText);
    // The keys of an editable grid's window commands; an open cell is closed first.
    void pasteRequested();
    void undoRequested();
    void redoRequested();
    // "Экспорт в CSV..." from the context menu: the window knows the names and numbers.
    void exportRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Tab moves from cell to cell and leaves the grid after its last cell, Shift+Tab before
    // its first; with Ctrl they leave at once, as in Qt's other item views. True when the key
    // took the focus out of the grid.
    bool LeaveByTab(const QKeyEvent& event);
    // Emits the request for a window command's key; false for any other key.
    bool RequestWindowCommand(const QKeyEvent& event);
    friend class MatrixGridDelegate;
    // Whether a key from the keyboard may reach the cell, the editor or the view.
    bool LetsThrough(const QKeyEvent& event, const QString& cellText) const;
    void CopySelection() const;
    // The cell editor now open, if any.
    QLineEdit* OpenEditor() const;

    MatrixGridModel model_;
    bool ownerDrawn_ = false;
    KeyFilter keyFilter_;
    QList<QAction*> windowActions_;
};
