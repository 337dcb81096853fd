#include "ui/windows/Comment.h"

#include "analysis/Modes.h"
#include "model/Data.h"
#include "ui/charts/GraphChart.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/WindowFont.h"

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include <charconv>
#include <cstddef>

namespace {

// The client area: wide enough for the memos, which run the full width.
constexpr QSize kClientSize { 358, 283 };
constexpr QPoint kDesignPosition { 279, 111 };

constexpr QPoint kXLabel { 0, 8 };
constexpr QRect kXMemo { 0, 24, 358, 97 };
constexpr QPoint kYLabel { 0, 120 };
constexpr QRect kYMemo { 0, 136, 358, 89 };
constexpr QRect kCloseButton { 224, 240, 75, 25 };

struct LegendRow {
    const char* SwatchName;
    Rgb Colour;
    const char* LabelName;
    const char* Text;
    // What the swatch is announced as: the legend without its dashes.
    const char* Meaning;
    int Top;
};

constexpr int kSwatchLeft = 20;
constexpr int kSwatchSize = 10;
constexpr int kLegendLeft = 40;
// The swatch sits a little lower than its text, level with the text's middle.
constexpr int kSwatchDrop = 3;

constexpr LegendRow kLegend[] = {
    { "Image1", kSmallBandColour, "Label45", QT_TRANSLATE_NOOP("TCommentForm", "-- Малая величина"),
        QT_TRANSLATE_NOOP("TCommentForm", "Малая величина"), 227 },
    { "Image2", kMediumBandColour, "Label46", QT_TRANSLATE_NOOP("TCommentForm", "-- Средняя величина"),
        QT_TRANSLATE_NOOP("TCommentForm", "Средняя величина"), 243 },
    { "Image3", kLargeBandColour, "Label47", QT_TRANSLATE_NOOP("TCommentForm", "-- Большая величина"),
        QT_TRANSLATE_NOOP("TCommentForm", "Большая величина"), 259 },
};

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QRect& place, QLabel* label)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setGeometry(place);
    memo->setReadOnly(true);
    // A long name stays on its line; the caret lets a keyboard reach its end.
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette colours = memo->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Light));
    memo->setPalette(colours);
    label->setBuddy(memo);
    memo->setAccessibleName(label->text());
    return memo;
}

QString NumberText(std::size_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// "%d - %s" for each analysed item of the kind, numbered as the chart's axis is.
QString ItemLines(const CData& store, ItemKind kind)
{
    QStringList lines;
    const std::size_t count = store.IndicesOf(kind).size();
    for (std::size_t k = 0; k < count; ++k)
        lines.append(NumberText(k + 1) + QStringLiteral(" - ")
            + QString::fromStdString(store.AnalysedName(kind, static_cast<int>(k))));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TCommentForm::TCommentForm(const CData& store, QWidget* parent)
    : QDialog(parent,
        Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , store_(store)
{
    setWindowTitle(tr("Комментарии к графику"));
    setFont(WindowFont());
    // Resizable, but the controls keep their places: no layout.
    resize(kClientSize);
    move(kDesignPosition);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);

    // Created in tab order: the two memos, then the button.
    QLabel* xLabel = MakeLabel(this, "Label1", tr("По оси X"), kXLabel);
    xMemo_ = MakeMemo(this, "XMemo", kXMemo, xLabel);
    QLabel* yLabel = MakeLabel(this, "Label2", tr("По оси Y"), kYLabel);
    yMemo_ = MakeMemo(this, "YMemo", kYMemo, yLabel);

    for (const LegendRow& row : kLegend) {
        QPixmap square(kSwatchSize, kSwatchSize);
        square.fill(QColor(row.Colour.Red, row.Colour.Green, row.Colour.Blue));
        auto* swatch = new QLabel(this);
        swatch->setObjectName(QString::fromLatin1(row.SwatchName));
        swatch->setGeometry(kSwatchLeft, row.Top + kSwatchDrop, kSwatchSize, kSwatchSize);
        swatch->setPixmap(square);
        swatch->setAccessibleName(tr(row.Meaning));
        MakeLabel(this, row.LabelName, tr(row.Text), { kLegendLeft, row.Top });
    }

    MakeCloseButton(this, kCloseButton);
}

void TCommentForm::ShowComments(AnalysisMode mode)
{
    // The numbers along the front edge are the result's columns, those on the left wall
    // its rows.
    const ModeDescription& about = Describe(mode);
    xMemo_->setPlainText(ItemLines(store_, about.ResultCols));
    yMemo_->setPlainText(ItemLines(store_, about.ResultRows));
    show();
    raise();
    activateWindow();
}
