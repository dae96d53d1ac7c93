#pragma once

#include "VoyageState.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace tembrel::test {

// What the view file tests on every system share: the worked example and a
// look at the files written.

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in a folder, to show that nothing was left beside the view file.
inline std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

inline VoyageState State(float lat, float lon, std::int32_t range) {
    VoyageState state;
    state.CurLat = lat;
    state.CurLon = lon;
    state.Range = range;
    return state;
}

// The worked example: a point at longitude 2.2877, latitude 48.86, 250 m.
inline const std::string WorkedExample = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                         "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n"
                                         "<Placemark>\r\n"
                                         "<name>Tembrel Starting Point</name>\r\n"
                                         "<LookAt>\r\n"
                                         "<longitude>2.28769993782043</longitude>\r\n"
                                         "<latitude>48.8600006103516</latitude>\r\n"
                                         "<range>250</range>\r\n"
                                         "<tilt>0.0</tilt>\r\n"
                                         "<heading>0.0</heading>\r\n"
                                         "</LookAt>\r\n"
                                         "</Placemark>\r\n"
                                         "</kml>\r\n";

// The worked example as a system with a decimal comma writes it.
inline std::string WorkedExampleWithComma() {
    std::string comma = WorkedExample;
    comma.replace(comma.find("2.28769993782043"), 16, "2,28769993782043");
    comma.replace(comma.find("48.8600006103516"), 16, "48,8600006103516");
    return comma;
}

} // namespace tembrel::test
