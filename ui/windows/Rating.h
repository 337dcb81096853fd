// TRatingForm: the last window of the walk. The analyst checks one analysed layer, threat
// and mechanism, types a high and a low level of potential damage, and reads Rm and Re
// against the chosen threat's activation frequency, drawn on the window at every repaint
// while the choice is complete. The levels reach the store only through "Графики"; the
// whole assessment can be saved from here, and everything the analyst does with it beyond
// the walk (AssessmentActions) is offered in its menus and buttons.
#pragma once

#include "analysis/Rating.h"
#include "model/Kinds.h"
#include "ui/widgets/WizardWindow.h"
#include "ui/windows/AssessmentActions.h"

#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

class AssessmentDocument;
class QAction;
class QAbstractButton;
class Canvas;
class CData;
class IDialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStyle;
class TSensitivityForm;
struct RatingChartsLabels;

class TRatingForm : public WizardWindow, private IActionHost {
    Q_OBJECT

public:
    TRatingForm(
        AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation, QWidget* parent = nullptr);

    // Checks this layer, threat and mechanism in the three lists and makes them current, so
    // that the charts show them (the sensitivity ranking's choice); a position the lists do
    // not have changes nothing.
    void SelectTriple(const RatingSelection& triple) override;
    // The sensitivity ranking's window, made on first use; null until then.
    TSensitivityForm* SensitivityWindow() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A damage level's edit with the limits of the level, both included.
    struct LevelEdit {
        QLineEdit* Edit = nullptr;
        double Lower = 0.0;
        double Upper = 0.0;
    };
    // The labels one chart fills and moves.
    struct ValueLabels {
        QLabel* Minimum = nullptr;
        std::array<QLabel*, 2> Ticks {};
        QLabel* Current = nullptr;
    };

    void BuildPanel();
    void BuildChartArea();
    // The menus, and the buttons of the rows of `row`, from the table of actions.
    void BuildMenus();
    void BuildActionButtons(ButtonRow row, QWidget* parent);
    void UpdateActions();

    QListWidget*& ListOf(ItemKind kind) { return lists_[static_cast<std::size_t>(kind)]; }
    const QListWidget* ListOf(ItemKind kind) const { return lists_[static_cast<std::size_t>(kind)]; }

    // Each list has a checked item and both levels are typed; the numbers are not looked at.
    bool SelectionComplete() const;
    void UpdateComputeButton();
    // Asks for the charts to be drawn again from the lists and levels as they are.
    void ChartInputsChanged();
    // The lists' current items: the layer, threat and mechanism the charts are drawn for.
    std::optional<RatingSelection> CurrentSelection() const;
    // The number in a level edit when it passes the edit's checks.
    static std::optional<float> AcceptedLevel(const LevelEdit& level);

    void ListCheckToggled(ItemKind kind, QListWidgetItem* item);
    void KeepSingleCheck(ItemKind kind);
    void ValidateLevelEdit(const LevelEdit& level);
    void FormShow();
    void FormPaint(Canvas& canvas);
    // Fills, moves, shows and hides the labels of both charts after a drawing.
    void ShowChartLabels(const RatingChartsLabels& labels);
    void ComputeButtonClick();
    void SaveButtonClick();
    // "Сохранить график..." of the chart area.
    void SaveChart();

    // What the actions see of the window.
    QWidget* Window() override { return this; }
    AssessmentDocument& Document() override { return document_; }
    IDialogs& Dialogs() override { return dialogs_; }
    // What the report and the workbook are asked for: the file's name, the curves of the
    // current choice when the charts are drawn, and every analysis's section.
    ReportRequest CurrentRequest() const override;

    AssessmentDocument& document_;
    CData& store_;
    IDialogs& dialogs_;

    QStyle* checkListStyle_ = nullptr;
    std::array<QListWidget*, 3> lists_ {};
    LevelEdit highLevel_;
    LevelEdit lowLevel_;
    QPushButton* computeButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* finishButton_ = nullptr;
    // The menu entry and the button, if it has one, of each row of the actions.
    std::vector<std::pair<QAction*, QPushButton*>> actions_;
    // The labels of the chart area: titles, legend, values.
    std::vector<QLabel*> chartLabels_;
    ValueLabels rmLabels_;
    ValueLabels reLabels_;
};
