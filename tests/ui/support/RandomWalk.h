// A random analyst: drives the whole program (start-up, main window, the analysis windows,
// their dialogs) with random actions from a seed, and checks after each action what must
// always hold. Every dialog is answered at random too: files valid and broken, paths good
// and impossible, names of every kind, Yes, No and Cancel.
#pragma once

#include "WalkWindows.h"
#include "app/Program.h"
#include "model/Data.h"
#include "model/DataText.h"
#include "model/Dictionary.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/MatrixGrid.h"
#include "ui/widgets/WizardWindow.h"
#include "ui/windows/Compare.h"
#include "ui/windows/GraphControl.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/Rating.h"
#include "ui/windows/Sensitivity.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

class RandomDialogs : public IDialogs {
public:
    RandomDialogs(std::mt19937& rng, const QString& folder)
        : rng_(rng)
        , folder_(folder)
    {
    }

    int Messages = 0;
    // A data file was handed out to be opened in the current action.
    bool OfferedDataFile = false;

    void ShowMessage(const std::string&) override { ++Messages; }
    void ShowInformation(const std::string&) override { ++Messages; }

    CloseAnswer AskSaveChanges(QWidget*) override
    {
        const CloseAnswer answers[] = { CloseAnswer::Yes, CloseAnswer::No, CloseAnswer::Cancel, CloseAnswer::Cancel };
        return answers[Pick(4)];
    }

    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions& options) override
    {
        if (Pick(5) == 0)
            return std::nullopt;
        const QStringList& files = options.DefaultExtension == QLatin1String("dic") ? dictionaries_ : dataFiles_;
        // Now and then the wrong kind of file, a broken one or none at all.
        switch (Pick(8)) {
        case 0:
            return Broken();
        case 1:
            return folder_ + QStringLiteral("/no such file.sav");
        case 2:
            return (options.DefaultExtension == QLatin1String("dic") ? dataFiles_ : dictionaries_)[Pick(2)];
        default:
            break;
        }
        OfferedDataFile = options.DefaultExtension == QLatin1String("sav");
        return files[static_cast<int>(Pick(static_cast<std::uint32_t>(files.size())))];
    }

    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions& options) override
    {
        const QString name = QStringLiteral("saved.") + options.DefaultExtension;
        switch (Pick(6)) {
        case 0:
            return std::nullopt;
        case 1:
            return folder_ + QStringLiteral("/no such folder/") + name;
        case 2: {
            // A file its owner made read-only.
            const QString path = folder_ + QStringLiteral("/read-only.") + options.DefaultExtension;
            QFile file(path);
            if (!file.exists() && file.open(QIODevice::WriteOnly))
                file.close();
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
            return path;
        }
        default:
            return folder_ + QLatin1Char('/') + name;
        }
    }

    std::optional<QString> AskName(QWidget*, const QString&, const QString& name) override
    {
        switch (Pick(7)) {
        case 0:
            return std::nullopt;
        case 1:
            return name.isEmpty() ? std::nullopt : std::optional(name);
        case 2:
            return QString(250, QChar(u'щ'));
        case 3:
            return QStringLiteral("  ");
        default:
            return QStringLiteral("Имя %1").arg(Pick(6));
        }
    }

    // The files the walk may open; written once into its folder.
    void SetFiles(QStringList dataFiles, QStringList dictionaries)
    {
        dataFiles_ = std::move(dataFiles);
        dictionaries_ = std::move(dictionaries);
    }

private:
    std::uint32_t Pick(std::uint32_t n) { return static_cast<std::uint32_t>(rng_() % n); }

    // A valid data file cut short at a random place, or with random bytes in it.
    QString Broken()
    {
        QFile source(dataFiles_[static_cast<int>(Pick(static_cast<std::uint32_t>(dataFiles_.size())))]);
        source.open(QIODevice::ReadOnly);
        QByteArray bytes = source.readAll();
        if (!bytes.isEmpty()) {
            if (Pick(2) == 0)
                bytes.truncate(static_cast<qsizetype>(Pick(static_cast<std::uint32_t>(bytes.size()))));
            else
                for (int k = 0; k < 3; ++k)
                    bytes[static_cast<qsizetype>(Pick(static_cast<std::uint32_t>(bytes.size())))]
                        = static_cast<char>(Pick(256));
        }
        const QString path = folder_ + QStringLiteral("/broken.sav");
        QFile target(path);
        target.open(QIODevice::WriteOnly | QIODevice::Truncate);
        target.write(bytes);
        return path;
    }

    std::mt19937& rng_;
    QString folder_;
    QStringList dataFiles_;
    QStringList dictionaries_;
};

class RandomWalk {
public:
    // `dataFiles` and `dictionaries` are what the file dialogs may answer with.
    RandomWalk(std::uint32_t seed, QStringList dataFiles, QStringList dictionaries)
        : rng_(seed)
        , dialogs_(rng_, dir_.path())
    {
        dialogs_.SetFiles(std::move(dataFiles), std::move(dictionaries));
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        QtWarnings().clear();
        previousHandler_ = qInstallMessageHandler(KeepQtWarning);
        Start();
    }

    ~RandomWalk()
    {
        program_.reset();
        document_.reset();
        QDir::setCurrent(previousDir_);
        qInstallMessageHandler(previousHandler_);
    }

    // Runs `count` actions; the first broken rule ends the walk with its description.
    // VARDUN_WALK_TRACE=N prints every action from the N-th on, to retrace a fault.
    std::optional<std::string> Run(int count)
    {
        for (step_ = 0; step_ < count; ++step_) {
            Act();
            if (std::getenv("VARDUN_WALK_TRACE") && step_ >= std::atoi(std::getenv("VARDUN_WALK_TRACE")))
                std::printf("%d %s\n", step_, lastAction_.c_str());
            if (auto fault = Check())
                return "action " + std::to_string(step_) + " (" + lastAction_ + "): " + *fault;
        }
        return std::nullopt;
    }

    int Restarts() const { return restarts_; }
    // How many actions were made in each window of the walk, by its title and class.
    const std::map<std::string, int>& ActionsPerWindow() const { return perWindow_; }

private:
    using Judgements = std::string;

    void Start()
    {
        program_.reset();
        document_ = std::make_unique<AssessmentDocument>();
        program_ = std::make_unique<Program>(*document_, dialogs_);
        QObject::connect(document_.get(), &AssessmentDocument::savedChanged, [this](bool saved) {
            if (saved)
                snapshot_ = JudgementsOf(document_->Store());
        });
        QObject::connect(
            document_.get(), &AssessmentDocument::loaded, [this] { snapshot_ = JudgementsOf(document_->Store()); });
        program_->Start();
        snapshot_ = JudgementsOf(document_->Store());
        Settle();
    }

    // What the analysis windows change in the store and the file keeps: the six sources,
    // thresholds and levels, as the file writes them.
    static Judgements JudgementsOf(const CData& store)
    {
        std::ostringstream out;
        const Matrix* matrices[] = { &store.MT, &store.TE, &store.ET, &store.TM, &store.EF, &store.FM };
        for (const Matrix* m : matrices) {
            out << m->Rows() << 'x' << m->Cols() << ':';
            for (int i = 0; i < m->Rows(); ++i)
                for (int j = 0; j < m->Cols(); ++j)
                    out << std::bit_cast<std::uint32_t>((*m)(i, j)) << ',';
        }
        for (const CData::ThresholdPair& pair : store.Thresholds)
            out << std::bit_cast<std::uint32_t>(pair.Small) << '/' << std::bit_cast<std::uint32_t>(pair.Medium) << ';';
        out << std::bit_cast<std::uint32_t>(store.HighLevel) << ';' << std::bit_cast<std::uint32_t>(store.LowLevel);
        return out.str();
    }

    // Lets queued work run: messages shown after a key, charts drawn after a change.
    static void Settle()
    {
        for (int k = 0; k < 3; ++k)
            QApplication::processEvents();
    }

    std::uint32_t Pick(std::uint32_t n) { return static_cast<std::uint32_t>(rng_() % n); }
    template <typename T> T* PickOf(const QList<T*>& items)
    {
        return items.isEmpty() ? nullptr : items[static_cast<int>(Pick(static_cast<std::uint32_t>(items.size())))];
    }

    std::vector<QWidget*> WalkWindows() const
    {
        std::vector<QWidget*> windows { &program_->MainForm() };
        for (QWidget* window : ::WalkWindows(program_->Sequence()))
            windows.push_back(window);
        return windows;
    }

    QWidget* VisibleWindow() const
    {
        for (QWidget* window : WalkWindows())
            if (window && window->isVisible())
                return window;
        return nullptr;
    }

    template <typename T> static QList<T*> Usable(QWidget* window)
    {
        QList<T*> usable;
        for (T* widget : window->findChildren<T*>())
            if (widget->isVisibleTo(window) && widget->isEnabled())
                usable.push_back(widget);
        return usable;
    }

    // A modal window (the about box) would wait for a person: close whatever comes up.
    static void CloseModalsSoon()
    {
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
    }

    void Act()
    {
        QWidget* window = VisibleWindow();
        if (!window) {
            ++restarts_;
            lastAction_ = "restart";
            Start();
            return;
        }
        const bool inMain = window == &program_->MainForm();
        ++perWindow_[window->metaObject()->className()];
        before_ = JudgementsOf(document_->Store());
        wasSaved_ = document_->IsSaved();
        actedInAnalysis_ = !inMain;
        mustBeUnsaved_ = false;
        comparing_ = false;
        dialogs_.OfferedDataFile = false;

        // While the comparison is up, half the actions go to it.
        if (auto* rating = qobject_cast<TRatingForm*>(window);
            rating && TCompareForm::Of(rating) && TCompareForm::Of(rating)->isVisible() && Pick(2) == 0) {
            UseComparison(rating);
            Settle();
            return;
        }
        // While the ranking window is up, half the actions go to it.
        if (auto* rating = qobject_cast<TRatingForm*>(window);
            rating && rating->SensitivityWindow() && rating->SensitivityWindow()->isVisible() && Pick(2) == 0) {
            UseSensitivity(rating);
            Settle();
            return;
        }
        switch (Pick(12)) {
        case 0:
        case 1:
            ClickButton(window);
            break;
        case 10:
        case 11:
            Advance(window, inMain);
            break;
        case 2:
            ToggleListItem(window, inMain);
            break;
        case 3:
            SelectListItem(window);
            break;
        case 4:
            TypeIntoEdit(window);
            break;
        case 5:
        case 6:
            TypeIntoGrid(window);
            break;
        case 7:
            ChooseInCombo(window);
            break;
        case 8:
            if (Pick(3) == 0)
                ExportSomething(window);
            else if (qobject_cast<TRatingForm*>(window))
                Pick(2) == 0 ? UseSensitivity(static_cast<TRatingForm*>(window))
                             : UseComparison(static_cast<TRatingForm*>(window));
            else
                UseChartBoxes(window);
            break;
        default:
            if (!inMain && Pick(6) == 0) {
                lastAction_ = "close " + window->objectName().toStdString();
                window->close();
            } else {
                ClickButton(window);
            }
            break;
        }
        Settle();
    }

    // What takes the walk further: Next, a computation, the marks Next needs, the levels.
    void Advance(QWidget* window, bool inMain)
    {
        for (const char* name : { "NextButton", "ComputingButton", "ComputeButton" }) {
            auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
            if (button && button->isEnabled() && button->isVisible() && Pick(3) != 0) {
                lastAction_ = std::string("advance: ") + name;
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        // A list without a checked item gets one; in the main window a data file may come.
        if (inMain && Pick(4) == 0) {
            lastAction_ = "advance: load";
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("LoadButton")), Qt::LeftButton);
            return;
        }
        for (QListWidget* list : Usable<QListWidget>(window)) {
            bool checked = false;
            for (int row = 0; row < list->count(); ++row)
                checked = checked || list->item(row)->checkState() == Qt::Checked;
            if (!checked && list->count() > 0) {
                ToggleListItem(window, inMain, list);
                return;
            }
        }
        // The rating window's levels.
        for (const char* name : { "HighLevelEdit", "LowLevelEdit" })
            if (auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name)); edit && edit->text().isEmpty()) {
                lastAction_ = std::string("advance: level ") + name;
                edit->setFocus();
                QTest::keyClicks(edit, Pick(2) == 0 ? "2" : "0.5");
                return;
            }
        ClickButton(window);
    }

    void ClickButton(QWidget* window)
    {
        QList<QPushButton*> buttons = Usable<QPushButton>(window);
        // Ending the program is one choice in many, or walks would rarely get far.
        if (Pick(10) != 0)
            buttons.removeIf([](QPushButton* b) { return b->objectName() == QLatin1String("ExitButton"); });
        QPushButton* button = PickOf(buttons);
        if (!button)
            return;
        lastAction_ = "click " + button->objectName().toStdString();
        CloseModalsSoon();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void ToggleListItem(QWidget* window, bool inMain, QListWidget* list = nullptr)
    {
        if (!list)
            list = PickOf(Usable<QListWidget>(window));
        if (!list || list->count() == 0)
            return;
        QListWidgetItem* item = list->item(static_cast<int>(Pick(static_cast<std::uint32_t>(list->count()))));
        list->scrollToItem(item);
        const Qt::CheckState was = item->checkState();
        const QRect rect = list->visualItemRect(item);
        lastAction_ = "toggle " + list->objectName().toStdString() + " " + std::to_string(list->row(item));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 9, rect.center().y()));
        // A check mark clicked in the main window is a change the close question asks about.
        if (inMain && item->checkState() != was)
            mustBeUnsaved_ = true;
    }

    void SelectListItem(QWidget* window)
    {
        QListWidget* list = PickOf(Usable<QListWidget>(window));
        if (!list || list->count() == 0)
            return;
        const int row = static_cast<int>(Pick(static_cast<std::uint32_t>(list->count())));
        list->scrollToItem(list->item(row));
        const QRect rect = list->visualItemRect(list->item(row));
        lastAction_ = "select " + list->objectName().toStdString() + " " + std::to_string(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 60, rect.center().y()));
    }

    // Keys as an analyst types them, with slips: letters, signs, control keys. True when
    // one of them types something (Tab only moves on).
    bool TypeRandomKeys(QWidget* target, int count)
    {
        static const char typed[] = "0123456789..-,a";
        bool typing = false;
        // A key may take the analyst to another window; the rest would go nowhere.
        for (int k = 0; k < count && target->isVisible(); ++k) {
            switch (Pick(12)) {
            case 0:
                QTest::keyClick(target, Qt::Key_Backspace);
                typing = true;
                break;
            case 1:
                QTest::keyClick(target, Qt::Key_Return);
                typing = true;
                break;
            case 2:
                QTest::keyClick(target, Qt::Key_Tab);
                break;
            default:
                QTest::keyClick(target, typed[Pick(sizeof typed - 1)]);
                typing = true;
                break;
            }
        }
        return typing;
    }

    void TypeIntoEdit(QWidget* window)
    {
        QLineEdit* edit = PickOf(Usable<QLineEdit>(window));
        if (!edit)
            return;
        lastAction_ = "type into " + edit->objectName().toStdString();
        edit->setFocus();
        if (Pick(3) == 0)
            edit->selectAll();
        TypeRandomKeys(edit, 1 + static_cast<int>(Pick(4)));
    }

    static QWidget* GridKeyTarget(MatrixGrid* grid)
    {
        for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return grid;
    }

    void TypeIntoGrid(QWidget* window)
    {
        MatrixGrid* grid = PickOf(Usable<MatrixGrid>(window));
        if (!grid || grid->Model().rowCount() == 0 || grid->Model().columnCount() == 0)
            return;
        lastAction_ = "keys in " + grid->objectName().toStdString();
        grid->setFocus();
        if (Pick(3) == 0)
            grid->setCurrentIndex(
                grid->Model().index(static_cast<int>(Pick(static_cast<std::uint32_t>(grid->Model().rowCount()))),
                    static_cast<int>(Pick(static_cast<std::uint32_t>(grid->Model().columnCount())))));
        switch (Pick(8)) {
        case 0: {
            // A block from a spreadsheet, or from anywhere.
            const QString blocks[] = { QStringLiteral("0,5\t1\r\n0.25\t\r\n"), QStringLiteral("слово\t7"),
                QStringLiteral("10\t11\t12\n1\t2\t3\n4\t5\t6\n7\t8\t9\n"), QStringLiteral("") };
            QApplication::clipboard()->setText(blocks[Pick(4)]);
            QTest::keyClick(GridKeyTarget(grid), Qt::Key_V, Qt::ControlModifier);
            if (grid->Model().Editable() && grid->objectName() == QLatin1String("MassivGrid"))
                mustBeUnsaved_ = true;
            break;
        }
        case 1:
            QTest::keyClick(GridKeyTarget(grid), Qt::Key_Z, Qt::ControlModifier);
            break;
        case 2:
            QTest::keyClick(GridKeyTarget(grid), Qt::Key_Y, Qt::ControlModifier);
            break;
        case 3:
            QTest::keyClick(GridKeyTarget(grid), Qt::Key_C, Qt::ControlModifier);
            break;
        default: {
            const int keys = 1 + static_cast<int>(Pick(5));
            bool typing = false;
            for (int k = 0; k < keys && grid->isVisible(); ++k)
                typing = TypeRandomKeys(GridKeyTarget(grid), 1) || typing;
            // Any typed key in a source grid counts as a change.
            if (typing && grid->objectName() == QLatin1String("MassivGrid"))
                mustBeUnsaved_ = true;
            break;
        }
        }
    }

    void ChooseInCombo(QWidget* window)
    {
        QComboBox* combo = PickOf(Usable<QComboBox>(window));
        if (!combo)
            return;
        lastAction_ = "combo " + combo->objectName().toStdString();
        QTest::keyClick(combo, Pick(2) == 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    // What the context menus of grids and charts ask for: a CSV of a grid, a picture of
    // the chart.
    void ExportSomething(QWidget* window)
    {
        if (Pick(2) == 0) {
            if (MatrixGrid* grid = PickOf(Usable<MatrixGrid>(window))) {
                lastAction_ = "export " + grid->objectName().toStdString();
                emit grid->exportRequested();
            }
        } else if (auto* chart = qobject_cast<ChartView*>(static_cast<QMainWindow*>(window)->centralWidget())) {
            lastAction_ = "save chart";
            emit chart->saveRequested();
        }
    }

    // The chart boxes of a source-matrix window, opened from it.
    void UseChartBoxes(QWidget* window)
    {
        auto* ctrl = window->findChild<TGraphCtrl*>();
        if (!ctrl) {
            ClickButton(window);
            return;
        }
        lastAction_ = "chart boxes";
        if (!ctrl->isVisible()) {
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("GraphCtrlButton")), Qt::LeftButton);
            return;
        }
        QCheckBox* box = ctrl->CellBox(static_cast<int>(Pick(15)), static_cast<int>(Pick(15)));
        if (box->isEnabled())
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        if (Pick(4) == 0)
            ctrl->hide();
    }

    // The comparison of the rating window: "Сравнить с файлом..." answered with any of the
    // walk's files (the example itself, its variant, broken and missing ones), then its
    // filter, exports, another file and closing. The open assessment must not notice.
    void UseComparison(TRatingForm* rating)
    {
        comparing_ = true;
        TCompareForm* window = TCompareForm::Of(rating);
        if (!window || !window->isVisible() || Pick(6) == 0) {
            lastAction_ = "compare: open";
            rating->findChild<QAction*>(QStringLiteral("CompareAction"))->trigger();
            return;
        }
        switch (Pick(6)) {
        case 0: {
            lastAction_ = "compare: filter";
            const char* const words[] = { "", "mt", "Антивирус", "угроза fm", "нет такого" };
            window->findChild<QLineEdit*>(QStringLiteral("FilterEdit"))->setText(QString::fromUtf8(words[Pick(5)]));
            break;
        }
        case 1:
            lastAction_ = "compare: other file";
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("OtherFileButton")), Qt::LeftButton);
            break;
        case 2:
        case 3: {
            const char* const buttons[] = { "SaveChartButton", "SummaryButton", "ChangesButton" };
            const char* button = buttons[Pick(3)];
            lastAction_ = std::string("compare: ") + button;
            QTest::mouseClick(window->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
            break;
        }
        case 4:
            lastAction_ = "compare: keys";
            window->findChild<QTableView*>(QStringLiteral("ChangesTable"))->setFocus();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                Pick(2) == 0 ? Qt::Key_Tab : Qt::Key_Down);
            break;
        default:
            lastAction_ = "compare: close";
            window->close();
            break;
        }
    }

    static void WaitForRanking(const TSensitivityForm* ranking)
    {
        for (int k = 0; k < 30000 && ranking->Computing(); ++k)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    // The sensitivity ranking of the rating window: opened from it, then sorted, filtered,
    // switched between Rm and Re, a row chosen for the rating window, exported, recomputed,
    // cancelled and closed.
    void UseSensitivity(TRatingForm* rating)
    {
        TSensitivityForm* ranking = rating->SensitivityWindow();
        if (!ranking || !ranking->isVisible()) {
            lastAction_ = "sensitivity: open";
            auto* button = rating->findChild<QPushButton*>(QStringLiteral("SensitivityButton"));
            if (button && button->isEnabled())
                QTest::mouseClick(button, Qt::LeftButton);
            if (rating->SensitivityWindow())
                WaitForRanking(rating->SensitivityWindow());
            return;
        }
        // What the walk does next must not depend on how fast the worker is: the ranking under
        // way is let finish first (or was cancelled at once).
        WaitForRanking(ranking);
        auto* table = ranking->findChild<QTableView*>(QStringLiteral("RankingTable"));
        const int rows = table->model()->rowCount();
        switch (Pick(10)) {
        case 0:
            lastAction_ = "sensitivity: sort";
            table->sortByColumn(static_cast<int>(Pick(12)), Pick(2) == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
            break;
        case 1: {
            lastAction_ = "sensitivity: filter";
            auto* filter = ranking->findChild<QLineEdit*>(QStringLiteral("FilterEdit"));
            const char* const words[] = { "", "1", "Эшелон 2", "угроза", "нет такого", "Механизм 3 Угроза" };
            filter->setText(QString::fromUtf8(words[Pick(6)]));
            // Typing waits for the next key a moment; Enter filters at once.
            QTest::keyClick(filter, Qt::Key_Return);
            break;
        }
        case 2:
            lastAction_ = "sensitivity: indicator";
            QTest::keyClick(ranking->findChild<QComboBox*>(QStringLiteral("IndicatorCombo")),
                Pick(2) == 0 ? Qt::Key_Down : Qt::Key_Up);
            break;
        case 3:
            if (rows > 0) {
                lastAction_ = "sensitivity: double click";
                const QRect cell = table->visualRect(
                    table->model()->index(static_cast<int>(Pick(static_cast<std::uint32_t>(std::min(rows, 10)))), 1));
                QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            }
            break;
        case 4:
            if (rows > 0) {
                lastAction_ = "sensitivity: enter";
                table->setFocus();
                table->setCurrentIndex(
                    table->model()->index(static_cast<int>(Pick(static_cast<std::uint32_t>(rows))), 0));
                QTest::keyClick(table, Qt::Key_Return);
            }
            break;
        case 5:
            lastAction_ = "sensitivity: export";
            QTest::mouseClick(ranking->findChild<QPushButton*>(QStringLiteral("ExportButton")), Qt::LeftButton);
            break;
        case 6:
            lastAction_ = "sensitivity: save chart";
            emit ranking->findChild<ChartView*>(QStringLiteral("TornadoChart"))->saveRequested();
            break;
        case 7:
            lastAction_ = "sensitivity: recompute";
            QTest::mouseClick(ranking->findChild<QPushButton*>(QStringLiteral("RecomputeButton")), Qt::LeftButton);
            if (Pick(2) == 0)
                QTest::mouseClick(ranking->findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
            else
                WaitForRanking(ranking);
            break;
        case 8:
            lastAction_ = "sensitivity: cancel";
            QTest::mouseClick(ranking->findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
            break;
        default:
            lastAction_ = "sensitivity: close";
            ranking->close();
            break;
        }
    }

    // Qt warns where the program misuses it (an editor committed to a view it does not
    // belong to, say): each warning is a fault of the walk. The offscreen platform's own
    // remarks about what it cannot do are not.
    static std::vector<std::string>& QtWarnings()
    {
        static std::vector<std::string> warnings;
        return warnings;
    }
    static void KeepQtWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith(QLatin1String("This plugin does not support"))
            || text.startsWith(QLatin1String("QStandardPaths:"))
            // The offscreen platform on Windows looks for a font folder of Qt's own; the
            // program carries its font itself.
            || text.startsWith(QLatin1String("QFontDatabase: Cannot find font directory")))
            return;
        QtWarnings().push_back(text.toStdString());
    }

    std::optional<std::string> Check()
    {
        if (!QtWarnings().empty())
            return "Qt warned: " + QtWarnings().front();
        // The program ended (Exit or closing the main window): nothing of it may be left up.
        if (!program_->MainForm().isVisible()) {
            int shown = 0;
            for (QWidget* window : WalkWindows())
                shown += window && window->isVisible();
            if (shown > 1)
                return "more than one window visible";
            if (shown == 0)
                return std::nullopt; // the next action starts the program again
        }
        int visible = 0;
        std::string which;
        for (QWidget* window : WalkWindows())
            if (window && window->isVisible()) {
                ++visible;
                which += std::string(" ") + window->metaObject()->className();
            }
        if (visible != 1)
            return std::to_string(visible) + " windows of the walk visible:" + which;
        // The ranking goes and comes back with its rating window.
        if (auto* rating = FindWalkWindow<TRatingForm>(program_->Sequence());
            rating && rating->SensitivityWindow() && rating->SensitivityWindow()->isVisible() && !rating->isVisible())
            return "the sensitivity window is up without its rating window";
        if (auto* rating = FindWalkWindow<TRatingForm>(program_->Sequence());
            rating && TCompareForm::Of(rating) && TCompareForm::Of(rating)->isVisible() && !rating->isVisible())
            return "the comparison window is up without its rating window";

        const CData& store = document_->Store();
        const std::pair<const Matrix*, std::pair<int, int>> shapes[] = {
            { &store.MT, { store.MechanismCount, store.ThreatCount } },
            { &store.TE, { store.ThreatCount, store.LayerCount } },
            { &store.ET, { store.LayerCount, store.ThreatCount } },
            { &store.TM, { store.ThreatCount, store.MechanismCount } },
            { &store.EF, { store.LayerCount, store.ThreatCount } },
            { &store.FM, { store.ThreatCount, store.MechanismCount } },
        };
        for (const auto& [matrix, shape] : shapes)
            if (matrix->Rows() != shape.first || matrix->Cols() != shape.second)
                return "a source matrix is " + std::to_string(matrix->Rows()) + "x" + std::to_string(matrix->Cols())
                    + " for counts " + std::to_string(shape.first) + "x" + std::to_string(shape.second);
        if (static_cast<std::size_t>(store.LayerCount) != store.LayerIndices.size()
            || static_cast<std::size_t>(store.ThreatCount) != store.ThreatIndices.size()
            || static_cast<std::size_t>(store.MechanismCount) != store.MechanismIndices.size())
            return "the counts and the index lists disagree";

        // A second file is read only: the open assessment and its saved state stay.
        if (comparing_ && (document_->IsSaved() != wasSaved_ || JudgementsOf(store) != before_))
            return "comparing with a file changed the open assessment or its saved state";
        if (mustBeUnsaved_ && document_->IsSaved())
            return "a change the close question must know about left the data marked saved";
        // What an analysis window changed in the store, while the data stayed marked
        // saved, would be lost without a question.
        if (actedInAnalysis_ && wasSaved_ && document_->IsSaved() && JudgementsOf(store) != before_
            && JudgementsOf(store) != snapshot_)
            return "judgements changed in an analysis window and the data is still marked saved";
        return std::nullopt;
    }

    std::mt19937 rng_;
    QTemporaryDir dir_;
    QString previousDir_;
    QtMessageHandler previousHandler_ = nullptr;
    RandomDialogs dialogs_;
    std::unique_ptr<AssessmentDocument> document_;
    std::unique_ptr<Program> program_;
    Judgements snapshot_;
    Judgements before_;
    bool wasSaved_ = true;
    bool actedInAnalysis_ = false;
    bool mustBeUnsaved_ = false;
    bool comparing_ = false;
    int step_ = 0;
    int restarts_ = 0;
    std::string lastAction_;
    std::map<std::string, int> perWindow_;
};
