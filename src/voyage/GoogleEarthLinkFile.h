#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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

    // A file:// URL for an absolute path, every byte outside the unreserved
    // characters, "/" and ":" percent-encoded ("/a b/x.kml" gives
    // "file:///a%20b/x.kml", "C:\x.kml" gives "file:///C:/x.kml").
    static std::string FileUrl(const std::filesystem::path& absolutePath);

    // The document for a view file (made absolute against the current
    // directory when it is relative) and a refresh interval.
    static std::string Render(const std::filesystem::path& viewFile, std::int32_t refreshSeconds);
};

} // namespace tembrel
