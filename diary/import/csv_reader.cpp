#include "diary/import/csv_reader.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

std::string_view StripByteOrderMark(std::string_view text)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.starts_with(bom))
        text.remove_prefix(bom.size());
    return text;
}

CsvReader::CsvReader(std::string_view text, char separator, int firstLine)
    : m_text(text)
    , m_separator(separator)
    , m_line(firstLine)
{
}

bool CsvReader::SkipBlankLines()
{
    while (m_pos < m_text.size()) {
        std::size_t p = m_pos;
        while (p < m_text.size() && IsBlank(m_text[p]))
            ++p;
        if (p == m_text.size()) {
            m_pos = p;
            return false;
        }
        if (m_text[p] != '\n')
            return true;
        m_pos = p + 1;
        ++m_line;
    }
    return false;
}

bool CsvReader::Next(std::vector<std::string>& fields)
{
    m_unterminated = false;
    if (!SkipBlankLines())
        return false;
    m_recordLine = m_line;
    // The strings of the previous record are reused: a million rows of
    // short fields then cost no allocation at all.
    std::size_t count = 0;
    for (;;) {
        if (count == fields.size())
            fields.emplace_back();
        std::string& field = fields[count++];
        field.clear();
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '"')
            ReadQuoted(field);
        ReadUnquoted(field);
        if (m_pos < m_text.size() && m_text[m_pos] == m_separator) {
            ++m_pos;
            continue;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '\n') {
            ++m_pos;
            ++m_line;
        }
        break;
    }
    fields.resize(count);
    return true;
}

void CsvReader::ReadQuoted(std::string& field)
{
    ++m_pos;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == '"') {
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '"') {
                field += '"';
                m_pos += 2;
                continue;
            }
            ++m_pos;
            return;
        }
        if (c == '\n')
            ++m_line;
        field += c;
        ++m_pos;
    }
    m_unterminated = true;
}

void CsvReader::ReadUnquoted(std::string& field)
{
    // Also takes whatever follows a closing quote up to the separator, so a
    // stray `"80.5"kg` reads as `80.5kg` and is refused as a number later
    // instead of silently losing its tail.
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != m_separator && m_text[m_pos] != '\n')
        ++m_pos;
    std::size_t end = m_pos;
    while (end > start && IsBlank(m_text[end - 1]))
        --end;
    field.append(m_text.substr(start, end - start));
}
