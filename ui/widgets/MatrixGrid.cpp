#include "ui/widgets/MatrixGrid.h"

#include "ui/widgets/WindowFont.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

MatrixGridModel::MatrixGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void MatrixGridModel::Reset(int rows, int columns)
{
    Reset(rows, columns, {});
}

void MatrixGridModel::Reset(int rows, int columns, std::vector<QString> texts)
{
    beginResetModel();
    rows_ = std::max(rows, 0);
    columns_ = std::max(columns, 0);
    texts_ = std::move(texts);
    texts_.resize(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_));
    endResetModel();
}

QString MatrixGridModel::Text(int row, int column) const
{
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return {};
    return texts_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_)
        + static_cast<std::size_t>(column)];
}

void MatrixGridModel::SetText(int row, int column, const QString& text)
{
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        return;
    QString& cell
        = texts_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column)];
    if (cell == text)
        return;
    cell = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, { Qt::DisplayRole, Qt::EditRole });
}

int MatrixGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int MatrixGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant MatrixGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return Text(index.row(), index.column());
    case Qt::ToolTipRole: {
        // A long number (mode 4 reaches millions) may not fit its cell.
        const QString text = Text(index.row(), index.column());
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Qt::ForegroundRole:
        if (colour_)
            return colour_(index.row(), index.column());
        return {};
    case Qt::AccessibleDescriptionRole: {
        const auto row = static_cast<std::size_t>(index.row());
        const auto column = static_cast<std::size_t>(index.column());
        if (row >= rowNames_.size() || column >= columnNames_.size())
            return {};
        return QCoreApplication::translate("MatrixGrid", "Строка %1: %2. Столбец %3: %4.")
            .arg(QString::number(index.row() + 1), rowNames_[row], QString::number(index.column() + 1),
                columnNames_[column]);
    }
    default:
        return {};
    }
}

QVariant MatrixGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const std::vector<QString>& names = orientation == Qt::Vertical ? rowNames_ : columnNames_;
    if (role == Qt::AccessibleDescriptionRole && section >= 0 && static_cast<std::size_t>(section) < names.size())
        return names[static_cast<std::size_t>(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void MatrixGridModel::SetItemNames(const std::vector<std::string>& rows, const std::vector<std::string>& columns)
{
    const auto convert = [](const std::vector<std::string>& names) {
        std::vector<QString> converted;
        converted.reserve(names.size());
        for (const std::string& name : names)
            converted.push_back(QString::fromStdString(name));
        return converted;
    };
    rowNames_ = convert(rows);
    columnNames_ = convert(columns);
}

bool MatrixGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable_)
        return false;
    SetText(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags MatrixGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (editable_)
        flags |= Qt::ItemIsEditable;
    return flags;
}

// Paints owner-drawn cells, and gives the window every character typed into an editor.
class MatrixGridDelegate : public QStyledItemDelegate {
public:
    explicit MatrixGridDelegate(MatrixGrid* grid)
        : QStyledItemDelegate(grid)
        , grid_(grid)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!grid_->OwnerDrawn()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        painter->fillRect(option.rect, option.palette.color(QPalette::Window));
        const QVariant colour = index.data(Qt::ForegroundRole);
        painter->setPen(colour.isValid() ? colour.value<QColor>() : QColor(Qt::black));
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(3, 3, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
        // Keyboard users still see where they are, without a change of colour.
        if ((option.state & QStyle::State_HasFocus) && grid_->hasFocus()) {
            painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setFrame(false);
            // Every character counts at once, not when editing ends; the program's own
            // changes of the text (textChanged) are not the analyst's.
            const QPersistentModelIndex at(index);
            MatrixGrid* grid = grid_;
            connect(line, &QLineEdit::textEdited, grid, [grid, at](const QString& text) {
                if (!at.isValid())
                    return;
                const QString previous = grid->Model().Text(at.row(), at.column());
                grid->Model().SetText(at.row(), at.column(), text);
                emit grid->cellTextEdited(at.row(), at.column(), text, previous);
            });
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        // The model follows the editor at every character; writing the same text back
        // would only move the cursor to the end.
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && line->text() == index.data().toString())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            if (auto* line = qobject_cast<QLineEdit*>(object)) {
                const auto& key = *static_cast<QKeyEvent*>(event);
                // The window's undo and paste, not the editor's own, so that the grid's
                // history is one: the open cell is closed and the window acts.
                if (grid_->RequestWindowCommand(key) || grid_->LeaveByTab(key))
                    return true;
                if (!grid_->LetsThrough(key, line->text()))
                    return true;
                // Qt's delegate would commit and close on Enter only later, from the event
                // loop, by when the grid may have closed the cell itself (a paste, Tab out of
                // the grid): Qt then warns of an editor not its view's. Closed here, at once.
                if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
                    grid_->FinishEditing();
                    return true;
                }
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    MatrixGrid* grid_;
};

MatrixGrid::MatrixGrid(QSize cell, QWidget* parent)
    : QTableView(parent)
{
    setFont(WindowFont());
    setModel(&model_);
    setItemDelegate(new MatrixGridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // A section holds the cell and its grid line.
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(cell.width() + 1);
    verticalHeader()->setDefaultSectionSize(cell.height() + 1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void MatrixGrid::SetOwnerDrawn(bool ownerDrawn)
{
    ownerDrawn_ = ownerDrawn;
    viewport()->setBackgroundRole(ownerDrawn ? QPalette::Window : QPalette::Base);
    viewport()->update();
}

void MatrixGrid::EmptyCell(int row, int column)
{
    model_.SetText(row, column, QString());
    if (currentIndex() == model_.index(row, column)) {
        if (QLineEdit* line = OpenEditor())
            line->clear();
    }
}

void MatrixGrid::FinishEditing()
{
    if (QLineEdit* line = OpenEditor()) {
        commitData(line);
        closeEditor(line, QAbstractItemDelegate::NoHint);
    }
}

QLineEdit* MatrixGrid::OpenEditor() const
{
    if (state() != EditingState)
        return nullptr;
    // The view's own record of the editor at the current cell, never one it has let go of
    // (closed, waiting to be deleted).
    return qobject_cast<QLineEdit*>(indexWidget(currentIndex()));
}

QString MatrixGrid::SelectionText() const
{
    const QModelIndexList selected = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty())
        return {};
    int top = selected.front().row(), bottom = top, left = selected.front().column(), right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (column > left)
                text += QLatin1Char('\t');
            // Russian spreadsheets read a decimal comma; the grid shows a point.
            text += model_.Text(row, column).replace(QLatin1Char('.'), QLatin1Char(','));
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

void MatrixGrid::CopySelection() const
{
    const QString text = SelectionText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

bool MatrixGrid::LetsThrough(const QKeyEvent& event, const QString& cellText) const
{
    if (event.matches(QKeySequence::Copy))
        return true;
    return !keyFilter_ || keyFilter_(event, cellText);
}

bool MatrixGrid::RequestWindowCommand(const QKeyEvent& event)
{
    if (!model_.Editable())
        return false;
    void (MatrixGrid::*request)() = nullptr;
    if (event.matches(QKeySequence::Paste))
        request = &MatrixGrid::pasteRequested;
    else if (event.matches(QKeySequence::Undo))
        request = &MatrixGrid::undoRequested;
    else if (event.matches(QKeySequence::Redo)
        || (event.key() == Qt::Key_Y && event.modifiers() == Qt::ControlModifier))
        request = &MatrixGrid::redoRequested;
    if (!request)
        return false;
    // Queued: the open editor is closed here, and must not be deleted under its own key.
    QMetaObject::invokeMethod(
        this,
        [this, request] {
            FinishEditing();
            emit(this->*request)();
        },
        Qt::QueuedConnection);
    return true;
}

bool MatrixGrid::LeaveByTab(const QKeyEvent& event)
{
    if (event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab)
        return false;
    const bool forward = event.key() == Qt::Key_Tab && !(event.modifiers() & Qt::ShiftModifier);
    const QModelIndex current = currentIndex();
    const bool atEdge = !current.isValid()
        || (forward ? current.row() == model_.rowCount() - 1 && current.column() == model_.columnCount() - 1
                    : current.row() == 0 && current.column() == 0);
    if (!atEdge && !(event.modifiers() & Qt::ControlModifier))
        return false;
    // From the grid itself, not from an open cell inside it.
    FinishEditing();
    setFocus(Qt::OtherFocusReason);
    QWidget::focusNextPrevChild(forward);
    return true;
}

void MatrixGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    for (QAction* action : windowActions_)
        menu.addAction(action);
    if (!windowActions_.isEmpty())
        menu.addSeparator();
    QAction* copy = menu.addAction(tr("Копировать\tCtrl+C"));
    copy->setEnabled(selectionModel() && selectionModel()->hasSelection());
    connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    menu.addSeparator();
    connect(menu.addAction(tr("Экспорт в CSV...")), &QAction::triggered, this, &MatrixGrid::exportRequested);
    menu.exec(event->globalPos());
}

void MatrixGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (RequestWindowCommand(*event) || LeaveByTab(*event))
        return;
    const QModelIndex current = currentIndex();
    if (!LetsThrough(*event, model_.Text(current.row(), current.column())))
        return;
    QTableView::keyPressEvent(event);
}
