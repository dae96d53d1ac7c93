#pragma once

#include <QByteArray>
#include <QXmlStreamWriter>

#include <string>

namespace tembrel {

// A KML 2.2 document in UTF-8, written with Qt's XML stream writer: the XML
// declaration and the kml element come first, one element a line, indented
// one space a level. The writer escapes every text and leaves out characters
// XML 1.0 cannot hold, so any memo line or path gives a well-formed document.
class KmlStream {
public:
    KmlStream();
    KmlStream(const KmlStream&) = delete;
    KmlStream& operator=(const KmlStream&) = delete;

    QXmlStreamWriter& Xml() { return xml_; }

    // Closes what is open, the kml element last, and gives the document.
    std::string Finish();

private:
    QByteArray document_;
    QXmlStreamWriter xml_;
};

} // namespace tembrel
