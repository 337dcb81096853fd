#include "model/DataText.h"

#include "model/Cp1251.h"
#include "model/Data.h"
#include "model/FileText.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/SourceMatrices.h"
#include "model/TextReader.h"

#include <array>
#include <cstdint>

const char* const DataHeader = "Файл данных Vardun 2.2.";

namespace {
const std::array<const char*, 3> NameSections = { "[Список эшелонов]", "[Список угроз]", "[Список механизмов защиты]" };
const std::array<const char*, 3> IndexSections
    = { "[Список выбранных эшелонов]", "[Список выбранных угроз]", "[Список выбранных механизмов защиты]" };
const char* const ParametersSection = "[Прочие параметры]";

// The store's parts in file order; const with a const store.
template <typename Store> auto Names(Store& d)
{
    return std::array { &d.LayerNames, &d.ThreatNames, &d.MechanismNames };
}
template <typename Store> auto Indices(Store& d)
{
    return std::array { &d.LayerIndices, &d.ThreatIndices, &d.MechanismIndices };
}

void AppendGeneralWord(std::string& out, float value)
{
    AppendGeneral(out, static_cast<double>(value));
    out += ' ';
}

bool SkipLine(TextReader& reader)
{
    std::string_view ignored;
    return reader.ReadLine(ignored);
}

bool ReadFloat(TextReader& reader, float& value)
{
    std::string_view word;
    return reader.ReadWord(word) && ParseFloat(word, value);
}

// Positions into a names list of namesCount entries, ascending, after their count.
bool ReadIndices(TextReader& reader, std::size_t namesCount, std::vector<std::string>& indices)
{
    int count = 0;
    if (!ReadCount(reader, count) || static_cast<std::size_t>(count) > namesCount)
        return false;
    // An empty list still has its values line, left empty.
    if (count == 0)
        return reader.SkipBlankRestOfLine() && reader.SkipBlankRestOfLine();
    int previous = -1;
    for (int i = 0; i < count; ++i) {
        std::string_view word;
        int value = 0;
        if (!reader.ReadWord(word) || !ParseInt(word, value) || value <= previous
            || static_cast<std::size_t>(value) >= namesCount)
            return false;
        indices.push_back(std::to_string(value));
        previous = value;
    }
    return reader.SkipBlankRestOfLine();
}

bool ReadMatrix(TextReader& reader, int rows, int cols, Matrix& m)
{
    std::string_view tag;
    int fileRows = 0;
    int fileCols = 0;
    if (!reader.ReadWord(tag, TextReader::MaxLineBytes) || !ReadCount(reader, fileRows) || fileRows != rows
        || !ReadCount(reader, fileCols) || fileCols != cols)
        return false;
    // Every element takes a digit and a separator (the last one may end the text).
    const std::uint64_t elements = static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(cols);
    if (elements > (reader.BytesLeft() + 1) / 2)
        return false;
    m.Resize(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            if (!ReadFloat(reader, m(i, j)))
                return false;
    return true;
}

// Everything after the header, into a fresh store; false with the reader on the line
// at fault.
bool ReadBody(TextReader& reader, CData& d)
{
    for (std::vector<std::string>* names : Names(d))
        if (!SkipLine(reader) || !ReadNames(reader, *names))
            return false;
    for (int k = 0; k < 3; ++k)
        if (!SkipLine(reader) || !ReadIndices(reader, Names(d)[k]->size(), *Indices(d)[k]))
            return false;

    if (!SkipLine(reader))
        return false;
    const std::array<int*, 3> counts = { &d.MechanismCount, &d.LayerCount, &d.ThreatCount };
    const std::array<const std::vector<std::string>*, 3> counted
        = { &d.MechanismIndices, &d.LayerIndices, &d.ThreatIndices };
    for (int k = 0; k < 3; ++k)
        if (!ReadCount(reader, *counts[k]) || static_cast<std::size_t>(*counts[k]) != counted[k]->size())
            return false;
    for (CData::ThresholdPair& pair : d.Thresholds)
        if (!ReadFloat(reader, pair.Small) || !ReadFloat(reader, pair.Medium))
            return false;
    if (!ReadFloat(reader, d.HighLevel) || !ReadFloat(reader, d.LowLevel))
        return false;

    for (const SourceMatrixInfo& source : kSourceMatrices)
        if (!ReadMatrix(reader, d.CountOf(source.Rows), d.CountOf(source.Cols), d.*source.Member))
            return false;
    // Whatever follows the last matrix is the analyst's own notes, added by hand.
    return true;
}

// The reason a text is not a data file, or nothing when `fresh` now holds it.
std::optional<std::string> Parse(std::string_view bytes, CData& fresh)
{
    TextReader reader(bytes);
    std::string_view header;
    if (!reader.ReadLine(header) || Cp1251ToUtf8(header) != DataHeader)
        return WrongFormatMessage();
    if (!ReadBody(reader, fresh))
        return WrongFormatAtLine(reader.Line());
    return std::nullopt;
}

} // namespace

bool ReadDataText(std::string_view bytes, CData& store, IMessageSink& messages)
{
    CData fresh;
    if (const std::optional<std::string> fault = Parse(bytes, fresh)) {
        messages.ShowMessage(*fault);
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        *Names(store)[k] = std::move(*Names(fresh)[k]);
        *Indices(store)[k] = std::move(*Indices(fresh)[k]);
    }
    store.MechanismCount = fresh.MechanismCount;
    store.LayerCount = fresh.LayerCount;
    store.ThreatCount = fresh.ThreatCount;
    store.Thresholds = fresh.Thresholds;
    store.HighLevel = fresh.HighLevel;
    store.LowLevel = fresh.LowLevel;
    for (const SourceMatrixInfo& source : kSourceMatrices)
        store.*source.Member = std::move(fresh.*source.Member);
    return true;
}

std::optional<std::string> WriteDataText(const CData& d)
{
    std::string out;
    AppendFixedLine(out, DataHeader);
    for (int k = 0; k < 3; ++k) {
        AppendFixedLine(out, NameSections[k]);
        if (!AppendNames(out, *Names(d)[k]))
            return std::nullopt;
    }
    for (int k = 0; k < 3; ++k) {
        AppendFixedLine(out, IndexSections[k]);
        AppendIntLine(out, static_cast<int>(Indices(d)[k]->size()));
        for (const std::string& entry : *Indices(d)[k])
            out += entry + ' ';
        out += "\r\n";
    }

    AppendFixedLine(out, ParametersSection);
    for (int count : { d.MechanismCount, d.LayerCount, d.ThreatCount })
        out += std::to_string(count) + ' ';
    for (const CData::ThresholdPair& pair : d.Thresholds) {
        AppendGeneralWord(out, pair.Small);
        AppendGeneralWord(out, pair.Medium);
    }
    AppendGeneralWord(out, d.HighLevel);
    AppendGeneralWord(out, d.LowLevel);
    out += "\r\n";

    for (const SourceMatrixInfo& source : kSourceMatrices) {
        const Matrix& m = d.*source.Member;
        AppendFixedLine(out, std::string("[") + source.Name + "]");
        out += std::to_string(m.Rows()) + ' ' + std::to_string(m.Cols()) + "\r\n";
        for (int i = 0; i < m.Rows(); ++i) {
            for (int j = 0; j < m.Cols(); ++j)
                AppendGeneralWord(out, m(i, j));
            out += "\r\n";
        }
    }

    // A store that breaks its own rules (say, a count that disagrees with its index
    // list) would give a file no one can load; refusing it keeps the old file instead.
    CData check;
    if (Parse(out, check))
        return std::nullopt;
    return out;
}
