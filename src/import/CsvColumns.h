#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tembrel {

// Which fields of a CSV file's lines hold which values, from its first
// non-empty line. That line is a header when none of its fields is a number;
// its names then choose the columns when every wanted one is found, else the
// columns are taken in their usual order. Other columns are passed over.
class CsvColumns {
public:
    // A wanted column: whether a header name (lower case, blanks dropped)
    // names it.
    using Matcher = std::function<bool(const std::string& name)>;

    CsvColumns(const std::vector<std::string>& firstLine, const std::vector<Matcher>& wanted,
               bool decimalCommaAllowed);

    // The field index of each wanted column, in the order wanted.
    const std::vector<std::size_t>& Indices() const { return indices_; }
    bool HasHeader() const { return header_; }

    // "lon", "longitude", "lng", "long" or "x"; "lat", "latitude" or "y".
    static bool NamesLongitude(const std::string& name);
    static bool NamesLatitude(const std::string& name);

private:
    std::vector<std::size_t> indices_;
    bool header_ = false;
};

} // namespace tembrel
