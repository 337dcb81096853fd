// Placeholder until the report lands; replaced as a whole.
#include "ui/AssessmentReport.h"

#include "model/Messages.h"

bool WriteAssessmentReport(const std::string& path, const CData&, const ReportRequest&, IMessageSink& messages)
{
    messages.ShowMessage("Не удалось сохранить файл " + path + ".");
    return false;
}
