#include "model/FileText.h"

#include "model/Cp1251.h"
#include "model/FileBytes.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/TextReader.h"

const char* const WrongFormatMessage = "Неправильный формат файл";

std::string WrongFormatAtLine(int line)
{
    return std::string(WrongFormatMessage) + " (строка " + std::to_string(line) + ")";
}

bool SaveText(const std::string& path, const std::optional<std::string>& text, IMessageSink& messages)
{
    if (text && SaveFileBytes(path, *text))
        return true;
    messages.ShowMessage("Не удалось сохранить файл " + path + ".");
    return false;
}

void AppendFixedLine(std::string& out, std::string_view utf8)
{
    out += *Utf8ToCp1251(utf8);
    out += "\r\n";
}

void AppendIntLine(std::string& out, int value)
{
    out += std::to_string(value);
    out += "\r\n";
}

bool AppendNames(std::string& out, const std::vector<std::string>& names)
{
    AppendIntLine(out, static_cast<int>(names.size()));
    for (const std::string& name : names) {
        const std::optional<std::string> bytes = Utf8ToCp1251(name);
        if (!bytes || bytes->size() > TextReader::MaxLineBytes || bytes->find_first_of("\r\n") != std::string::npos)
            return false;
        out += *bytes;
        out += "\r\n";
    }
    return true;
}

bool ReadCount(TextReader& reader, int& count)
{
    std::string_view word;
    return reader.ReadWord(word) && ParseInt(word, count) && count >= 0;
}

bool ReadNames(TextReader& reader, std::vector<std::string>& names)
{
    int count = 0;
    // Every name takes at least one byte of what is left, so a larger count is a lie.
    if (!ReadCount(reader, count) || static_cast<std::size_t>(count) > reader.BytesLeft()
        || !reader.SkipBlankRestOfLine())
        return false;
    std::vector<std::string> read;
    for (int i = 0; i < count; ++i) {
        std::string_view line;
        if (!reader.ReadLine(line))
            return false;
        read.push_back(Cp1251ToUtf8(line));
    }
    names = std::move(read);
    return true;
}
