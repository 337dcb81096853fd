// TGraphForm: the source-matrix window, one class for the four analysis modes. The analyst
// picks one of the mode's two source matrices, edits the window's own copy of it in a grid
// with range checks, enters the chart's two thresholds and computes: the derived matrix
// fills the result grid and the three-dimensional chart drawn on the window. The copies
// reach the store only through a successful computation.
#pragma once

#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/Kinds.h"
#include "ui/widgets/WizardWindow.h"
#include "ui/windows/SourceEdits.h"

#include <QString>

#include <array>
#include <vector>

class AssessmentDocument;
class Canvas;
class ChartView;
class IDialogs;
class MatrixGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;
class TCommentForm;
class TGraphCtrl;

class TGraphForm : public WizardWindow, private ISourceCells {
    Q_OBJECT

public:
    TGraphForm(AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation,
        TCommentForm& commentForm, QWidget* parent = nullptr);
    ~TGraphForm() override;

    // Once, right after creation, with the store's numbers of analysed items.
    void SetUpForMode(AnalysisMode mode, const AnalysedCounts& counts);

    AnalysisMode Mode() const { return work_.Mode; }
    // The window's copies of its sources and its last result.
    const GraphWorkingData& Work() const { return work_; }
    TGraphCtrl& ChartSettingsWindow() const { return *chartSettings_; }
    // Draws the chart as a repaint would, on a canvas of the caller's.
    void DrawChartOn(Canvas& canvas) const;

    // The window's commands, as its controls run them.
    void MassivComboBoxChange(int item);
    void ComputingButtonClick();
    // Pastes a block as spreadsheets copy it (rows of tab-separated cells) into the shown
    // source from its current cell on: one step of the window's history.
    void PasteText(const QString& text);
    QUndoStack& History() const { return *history_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Puts the new (or, undoing, the old) values and texts of the cells back, showing
    // their source in the grid.
    void ApplyCellChanges(const std::vector<CellChange>& changes, bool undoing) override;

    void BuildControls();
    void BuildChartLabels();
    void MassivGridSelectCell(int column, int row);
    void MassivGridSetEditText(int row, int column, const QString& text, const QString& previousText);
    void PasteFromClipboard();
    // "Экспорт в CSV..." of the source grid or the result grid; "Сохранить график...".
    void ExportGrid(bool result);
    void SaveChart();
    // The name of the k-th analysed item of a kind, for messages.
    QString ItemName(ItemKind kind, int k) const;
    bool MassivGridKeyPress(const QKeyEvent& event, const QString& cellText);
    void FillResultGrid();
    // The chart's accessible description, after a computation.
    void DescribeChart();
    void DrawChart(Canvas& canvas) const;
    // Takes the mode-4 sources afresh: they are the results of modes 2 and 3, which may
    // have been computed again since this window was made.
    void RefreshDerivedSources();
    // A message shown once the current key has been handled: a modal box inside an
    // editor's key handling would destroy the editor under it.
    void ShowMessageLater(const std::string& text);

    AssessmentDocument& document_;
    CData& store_;
    IDialogs& dialogs_;
    TCommentForm& commentForm_;

    AnalysedCounts counts_;
    GraphWorkingData work_;
    // The combo item whose copy the grid shows; none before the first choice.
    int shownSource_ = -1;
    // A key or the wheel on the closed choice of sources is stepping through it: the focus
    // stays there, so that the other source can be reached by keyboard too.
    bool steppingChoice_ = false;
    // The chart cell selection window was up when the program hid this window.
    bool settingsHiddenWithWindow_ = false;
    bool chartBoxesInitialised_ = false;

    ChartView* chart_;
    TGraphCtrl* chartSettings_;
    QUndoStack* history_;
    QComboBox* sourceComboBox_ = nullptr;
    MatrixGrid* sourceGrid_ = nullptr;
    QLabel* colLabel_ = nullptr;
    QLabel* rowLabel_ = nullptr;
    QPushButton* computingButton_ = nullptr;
    QLabel* resultTitleLabel_ = nullptr;
    MatrixGrid* resGrid_ = nullptr;
    QLineEdit* thresholdEdit1_ = nullptr;
    QLineEdit* thresholdEdit2_ = nullptr;
    QPushButton* graphCtrlButton_ = nullptr;
    QPushButton* commentButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QLabel* xzLabel_ = nullptr;
    QLabel* yzLabel_ = nullptr;
    // The labels the chart has: axis letters, wall titles, numbers along the edges.
    std::vector<QLabel*> chartLabels_;
    // Says that a result larger than the chart shows only its first rows and columns.
    QLabel* partialChartLabel_ = nullptr;
};
