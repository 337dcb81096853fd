// A strict well-formedness check of XML 1.0 with namespaces, for the tests and the fuzzers
// that read back what the program writes (the workbook's parts): UTF-8 that decodes, only
// characters XML allows, one root element, every tag closed in order, attributes quoted and
// unique, no "<" or stray "&" in text or values, only the five predefined entities and
// character references to allowed characters, comments, processing instructions and CDATA
// as the grammar has them, and every prefix bound. What a strict parser (expat, libxml2)
// refuses is refused here with its reason and byte offset. Documents with a DOCTYPE are
// refused too: nothing we read back has one, and their entities would need a DTD reader.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace strict_xml {

// Char ::= #x9 | #xA | #xD | [#x20-#xD7FF] | [#xE000-#xFFFD] | [#x10000-#x10FFFF]
inline bool IsChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

inline bool IsSpace(char32_t c)
{
    return c == 0x20 || c == 0x9 || c == 0xD || c == 0xA;
}

inline bool IsNameStart(char32_t c)
{
    return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6)
        || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
        || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F)
        || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
        || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

inline bool IsNameChar(char32_t c)
{
    return IsNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 || (c >= 0x300 && c <= 0x36F)
        || (c >= 0x203F && c <= 0x2040);
}

inline constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";
inline constexpr std::string_view kXmlnsNamespace = "http://www.w3.org/2000/xmlns/";

class Checker {
public:
    explicit Checker(std::string_view bytes)
        : bytes_(bytes)
    {
    }

    // Empty when the document is well-formed, else the first fault found.
    std::string Fault()
    {
        if (Decode() && Parse())
            return {};
        return fault_;
    }

private:
    static constexpr char32_t kEnd = 0xFFFFFFFF;

    // Every character decoded first, with the byte at which it starts for the reasons.
    bool Decode()
    {
        std::size_t i = 0;
        while (i < bytes_.size()) {
            const auto b = static_cast<unsigned char>(bytes_[i]);
            std::size_t length = 0;
            char32_t c = 0;
            char32_t least = 0;
            if (b < 0x80) {
                length = 1, c = b;
            } else if ((b & 0xE0) == 0xC0) {
                length = 2, c = b & 0x1F, least = 0x80;
            } else if ((b & 0xF0) == 0xE0) {
                length = 3, c = b & 0x0F, least = 0x800;
            } else if ((b & 0xF8) == 0xF0) {
                length = 4, c = b & 0x07, least = 0x10000;
            } else {
                return RefuseAtByte("a byte that starts no UTF-8 sequence", i);
            }
            if (i + length > bytes_.size())
                return RefuseAtByte("a UTF-8 sequence cut off by the end", i);
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(bytes_[i + k]);
                if ((next & 0xC0) != 0x80)
                    return RefuseAtByte("a UTF-8 sequence cut short", i);
                c = (c << 6) | (next & 0x3F);
            }
            if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
                return RefuseAtByte("an overlong or impossible UTF-8 sequence", i);
            if (!IsChar(c) && !(c == 0xFEFF && i == 0))
                return RefuseAtByte("character U+" + Hex(c) + " that XML does not allow", i);
            chars_.push_back(c);
            offsets_.push_back(i);
            i += length;
        }
        offsets_.push_back(bytes_.size());
        // A byte-order mark may open the document.
        if (!chars_.empty() && chars_.front() == 0xFEFF)
            at_ = 1;
        return true;
    }

    bool Parse()
    {
        if (Ahead("<?xml") && (IsSpace(Peek(5)) || Peek(5) == '?')) {
            if (!XmlDeclaration())
                return false;
        }
        if (!Misc())
            return false;
        if (Ahead("<!DOCTYPE"))
            return Refuse("a DOCTYPE, which this check does not read");
        if (Peek() != '<')
            return Refuse("no root element");
        if (!Element())
            return false;
        if (!Misc())
            return false;
        if (at_ != chars_.size())
            return Refuse("content after the root element");
        return true;
    }

    // XMLDecl ::= '<?xml' VersionInfo EncodingDecl? SDDecl? S? '?>'
    bool XmlDeclaration()
    {
        at_ += 5;
        std::vector<std::pair<std::string, std::string>> pseudo;
        for (;;) {
            const bool spaced = SkipSpace();
            if (Ahead("?>")) {
                at_ += 2;
                break;
            }
            if (!spaced)
                return Refuse("no space between the declaration's parts");
            std::string name;
            if (!Name(name))
                return false;
            if (!Equals())
                return false;
            std::string value;
            const char32_t quote = Peek();
            if (quote != '"' && quote != '\'')
                return Refuse("an unquoted value in the XML declaration");
            ++at_;
            while (Peek() != quote) {
                if (Peek() == kEnd)
                    return Refuse("the XML declaration is not closed");
                value += static_cast<char>(Peek() < 0x80 ? Peek() : '?');
                ++at_;
            }
            ++at_;
            pseudo.emplace_back(name, value);
        }
        static const char* const kOrder[] = { "version", "encoding", "standalone" };
        std::size_t next = 0;
        for (const auto& [name, value] : pseudo) {
            while (next < 3 && name != kOrder[next])
                ++next;
            if (next == 3)
                return Refuse("\"" + name + "\" out of place in the XML declaration");
            if (next == 0
                && (value.size() < 3 || value.compare(0, 2, "1.") != 0
                    || value.find_first_not_of("0123456789", 2) != std::string::npos))
                return Refuse("version \"" + value + "\"");
            if (next == 1 && !EqualsIgnoringCase(value, "utf-8"))
                return Refuse("encoding \"" + value + "\" for a UTF-8 text");
            if (next == 2 && value != "yes" && value != "no")
                return Refuse("standalone \"" + value + "\"");
            ++next;
        }
        if (pseudo.empty() || pseudo.front().first != "version")
            return Refuse("an XML declaration without its version");
        return true;
    }

    // Misc ::= Comment | PI | S
    bool Misc()
    {
        for (;;) {
            SkipSpace();
            if (Ahead("<!--")) {
                if (!Comment())
                    return false;
            } else if (Ahead("<?")) {
                if (!ProcessingInstruction())
                    return false;
            } else {
                return true;
            }
        }
    }

    // Comment ::= '<!--' ((Char - '-') | ('-' (Char - '-')))* '-->'
    bool Comment()
    {
        at_ += 4;
        for (;;) {
            if (Peek() == kEnd)
                return Refuse("a comment not closed");
            if (Ahead("--")) {
                if (Peek(2) != '>')
                    return Refuse("\"--\" inside a comment");
                at_ += 3;
                return true;
            }
            ++at_;
        }
    }

    // PI ::= '<?' PITarget (S (Char* - (Char* '?>' Char*)))? '?>', the target not "xml".
    bool ProcessingInstruction()
    {
        at_ += 2;
        std::string target;
        if (!Name(target))
            return false;
        if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' && (target[2] | 0x20) == 'l')
            return Refuse("an XML declaration out of place");
        if (target.find(':') != std::string::npos)
            return Refuse("a processing instruction's target with a colon");
        if (!Ahead("?>") && !SkipSpace())
            return Refuse("no space after a processing instruction's target");
        for (;;) {
            if (Peek() == kEnd)
                return Refuse("a processing instruction not closed");
            if (Ahead("?>")) {
                at_ += 2;
                return true;
            }
            ++at_;
        }
    }

    struct Attribute {
        std::string Name;
        std::string Value;
        std::size_t At = 0;
    };

    // element ::= EmptyElemTag | STag content ETag, with the namespaces in scope checked.
    bool Element()
    {
        // The open elements and, for each, the prefixes it binds (restored at its end).
        struct Open {
            std::string Name;
            std::vector<std::pair<std::string, std::optional<std::string>>> Shadowed;
        };
        std::vector<Open> open;
        std::map<std::string, std::string> bound { { "xml", std::string(kXmlNamespace) } };
        auto close = [&bound](const Open& element) {
            for (auto it = element.Shadowed.rbegin(); it != element.Shadowed.rend(); ++it) {
                if (it->second)
                    bound[it->first] = *it->second;
                else
                    bound.erase(it->first);
            }
        };
        do {
            if (!open.empty() && !Content())
                return false;
            if (Ahead("</")) {
                if (open.empty())
                    return Refuse("an end tag without its start");
                at_ += 2;
                std::string name;
                if (!Name(name))
                    return false;
                SkipSpace();
                if (Peek() != '>')
                    return Refuse("an end tag not closed by \">\"");
                ++at_;
                if (name != open.back().Name)
                    return Refuse("</" + name + "> closes <" + open.back().Name + ">");
                close(open.back());
                open.pop_back();
                continue;
            }
            // A start or an empty-element tag.
            ++at_;
            const std::size_t tagAt = at_;
            Open element;
            if (!Name(element.Name))
                return false;
            std::vector<Attribute> attributes;
            bool empty = false;
            for (;;) {
                const bool spaced = SkipSpace();
                if (Peek() == '>') {
                    ++at_;
                    break;
                }
                if (Ahead("/>")) {
                    at_ += 2;
                    empty = true;
                    break;
                }
                if (!spaced)
                    return Refuse("no space before an attribute");
                Attribute attribute;
                attribute.At = at_;
                if (!Name(attribute.Name) || !Equals() || !AttributeValue(attribute.Value))
                    return false;
                for (const Attribute& before : attributes)
                    if (before.Name == attribute.Name)
                        return RefuseAt("attribute \"" + attribute.Name + "\" twice", attribute.At);
                attributes.push_back(std::move(attribute));
            }
            // Declarations first: they hold for the element's own name and attributes.
            for (const Attribute& a : attributes) {
                std::optional<std::string> prefix;
                if (a.Name == "xmlns")
                    prefix = "";
                else if (a.Name.compare(0, 6, "xmlns:") == 0)
                    prefix = a.Name.substr(6);
                if (!prefix)
                    continue;
                if (*prefix == "xmlns")
                    return RefuseAt("the prefix xmlns declared", a.At);
                if ((*prefix == "xml") != (a.Value == kXmlNamespace))
                    return RefuseAt("the prefix xml bound otherwise", a.At);
                if (a.Value == kXmlnsNamespace)
                    return RefuseAt("the xmlns namespace bound", a.At);
                if (!prefix->empty() && a.Value.empty())
                    return RefuseAt("prefix \"" + *prefix + "\" bound to nothing", a.At);
                const auto was = bound.find(*prefix);
                element.Shadowed.emplace_back(
                    *prefix, was == bound.end() ? std::nullopt : std::optional<std::string>(was->second));
                bound[*prefix] = a.Value;
            }
            std::string prefix;
            if (!QualifiedName(element.Name, prefix, tagAt))
                return false;
            if (prefix == "xmlns")
                return RefuseAt("an element with the prefix xmlns", tagAt);
            if (!prefix.empty() && !bound.count(prefix))
                return RefuseAt("unbound prefix \"" + prefix + "\"", tagAt);
            std::set<std::pair<std::string, std::string>> expanded;
            for (const Attribute& a : attributes) {
                if (a.Name == "xmlns")
                    continue;
                if (!QualifiedName(a.Name, prefix, a.At))
                    return false;
                if (prefix == "xmlns")
                    continue;
                if (prefix.empty())
                    continue;
                const auto uri = bound.find(prefix);
                if (uri == bound.end())
                    return RefuseAt("unbound prefix \"" + prefix + "\"", a.At);
                if (!expanded.insert({ uri->second, a.Name.substr(prefix.size() + 1) }).second)
                    return RefuseAt("attribute \"" + a.Name + "\" twice in one namespace", a.At);
            }
            if (empty)
                close(element);
            else
                open.push_back(std::move(element));
        } while (!open.empty());
        return true;
    }

    // content ::= CharData? ((element | Reference | CDSect | PI | Comment) CharData?)*
    // Stops before a tag (start or end) for the caller.
    bool Content()
    {
        for (;;) {
            const char32_t c = Peek();
            if (c == kEnd)
                return Refuse("an element not closed");
            if (c == '&') {
                if (!Reference())
                    return false;
                continue;
            }
            if (c != '<') {
                if (Ahead("]]>"))
                    return Refuse("\"]]>\" in text");
                ++at_;
                continue;
            }
            if (Ahead("<!--")) {
                if (!Comment())
                    return false;
            } else if (Ahead("<![CDATA[")) {
                at_ += 9;
                while (!Ahead("]]>")) {
                    if (Peek() == kEnd)
                        return Refuse("a CDATA section not closed");
                    ++at_;
                }
                at_ += 3;
            } else if (Ahead("<?")) {
                if (!ProcessingInstruction())
                    return false;
            } else if (Ahead("<!")) {
                return Refuse("a declaration inside an element");
            } else {
                return true;
            }
        }
    }

    // Reference ::= '&' Name ';' (the five predefined) | '&#' [0-9]+ ';' | '&#x' [0-9a-fA-F]+ ';'
    bool Reference(std::string* value = nullptr)
    {
        const std::size_t start = at_;
        ++at_;
        if (Peek() == '#') {
            ++at_;
            const bool hex = Peek() == 'x';
            if (hex)
                ++at_;
            char32_t code = 0;
            std::size_t digits = 0;
            for (;; ++at_, ++digits) {
                const char32_t d = Peek();
                int v = -1;
                if (d >= '0' && d <= '9')
                    v = static_cast<int>(d - '0');
                else if (hex && d >= 'a' && d <= 'f')
                    v = static_cast<int>(d - 'a' + 10);
                else if (hex && d >= 'A' && d <= 'F')
                    v = static_cast<int>(d - 'A' + 10);
                if (v < 0)
                    break;
                code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + static_cast<char32_t>(v);
            }
            if (digits == 0 || Peek() != ';')
                return RefuseAt("a character reference without its digits or \";\"", start);
            ++at_;
            if (!IsChar(code))
                return RefuseAt("a reference to a character XML does not allow", start);
            if (value)
                AppendUtf8(*value, code);
            return true;
        }
        std::string name;
        if (!Name(name))
            return RefuseAt("\"&\" that starts no reference", start);
        if (Peek() != ';')
            return RefuseAt("\"&" + name + "\" without \";\"", start);
        ++at_;
        static const std::map<std::string, char> kPredefined
            = { { "amp", '&' }, { "lt", '<' }, { "gt", '>' }, { "quot", '"' }, { "apos", '\'' } };
        const auto found = kPredefined.find(name);
        if (found == kPredefined.end())
            return RefuseAt("entity \"" + name + "\" that is not declared", start);
        if (value)
            *value += found->second;
        return true;
    }

    // AttValue ::= '"' ([^<&"] | Reference)* '"' | "'" ([^<&'] | Reference)* "'"
    bool AttributeValue(std::string& value)
    {
        const char32_t quote = Peek();
        if (quote != '"' && quote != '\'')
            return Refuse("an attribute value not quoted");
        ++at_;
        for (;;) {
            const char32_t c = Peek();
            if (c == kEnd)
                return Refuse("an attribute value not closed");
            if (c == quote) {
                ++at_;
                return true;
            }
            if (c == '<')
                return Refuse("\"<\" in an attribute value");
            if (c == '&') {
                if (!Reference(&value))
                    return false;
                continue;
            }
            AppendUtf8(value, c);
            ++at_;
        }
    }

    // QName ::= (NCName ':')? NCName
    bool QualifiedName(const std::string& name, std::string& prefix, std::size_t at)
    {
        const std::size_t colon = name.find(':');
        prefix.clear();
        if (colon == std::string::npos)
            return true;
        if (colon == 0 || colon + 1 == name.size() || name.find(':', colon + 1) != std::string::npos
            || !IsNameStart(FirstChar(std::string_view(name).substr(colon + 1))))
            return RefuseAt("\"" + name + "\" is no qualified name", at);
        prefix = name.substr(0, colon);
        return true;
    }

    bool Name(std::string& name)
    {
        if (!IsNameStart(Peek()))
            return Refuse("a name expected");
        while (IsNameChar(Peek()))
            AppendUtf8(name, chars_[at_++]);
        return true;
    }

    // Eq ::= S? '=' S?
    bool Equals()
    {
        SkipSpace();
        if (Peek() != '=')
            return Refuse("\"=\" expected");
        ++at_;
        SkipSpace();
        return true;
    }

    bool SkipSpace()
    {
        const std::size_t start = at_;
        while (IsSpace(Peek()))
            ++at_;
        return at_ != start;
    }

    char32_t Peek(std::size_t ahead = 0) const { return at_ + ahead < chars_.size() ? chars_[at_ + ahead] : kEnd; }

    bool Ahead(std::string_view ascii) const
    {
        for (std::size_t k = 0; k < ascii.size(); ++k)
            if (Peek(k) != static_cast<char32_t>(ascii[k]))
                return false;
        return true;
    }

    static void AppendUtf8(std::string& out, char32_t c)
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

    // The first character of a name we decoded (so valid UTF-8).
    static char32_t FirstChar(std::string_view utf8)
    {
        const auto b = static_cast<unsigned char>(utf8.front());
        const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? b : b & (0x7F >> length);
        for (std::size_t k = 1; k < length && k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[k]) & 0x3F);
        return c;
    }

    static bool EqualsIgnoringCase(std::string_view a, std::string_view lower)
    {
        if (a.size() != lower.size())
            return false;
        for (std::size_t k = 0; k < a.size(); ++k)
            if ((a[k] >= 'A' && a[k] <= 'Z' ? a[k] + ('a' - 'A') : a[k]) != lower[k])
                return false;
        return true;
    }

    static std::string Hex(char32_t c)
    {
        static const char* const kDigits = "0123456789ABCDEF";
        std::string text;
        for (int shift = c > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4)
            text += kDigits[(c >> shift) & 0xF];
        return text;
    }

    bool RefuseAtByte(const std::string& reason, std::size_t byte)
    {
        fault_ = reason + " at byte " + std::to_string(byte);
        return false;
    }
    bool RefuseAt(const std::string& reason, std::size_t character)
    {
        return RefuseAtByte(reason, offsets_[std::min(character, chars_.size())]);
    }
    bool Refuse(const std::string& reason) { return RefuseAt(reason, at_); }

    std::string_view bytes_;
    std::vector<char32_t> chars_;
    std::vector<std::size_t> offsets_;
    std::size_t at_ = 0;
    std::string fault_;
};

} // namespace strict_xml

// True when `xml` is a well-formed XML document; else false with the reason in `error`.
inline bool IsWellFormedXml(std::string_view xml, std::string* error = nullptr)
{
    const std::string fault = strict_xml::Checker(xml).Fault();
    if (error)
        *error = fault;
    return fault.empty();
}
