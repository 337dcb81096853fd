// TSensitivityForm: which threat activation frequencies move the ratings the most. Every
// analysed layer, threat and mechanism triple with its smallest, unshifted and largest Rm
// and Re over the rating window's shifts, ranked by the swing of Rm or Re, in a table that
// sorts by any column and filters by the names, and the fifteen widest swings as a tornado
// chart. The ranking runs off the window's thread and can be cancelled; the window says
// when the store has changed under it. A modeless window of the rating window's, which
// goes and comes back with it; choosing a row selects that triple there.
#pragma once

#include "analysis/RatingBasics.h"
#include "ui/widgets/CompanionWindow.h"

#include <QStringList>

#include <cstddef>
#include <memory>

class AssessmentDocument;
class BackgroundJob;
class ChartView;
class IDialogs;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTimer;
class SensitivityTableModel;
class SortedTableView;
struct CsvTable;
struct SensitivityOutcome;
struct SensitivitySnapshot;

class TSensitivityForm : public CompanionWindow {
    Q_OBJECT

public:
    // `owner` is the rating window: this one hides and comes back with it.
    TSensitivityForm(AssessmentDocument& document, IDialogs& dialogs, QWidget* owner);
    ~TSensitivityForm() override;

    // Shows the window raised and active; starts the ranking when there is none yet.
    void ShowRanking();
    // Ranks the store as it is now; a ranking under way is stopped first.
    void Recompute();
    // Stops the ranking under way; what was shown stays.
    void Cancel();

    bool Computing() const;
    // A ranking is shown and the store has not changed since it was made.
    bool HasRanking() const;
    bool OutOfDate() const { return outOfDate_; }
    RatingKind Indicator() const;
    // Compares the store with what the shown ranking was made from, and says so when they
    // differ. Cheap: four matrices compared.
    void CheckInputs();

    // The table as the window shows it (sorted, filtered), for a spreadsheet.
    CsvTable TableCsv() const;

signals:
    // The analyst chose a row (double click or Enter).
    void tripleChosen(const RatingSelection& triple);
    // A ranking arrived and is shown.
    void rankingShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Build();
    void Progressed(std::size_t done, std::size_t total);
    void Finished(std::shared_ptr<const SensitivityOutcome> outcome);
    void IndicatorChanged();
    void ApplyFilter();
    QStringList Words() const;
    void RowActivated(const QModelIndex& index);
    void ExportTable();
    void SaveChart();
    void UpdateStatus();
    void UpdateChart();

    AssessmentDocument& document_;
    IDialogs& dialogs_;

    QComboBox* indicatorCombo_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    QPushButton* recomputeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    SortedTableView* table_ = nullptr;
    QLabel* chartTitle_ = nullptr;
    ChartView* chart_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QTimer* filterTimer_ = nullptr;
    SensitivityTableModel* model_ = nullptr;
    BackgroundJob* job_ = nullptr;

    // The ranking shown, with what it was made from; none before the first one arrives.
    std::shared_ptr<const SensitivityOutcome> outcome_;
    bool outOfDate_ = false;
    // The last run was cancelled before it finished.
    bool cancelled_ = false;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
};
