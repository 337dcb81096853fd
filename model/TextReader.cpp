#include "model/TextReader.h"

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool TextReader::ReadLine(std::string_view& line)
{
    if (pos_ == text_.size())
        return false;
    const std::size_t lineFeed = text_.find('\n', pos_);
    const std::size_t end = lineFeed == std::string_view::npos ? text_.size() : lineFeed;
    std::string_view content = text_.substr(pos_, end - pos_);
    if (!content.empty() && content.back() == '\r')
        content.remove_suffix(1);
    if (content.size() > MaxLineBytes || content.find('\r') != std::string_view::npos)
        return false;
    line = content;
    if (lineFeed == std::string_view::npos) {
        pos_ = text_.size();
    } else {
        pos_ = lineFeed + 1;
        ++line_;
    }
    return true;
}

void TextReader::SkipWhiteSpace()
{
    while (pos_ < text_.size() && IsWhiteSpace(text_[pos_])) {
        if (text_[pos_] == '\n')
            ++line_;
        ++pos_;
    }
}

bool TextReader::ReadWord(std::string_view& word, std::size_t maxBytes)
{
    SkipWhiteSpace();
    std::size_t end = pos_;
    while (end < text_.size() && !IsWhiteSpace(text_[end]))
        ++end;
    if (end == pos_ || end - pos_ > maxBytes)
        return false;
    word = text_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
}

bool TextReader::SkipBlankRestOfLine()
{
    std::size_t end = pos_;
    while (end < text_.size() && text_[end] != '\n') {
        if (!IsWhiteSpace(text_[end]))
            return false;
        ++end;
    }
    if (end < text_.size()) {
        ++end;
        ++line_;
    }
    pos_ = end;
    return true;
}
