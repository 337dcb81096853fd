// The data file on disk: CData's load and save over the text form.
#include "model/Data.h"

#include "model/Cp1251.h"
#include "model/DataText.h"
#include "model/FileBytes.h"
#include "model/FileText.h"
#include "model/Messages.h"

bool CData::LoadFromFile(const std::string& path, IMessageSink& messages)
{
    const std::optional<std::string> bytes = ReadFileBytes(path, Utf8ToCp1251(DataHeader).value_or(""));
    if (!bytes) {
        messages.ShowMessage("Не удалось открыть файл.");
        return false;
    }
    return ReadDataText(*bytes, *this, messages);
}

bool CData::SaveToFile(const std::string& path, IMessageSink& messages) const
{
    return SaveText(path, WriteDataText(*this), messages);
}
