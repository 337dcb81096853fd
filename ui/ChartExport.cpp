// Placeholder until chart export lands; replaced as a whole.
#include "ui/ChartExport.h"

#include "ui/Dialogs.h"

void SaveChartAs(QWidget*, const ChartPicture&, IDialogs&)
{
}

bool SaveChart(const std::string& path, const ChartPicture&, IMessageSink& messages)
{
    messages.ShowMessage("Не удалось сохранить файл " + path + ".");
    return false;
}
