#include "CoveragePreview.h"

#include "AreaWalk.h"
#include "KmlStream.h"
#include "NumberText.h"
#include "TextConversion.h"
#include "VoyageErrors.h"
#include "VoyageEstimate.h"
#include "VoyageEstimator.h"
#include "VoyageState.h"

#include <QString>

#include <algorithm>

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

CoveragePreview::AreaCover CoveragePreview::Cover(const AreaTexts& texts) const {
    VoyageState plan;
    PlanArea(plan, texts, separator_);
    const auto real = [this](std::string_view text) { return StrToFloat(text, separator_); };

    AreaCover cover;
    const AreaWalk walk(texts.snapshotWidth, texts.snapshotHeight, separator_);
    constexpr std::int64_t Limit = VoyageEstimator::DefaultWalkBudget;
    const AreaWalk::Result rows = walk.Rows(plan.CurLat, plan.EndLat, Limit,
                                            [&](float lat) { cover.rowLatitudes.push_back(lat); });
    if (rows.outcome != AreaWalk::Outcome::Ends) {
        throw VoyageError("The voyage's walk through the area does not end.");
    }
    if (!cover.rowLatitudes.empty()) {
        const AreaWalk::Result columns =
            walk.Columns(plan.RowStartLon, plan.EndLon, Limit,
                         [&](float lon) { cover.columnLongitudes.push_back(lon); });
        if (columns.outcome != AreaWalk::Outcome::Ends) {
            throw VoyageError("The voyage's walk through the area does not end.");
        }
    }

    const Extended snapshotWidth = real(texts.snapshotWidth);
    const Extended snapshotHeight = real(texts.snapshotHeight);
    cover.halfWidth = Mul(Div(snapshotWidth, 2), K37);
    cover.halfHeight = Mul(Div(snapshotHeight, 2), K32);
    Box& area = cover.area;
    area.north = real(texts.latitude);
    area.west = real(texts.longitude);
    area.south = Sub(area.north, Div(Mul(real(texts.areaHeight), 32), 3600));
    area.east = Add(area.west, Div(Mul(real(texts.areaWidth), 37), 3600));

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
    const VoyageEstimate estimate =
        VoyageEstimator(inputs_, timer_, separator_).BeforeStart(itemNo);
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
        const int count = inputs_.MemoLineCount();
        xml.writeStartElement(QStringLiteral("Folder"));
        Element(xml, "name", "Points");
        for (std::int64_t line = std::max<std::int64_t>(std::int64_t{itemNo} - 1, 0); line < count;
             ++line) {
            const std::string text = inputs_.MemoLine(static_cast<int>(line));
            const std::size_t comma = text.find(',');
            if (comma == std::string::npos) {
                continue;
            }
            // The values the voyage writes: each stored as a 32-bit float.
            const std::string_view view = text;
            const float lon = StoreSingle(StrToFloat(view.substr(0, comma), separator_));
            const float lat = StoreSingle(StrToFloat(view.substr(comma + 1), separator_));
            xml.writeStartElement(QStringLiteral("Placemark"));
            Element(xml, "name", "Line " + std::to_string(line + 1));
            Element(xml, "description", text);
            xml.writeStartElement(QStringLiteral("Point"));
            Element(xml, "coordinates", Coordinate(lon, lat));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        return kml.Finish();
    }

    std::vector<std::pair<std::string, AreaCover>> areas;
    if (page == Page::TS_Area) {
        const auto edit = [this](InputEdit e) { return inputs_.EditText(e); };
        const std::string latitude = edit(InputEdit::E_LatD);
        const std::string longitude = edit(InputEdit::E_LonD);
        const std::string width = edit(InputEdit::E_VE);
        const std::string height = edit(InputEdit::E_VS);
        const std::string snapWidth = edit(InputEdit::E_VEast);
        const std::string snapHeight = edit(InputEdit::E_VSouth);
        const std::string altitude = edit(InputEdit::E_VA);
        areas.emplace_back(
            "Area", Cover({latitude, longitude, width, height, snapWidth, snapHeight, altitude}));
    } else {
        const std::string snapWidth = inputs_.EditText(InputEdit::E_VEast);
        const std::string snapHeight = inputs_.EditText(InputEdit::E_VSouth);
        const std::string altitude = inputs_.EditText(InputEdit::E_VA);
        for (std::int64_t row = std::int64_t{itemNo} - 1;
             VoyageEstimator::GridRowComplete(inputs_, row); ++row) {
            const int r = static_cast<int>(row);
            const std::string latitude = inputs_.GridCell(0, r);
            const std::string longitude = inputs_.GridCell(1, r);
            const std::string width = inputs_.GridCell(2, r);
            const std::string height = inputs_.GridCell(3, r);
            areas.emplace_back(
                "Area " + std::to_string(row + 1),
                Cover({latitude, longitude, width, height, snapWidth, snapHeight, altitude}));
        }
    }
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
