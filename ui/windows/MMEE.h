// TMMEEForm: the wizard step between the mode-4 source-matrix window and the rating
// window. Each time the program shows it, it computes the matrices of reliable potential
// damage MM (mechanisms) and EE (layers) from the store, lists them in two grids with the
// main diagonal in blue, and draws beside each grid a bar chart of that diagonal with its
// rating indicator, Rm or Re.
#pragma once

#include "ui/widgets/WizardWindow.h"

#include <array>
#include <vector>

class AssessmentDocument;
class Canvas;
class IDialogs;
class CData;
class FramedGroupBox;
class MatrixGrid;
class QLabel;
class QPushButton;
struct DiagonalChartLabels;

class TMMEEForm : public WizardWindow {
    Q_OBJECT

public:
    TMMEEForm(
        AssessmentDocument& document, IDialogs& dialogs, IWizardNavigation& navigation, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // One group box: a matrix, its grid and the labels its chart fills or moves.
    struct ChartBox {
        FramedGroupBox* Group = nullptr;
        MatrixGrid* Grid = nullptr;
        QLabel* Indicator = nullptr;
        QLabel* Maximum = nullptr;
        std::array<QLabel*, 3> Scale {};
        // Says that the chart shows only the first elements of a long diagonal.
        QLabel* PartialNotice = nullptr;
        // The numbers of the 11th to 15th bars, shown when there are such bars.
        std::vector<QLabel*> LaterBarNumbers;
        // Every label of the chart: what an exported drawing writes beside it.
        std::vector<QLabel*> ChartLabels;
    };
    enum Box { MMBox, EEBox, kBoxes };

    void BuildChartBox(Box box);
    void FormShow();
    void FillGrid(Box box);
    // Draws the box's chart and brings its labels in line with it.
    void DrawChart(Box box, Canvas& canvas);
    void ApplyChartLabels(Box box, const DiagonalChartLabels& labels);
    void BackButtonClick();
    void NextButtonClick();
    // "Экспорт в CSV..." of a grid; "Сохранить график..." of a group box's chart.
    void ExportGrid(Box box);
    void SaveChart(Box box);

    CData& store_;
    IDialogs& dialogs_;
    std::array<ChartBox, kBoxes> boxes_ {};
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
};
