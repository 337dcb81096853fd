// A strict reader of the spreadsheet CSV the program writes, for tests: a UTF-8 byte-order
// mark, ";" between fields, every record ended by CR LF, quoting exactly as RFC 4180 has
// it, and the same number of fields in every record. Anything else is refused with the
// reason, so a test that reads a file back also proves the file is well formed. Other
// separators, or several at once, read the file as a spreadsheet's import would with
// those boxes ticked (LibreOffice's default is ",", ";" and a tab).
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using CsvRecords = std::vector<std::vector<std::string>>;

inline std::optional<CsvRecords> ReadStrictCsv(
    std::string_view bytes, std::string* error = nullptr, std::string_view separators = ";")
{
    auto isSeparator = [separators](char c) { return separators.find(c) != std::string_view::npos; };
    auto refuse = [error](const std::string& reason, std::size_t at) -> std::optional<CsvRecords> {
        if (error)
            *error = reason + " at byte " + std::to_string(at);
        return std::nullopt;
    };
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) != kBom)
        return refuse("no byte-order mark", 0);
    std::size_t i = kBom.size();
    if (i == bytes.size())
        return refuse("no records", i);

    CsvRecords records;
    std::vector<std::string> record;
    while (i < bytes.size()) {
        std::string field;
        if (bytes[i] == '"') {
            ++i;
            for (;;) {
                if (i == bytes.size())
                    return refuse("quoted field not closed", i);
                if (bytes[i] == '"') {
                    if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += bytes[i++];
            }
        } else {
            while (i < bytes.size() && !isSeparator(bytes[i]) && bytes[i] != '\r') {
                if (bytes[i] == '"')
                    return refuse("quote inside an unquoted field", i);
                if (bytes[i] == '\n')
                    return refuse("line feed without carriage return", i);
                field += bytes[i++];
            }
        }
        record.push_back(std::move(field));
        if (i == bytes.size())
            return refuse("last record not ended by CR LF", i);
        if (isSeparator(bytes[i])) {
            ++i;
            continue;
        }
        if (bytes.substr(i, 2) != "\r\n")
            return refuse("field not followed by a separator or CR LF", i);
        i += 2;
        if (!records.empty() && record.size() != records.front().size())
            return refuse("record of " + std::to_string(record.size()) + " fields after ones of "
                    + std::to_string(records.front().size()),
                i);
        records.push_back(std::move(record));
        record.clear();
    }
    return records;
}

// A number field: digits with a decimal comma, as std::from_chars reads them once the
// comma is a point. Nothing for an empty field, a point or any other text.
inline std::optional<float> CsvNumber(std::string_view field)
{
    if (field.empty() || field.find('.') != std::string_view::npos)
        return std::nullopt;
    std::string text(field);
    if (const std::size_t comma = text.find(','); comma != std::string::npos)
        text[comma] = '.';
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
