#include "CsvNumberLines.h"

#include "ImportNumbers.h"
#include "ImportTypes.h"

#include <algorithm>

namespace tembrel {

CsvNumberLines::CsvNumberLines(std::vector<Column> columns, std::string expected)
    : columns_(std::move(columns)), expected_(std::move(expected)),
      stream_([this](const CsvLines::Line& line) { return OnLine(line); }) {}

bool CsvNumberLines::OnLine(const CsvLines::Line& line) {
    if (line.tooLong) {
        Refuse(line.number, LineTooLong());
        return true;
    }
    const bool decimalComma = stream_.Separator() != ',';
    if (!indices_) {
        std::vector<CsvColumns::Matcher> wanted;
        for (const Column& column : columns_) {
            wanted.push_back(column.matches);
        }
        indices_.emplace(line.fields, wanted, decimalComma);
        if (indices_->HasHeader()) {
            return true;
        }
    }
    const std::vector<std::size_t>& index = indices_->Indices();
    if (line.fields.size() <= *std::max_element(index.begin(), index.end())) {
        Refuse(line.number, expected_);
        return true;
    }
    values_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const std::string& text = line.fields[index[i]];
        const auto value = ImportNumbers::Parse(text, decimalComma);
        if (!value) {
            Refuse(line.number, std::string(columns_[i].name) + " " + ImportNumbers::Quoted(text) +
                                    " is not a number");
            return true;
        }
        values_.push_back(*value);
    }
    return Take(values_, line.number);
}

} // namespace tembrel
