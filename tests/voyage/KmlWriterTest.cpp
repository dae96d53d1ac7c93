// The KML documents' writer: escaping of any text, and the document's frame.
#include "KmlWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace tembrel {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string escaped;
};

void PrintTo(const EscapeCase& c, std::ostream* out) {
    *out << c.name;
}

class Escape : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Escape, Text) {
    EXPECT_EQ(KmlWriter::Escape(GetParam().text), GetParam().escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Escape,
    ::testing::Values(
        EscapeCase{"plain", "30.102, 31.215", "30.102, 31.215"},
        EscapeCase{"markup", "<a href=\"x\">&'", "&lt;a href=&quot;x&quot;&gt;&amp;&apos;"},
        EscapeCase{"entity_not_kept", "&amp;", "&amp;amp;"},
        EscapeCase{"white_space_kept", "a\tb\nc\rd", "a\tb\nc\rd"},
        // XML 1.0 has no place for other control characters.
        EscapeCase{"control_characters_left_out",
                   std::string("a\x01"
                               "b\x1f"
                               "c\0d",
                               7),
                   "abcd"},
        EscapeCase{"utf8_kept", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8D",
                   "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8D"},
        EscapeCase{"lone_byte",
                   "a\xFF"
                   "b",
                   "a\xEF\xBF\xBD"
                   "b"},
        EscapeCase{"latin1_byte", "Caf\xE9", "Caf\xEF\xBF\xBD"},
        EscapeCase{"overlong", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        EscapeCase{"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        EscapeCase{"truncated_at_end", "x\xE2\x82", "x\xEF\xBF\xBD\xEF\xBF\xBD"},
        EscapeCase{"beyond_unicode", "\xF4\x90\x80\x80",
                   "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        EscapeCase{"non_character_fffe", "\xEF\xBF\xBE", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}));

TEST(KmlWriter, DocumentFrame) {
    KmlWriter kml;
    kml.Open("Document");
    kml.Open("Style", "id=\"area\"");
    kml.Element("color", "ff00ffff");
    kml.Close();
    kml.Element("name", "A & B");
    EXPECT_EQ(kml.Finish(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
                            "<Document>\n"
                            " <Style id=\"area\">\n"
                            "  <color>ff00ffff</color>\n"
                            " </Style>\n"
                            " <name>A &amp; B</name>\n"
                            "</Document>\n"
                            "</kml>\n");
}

} // namespace
} // namespace tembrel
