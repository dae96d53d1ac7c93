#include "XmlPointsReader.h"

#include "VoyageErrors.h"
#include "XmlFault.h"

namespace tembrel {

bool XmlPointsReader::Feed(std::string_view chunk) {
    if (stopped_) {
        return false;
    }
    guard_.Scan(chunk);
    xml_.addData(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
    return ReadTokens();
}

PointsImport XmlPointsReader::Finish() {
    if (!stopped_ && ReadTokens() && xml_.hasError()) {
        // Now that no more data comes, a premature end is a fault too.
        throw VoyageError(XmlFault(xml_));
    }
    return std::move(result_);
}

bool XmlPointsReader::ReadTokens() {
    while (!xml_.atEnd()) {
        xml_.readNext();
        OnToken();
        if (result_.points.size() > maxPoints_) {
            stopped_ = true;
            return false;
        }
    }
    if (xml_.hasError() && xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        throw VoyageError(XmlFault(xml_));
    }
    return true;
}

} // namespace tembrel
