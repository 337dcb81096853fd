// Reads the text of a data or dictionary file: whole lines of limited length and
// white-space-delimited words, keeping the line number for messages. Line breaks are
// LF or CR LF. Nothing here allocates from what the text claims.
#pragma once

#include <cstddef>
#include <string_view>

class TextReader {
public:
    // Longest header, section or name line, line break not counted.
    static constexpr std::size_t MaxLineBytes = 255;

    explicit TextReader(std::string_view text)
        : text_(text)
    {
    }

    // The next line without its line break. False, without moving, at the end of the
    // text, when the line is longer than MaxLineBytes, or when it holds a carriage
    // return of its own (no line of ours does, and it would not survive a save).
    bool ReadLine(std::string_view& line);

    // The next word after white space and line breaks. False at the end of the text or
    // when the word is longer than maxBytes; the reader then stands on that word.
    bool ReadWord(std::string_view& word, std::size_t maxBytes = std::string_view::npos);

    // Passes the rest of the current line and its line break (or the end of the
    // text). False, without moving, when the rest holds anything but white space.
    bool SkipBlankRestOfLine();

    // 1-based number of the line the reader stands on.
    int Line() const { return line_; }
    std::size_t BytesLeft() const { return text_.size() - pos_; }

private:
    void SkipWhiteSpace();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};
