#pragma once

#include <string>

class QXmlStreamReader;

namespace tembrel {

// The message for an XML document the reader could not read to its end:
// "The file is not well-formed XML: <reason> (line N)."
std::string XmlFault(const QXmlStreamReader& xml);

} // namespace tembrel
