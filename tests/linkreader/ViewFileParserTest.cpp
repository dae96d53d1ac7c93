#include "ViewFileParser.h"
#include "ViewFileWriter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tembrel {
namespace {

QByteArray Document(const std::string& lookAtBody,
                    const std::string& ns = "http://earth.google.com/kml/2.0") {
    return QByteArray::fromStdString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml xmlns=\"" +
                                     ns + "\">\r\n<Placemark>\r\n<name>x</name>\r\n<LookAt>\r\n" +
                                     lookAtBody + "</LookAt>\r\n</Placemark>\r\n</kml>\r\n");
}

const std::string GoodBody = "<longitude>2.5</longitude><latitude>-48.86</latitude>"
                             "<range>250</range><tilt>0.0</tilt><heading>0.0</heading>";

TEST(ViewFileParser, ReadsWhatTheWriterWritesWithEitherSeparator) {
    VoyageState state;
    state.CurLon = 2.2877f;
    state.CurLat = 48.86f;
    state.Range = 250;
    for (const char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        QString error;
        const auto view = ViewFileParser::Parse(
            QByteArray::fromStdString(ViewFileWriter::Render(state, separator)), &error);
        ASSERT_TRUE(view.has_value()) << error.toStdString();
        const QString sep = QString(QLatin1Char(separator));
        EXPECT_EQ(view->longitude, QStringLiteral("2") + sep + QStringLiteral("28769993782043"));
        EXPECT_EQ(view->latitude, QStringLiteral("48") + sep + QStringLiteral("8600006103516"));
        EXPECT_EQ(view->range, QStringLiteral("250"));
        EXPECT_DOUBLE_EQ(view->latitudeValue, 48.8600006103516);
        EXPECT_DOUBLE_EQ(view->rangeValue, 250.0);
    }
}

TEST(ViewFileParser, ReadsScientificNotation) {
    QString error;
    const auto view = ViewFileParser::Parse(
        Document("<longitude>9.99999974737875E-5</longitude><latitude>0</latitude>"
                 "<range>-5</range><tilt>0.0</tilt><heading>0.0</heading>"),
        &error);
    ASSERT_TRUE(view.has_value()) << error.toStdString();
    EXPECT_DOUBLE_EQ(view->longitudeValue, 9.99999974737875E-5);
    EXPECT_DOUBLE_EQ(view->rangeValue, -5.0);
}

struct BadDocument {
    const char* name;
    QByteArray document;
    const char* reasonContains;
};

void PrintTo(const BadDocument& bad, std::ostream* out) {
    *out << bad.name;
}

class ViewFileParserRefuses : public ::testing::TestWithParam<BadDocument> {};

TEST_P(ViewFileParserRefuses, WithAReason) {
    QString error;
    EXPECT_FALSE(ViewFileParser::Parse(GetParam().document, &error).has_value());
    EXPECT_TRUE(error.contains(QLatin1String(GetParam().reasonContains))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewFileParserRefuses,
    ::testing::Values(
        BadDocument{"Empty", QByteArray(), "empty"},
        BadDocument{"HalfWritten", Document(GoodBody).left(120), "XML error"},
        BadDocument{"OtherNamespace", Document(GoodBody, "http://www.opengis.net/kml/2.2"),
                    "namespace"},
        BadDocument{"NoRange",
                    Document("<longitude>1</longitude><latitude>2</latitude>"
                             "<tilt>0.0</tilt><heading>0.0</heading>"),
                    "no range"},
        BadDocument{"LetterInLatitude",
                    Document("<longitude>1</longitude><latitude>4a</latitude><range>1</range>"
                             "<tilt>0.0</tilt><heading>0.0</heading>"),
                    "latitude"},
        BadDocument{"CommaInTilt",
                    Document("<longitude>1</longitude><latitude>2</latitude><range>1</range>"
                             "<tilt>0,0</tilt><heading>0.0</heading>"),
                    "tilt"},
        BadDocument{"BlanksAroundValue",
                    Document("<longitude> 1</longitude><latitude>2</latitude><range>1</range>"
                             "<tilt>0.0</tilt><heading>0.0</heading>"),
                    "longitude"},
        BadDocument{"NotKml", QByteArray("<?xml version=\"1.0\"?><html/>"), "not kml"},
        BadDocument{"LookAtOutsidePlacemark",
                    QByteArray("<kml xmlns=\"http://earth.google.com/kml/2.0\"><Placemark/>"
                               "<LookAt><longitude>1</longitude><latitude>2</latitude>"
                               "<range>1</range><tilt>0.0</tilt><heading>0.0</heading>"
                               "</LookAt></kml>"),
                    "outside the Placemark"},
        BadDocument{"NumberBesideTheLookAt",
                    QByteArray("<kml xmlns=\"http://earth.google.com/kml/2.0\"><Placemark>"
                               "<LookAt><latitude>2</latitude><range>1</range><tilt>0.0</tilt>"
                               "<heading>0.0</heading></LookAt><longitude>1</longitude>"
                               "</Placemark></kml>"),
                    "no longitude"},
        BadDocument{"TwoPlacemarks", Document(GoodBody).replace("</kml>", "<Placemark/></kml>"),
                    "2 Placemark elements"},
        BadDocument{"TwoViews", Document(GoodBody).replace("</Placemark>", "<LookAt/></Placemark>"),
                    "2 LookAt elements"},
        BadDocument{"LongitudeTwice", Document(GoodBody + "<longitude>3</longitude>"),
                    "longitude given twice"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ViewFileParser, NumberGrammar) {
    struct Case {
        const char* text;
        bool allowComma;
        bool accepted;
    };
    const Case cases[] = {{"0", false, true},      {"-122.410003662109", false, true},
                          {"1,5", true, true},     {"1,5", false, false},
                          {"1.", false, false},    {".5", false, false},
                          {"1E15", false, true},   {"1e15", false, false},
                          {"1E+15", false, false}, {"", false, false},
                          {"1.5.5", false, false}, {"--1", false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(
            ViewFileParser::ParseNumber(QString::fromLatin1(c.text), c.allowComma).has_value(),
            c.accepted)
            << c.text;
    }
}

} // namespace
} // namespace tembrel
