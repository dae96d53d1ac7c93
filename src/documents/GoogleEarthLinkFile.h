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

    // Its usual name for the live link.
    static constexpr const char* LiveFileName = "TembrelLiveLink.kml";
    // What Google Earth appends to each fetch of the live link: where its
    // camera is and what its window shows.
    static constexpr const char* ViewFormat =
        "lon=[lookatLon]&lat=[lookatLat]&range=[lookatRange]&tilt=[lookatTilt]"
        "&heading=[lookatHeading]&bbox=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]"
        "&w=[horizPixels]&h=[vertPixels]";

    // The live link: the same refresh and flight, but fetched over HTTP from
    // the program's view server at 127.0.0.1:`port` and `path` (the server's
    // secret path, "/SECRET/TembrelData.KML"), each fetch telling it where
    // Google Earth's camera was. Its viewRefreshMode is onRequest: Google
    // Earth appends the viewFormat only when the mode is not never, and
    // onRequest adds no fetch of its own but the user's Refresh.
    static std::string RenderLive(std::uint16_t port, const std::string& path,
                                  std::int32_t refreshSeconds);

    // Whether a link file (its first bytes) holds a live link through which
    // Google Earth sends no camera: one of an earlier Tembrel, its view
    // refreshed "never" (or not at all), or fetched at the path without a
    // secret, which the server no longer answers.
    static bool IsOutdatedLiveLink(const std::string& document);
};

} // namespace tembrel
