// --pdf: the program's printable report, written without a display.
#include "tools/report/PdfReport.h"

#include "analysis/Compare.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "tools/report/OffscreenApplication.h"
#include "ui/export/AssessmentReport.h"

#include <QFileInfo>

bool WritePdfReport(const CData& loaded, const std::string& inputName, const std::string& path,
    const std::optional<RatingRequest>& rating, IMessageSink& messages, const CData* other,
    const std::string& otherName)
{
    EnsureOffscreenApplication();
    ReportRequest request;
    request.FileName = QFileInfo(QString::fromStdString(inputName)).fileName().toStdString();
    if (rating) {
        request.Rating = rating->Selection;
        request.High = rating->High;
        request.Low = rating->Low;
    }
    if (other)
        request.Comparison = ReportComparison { QFileInfo(QString::fromStdString(otherName)).fileName().toStdString(),
            std::make_shared<AssessmentComparison>(CompareAssessments(loaded, *other)) };
    // One file named on the command line: "--pdf /dev/stdout" may feed a pipe.
    SaveOptions options;
    options.WriteStreams = true;
    return WriteAssessmentReport(path, loaded, request, messages, options);
}
