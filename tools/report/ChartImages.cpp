// The report tool's chart files, made by the program's own windows on Qt's offscreen
// platform: PNG pictures of what they show, SVG drawings of their charts.
#include "tools/report/ChartImages.h"

#include "tools/report/OffscreenApplication.h"

#include "app/WizardFactory.h"
#include "model/Data.h"
#include "model/FileBytes.h"
#include "model/Messages.h"
#include "ui/charts/Canvas.h"
#include "ui/charts/MMEEChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/export/ExportFormats.h"
#include "ui/widgets/ChartView.h"
#include "ui/widgets/Navigation.h"
#include "ui/windows/Comment.h"
#include "ui/windows/Graph.h"
#include "ui/windows/MMEE.h"
#include "ui/windows/Rating.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>

#include <charconv>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The windows' questions have no one to answer them here: messages go to the tool's
// messages, every dialog counts as cancelled, except a save dialog the tool itself has
// answered beforehand.
class BatchDialogs : public IDialogs {
public:
    explicit BatchDialogs(IMessageSink& messages)
        : messages_(messages)
    {
    }
    void ShowMessage(const std::string& text) override
    {
        ++messagesShown_;
        messages_.ShowMessage(Said(text));
    }
    void ShowInformation(const std::string& text) override { messages_.ShowMessage(Said(text)); }
    // The window whose messages follow: a refused threshold or level says where it was.
    void Within(std::string window) { window_ = std::move(window); }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::Cancel; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override
    {
        return std::exchange(saveAnswer_, std::nullopt);
    }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }

    // The path the next save dialog chooses.
    void AnswerNextSave(const QString& path) { saveAnswer_ = path; }
    // Whether that answer is still waiting for its dialog.
    bool SaveAnswerPending() const { return saveAnswer_.has_value(); }
    void ForgetSaveAnswer() { saveAnswer_.reset(); }
    int MessagesShown() const { return messagesShown_; }

private:
    std::string Said(const std::string& text) const
    {
        return window_.empty() ? text : "vardun-report: " + window_ + ": " + text;
    }

    IMessageSink& messages_;
    std::string window_;
    std::optional<QString> saveAnswer_;
    int messagesShown_ = 0;
};

bool SaveImage(QMainWindow& window, const QString& path, IMessageSink& messages)
{
    // Charts place their labels when they draw; they do so before the image is taken.
    for (ChartView* chart : window.findChildren<ChartView*>())
        chart->EnsureDrawn();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // The client area: a window's menu bar is no part of what it shows.
    if (!window.grab(window.centralWidget()->geometry()).toImage().save(&buffer, "PNG")
        || !SaveFileBytes(
            path.toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        messages.ShowMessage("vardun-report: " + path.toStdString() + " was not written");
        return false;
    }
    return true;
}

// The shortest text that reads back as the same float: the edit then holds exactly the
// level the curves of the JSON report use.
QString LevelText(float level)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, level).ptr;
    return QString::fromLatin1(buffer, static_cast<qsizetype>(end - buffer));
}

// The rating window as the analyst leaves it: the selection checked in its lists, the
// levels typed into its edits.
void ChooseRating(QWidget& window, const RatingRequest& rating)
{
    const std::pair<const char*, int> rows[] = { { "LayersList", rating.Selection.Layer },
        { "ThreatsList", rating.Selection.Threat }, { "MechanismsList", rating.Selection.Mechanism } };
    for (const auto& [name, row] : rows)
        if (auto* list = window.findChild<QListWidget*>(QString::fromLatin1(name)); list && list->item(row))
            list->item(row)->setCheckState(Qt::Checked);
    const std::pair<const char*, float> levels[] = { { "HighLevelEdit", rating.High }, { "LowLevelEdit", rating.Low } };
    for (const auto& [name, level] : levels)
        if (auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name)))
            edit->setText(LevelText(level));
}

// Passes a drawing on to another canvas, moved by an offset: a group box's chart on its
// window's client area.
class ShiftedCanvas : public Canvas {
public:
    ShiftedCanvas(Canvas& target, QPoint offset)
        : target_(target)
        , offset_(offset)
        , targetPen_(target.CurrentPen())
        , targetBrush_(target.CurrentBrush())
    {
    }
    ~ShiftedCanvas() override
    {
        target_.Select(targetPen_);
        target_.Select(targetBrush_);
    }
    ShiftedCanvas(const ShiftedCanvas&) = delete;
    ShiftedCanvas& operator=(const ShiftedCanvas&) = delete;

    void Rectangle(int left, int top, int right, int bottom) override
    {
        SelectTools();
        target_.Rectangle(left + offset_.x(), top + offset_.y(), right + offset_.x(), bottom + offset_.y());
    }
    void Ellipse(int left, int top, int right, int bottom) override
    {
        SelectTools();
        target_.Ellipse(left + offset_.x(), top + offset_.y(), right + offset_.x(), bottom + offset_.y());
    }
    void TextOut(int x, int y, std::string_view text, Rgb background) override
    {
        target_.TextOut(x + offset_.x(), y + offset_.y(), text, background);
    }

protected:
    void Line(Point from, Point to) override
    {
        SelectTools();
        target_.MoveTo(from.X + offset_.x(), from.Y + offset_.y());
        target_.LineTo(to.X + offset_.x(), to.Y + offset_.y());
    }

private:
    void SelectTools()
    {
        target_.Select(CurrentPen());
        target_.Select(CurrentBrush());
    }

    Canvas& target_;
    QPoint offset_;
    Pen targetPen_;
    Brush targetBrush_;
};

enum class ChartWindow { Mode, MMEE, Rating };

// What a writer gets: one window as the program shows it, the file name it is written
// under (without extension), and the assessment the windows work on.
struct ShownWindow {
    QMainWindow& Window;
    ChartWindow Kind;
    QString Name;
    const CData& Store;
    BatchDialogs& Dialogs;
};

// Makes the analysis windows one after the other, as the walk shows them: each mode
// window computed with the file's thresholds and every chart cell ticked, then MM and EE
// (computed from the four modes when shown), then for a rating request the rating window
// with its selection checked and its levels typed. Each goes to `write`; false when a
// write failed or the folder could not be made.
bool ForEachChartWindow(const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating,
    IMessageSink& messages, const std::function<bool(const ShownWindow&)>& write)
{
    EnsureOffscreenApplication();
    if (!QDir().mkpath(QString::fromStdString(folder))) {
        messages.ShowMessage("vardun-report: the folder " + folder + " could not be made");
        return false;
    }

    AssessmentDocument document;
    document.Store() = loaded;
    BatchDialogs dialogs(messages);
    StillNavigation navigation;
    TCommentForm comments(document.Store());
    WalkFactory factory(WindowKit { document, dialogs, navigation, comments });
    const auto hand = [&](QWidget& window, ChartWindow kind, const QString& name) {
        return write({ static_cast<QMainWindow&>(window), kind, name, document.Store(), dialogs });
    };

    bool written = true;
    for (std::size_t step = 0; step < factory.StepCount(); ++step) {
        std::unique_ptr<QWidget> window = factory.Create(step, document.Store().Counts());
        if (auto* graph = qobject_cast<TGraphForm*>(window.get())) {
            dialogs.Within("mode " + std::to_string(ModeNumber(graph->Mode())) + " window");
            // Showing puts the file's thresholds into the fields, as in the program.
            graph->show();
            graph->ComputingButtonClick();
            written = hand(*graph, ChartWindow::Mode, QStringLiteral("chart-mode%1").arg(ModeNumber(graph->Mode())))
                && written;
        } else if (qobject_cast<TMMEEForm*>(window.get())) {
            dialogs.Within("MM and EE window");
            // Shown after the four modes, it computes MM and EE from their results.
            window->show();
            written = hand(*window, ChartWindow::MMEE, QStringLiteral("chart-mmee")) && written;
        } else if (rating && qobject_cast<TRatingForm*>(window.get())) {
            dialogs.Within("rating window");
            window->show();
            ChooseRating(*window, *rating);
            written = hand(*window, ChartWindow::Rating, QStringLiteral("chart-rating")) && written;
        }
        dialogs.Within({});
    }
    return written;
}

QString FilePath(const std::string& folder, const QString& name, const char* extension)
{
    return QDir(QString::fromStdString(folder)).filePath(name + QLatin1Char('.') + QLatin1String(extension));
}

// A window's own "Сохранить график..." with the save dialog answered: the file is exactly
// what the analyst would save from it.
bool SaveThroughWindow(const ShownWindow& shown, const QString& path, IMessageSink& messages)
{
    auto* chart = qobject_cast<ChartView*>(shown.Window.centralWidget());
    const int messagesBefore = shown.Dialogs.MessagesShown();
    shown.Dialogs.AnswerNextSave(path);
    if (chart)
        emit chart->saveRequested();
    if (shown.Dialogs.SaveAnswerPending()) {
        shown.Dialogs.ForgetSaveAnswer();
        messages.ShowMessage("vardun-report: " + path.toStdString() + " was not written");
        return false;
    }
    // A failed save has said so.
    return shown.Dialogs.MessagesShown() == messagesBefore;
}

// Both diagonal charts of the MM and EE window in one drawing of its client area, as the
// PNG shows them: each at its group box's place, with every label of both boxes.
bool SaveBothDiagonalCharts(const ShownWindow& shown, const QString& path, IMessageSink& messages)
{
    QWidget* client = shown.Window.centralWidget();
    const std::pair<const char*, const Matrix*> boxes[]
        = { { "MMGroupBox", &shown.Store.MM }, { "EEGroupBox", &shown.Store.EE } };
    std::vector<std::pair<QPoint, const Matrix*>> charts;
    ChartPicture picture;
    picture.Surface = client;
    for (const auto& [name, matrix] : boxes) {
        auto* box = client->findChild<QWidget*>(QString::fromLatin1(name));
        if (!box) {
            messages.ShowMessage("vardun-report: " + path.toStdString() + " was not written");
            return false;
        }
        charts.emplace_back(box->pos(), matrix);
        for (QLabel* label : box->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            picture.Labels.push_back(label);
    }
    picture.Draw = [charts](Canvas& canvas) {
        for (const auto& [at, matrix] : charts) {
            ShiftedCanvas shifted(canvas, at);
            DrawDiagonalChart(shifted, *matrix);
        }
    };
    return ExportChart(path.toStdString(), picture, messages);
}

} // namespace

bool WriteChartImages(
    const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating, IMessageSink& messages)
{
    return ForEachChartWindow(loaded, folder, rating, messages, [&](const ShownWindow& shown) {
        return SaveImage(shown.Window, FilePath(folder, shown.Name, "png"), messages);
    });
}

bool WriteChartSvgs(
    const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating, IMessageSink& messages)
{
    return ForEachChartWindow(loaded, folder, rating, messages, [&](const ShownWindow& shown) {
        const QString path = FilePath(folder, shown.Name, "svg");
        return shown.Kind == ChartWindow::MMEE ? SaveBothDiagonalCharts(shown, path, messages)
                                               : SaveThroughWindow(shown, path, messages);
    });
}
