#include "ui/windows/SourceEdits.h"

#include "analysis/Format.h"
#include "analysis/InputMessages.h"
#include "model/Matrix.h"
#include "ui/widgets/MatrixGrid.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUndoCommand>

namespace {

QString Tr(const char* source)
{
    return QCoreApplication::translate("TGraphForm", source);
}

class SourceEditCommand : public QUndoCommand {
public:
    static constexpr int kTypedCell = 1;

    SourceEditCommand(ISourceCells& cells, std::vector<CellChange> changes, bool typed, bool applied)
        : cells_(cells)
        , changes_(std::move(changes))
        , typed_(typed)
        , applied_(applied)
    {
    }

    int id() const override { return typed_ ? kTypedCell : -1; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const SourceEditCommand*>(other);
        if (changes_.size() != 1 || next->changes_.size() != 1)
            return false;
        CellChange& mine = changes_.front();
        const CellChange& theirs = next->changes_.front();
        if (mine.Source != theirs.Source || mine.Row != theirs.Row || mine.Column != theirs.Column)
            return false;
        mine.NewValue = theirs.NewValue;
        mine.NewText = theirs.NewText;
        return true;
    }

    void undo() override { cells_.ApplyCellChanges(changes_, true); }
    void redo() override
    {
        if (applied_) {
            applied_ = false;
            return;
        }
        cells_.ApplyCellChanges(changes_, false);
    }

private:
    ISourceCells& cells_;
    std::vector<CellChange> changes_;
    bool typed_;
    bool applied_;
};

// A pasted cell as spreadsheets write it: blanks around, a decimal comma or point.
QString PastedNumber(const QString& cell)
{
    return cell.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
}

} // namespace

QUndoCommand* MakeSourceEdit(ISourceCells& cells, std::vector<CellChange> changes, bool typed, bool applied)
{
    return new SourceEditCommand(cells, std::move(changes), typed, applied);
}

QString PastePlan::Problems() const
{
    QStringList problems;
    if (Refused > 0)
        problems << Tr(QT_TRANSLATE_NOOP("TGraphForm", "Не вставлено значений: %1. Первое из них — %2"))
                        .arg(Refused)
                        .arg(FirstRefusal);
    if (Cut)
        problems << Tr(QT_TRANSLATE_NOOP(
            "TGraphForm", "Блок не помещается в таблицу: строки и столбцы за её краем не вставлены."));
    return problems.join(QLatin1Char('\n'));
}

PastePlan PlanPaste(const QString& text, AnalysisMode mode, int source, const Matrix& matrix,
    const MatrixGridModel& model, int startRow, int startColumn, const std::function<QString(ItemKind, int)>& itemName)
{
    const SourceDescription& about = Describe(mode).Sources[static_cast<std::size_t>(source)];
    QStringList lines = text.split(QLatin1Char('\n'));
    // Spreadsheets end the last row with a line break too.
    if (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    PastePlan plan;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringList cells = line.split(QLatin1Char('\t'));
        for (int j = 0; j < cells.size(); ++j) {
            const int row = startRow + i;
            const int column = startColumn + j;
            const QString number = PastedNumber(cells[j]);
            if (number.isEmpty())
                continue;
            if (row >= model.rowCount() || column >= model.columnCount() || row >= matrix.Rows()
                || column >= matrix.Cols()) {
                plan.Cut = true;
                continue;
            }
            float value = 0.0f;
            const SourceValueCheck check = CheckSourceValue(mode, number.toStdString(), value);
            if (check != SourceValueCheck::Accepted) {
                if (plan.Refused++ == 0)
                    plan.FirstRefusal
                        = Tr(QT_TRANSLATE_NOOP("TGraphForm", "«%1» в строке «%2», столбце «%3»: %4"))
                              .arg(cells[j].trimmed(), itemName(about.Rows, row), itemName(about.Cols, column),
                                  QString::fromStdString(SourceValueMessage(mode, check)));
                continue;
            }
            plan.Changes.push_back({ source, row, column, matrix(row, column), value, model.Text(row, column),
                QString::fromStdString(FormatFixed(value, 2)) });
        }
    }
    return plan;
}
