#include "KmlStream.h"

namespace tembrel {

KmlStream::KmlStream() : xml_(&document_) {
    xml_.setAutoFormatting(true);
    xml_.setAutoFormattingIndent(1);
    xml_.writeStartDocument();
    xml_.writeDefaultNamespace(QStringLiteral("http://www.opengis.net/kml/2.2"));
    xml_.writeStartElement(QStringLiteral("kml"));
}

std::string KmlStream::Finish() {
    xml_.writeEndDocument();
    return document_.toStdString();
}

} // namespace tembrel
