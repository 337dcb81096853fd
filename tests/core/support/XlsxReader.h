// Reads a written .xlsx back for tests, independently of the library that wrote it: the
// zip's central directory and zlib's inflate, then the few XML parts a check needs
// (shared strings, sheets, styles, charts and the relations between them), scanned as
// text. Only what a spreadsheet would see counts: a cell's type, its value, its style.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xlsx {

inline std::uint32_t Le(std::string_view bytes, std::size_t at, int size)
{
    if (at + static_cast<std::size_t>(size) > bytes.size())
        throw std::runtime_error("zip: read past the end");
    std::uint32_t v = 0;
    for (int k = size - 1; k >= 0; --k)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return v;
}

// Every member of the archive by name, inflated.
inline std::map<std::string, std::string> Unzip(std::string_view zip)
{
    if (zip.size() < 22)
        throw std::runtime_error("zip: too short");
    std::size_t end = zip.size() - 22;
    while (Le(zip, end, 4) != 0x06054b50) {
        if (end == 0)
            throw std::runtime_error("zip: no end of central directory");
        --end;
    }
    const std::uint32_t entries = Le(zip, end + 10, 2);
    std::size_t at = Le(zip, end + 16, 4);
    std::map<std::string, std::string> members;
    for (std::uint32_t e = 0; e < entries; ++e) {
        if (Le(zip, at, 4) != 0x02014b50)
            throw std::runtime_error("zip: bad central directory entry");
        const std::uint32_t method = Le(zip, at + 10, 2);
        const std::uint32_t packed = Le(zip, at + 20, 4);
        const std::uint32_t size = Le(zip, at + 24, 4);
        const std::uint32_t nameLength = Le(zip, at + 28, 2);
        const std::uint32_t extraLength = Le(zip, at + 30, 2);
        const std::uint32_t commentLength = Le(zip, at + 32, 2);
        const std::uint32_t local = Le(zip, at + 42, 4);
        const std::string name(zip.substr(at + 46, nameLength));
        at += 46 + nameLength + extraLength + commentLength;

        if (Le(zip, local, 4) != 0x04034b50)
            throw std::runtime_error("zip: bad local header of " + name);
        const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
        if (data + packed > zip.size())
            throw std::runtime_error("zip: member past the end: " + name);
        std::string out(size, '\0');
        if (method == 0) {
            out.assign(zip.substr(data, packed));
        } else if (method == 8) {
            z_stream stream {};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                throw std::runtime_error("zip: inflateInit2");
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
            stream.avail_in = packed;
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = size;
            const int status = inflate(&stream, Z_FINISH);
            const bool whole = status == Z_STREAM_END && stream.total_out == size;
            inflateEnd(&stream);
            if (!whole)
                throw std::runtime_error("zip: cannot inflate " + name);
        } else {
            throw std::runtime_error("zip: unknown method for " + name);
        }
        members[name] = std::move(out);
    }
    return members;
}

inline void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

inline bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// XML's entities, then the spreadsheet's own "_xHHHH_" escapes, as a spreadsheet reads a
// stored text.
inline std::string Unescape(std::string_view text)
{
    std::string xml;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            xml += text[i];
            continue;
        }
        const std::size_t semi = text.find(';', i);
        if (semi == std::string_view::npos)
            throw std::runtime_error("xml: bad entity");
        const std::string_view entity = text.substr(i + 1, semi - i - 1);
        if (entity == "amp")
            xml += '&';
        else if (entity == "lt")
            xml += '<';
        else if (entity == "gt")
            xml += '>';
        else if (entity == "quot")
            xml += '"';
        else if (entity == "apos")
            xml += '\'';
        else if (!entity.empty() && entity[0] == '#')
            AppendUtf8(xml,
                static_cast<std::uint32_t>(entity.size() > 1 && entity[1] == 'x'
                        ? std::stoul(std::string(entity.substr(2)), nullptr, 16)
                        : std::stoul(std::string(entity.substr(1)))));
        else
            throw std::runtime_error("xml: unknown entity " + std::string(entity));
        i = semi;
    }
    std::string out;
    for (std::size_t i = 0; i < xml.size(); ++i) {
        if (xml[i] == '_' && i + 6 < xml.size() && xml[i + 1] == 'x' && IsHex(xml[i + 2]) && IsHex(xml[i + 3])
            && IsHex(xml[i + 4]) && IsHex(xml[i + 5]) && xml[i + 6] == '_') {
            AppendUtf8(out, static_cast<std::uint32_t>(std::stoul(xml.substr(i + 2, 4), nullptr, 16)));
            i += 6;
        } else {
            out += xml[i];
        }
    }
    return out;
}

// The value of attribute `name` in a start tag's text; none when absent.
inline std::optional<std::string> Attribute(std::string_view tag, std::string_view name)
{
    const std::string key = " " + std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::size_t start = at + key.size();
    return Unescape(tag.substr(start, tag.find('"', start) - start));
}

// Each element `<name ...>...</name>` or `<name .../>` in order: its start tag and its
// content (empty for an empty element).
inline std::vector<std::pair<std::string, std::string>> Elements(std::string_view xml, std::string_view name)
{
    std::vector<std::pair<std::string, std::string>> found;
    const std::string open = "<" + std::string(name);
    const std::string close = "</" + std::string(name) + ">";
    std::size_t at = 0;
    while ((at = xml.find(open, at)) != std::string_view::npos) {
        const char next = xml[at + open.size()];
        if (next != ' ' && next != '>' && next != '/') {
            at += open.size();
            continue;
        }
        const std::size_t tagEnd = xml.find('>', at);
        const std::string tag(xml.substr(at, tagEnd - at + 1));
        if (xml[tagEnd - 1] == '/') {
            found.emplace_back(tag, std::string());
            at = tagEnd + 1;
            continue;
        }
        const std::size_t end = xml.find(close, tagEnd);
        if (end == std::string_view::npos)
            throw std::runtime_error("xml: unclosed " + std::string(name));
        found.emplace_back(tag, std::string(xml.substr(tagEnd + 1, end - tagEnd - 1)));
        at = end + close.size();
    }
    return found;
}

// The text of every <t> inside, joined: a plain or a rich text.
inline std::string TextOf(std::string_view content)
{
    std::string text;
    for (const auto& [tag, inner] : Elements(content, "t"))
        text += Unescape(inner);
    return text;
}

struct Cell {
    // 'n' number, 's' text (shared, inline or a formula's), 'b' truth value, 'e' error,
    // 'f' any cell with a formula.
    char Type = 'n';
    std::string Value; // the text, or the number as written in the file
    int Style = 0;
};

// "AB12" -> (11, 27), both from 0.
inline std::pair<int, int> CellPosition(std::string_view ref)
{
    int column = 0;
    std::size_t k = 0;
    while (k < ref.size() && ref[k] >= 'A' && ref[k] <= 'Z')
        column = column * 26 + (ref[k++] - 'A' + 1);
    return { std::stoi(std::string(ref.substr(k))) - 1, column - 1 };
}

struct ChartSeries {
    std::string Name; // the formula of the series' name, or its text
    std::string Categories;
    std::string Values;
};

struct Chart {
    std::string Part;
    std::string Kind; // "line", "column", or the XML element's name
    std::vector<ChartSeries> Series;
};

inline std::string FormulaIn(std::string_view xml, std::string_view element)
{
    const std::vector<std::pair<std::string, std::string>> found = Elements(xml, element);
    if (found.empty())
        return {};
    const std::vector<std::pair<std::string, std::string>> f = Elements(found.front().second, "c:f");
    return f.empty() ? std::string() : Unescape(f.front().second);
}

// A relationship target resolved against the part it belongs to.
inline std::string ResolvePart(const std::string& from, std::string target)
{
    std::string folder = from.substr(0, from.rfind('/'));
    while (target.rfind("../", 0) == 0) {
        folder = folder.substr(0, folder.rfind('/'));
        target = target.substr(3);
    }
    if (!target.empty() && target[0] == '/')
        return target.substr(1);
    return folder + "/" + target;
}

class Book {
public:
    explicit Book(std::string_view bytes)
        : parts_(Unzip(bytes))
    {
        for (const auto& [tag, content] : Elements(Part("xl/sharedStrings.xml"), "si"))
            strings_.push_back(TextOf(content));
        const std::map<std::string, std::string> targets = Targets("xl/workbook.xml");
        for (const auto& [tag, content] : Elements(Part("xl/workbook.xml"), "sheet")) {
            sheetNames_.push_back(*Attribute(tag, "name"));
            sheetParts_[sheetNames_.back()] = ResolvePart("xl/workbook.xml", targets.at(*Attribute(tag, "r:id")));
        }
        const std::string styles = Part("xl/styles.xml");
        for (const auto& [tag, content] : Elements(styles, "numFmt"))
            numberFormats_[std::stoi(*Attribute(tag, "numFmtId"))] = *Attribute(tag, "formatCode");
        for (const auto& [tag, content] : Elements(Elements(styles, "cellXfs").at(0).second, "xf"))
            xfs_.push_back(tag);
        for (const auto& [tag, content] : Elements(Elements(styles, "fills").at(0).second, "fill"))
            fills_.push_back(content);
        for (const auto& [tag, content] : Elements(Elements(styles, "fonts").at(0).second, "font"))
            fonts_.push_back(content);
    }

    bool Has(const std::string& name) const { return parts_.count(name) != 0; }
    const std::string& Part(const std::string& name) const
    {
        const auto found = parts_.find(name);
        if (found == parts_.end())
            throw std::runtime_error("xlsx: no part " + name);
        return found->second;
    }
    const std::map<std::string, std::string>& Parts() const { return parts_; }
    const std::vector<std::string>& SheetNames() const { return sheetNames_; }
    const std::string& SheetXml(const std::string& sheet) const { return Part(sheetParts_.at(sheet)); }

    std::map<std::pair<int, int>, Cell> Cells(const std::string& sheet) const
    {
        std::map<std::pair<int, int>, Cell> cells;
        for (const auto& [tag, content] : Elements(SheetXml(sheet), "c")) {
            Cell cell;
            const std::string type = Attribute(tag, "t").value_or("n");
            cell.Style = std::stoi(Attribute(tag, "s").value_or("0"));
            const auto v = Elements(content, "v");
            if (!Elements(content, "f").empty())
                cell.Type = 'f';
            else if (type == "s")
                cell.Type = 's', cell.Value = strings_.at(std::stoul(v.at(0).second));
            else if (type == "inlineStr")
                cell.Type = 's', cell.Value = TextOf(content);
            else if (type == "str")
                cell.Type = 'f';
            else if (type == "n" && v.empty())
                continue; // a cell with only a format holds nothing
            else
                cell.Type = type[0], cell.Value = v.at(0).second;
            cells[CellPosition(*Attribute(tag, "r"))] = cell;
        }
        return cells;
    }

    // The number format's code of a cell style.
    std::string NumberFormat(int style) const
    {
        const int id = std::stoi(Attribute(xfs_.at(static_cast<std::size_t>(style)), "numFmtId").value_or("0"));
        const auto custom = numberFormats_.find(id);
        if (custom != numberFormats_.end())
            return custom->second;
        static const std::map<int, std::string> builtIn
            = { { 0, "General" }, { 1, "0" }, { 2, "0.00" }, { 14, "mm-dd-yy" }, { 49, "@" } };
        const auto known = builtIn.find(id);
        return known != builtIn.end() ? known->second : "builtin " + std::to_string(id);
    }
    // The fill and the font of a cell style, as their XML.
    const std::string& FillOf(int style) const
    {
        return fills_.at(std::stoul(*Attribute(xfs_.at(static_cast<std::size_t>(style)), "fillId")));
    }
    const std::string& FontOf(int style) const
    {
        return fonts_.at(std::stoul(*Attribute(xfs_.at(static_cast<std::size_t>(style)), "fontId")));
    }

    // The charts drawn on a sheet, through its drawing.
    std::vector<Chart> Charts(const std::string& sheet) const
    {
        std::vector<Chart> charts;
        const std::string& part = sheetParts_.at(sheet);
        for (const auto& [id, drawing] : Targets(part)) {
            const std::string drawingPart = ResolvePart(part, drawing);
            if (drawingPart.find("/drawings/") == std::string::npos)
                continue;
            for (const auto& [chartId, target] : Targets(drawingPart))
                charts.push_back(ReadChart(ResolvePart(drawingPart, target)));
        }
        return charts;
    }

private:
    // Relationship id -> target of a part.
    std::map<std::string, std::string> Targets(const std::string& part) const
    {
        const std::size_t slash = part.rfind('/');
        const std::string rels = part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
        std::map<std::string, std::string> targets;
        if (!Has(rels))
            return targets;
        for (const auto& [tag, content] : Elements(Part(rels), "Relationship"))
            targets[*Attribute(tag, "Id")] = *Attribute(tag, "Target");
        return targets;
    }

    Chart ReadChart(const std::string& part) const
    {
        const std::string& xml = Part(part);
        Chart chart;
        chart.Part = part;
        if (xml.find("<c:lineChart>") != std::string::npos)
            chart.Kind = "line";
        else if (xml.find("<c:barChart>") != std::string::npos
            && xml.find("<c:barDir val=\"col\"/>") != std::string::npos)
            chart.Kind = "column";
        else
            chart.Kind = "other";
        for (const auto& [tag, content] : Elements(xml, "c:ser")) {
            ChartSeries series;
            series.Name = FormulaIn(content, "c:tx");
            if (series.Name.empty()) {
                const auto tx = Elements(content, "c:tx");
                if (!tx.empty())
                    series.Name = TextOf(tx.front().second);
                const auto v = tx.empty() ? decltype(tx) {} : Elements(tx.front().second, "c:v");
                if (!v.empty())
                    series.Name = Unescape(v.front().second);
            }
            series.Categories = FormulaIn(content, "c:cat");
            series.Values = FormulaIn(content, "c:val");
            chart.Series.push_back(series);
        }
        return chart;
    }

    std::map<std::string, std::string> parts_;
    std::vector<std::string> strings_;
    std::vector<std::string> sheetNames_;
    std::map<std::string, std::string> sheetParts_;
    std::map<int, std::string> numberFormats_;
    std::vector<std::string> xfs_;
    std::vector<std::string> fills_;
    std::vector<std::string> fonts_;
};

} // namespace xlsx
