#include "ui/windows/GraphControl.h"

#include "ui/widgets/Controls.h"
#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>

#include <algorithm>
#include <charconv>

namespace {

constexpr QSize kClientSize { 261, 266 };
constexpr QPoint kDesignPosition { 195, 114 };
constexpr QRect kTableGroup { 9, 4, 240, 221 };
constexpr QRect kCloseButton { 96, 232, 75, 25 };

// Places of the boxes inside the group box: the left of each column, the top of each row.
// The uneven steps are the table as analysts have always seen it.
constexpr int kColumnLefts[kChartCells] = { 18, 32, 46, 60, 74, 88, 102, 116, 130, 144, 158, 172, 186, 200, 214 };
constexpr int kRowTops[kChartCells] = { 27, 39, 51, 63, 75, 88, 101, 113, 125, 137, 149, 162, 175, 187, 200 };
constexpr int kBoxSize = 10;

struct NumberLabel {
    const char* Name;
    int Left;
    int Top;
};

// The row numbers left of the table, for rows 1 to 15.
constexpr NumberLabel kRowNumbers[kChartCells] = {
    { "Label11", 6, 25 },
    { "Label12", 6, 38 },
    { "Label14", 6, 50 },
    { "Label15", 6, 62 },
    { "Label13", 6, 74 },
    { "Label17", 6, 86 },
    { "Label19", 7, 98 },
    { "Label18", 7, 110 },
    { "Label20", 7, 122 },
    { "Label21", 4, 136 },
    { "Label46", 4, 149 },
    { "Label48", 4, 161 },
    { "Label47", 4, 173 },
    { "Label49", 3, 185 },
    { "Label50", 4, 197 },
};

// The column numbers above the table, for columns 1 to 15; all on one line, in a smaller
// font so that the two-digit ones fit between their neighbours.
constexpr int kColumnNumbersTop = 10;
constexpr int kColumnNumbersPixelSize = 8;
constexpr NumberLabel kColumnNumbers[kChartCells] = {
    { "Label16", 20, kColumnNumbersTop },
    { "Label22", 35, kColumnNumbersTop },
    { "Label24", 49, kColumnNumbersTop },
    { "Label25", 63, kColumnNumbersTop },
    { "Label23", 77, kColumnNumbersTop },
    { "Label26", 90, kColumnNumbersTop },
    { "Label28", 105, kColumnNumbersTop },
    { "Label27", 120, kColumnNumbersTop },
    { "Label29", 132, kColumnNumbersTop },
    { "Label30", 142, kColumnNumbersTop },
    { "Label51", 157, kColumnNumbersTop },
    { "Label53", 170, kColumnNumbersTop },
    { "Label52", 184, kColumnNumbersTop },
    { "Label54", 199, kColumnNumbersTop },
    { "Label55", 215, kColumnNumbersTop },
};

// The style's own check box is larger than the 10-pixel boxes, which sit only 12 pixels
// apart: drawn at its size it would be cut off.
class SmallCheckBoxStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return kBoxSize;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QString NumberText(int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QLabel* MakeNumberLabel(QWidget* parent, const NumberLabel& place, int number, const QFont& font)
{
    auto* label = new QLabel(NumberText(number), parent);
    label->setObjectName(QString::fromLatin1(place.Name));
    label->setFont(font);
    label->move(place.Left, place.Top);
    label->adjustSize();
    return label;
}

} // namespace

TGraphCtrl::TGraphCtrl(QWidget* parent)
    : QDialog(parent,
        Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(ProgramTitle());
    setFont(WindowFont());
    setFixedSize(kClientSize);
    move(kDesignPosition);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    group->setGeometry(kTableGroup);
    // It has no caption to be announced by.
    group->setAccessibleName(tr("Ячейки графика"));

    // Created after the group box, so that it is destroyed after the boxes that use it.
    auto* boxStyle = new SmallCheckBoxStyle(QApplication::style()->name());
    boxStyle->setParent(this);

    for (int row = 0; row < kChartCells; ++row) {
        for (int column = 0; column < kChartCells; ++column) {
            auto* box = new QCheckBox(group);
            box->setObjectName(QStringLiteral("CheckBox") + NumberText(kChartCells * row + column + 1));
            box->setStyle(boxStyle);
            box->setGeometry(kColumnLefts[column], kRowTops[row], kBoxSize, kBoxSize);
            box->setAccessibleName(tr("Строка %1, столбец %2").arg(NumberText(row + 1), NumberText(column + 1)));
            box->setEnabled(false);
            // toggled rather than clicked: a box toggled through assistive technology
            // changes the chart as well.
            connect(box, &QCheckBox::toggled, this, &TGraphCtrl::CellBoxToggled);
            cellBoxes_[row][column] = box;
        }
    }

    QFont columnNumberFont = WindowFont();
    columnNumberFont.setPixelSize(kColumnNumbersPixelSize);
    for (int i = 0; i < kChartCells; ++i) {
        MakeNumberLabel(group, kRowNumbers[i], i + 1, WindowFont());
        MakeNumberLabel(group, kColumnNumbers[i], i + 1, columnNumberFont);
    }

    MakeCloseButton(this, kCloseButton);
}

void TGraphCtrl::ShowForMode(AnalysisMode mode)
{
    chartMode_ = ModeNumber(mode);
    show();
    raise();
    activateWindow();
}

CellSelection TGraphCtrl::Selection() const
{
    CellSelection selection {};
    for (int row = 0; row < kChartCells; ++row)
        for (int column = 0; column < kChartCells; ++column)
            selection[row][column] = cellBoxes_[row][column]->isChecked();
    return selection;
}

void TGraphCtrl::EnableCells(int rows, int cols)
{
    // A result longer than the table (lists loaded from files may be) simply has cells
    // without a box.
    const int lastRow = std::min(rows, kChartCells);
    const int lastColumn = std::min(cols, kChartCells);
    enabling_ = true;
    for (int row = 0; row < lastRow; ++row) {
        for (int column = 0; column < lastColumn; ++column) {
            QCheckBox* box = cellBoxes_[row][column];
            box->setEnabled(true);
            box->setChecked(true);
        }
    }
    enabling_ = false;
}

QCheckBox* TGraphCtrl::CellBox(int row, int column) const
{
    if (row < 0 || row >= kChartCells || column < 0 || column >= kChartCells)
        return nullptr;
    return cellBoxes_[row][column];
}

void TGraphCtrl::CellBoxToggled()
{
    if (enabling_ || !ModeFromNumber(chartMode_))
        return;
    emit cellToggled();
}
