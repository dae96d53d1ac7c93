#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tembrel {

// Builds the KML 2.2 documents that Tembrel hands to Google Earth besides the
// view file (the network link and the coverage preview): one element a line,
// indented, every text escaped for XML. Numbers are for the caller to format;
// KML itself always takes "." as the decimal point.
class KmlWriter {
public:
    static constexpr const char* Namespace = "http://www.opengis.net/kml/2.2";

    // Starts the document with the XML declaration and the kml element.
    KmlWriter();

    // <name>, with attributes already escaped ("id=\"area\"") when given.
    void Open(std::string_view name, std::string_view attributes = {});
    void Close();
    // <name>text</name>, text escaped.
    void Element(std::string_view name, std::string_view text);

    // Closes what is open, the kml element last, and gives the document.
    std::string Finish();

    // The text with &, <, >, " and ' written as entities, control characters
    // that XML 1.0 forbids left out, and bytes that are not UTF-8 written as
    // U+FFFD, so that any memo line or path gives a well-formed document.
    static std::string Escape(std::string_view text);

private:
    void Indent();

    std::string document_;
    std::vector<std::string> open_;
};

} // namespace tembrel
