// vardun-screens OUT_DIR FILE.sav [OTHER.sav]: pictures of windows for the README, made
// offscreen from a data file as the analyst would see them. One entry per picture in the
// table below; OTHER.sav is for pictures that need a second assessment.
#include "analysis/Derived.h"
#include "model/Data.h"
#include "model/FileText.h"
#include "model/Messages.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/document/Document.h"
#include "ui/widgets/Navigation.h"
#include "ui/widgets/Texts.h"
#include "ui/widgets/WindowFont.h"
#include "ui/windows/Compare.h"
#include "ui/windows/Rating.h"
#include "ui/windows/Sensitivity.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>

#include <cstdio>
#include <optional>
#include <string>

namespace {

// Says what went wrong on the standard error; every question is answered "no".
class ToolDialogs : public IDialogs {
public:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void ShowInformation(const std::string& text) override { ShowMessage(text); }
    CloseAnswer AskSaveChanges(QWidget*) override { return CloseAnswer::No; }
    std::optional<QString> AskOpenFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(QWidget*, const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> AskName(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

struct Inputs {
    AssessmentDocument& Document;
    // Empty when not given.
    std::string Other;
    IDialogs& Dialogs;
};

// The sensitivity window over the rating window, once the ranking is complete.
std::optional<QImage> SensitivityWindow(const Inputs& in)
{
    StillNavigation navigation;
    TRatingForm rating(in.Document, in.Dialogs, navigation);
    rating.show();
    auto* button = rating.findChild<QPushButton*>(QStringLiteral("SensitivityButton"));
    if (!button || !button->isEnabled())
        return std::nullopt;
    button->click();
    TSensitivityForm* window = rating.SensitivityWindow();
    QElapsedTimer timer;
    timer.start();
    while (window && !window->HasRanking() && timer.elapsed() < 600000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!window || !window->HasRanking())
        return std::nullopt;
    QApplication::processEvents();
    return window->grab().toImage();
}

// The comparison window over the rating window: the file against OTHER.sav.
std::optional<QImage> CompareWindow(const Inputs& in)
{
    StillNavigation navigation;
    TRatingForm rating(in.Document, in.Dialogs, navigation);
    rating.show();
    auto* window = new TCompareForm(in.Document, in.Dialogs, &rating);
    if (!window->CompareWith(in.Other))
        return std::nullopt;
    QApplication::processEvents();
    return window->grab().toImage();
}

struct Picture {
    const char* File;
    std::optional<QImage> (*Make)(const Inputs& in);
    bool NeedsOther;
};

const Picture kPictures[] = {
    { "sensitivity-window.png", SensitivityWindow, false },
    { "compare-window.png", CompareWindow, true },
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: vardun-screens OUT_DIR FILE.sav [OTHER.sav]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Pictures of the windows at 1:1.
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(WindowFont());
    InstallTextTranslator();

    ToolDialogs dialogs;
    AssessmentDocument document;
    if (!document.Load(argv[2], dialogs))
        return 1;
    // The store as the walk leaves it before the rating window.
    ComputeAllModes(document.Store());
    const Inputs inputs { document, argc == 4 ? argv[3] : "", dialogs };

    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    int status = 0;
    for (const Picture& picture : kPictures) {
        if (picture.NeedsOther && inputs.Other.empty())
            continue;
        const std::optional<QImage> image = picture.Make(inputs);
        const std::string path = out.filePath(QString::fromLatin1(picture.File)).toStdString();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        const bool encoded = image && buffer.open(QIODevice::WriteOnly) && image->save(&buffer, "PNG");
        // Written whole or not at all, as every file of the program.
        if (!SaveText(path, encoded ? std::optional(bytes.toStdString()) : std::nullopt, dialogs)) {
            std::fprintf(stderr, "%s: not written\n", path.c_str());
            status = 1;
        }
    }
    return status;
}
