#include "tools/report/ChartImages.h"

#include "app/AnalysisWindowFactory.h"
#include "model/Data.h"
#include "model/FileBytes.h"
#include "model/Messages.h"
#include "ui/ChartView.h"
#include "ui/Comment.h"
#include "ui/Dialogs.h"
#include "ui/Document.h"
#include "ui/Graph.h"
#include "ui/Navigation.h"
#include "ui/Rating.h"
#include "ui/WindowFont.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>

#include <charconv>
#include <cstdlib>
#include <memory>

namespace {

// The windows' questions have no one to answer them here: messages go to the tool's
// messages, every dialog counts as cancelled.
class BatchDialogs : public IDialogs {
public:
    explicit BatchDialogs(IMessageSink& messages)
        : messages_(messages)
    {
    }
    void ShowMessage(const std::string& text) override { messages_.ShowMessage(text); }
    void ShowInformation(const std::string& text) override { messages_.ShowMessage(text); }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::Cancel; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }

private:
    IMessageSink& messages_;
};

// The windows are driven directly; nothing moves between them.
struct StandStill : IWizardNavigation {
    void ShowAbout() override { }
    void ShowAnalysis(bool) override { }
    void GraphNext(AnalysisMode) override { }
    void GraphBack(AnalysisMode) override { }
    void MMEENext() override { }
    void MMEEBack() override { }
    void RatingBack() override { }
    void RatingFinish() override { }
    void WizardWindowClosed() override { }
};

// An application object on the offscreen platform, with the program's style and font,
// unless one exists.
void EnsureApplication()
{
    if (QApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The images are the windows at 1:1, whatever scaling the environment asks for.
    unsetenv("QT_SCALE_FACTOR");
    static int argc = 1;
    static char name[] = "vardun-report";
    static char* argv[] = { name, nullptr };
    static QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
}

bool SaveImage(QWidget& window, const QString& path, IMessageSink& messages)
{
    // Charts place their labels when they draw; they do so before the image is taken.
    for (ChartView* chart : window.findChildren<ChartView*>())
        chart->EnsureDrawn();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!window.grab().toImage().save(&buffer, "PNG")
        || !SaveFileBytes(path.toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
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

} // namespace

bool WriteChartImages(const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating,
    IMessageSink& messages)
{
    EnsureApplication();
    const QString dir = QString::fromStdString(folder);
    if (!QDir().mkpath(dir)) {
        messages.ShowMessage("vardun-report: the folder " + folder + " could not be made");
        return false;
    }

    AssessmentDocument document;
    document.Store() = loaded;
    BatchDialogs dialogs(messages);
    StandStill navigation;
    TCommentForm comments(document.Store());
    AnalysisWindowFactory factory(document, dialogs, navigation);
    factory.SetCommentForm(&comments);

    bool written = true;
    for (AnalysisMode mode : kAnalysisModes) {
        std::unique_ptr<QWidget> window = factory.CreateGraphWindow(mode, document.Store().Counts());
        auto* graph = static_cast<TGraphForm*>(window.get());
        // Showing puts the file's thresholds into the fields, as in the program.
        graph->show();
        graph->ComputingButtonClick();
        const QString name = QStringLiteral("chart-mode%1.png").arg(ModeNumber(mode));
        written = SaveImage(*graph, QDir(dir).filePath(name), messages) && written;
    }
    // Shown after the four modes, it computes MM and EE from their results.
    std::unique_ptr<QWidget> mmee = factory.CreateMMEEWindow();
    mmee->show();
    written = SaveImage(*mmee, QDir(dir).filePath(QStringLiteral("chart-mmee.png")), messages) && written;
    if (rating) {
        std::unique_ptr<QWidget> window = factory.CreateRatingWindow();
        window->show();
        ChooseRating(*window, *rating);
        written = SaveImage(*window, QDir(dir).filePath(QStringLiteral("chart-rating.png")), messages) && written;
    }
    return written;
}

// Placeholder until chart export lands.
bool WriteChartSvgs(const CData&, const std::string& folder, const std::optional<RatingRequest>&, IMessageSink& messages)
{
    messages.ShowMessage("vardun-report: " + folder + " was not written");
    return false;
}
