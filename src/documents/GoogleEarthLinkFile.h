#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tembrel {

// A KML 2.2 document with one NetworkLink to the view file: opened in Google
// Earth, it sets up the periodically refreshing link that flies to each view,
// the set-up the help window otherwise walks the user through by hand.
class GoogleEarthLinkFile {
public:
    // Its usual name, beside the view file.
    static constexpr const char* DefaultFileName = "TembrelLink.kml";

    // The link's refresh interval from the text of E_VR: whole seconds above
    // 0 that the voyage's timer can also hold. Anything else throws
    // VoyageError with the program's "Some Data is not correct..." message.
    static std::int32_t RefreshSeconds(const std::string& text);

    // The document for a view file (made absolute against the current
    // directory when it is relative) and a refresh interval. The link is the
    // file's file:// URL, percent-encoded.
    static std::string Render(const std::filesystem::path& viewFile, std::int32_t refreshSeconds);
};

} // namespace tembrel
