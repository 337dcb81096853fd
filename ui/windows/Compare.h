// TCompareForm: the open assessment beside a second data file, read only: did the change
// help, and where. Rm and Re of both with their difference, each mechanism's diagonal
// element of MM and each layer's of EE matched by name (items in one file only marked),
// the judgements that differ, filterable, and the differences of the diagonals as a bar
// chart. A modeless window of the rating window's, which goes and comes back with it; the
// other file never touches the open assessment or its saved state.
#pragma once

#include "analysis/Compare.h"
#include "model/Data.h"
#include "ui/export/ReportComparison.h"

#include "ui/widgets/CompanionWindow.h"

#include <memory>
#include <optional>
#include <string>

class AssessmentDocument;
class ChartView;
class IDialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class SortedTableView;
struct CsvTable;

class TCompareForm : public CompanionWindow {
    Q_OBJECT

public:
    // `owner` is the rating window: this one hides and comes back with it.
    TCompareForm(AssessmentDocument& document, IDialogs& dialogs, QWidget* owner);
    ~TCompareForm() override;

    // "Сравнить с файлом..." of `owner`: asks for a data file and shows it beside the open
    // assessment in the owner's one comparison window (made on first use). A refused file
    // has shown the loader's message, and a file with no analysed item in common says so;
    // either leaves the window as it was. The window, or null when there is none yet.
    static TCompareForm* CompareWithFile(QWidget* owner, AssessmentDocument& document, IDialogs& dialogs);
    // The owner's comparison window; null until the first comparison.
    static TCompareForm* Of(const QWidget* owner);

    // Loads `path` read only and compares; false when the file was refused or shares no
    // analysed item (both said to the analyst), and then nothing changes.
    bool CompareWith(const std::string& path);
    // Compares the open assessment, as it is now, with the file last loaded. When they no
    // longer share an analysed item, says so as CompareWith does and goes, comparing nothing.
    void Refresh();

    bool HasComparison() const { return comparison_ != nullptr; }
    const AssessmentComparison* Comparison() const { return comparison_.get(); }
    // For the printed report: the other file's name and the comparison shown.
    std::optional<ReportComparison> ReportPart() const;

    // The tables as a spreadsheet gets them: the ratings and both diagonals; the changed
    // judgements as the window shows them (filtered).
    CsvTable SummaryCsv() const;
    CsvTable ChangesCsv() const;

protected:
    void ComeBackWithOwner() override;
    // Esc closes the window, Enter presses the focused button, as in every window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    class TableModel;

    void Build();
    void Show();
    void ApplyFilter();
    void UpdateChart();
    void SaveChart();
    void ExportSummary();
    void ExportChanges();
    void ChooseFile();
    void SayNothingShared(const std::string& path);
    // No file, no comparison, empty tables, hidden: as before the first comparison.
    void Forget();

    AssessmentDocument& document_;
    IDialogs& dialogs_;

    QLabel* filesLabel_ = nullptr;
    QPushButton* otherButton_ = nullptr;
    SortedTableView* ratings_ = nullptr;
    SortedTableView* mechanisms_ = nullptr;
    SortedTableView* layers_ = nullptr;
    QLabel* countsLabel_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    SortedTableView* changes_ = nullptr;
    QLabel* changesStatus_ = nullptr;
    ChartView* chart_ = nullptr;
    QLabel* chartNotice_ = nullptr;
    QPushButton* saveChartButton_ = nullptr;
    QPushButton* summaryButton_ = nullptr;
    QPushButton* changesButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    TableModel* ratingsModel_ = nullptr;
    TableModel* mechanismsModel_ = nullptr;
    TableModel* layersModel_ = nullptr;
    TableModel* changesModel_ = nullptr;

    // The other file as loaded, its path, and the comparison shown.
    CData other_;
    std::string otherPath_;
    std::shared_ptr<const AssessmentComparison> comparison_;
};
