#include "tools/report/CsvFiles.h"

#include "analysis/Damage.h"
#include "analysis/Derived.h"
#include "analysis/ExportTables.h"
#include "analysis/Modes.h"
#include "model/Csv.h"
#include "model/Data.h"
#include "model/Messages.h"
#include "model/SourceMatrices.h"
#include "model/Utf8Path.h"

#include <filesystem>
#include <system_error>

bool WriteCsvFiles(
    const CData& loaded, const std::string& folder, const std::optional<RatingRequest>& rating, IMessageSink& messages)
{
    const std::filesystem::path dir = PathFromUtf8(folder);
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir, error)) {
        messages.ShowMessage("vardun-report: the folder " + folder + " could not be made");
        return false;
    }
    bool written = true;
    // Every file is tried, so that one that fails costs only itself.
    auto save = [&](const std::string& name, const CsvTable& table) {
        written = SaveCsv(Utf8FromPath(dir / name), table, messages) && written;
    };

    // The walk runs on a copy, as the JSON report's does: the sources as loaded, the
    // results as the windows would compute them.
    CData data = loaded;
    for (AnalysisMode mode : kAnalysisModes) {
        const ModeDescription& about = Describe(mode);
        if (!about.EditableSources)
            continue;
        for (int s = 0; s < 2; ++s) {
            Matrix CData::*const member = about.Sources[static_cast<std::size_t>(s)].Member;
            save(std::string("source-") + FindSourceMatrix(member)->Name + ".csv",
                SourceTable(data, mode, s, data.*member));
        }
    }
    for (const GraphWorkingData& work : ComputeAllModes(data))
        save("result-mode" + std::to_string(ModeNumber(work.Mode)) + ".csv", ResultTable(data, work));
    ComputeDamageMatrices(data);
    save("MM.csv", DamageTable(data, ItemKind::Mechanism, data.MM));
    save("EE.csv", DamageTable(data, ItemKind::Layer, data.EE));
    save("summary.csv", SummaryTable(data));
    if (rating)
        save("rating-curves.csv", CurveTable(data, rating->Selection, rating->High, rating->Low));
    return written;
}
