#include "CoveragePreview.h"

#include "AreaPlan.h"
#include "KmlStream.h"
#include "NumberText.h"
#include "TextConversion.h"
#include "VoyageErrors.h"
#include "VoyageEstimate.h"
#include "VoyageEstimator.h"
#include "VoyageState.h"

#include <QString>

#include <algorithm>
#include <optional>

namespace tembrel {

namespace {

// KML takes "." as its decimal point whatever the regional settings say, and
// "," between the parts of a coordinate.
std::string Coordinate(Extended longitude, Extended latitude) {
    return FormatNumber(longitude, '.') + "," + FormatNumber(latitude, '.');
}

// A closed ring, counter-clockwise from the north-west corner.
std::string Ring(const CoveragePreview::Box& box) {
    const Extended west = std::min(box.west, box.east);
    const Extended east = std::max(box.west, box.east);
    const Extended south = std::min(box.south, box.north);
    const Extended north = std::max(box.south, box.north);
    return Coordinate(west, north) + " " + Coordinate(west, south) + " " + Coordinate(east, south) +
           " " + Coordinate(east, north) + " " + Coordinate(west, north);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void Element(QXmlStreamWriter& xml, const char* name, const std::string& text) {
    xml.writeTextElement(QLatin1String(name), Text(text));
}

void Polygon(QXmlStreamWriter& xml, const std::string& name, const char* style,
             const CoveragePreview::Box& box) {
    xml.writeStartElement(QStringLiteral("Placemark"));
    Element(xml, "name", name);
    Element(xml, "styleUrl", std::string("#") + style);
    xml.writeStartElement(QStringLiteral("Polygon"));
    xml.writeStartElement(QStringLiteral("outerBoundaryIs"));
    xml.writeStartElement(QStringLiteral("LinearRing"));
    Element(xml, "coordinates", Ring(box));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

void Style(QXmlStreamWriter& xml, const char* id, const char* lineColour, const char* width,
           const char* fillColour) {
    xml.writeStartElement(QStringLiteral("Style"));
    xml.writeAttribute(QStringLiteral("id"), QLatin1String(id));
    xml.writeStartElement(QStringLiteral("LineStyle"));
    Element(xml, "color", lineColour);
    Element(xml, "width", width);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("PolyStyle"));
    if (fillColour == nullptr) {
        Element(xml, "fill", "0");
    } else {
        Element(xml, "color", fillColour);
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

std::string Plural(std::size_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

void WriteArea(QXmlStreamWriter& xml, const std::string& name,
               const CoveragePreview::AreaCover& cover, bool footprints) {
    const std::size_t rows = cover.rowLatitudes.size();
    const std::size_t columns = rows == 0 ? 0 : cover.columnLongitudes.size();
    xml.writeStartElement(QStringLiteral("Folder"));
    Element(xml, "name", name);
    Element(xml, "description",
            Plural(rows * columns, "snapshot", "snapshots") + ": " + Plural(rows, "row", "rows") +
                " of " + Plural(columns, "column", "columns"));
    Polygon(xml, name, "area", cover.area);
    if (rows > 0 && footprints) {
        for (std::size_t row = 0; row < rows; ++row) {
            for (std::size_t column = 0; column < columns; ++column) {
                const Extended lat = cover.rowLatitudes[row];
                const Extended lon = cover.columnLongitudes[column];
                Polygon(xml,
                        "Snapshot " + std::to_string(row + 1) + "." + std::to_string(column + 1),
                        "snapshot",
                        {lon - cover.halfWidth, lat - cover.halfHeight, lon + cover.halfWidth,
                         lat + cover.halfHeight});
            }
        }
    } else if (rows > 0) {
        Polygon(xml, "Covered by " + Plural(rows * columns, "snapshot", "snapshots"), "snapshot",
                {Extended{cover.columnLongitudes.front()} - cover.halfWidth,
                 Extended{cover.rowLatitudes.back()} - cover.halfHeight,
                 Extended{cover.columnLongitudes.back()} + cover.halfWidth,
                 Extended{cover.rowLatitudes.front()} + cover.halfHeight});
    }
    for (const CoveragePreview::Box& strip : cover.uncovered) {
        Polygon(xml, "Not covered", "uncovered", strip);
    }
    xml.writeEndElement();
}

} // namespace

CoveragePreview::CoveragePreview(const VoyageInputs& inputs, const TimerModel& timer,
                                 char decimalSeparator)
    : inputs_(inputs), timer_(timer), separator_(decimalSeparator) {}

CoveragePreview::AreaCover
CoveragePreview::Cover(const AreaTexts& texts,
                       const std::vector<std::pair<float, float>>& centres) const {
    const auto real = [this](std::string_view text) { return StrToFloat(text, separator_); };
    AreaCover cover;
    // Every row starts again at the same longitude and walks the same steps.
    for (const auto& [lat, lon] : centres) {
        if (cover.rowLatitudes.empty() || cover.rowLatitudes.back() != lat) {
            cover.rowLatitudes.push_back(lat);
        }
        if (cover.rowLatitudes.size() == 1) {
            cover.columnLongitudes.push_back(lon);
        }
    }

    const Extended snapshotWidth = real(texts.snapshotWidth);
    const Extended snapshotHeight = real(texts.snapshotHeight);
    cover.halfWidth = Mul(Div(snapshotWidth, 2), K37);
    cover.halfHeight = Mul(Div(snapshotHeight, 2), K32);
    Box& area = cover.area;
    area.north = real(texts.latitude);
    area.west = real(texts.longitude);
    area.south = Sub(area.north, SouthStep(real(texts.areaHeight)));
    area.east = Add(area.west, EastStep(real(texts.areaWidth)));

    if (cover.rowLatitudes.empty()) {
        cover.uncovered.push_back(area);
        return cover;
    }
    // Slivers narrower than a hundredth of a snapshot come from the centres'
    // rounding to 32-bit floats, not from the grid: they are left out.
    const Extended coveredEast = Extended{cover.columnLongitudes.back()} + cover.halfWidth;
    const Extended coveredSouth = Extended{cover.rowLatitudes.back()} - cover.halfHeight;
    if (area.east - coveredEast > cover.halfWidth / 50) {
        cover.uncovered.push_back(
            {coveredEast, std::max(coveredSouth, area.south), area.east, area.north});
    }
    if (coveredSouth - area.south > cover.halfHeight / 50) {
        cover.uncovered.push_back({area.west, area.south, area.east, coveredSouth});
    }
    return cover;
}

std::string CoveragePreview::Render(std::int32_t itemNo) const {
    std::vector<VoyageEstimator::Write> writes;
    const VoyageEstimate estimate =
        VoyageEstimator(inputs_, timer_, separator_).BeforeStart(itemNo, &writes);
    if (estimate.outcome != VoyageEstimate::Outcome::Ends) {
        throw VoyageError(DescribeEstimate(estimate, false));
    }

    KmlStream kml;
    QXmlStreamWriter& xml = kml.Xml();
    xml.writeStartElement(QStringLiteral("Document"));
    Element(xml, "name", "Tembrel coverage preview");
    Element(xml, "description", DescribeEstimate(estimate, false));
    Style(xml, "area", "ff00ffff", "2", nullptr);         // yellow outline
    Style(xml, "snapshot", "ff00a000", "1", "5000ff00");  // green
    Style(xml, "uncovered", "ff0000ff", "1", "800000ff"); // red

    const Page page = inputs_.ActivePage();
    if (page == Page::TS_Points) {
        xml.writeStartElement(QStringLiteral("Folder"));
        Element(xml, "name", "Points");
        // Each point the ticks wrote, once, as the voyage stores it.
        std::int32_t last = -1;
        for (const VoyageEstimator::Write& write : writes) {
            if (write.item == last) {
                continue;
            }
            last = write.item;
            xml.writeStartElement(QStringLiteral("Placemark"));
            Element(xml, "name", "Line " + std::to_string(write.item + 1));
            Element(xml, "description", inputs_.MemoLine(write.item));
            xml.writeStartElement(QStringLiteral("Point"));
            Element(xml, "coordinates", Coordinate(write.lon, write.lat));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        return kml.Finish();
    }

    // An area begins with its start's write; its ticks write each centre,
    // the first again.
    std::vector<std::pair<std::string, AreaCover>> areas;
    std::vector<std::pair<float, float>> centres;
    std::optional<std::int32_t> area;
    const auto finishArea = [&] {
        if (!area) {
            return;
        }
        if (page == Page::TS_Area) {
            areas.emplace_back("Area", Cover(AreaInputTexts::OfAreaPage(inputs_).Texts(), centres));
        } else {
            areas.emplace_back("Area " + std::to_string(*area + 1),
                               Cover(AreaInputTexts::OfGridRow(inputs_, *area).Texts(), centres));
        }
        centres.clear();
    };
    for (const VoyageEstimator::Write& write : writes) {
        if (write.start) {
            finishArea();
            area = write.item;
        } else if (centres.empty() || centres.back() != std::make_pair(write.lat, write.lon)) {
            centres.emplace_back(write.lat, write.lon);
        }
    }
    finishArea();

    std::int64_t footprints = 0;
    for (const auto& [name, cover] : areas) {
        if (!cover.rowLatitudes.empty()) {
            footprints += static_cast<std::int64_t>(cover.rowLatitudes.size()) *
                          static_cast<std::int64_t>(cover.columnLongitudes.size());
        }
    }
    for (const auto& [name, cover] : areas) {
        WriteArea(xml, name, cover, footprints <= MaxFootprints);
    }
    return kml.Finish();
}

} // namespace tembrel
