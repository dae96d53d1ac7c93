#include "GoogleEarthLinkFile.h"

#include "KmlWriter.h"
#include "Messages.h"
#include "VoyageController.h"
#include "VoyageErrors.h"

namespace tembrel {

namespace {

bool KeptInUrl(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/' || c == ':';
}

} // namespace

std::int32_t GoogleEarthLinkFile::RefreshSeconds(const std::string& text) {
    std::int32_t milliseconds = 0;
    try {
        milliseconds = VoyageController::RefreshMilliseconds(text);
    } catch (const VoyageError&) {
        throw VoyageError(messages::DataNotCorrect);
    }
    // A link that never refreshes would leave Google Earth at the first view.
    if (milliseconds <= 0) {
        throw VoyageError(messages::DataNotCorrect);
    }
    return milliseconds / 1000;
}

std::string GoogleEarthLinkFile::FileUrl(const std::filesystem::path& absolutePath) {
    // UTF-8 everywhere, also where the system's own paths are not.
    const std::u8string utf8 = absolutePath.generic_u8string();
    const std::string path(utf8.begin(), utf8.end());
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        if (KeptInUrl(c)) {
            encoded += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 0x0F];
        }
    }
    if (encoded.starts_with("//")) {
        return "file:" + encoded; // a network share: //server/share/...
    }
    if (encoded.starts_with("/")) {
        return "file://" + encoded;
    }
    return "file:///" + encoded; // a drive letter: C:/...
}

std::string GoogleEarthLinkFile::Render(const std::filesystem::path& viewFile,
                                        std::int32_t refreshSeconds) {
    KmlWriter kml;
    kml.Open("NetworkLink");
    kml.Element("name", "Tembrel");
    kml.Element("flyToView", "1");
    kml.Open("Link");
    kml.Element("href", FileUrl(std::filesystem::absolute(viewFile)));
    kml.Element("refreshMode", "onInterval");
    kml.Element("refreshInterval", std::to_string(refreshSeconds));
    return kml.Finish();
}

} // namespace tembrel
