#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits CSV text into records of fields, one record at a time. Fields are
// separated by one separator character; a field that starts with '"' runs
// to the matching '"' (a doubled "" inside it is one quote) and may hold
// separators and line ends. White space around an unquoted field is not
// part of it. Lines end in LF or CRLF; blank lines are not records. It does
// not deal with byte-order marks or headers: the caller strips and reads
// those.
class CsvReader {
public:
    CsvReader(std::string_view text, char separator, int firstLine = 1);

    // Reads the next record into `fields`. False at the end of the text.
    bool Next(std::vector<std::string>& fields);

    // Line on which the record last returned by Next starts (1-based).
    int RecordLine() const { return m_recordLine; }
    // Set when that record ends inside an open quote.
    bool RecordUnterminated() const { return m_unterminated; }

private:
    bool SkipBlankLines();
    void ReadQuoted(std::string& field);
    void ReadUnquoted(std::string& field);

    std::string_view m_text;
    std::size_t m_pos = 0;
    char m_separator;
    int m_line;
    int m_recordLine = 0;
    bool m_unterminated = false;
};

// The text without a leading UTF-8 byte-order mark.
std::string_view StripByteOrderMark(std::string_view text);
