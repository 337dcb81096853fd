// The dictionary file on disk, over its text form.
#include "model/Dictionary.h"

#include "model/Cp1251.h"
#include "model/DictionaryText.h"
#include "model/FileBytes.h"
#include "model/FileText.h"
#include "model/Messages.h"
#include "model/Texts.h"

#include <new>

bool LoadDictionary(const std::string& path, NameLists& lists, IMessageSink& messages)
{
    // The lists are read apart and moved in only when whole, so memory running out on
    // the way leaves them as they were.
    try {
        const std::optional<std::string> bytes = ReadFileBytes(path, Utf8ToCp1251(DictionaryHeader).value_or(""));
        if (!bytes) {
            messages.ShowMessage(FillIn(Translate("Files", "Не удалось загрузить файл %1."), { path }));
            return false;
        }
        return ReadDictionaryText(*bytes, lists, messages);
    } catch (const std::bad_alloc&) {
    }
    messages.ShowMessage(OutOfMemoryMessage());
    return false;
}

bool SaveDictionary(const std::string& path, const NameLists& lists, IMessageSink& messages)
{
    return SaveText(path, WriteDictionaryText(lists), messages);
}
