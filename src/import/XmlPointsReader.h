#pragma once

#include "ImportTypes.h"
#include "XmlGuard.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <cstddef>
#include <string_view>

namespace tembrel {

// What the GPX and KML readers share: the document fed in chunks through
// XmlGuard into Qt's stream reader, each token handed to OnToken, and the
// stop at the first point beyond maxPoints. A document that is not
// well-formed, or that XmlGuard refuses, throws VoyageError naming the line
// of the fault.
class XmlPointsReader {
public:
    XmlPointsReader(const XmlPointsReader&) = delete;
    XmlPointsReader& operator=(const XmlPointsReader&) = delete;
    virtual ~XmlPointsReader() = default;

    // False once the limit is passed: feed no more.
    bool Feed(std::string_view chunk);
    PointsImport Finish();

protected:
    explicit XmlPointsReader(std::size_t maxPoints) : maxPoints_(maxPoints) {}

    template <class Reader> static PointsImport ReadWhole(const QByteArray& data) {
        Reader reader;
        reader.Feed(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
        return reader.Finish();
    }

    // The token xml_ has just read.
    virtual void OnToken() = 0;

    QXmlStreamReader xml_;
    PointsImport result_;

private:
    bool ReadTokens();

    std::size_t maxPoints_;
    XmlGuard guard_;
    bool stopped_ = false;
};

} // namespace tembrel
