#include "XmlFault.h"

#include <QXmlStreamReader>

namespace tembrel {

std::string XmlFault(const QXmlStreamReader& xml) {
    return "The file is not well-formed XML: " + xml.errorString().toStdString() + " (line " +
           std::to_string(xml.lineNumber()) + ").";
}

} // namespace tembrel
