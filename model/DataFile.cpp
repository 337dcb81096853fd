// The data file on disk: CData's load and save over the text form.
#include "model/Data.h"

#include "model/Cp1251.h"
#include "model/DataText.h"
#include "model/FileBytes.h"
#include "model/FileText.h"
#include "model/Messages.h"
#include "model/Texts.h"

#include <new>

bool CData::LoadFromFile(const std::string& path, IMessageSink& messages)
{
    // The text is read into a store of its own and moved in only when whole, so memory
    // running out on the way leaves this store as it was; the message is shown once the
    // file's bytes are freed.
    try {
        const std::optional<std::string> bytes = ReadFileBytes(path, Utf8ToCp1251(DataHeader).value_or(""));
        if (!bytes) {
            messages.ShowMessage(Translate("Files", "Не удалось открыть файл."));
            return false;
        }
        return ReadDataText(*bytes, *this, messages);
    } catch (const std::bad_alloc&) {
    }
    messages.ShowMessage(OutOfMemoryMessage());
    return false;
}

bool CData::SaveToFile(const std::string& path, IMessageSink& messages) const
{
    return SaveText(path, WriteDataText(*this), messages);
}
