// Placeholder until the CSV writer lands; replaced as a whole.
#include "model/Csv.h"

#include "model/Messages.h"

std::string CsvText(const CsvTable&)
{
    return {};
}

bool SaveCsv(const std::string& path, const CsvTable&, IMessageSink& messages)
{
    messages.ShowMessage("Не удалось сохранить файл " + path + ".");
    return false;
}
