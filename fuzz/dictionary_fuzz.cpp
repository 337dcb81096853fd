// Feeds arbitrary bytes to the dictionary reader. A rejected text must leave the lists
// exactly as they were and say why once; accepted lists must save, read back to the
// same lists and save again to the same bytes.
#include "fuzz/FuzzSupport.h"
#include "model/Dictionary.h"
#include "model/DictionaryText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool Same(const NameLists& a, const NameLists& b)
{
    return a.Layers == b.Layers && a.Threats == b.Threats && a.Mechanisms == b.Mechanisms;
}

const NameLists Lived = { { "Эшелон" }, { "Угроза 1", "Угроза 2" }, {} };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    NameLists lists = Lived;
    CountingSink sink;
    if (!ReadDictionaryText(bytes, lists, sink)) {
        Check(sink.Count == 1, "a rejection must give exactly one message");
        Check(Same(lists, Lived), "a rejected file changed the lists");
        return 0;
    }
    Check(sink.Count == 0, "an accepted file must give no message");

    const std::optional<std::string> saved = WriteDictionaryText(lists);
    Check(saved.has_value(), "loaded lists could not be saved");
    NameLists again = Lived;
    Check(ReadDictionaryText(*saved, again, sink), "a saved file did not load");
    Check(Same(lists, again), "a saved file read back to other lists");
    Check(WriteDictionaryText(again) == saved, "a load and save changed the bytes");
    return 0;
}
