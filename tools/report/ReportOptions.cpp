#include "tools/report/ReportOptions.h"
#include "model/NumberText.h"

#include "analysis/Modes.h"
#include "ui/windows/AssessmentActions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>

std::string ReportUsage()
{
    std::string synopsis = "usage: vardun-report FILE.sav [--rating L,T,M] [--high H] [--low L] [--save OUT.sav]\n"
                           "                    [--charts DIR] [--svg DIR] [--csv DIR]";
    std::string lines = "\n"
                        "Loads an assessment, runs modes 1 to 4, MM and EE, and prints the results as JSON.\n"
                        "  --rating L,T,M  also the rating curves for the layer, threat and mechanism at these\n"
                        "                  zero-based positions among the analysed items\n"
                        "  --high H        high damage level of the curves (default: the file's)\n"
                        "  --low L         low damage level of the curves (default: the file's)\n"
                        "  --save OUT.sav  write the loaded assessment to OUT.sav\n"
                        "  --charts DIR    write what the analysis windows show as PNG images into DIR:\n"
                        "                  chart-mode1.png .. chart-mode4.png, chart-mmee.png, and with\n"
                        "                  --rating chart-rating.png (needs no display)\n"
                        "  --svg DIR       the same charts as SVG drawings into DIR\n"
                        "  --csv DIR       every matrix, result, a summary (Rm, Re, thresholds, levels) and\n"
                        "                  (with --rating) the rating curves as CSV files for spreadsheets\n"
                        "                  into DIR\n";
    // The synopsis wraps as the first lines do.
    constexpr std::size_t kWidth = 90;
    std::size_t line = synopsis.size() - synopsis.rfind('\n') - 1;
    for (const AssessmentAction& action : AssessmentActions()) {
        const std::string option = action.Synopsis;
        if (line + 1 + option.size() > kWidth) {
            synopsis += "\n                   ";
            line = 19;
        }
        synopsis += ' ' + option;
        line += 1 + option.size();
        lines += action.Usage;
    }
    return synopsis + '\n' + lines
        + "Exit status: 0 done, 1 a file was rejected or could not be saved, 2 usage error.\n";
}

namespace {

std::optional<int> ParsePosition(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 0)
        return std::nullopt;
    return value;
}

std::optional<RatingSelection> ParseSelection(std::string_view text)
{
    int positions[3];
    for (int k = 0; k < 3; ++k) {
        const std::size_t comma = k < 2 ? text.find(',') : text.size();
        if (comma == std::string_view::npos)
            return std::nullopt;
        const std::optional<int> p = ParsePosition(text.substr(0, comma));
        if (!p)
            return std::nullopt;
        positions[k] = *p;
        text.remove_prefix(k < 2 ? comma + 1 : comma);
    }
    return RatingSelection { positions[0], positions[1], positions[2] };
}

// Signs, digits, points and exponents with at least one digit: "5", "0", "-3", "2.5",
// "1e3"; not "5.sav".
bool LooksNumeric(std::string_view text)
{
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E')
            return false;
    }
    return digit;
}

std::optional<std::size_t> ParseCount(std::string_view text)
{
    std::size_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value == 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<ReportOptions> ParseReportOptions(const std::vector<std::string>& args, std::string& error)
{
    const std::span<const AssessmentAction> rows = AssessmentActions();
    ReportOptions options;
    options.Actions.resize(rows.size());
    bool haveInput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            continue;
        }
        if (const auto row = std::find_if(
                rows.begin(), rows.end(), [&arg](const AssessmentAction& action) { return arg == action.Flag; });
            row != rows.end()) {
            std::optional<std::string>& value = options.Actions[static_cast<std::size_t>(row - rows.begin())];
            if (value) {
                error = arg + " given twice";
                return std::nullopt;
            }
            if (row->Value == FlagValue::OptionalCount) {
                value.emplace();
                // The count is optional: a next argument that looks like a number is one.
                if (i + 1 < args.size() && LooksNumeric(args[i + 1])) {
                    const std::string& count = args[++i];
                    if (!ParseCount(count)) {
                        error = arg + " wants a positive whole number, not " + count;
                        return std::nullopt;
                    }
                    value = count;
                }
                continue;
            }
            if (i + 1 == args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            // The options that take a path.
            std::optional<std::string>* path = arg == "--save" ? &options.SaveTo
                : arg == "--charts"                            ? &options.ChartsDir
                : arg == "--svg"                               ? &options.SvgDir
                : arg == "--csv"                               ? &options.CsvDir
                                                               : nullptr;
            if (arg != "--rating" && arg != "--high" && arg != "--low" && !path) {
                error = "unknown option " + arg;
                return std::nullopt;
            }
            if (i + 1 == args.size()) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--rating") {
                if (options.Rating) {
                    error = "--rating given twice";
                    return std::nullopt;
                }
                options.Rating = ParseSelection(value);
                if (!options.Rating) {
                    error = "--rating wants three positions L,T,M, not " + value;
                    return std::nullopt;
                }
            } else if (path) {
                if (*path) {
                    error = arg + " given twice";
                    return std::nullopt;
                }
                *path = value;
            } else {
                std::optional<float>& level = arg == "--high" ? options.High : options.Low;
                if (level) {
                    error = arg + " given twice";
                    return std::nullopt;
                }
                const std::optional<double> parsed = ParseTypedNumber(value);
                if (!parsed || !std::isfinite(static_cast<float>(*parsed))) {
                    error = arg + " wants a number, not " + value;
                    return std::nullopt;
                }
                level = static_cast<float>(*parsed);
            }
            continue;
        }
        if (haveInput) {
            error = "more than one input file";
            return std::nullopt;
        }
        options.Input = arg;
        haveInput = true;
    }
    if (!haveInput && !options.Help) {
        error = "no input file";
        return std::nullopt;
    }
    return options;
}
