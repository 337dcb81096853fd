// The dictionary file on disk, over its text form.
#include "model/Dictionary.h"

#include "model/Cp1251.h"
#include "model/DictionaryText.h"
#include "model/FileBytes.h"
#include "model/FileText.h"
#include "model/Messages.h"

bool LoadDictionary(const std::string& path, NameLists& lists, IMessageSink& messages)
{
    const std::optional<std::string> bytes = ReadFileBytes(path, Utf8ToCp1251(DictionaryHeader).value_or(""));
    if (!bytes) {
        messages.ShowMessage("Не удалось загрузить файл " + path + ".");
        return false;
    }
    return ReadDictionaryText(*bytes, lists, messages);
}

bool SaveDictionary(const std::string& path, const NameLists& lists, IMessageSink& messages)
{
    return SaveText(path, WriteDictionaryText(lists), messages);
}
