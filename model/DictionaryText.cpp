#include "model/DictionaryText.h"

#include "model/Cp1251.h"
#include "model/FileText.h"
#include "model/Messages.h"
#include "model/TextReader.h"

#include <array>

const char* const DictionaryHeader = "Файл словарь Vardun 2.2.";

namespace {
const std::array<const char*, 3> Sections = { "[Layers]", "[Threats]", "[Safety Mechanisms]" };

bool ReadBody(TextReader& reader, NameLists& lists)
{
    // The first section header is taken as a word, the others as whole lines; on a
    // written file both land on the count. Whatever follows the last mechanism is the
    // analyst's own notes.
    std::string_view ignored;
    return reader.ReadWord(ignored, TextReader::MaxLineBytes) && ReadNames(reader, lists.Layers)
        && reader.ReadLine(ignored) && ReadNames(reader, lists.Threats) && reader.ReadLine(ignored)
        && ReadNames(reader, lists.Mechanisms);
}

} // namespace

bool ReadDictionaryText(std::string_view bytes, NameLists& lists, IMessageSink& messages)
{
    TextReader reader(bytes);
    std::string_view header;
    if (!reader.ReadLine(header) || Cp1251ToUtf8(header) != DictionaryHeader) {
        messages.ShowMessage(WrongFormatMessage());
        return false;
    }
    NameLists fresh;
    if (!ReadBody(reader, fresh)) {
        messages.ShowMessage(WrongFormatAtLine(reader.Line()));
        return false;
    }
    lists = std::move(fresh);
    return true;
}

std::optional<std::string> WriteDictionaryText(const NameLists& lists)
{
    std::string out;
    AppendFixedLine(out, DictionaryHeader);
    const std::array<const std::vector<std::string>*, 3> names = { &lists.Layers, &lists.Threats, &lists.Mechanisms };
    for (int k = 0; k < 3; ++k) {
        AppendFixedLine(out, Sections[k]);
        if (!AppendNames(out, *names[k]))
            return std::nullopt;
    }
    return out;
}
