// --pdf: the program's printable report, written without a display.
#include "tools/report/PdfReport.h"

#include "model/Data.h"
#include "model/Messages.h"
#include "ui/AssessmentReport.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdlib>

namespace {

// The report's fonts need an application object; on the offscreen platform, unless one
// exists (--charts may have made it).
void EnsureApplication()
{
    if (QApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "vardun-report";
    static char* argv[] = { name, nullptr };
    static QApplication app(argc, argv);
}

} // namespace

bool WritePdfReport(const CData& loaded, const std::string& inputName, const std::string& path,
    const std::optional<RatingRequest>& rating, IMessageSink& messages)
{
    EnsureApplication();
    ReportRequest request;
    request.FileName = QFileInfo(QString::fromStdString(inputName)).fileName().toStdString();
    if (rating) {
        request.Rating = rating->Selection;
        request.High = rating->High;
        request.Low = rating->Low;
    }
    return WriteAssessmentReport(path, loaded, request, messages);
}
