#include "ViewFileWriter.h"

#include "NumberText.h"
#include "ViewFileOutput.h"

#include <utility>

namespace tembrel {

ViewFileWriter::ViewFileWriter(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

std::string ViewFileWriter::Render(const VoyageState& state, char decimalSeparator) {
    std::string document;
    document.reserve(320);
    document += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n"
                "<Placemark>\r\n"
                "<name>Tembrel Starting Point</name>\r\n"
                "<LookAt>\r\n"
                "<longitude>";
    document += FormatNumber(state.CurLon, decimalSeparator);
    document += "</longitude>\r\n"
                "<latitude>";
    document += FormatNumber(state.CurLat, decimalSeparator);
    document += "</latitude>\r\n"
                "<range>";
    document += FormatNumber(state.Range, decimalSeparator);
    document += "</range>\r\n"
                "<tilt>0.0</tilt>\r\n"
                "<heading>0.0</heading>\r\n"
                "</LookAt>\r\n"
                "</Placemark>\r\n"
                "</kml>\r\n";
    return document;
}

void ViewFileWriter::WriteViewFile(const VoyageState& state, char decimalSeparator) const {
    ViewFileOutput::Replace(Path(), Render(state, decimalSeparator));
}

std::filesystem::path ViewFileWriter::Path() const {
    return directory_.empty() ? std::filesystem::path(FileName) : directory_ / FileName;
}

} // namespace tembrel
