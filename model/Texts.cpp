#include "model/Texts.h"

#include <atomic>

namespace {

// Installed once at start-up, before any window; read from any thread that composes a text.
std::atomic<TextTranslator> translator { nullptr };

} // namespace

void SetTextTranslator(TextTranslator installed)
{
    translator.store(installed);
}

std::string Translate(const char* context, const char* source)
{
    const TextTranslator current = translator.load();
    return current ? current(context, source) : std::string(source);
}

std::string FillIn(const std::string& text, std::initializer_list<std::string_view> arguments)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // %1 to %9; anything else is the text's own.
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9'
            && static_cast<std::size_t>(text[i + 1] - '1') < arguments.size()) {
            out += arguments.begin()[text[i + 1] - '1'];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
