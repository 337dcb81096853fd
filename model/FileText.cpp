#include "model/FileText.h"

#include "model/Cp1251.h"
#include "model/FileBytes.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/TextReader.h"
#include "model/Texts.h"

// "файл" for "файла" is how the program has always put it; analysts know the message by it.
std::string WrongFormatMessage()
{
    return Translate("Files", "Неправильный формат файл");
}

std::string WrongFormatAtLine(int line)
{
    return FillIn(Translate("Files", "Неправильный формат файл (строка %1)"), { std::to_string(line) });
}

std::string OutOfMemoryMessage()
{
    return Translate("Files", "Недостаточно памяти для загрузки файла.");
}

bool SaveText(
    const std::string& path, const std::optional<std::string>& text, IMessageSink& messages, const SaveOptions& options)
{
    if (text && SaveFileBytes(path, *text, options))
        return true;
    messages.ShowMessage(FillIn(Translate("Files", "Не удалось сохранить файл %1."), { path }));
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
