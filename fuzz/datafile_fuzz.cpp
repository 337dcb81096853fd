// Feeds arbitrary bytes to the data file reader. A rejected text must leave the store
// exactly as it was and say why once; an accepted one must save, and the saved text
// must read back to the same store (values to the six digits the file keeps) and save
// again to the same bytes.
#include "fuzz/FuzzSupport.h"
#include "model/Data.h"
#include "model/DataText.h"
#include "model/NumberText.h"
#include "tests/core/support/StoreDifference.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// A store with something in every member, so that any change by a rejected load shows.
const CData& Lived()
{
    static const CData store = [] {
        CData d;
        d.PrepareForAnalysis(
            { { "L1", true }, { "L2", false } }, { { "T", true } }, { { "M1", true }, { "M2", true } });
        Matrix* all[] = { &d.MT, &d.TE, &d.ET, &d.TM, &d.EF, &d.FM, &d.ReliabilityME, &d.MM, &d.EE };
        float value = 0.25f;
        for (Matrix* m : all) {
            if (m->Rows() == 0)
                m->Resize(2, 3);
            for (int i = 0; i < m->Rows(); ++i)
                for (int j = 0; j < m->Cols(); ++j)
                    (*m)(i, j) = value += 0.5f;
        }
        d.Thresholds.fill({ 0.125f, 0.125f });
        d.HighLevel = 0.75f;
        d.LowLevel = 0.5f;
        d.WeightedDamageMax = 3.0f;
        return d;
    }();
    return store;
}

bool SameText(const Matrix& a, const Matrix& b)
{
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols())
        return false;
    for (int i = 0; i < a.Rows(); ++i)
        for (int j = 0; j < a.Cols(); ++j)
            if (FormatGeneral(a(i, j)) != FormatGeneral(b(i, j)))
                return false;
    return true;
}

// Equal in everything the file holds, floats compared by their written form.
bool SameAsWritten(const CData& a, const CData& b)
{
    for (std::size_t k = 0; k < a.Thresholds.size(); ++k)
        if (FormatGeneral(a.Thresholds[k].Small) != FormatGeneral(b.Thresholds[k].Small)
            || FormatGeneral(a.Thresholds[k].Medium) != FormatGeneral(b.Thresholds[k].Medium))
            return false;
    return a.LayerNames == b.LayerNames && a.ThreatNames == b.ThreatNames && a.MechanismNames == b.MechanismNames
        && a.LayerIndices == b.LayerIndices && a.ThreatIndices == b.ThreatIndices
        && a.MechanismIndices == b.MechanismIndices && a.MechanismCount == b.MechanismCount
        && a.LayerCount == b.LayerCount && a.ThreatCount == b.ThreatCount
        && FormatGeneral(a.HighLevel) == FormatGeneral(b.HighLevel)
        && FormatGeneral(a.LowLevel) == FormatGeneral(b.LowLevel) && SameText(a.MT, b.MT) && SameText(a.TE, b.TE)
        && SameText(a.ET, b.ET) && SameText(a.TM, b.TM) && SameText(a.EF, b.EF) && SameText(a.FM, b.FM);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CData store = Lived();
    CountingSink sink;
    if (!ReadDataText(bytes, store, sink)) {
        Check(sink.Count == 1, "a rejection must give exactly one message");
        Check(StoreDifference(store, Lived()).empty(), "a rejected file changed the store");
        return 0;
    }
    Check(sink.Count == 0, "an accepted file must give no message");

    const std::optional<std::string> saved = WriteDataText(store);
    Check(saved.has_value(), "a loaded store could not be saved");
    CData again = Lived();
    Check(ReadDataText(*saved, again, sink), "a saved file did not load");
    Check(SameAsWritten(store, again), "a saved file read back to another store");
    Check(WriteDataText(again) == saved, "a load and save changed the bytes");

    // What the file does not hold stays as it was.
    CData derivedOnly = again;
    for (Matrix CData::*m : { &CData::MT, &CData::TE, &CData::ET, &CData::TM, &CData::EF, &CData::FM })
        derivedOnly.*m = Lived().*m;
    for (auto list : { &CData::LayerNames, &CData::ThreatNames, &CData::MechanismNames, &CData::LayerIndices,
             &CData::ThreatIndices, &CData::MechanismIndices })
        derivedOnly.*list = Lived().*list;
    derivedOnly.MechanismCount = Lived().MechanismCount;
    derivedOnly.LayerCount = Lived().LayerCount;
    derivedOnly.ThreatCount = Lived().ThreatCount;
    derivedOnly.Thresholds = Lived().Thresholds;
    derivedOnly.HighLevel = Lived().HighLevel;
    derivedOnly.LowLevel = Lived().LowLevel;
    Check(StoreDifference(derivedOnly, Lived()).empty(), "a load touched what the file does not hold");
    return 0;
}
