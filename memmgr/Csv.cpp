#include "memmgr/Csv.h"

namespace kivo::memmgr {

bool CsvRecord::Blank() const
{
    for (const auto& f : fields)
        if (f.find_first_not_of(" \t") != std::string::npos)
            return false;
    return true;
}

std::vector<CsvRecord> ParseCsv(std::string_view text)
{
    std::vector<CsvRecord> records;
    std::size_t i = 0;
    int line = 1;
    while (i < text.size()) {
        CsvRecord rec;
        rec.line = line;
        std::string field;
        bool quoted = false;
        bool ended = false;
        while (i < text.size() && !ended) {
            const char c = text[i];
            if (quoted) {
                if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    i += 2;
                    continue;
                }
                if (c == '"') {
                    quoted = false;
                } else {
                    if (c == '\n')
                        ++line;
                    field += c;
                }
                ++i;
                continue;
            }
            switch (c) {
            case '"':
                // A quote opens a quoted part wherever it stands; "ab"c reads as abc.
                quoted = true;
                break;
            case ',':
                rec.fields.push_back(std::move(field));
                field.clear();
                break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    break; // the LF ends the record
                field += c;
                break;
            case '\n':
                ++line;
                ended = true;
                break;
            default: field += c; break;
            }
            ++i;
        }
        rec.fields.push_back(std::move(field));
        rec.complete = !quoted;
        records.push_back(std::move(rec));
    }
    return records;
}

std::string CsvField(std::string_view value)
{
    if (value.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
}

} // namespace kivo::memmgr
