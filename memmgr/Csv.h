#pragma once
// Comma-separated text: fields separated by commas, a field in double quotes when it holds a
// comma, a quote or a line break (a quote inside doubled), records ended by CR LF or LF.

#include <string>
#include <string_view>
#include <vector>

namespace kivo::memmgr {

struct CsvRecord {
    int line = 0; // 1-based line of the file on which the record starts
    std::vector<std::string> fields;
    bool complete = true; // false when the text ended inside a quoted field
    // True for an empty line, or one of nothing but commas and blanks.
    bool Blank() const;
};

std::vector<CsvRecord> ParseCsv(std::string_view text);

// One field as written: quoted only when it must be.
std::string CsvField(std::string_view value);
// Appends the fields as one record ended by CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

} // namespace kivo::memmgr
