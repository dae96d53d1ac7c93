#include "GoogleEarthLinkFile.h"

#include "KmlStream.h"
#include "Messages.h"
#include "VoyageController.h"
#include "VoyageErrors.h"

#include <QString>
#include <QUrl>

namespace tembrel {

std::int32_t GoogleEarthLinkFile::RefreshSeconds(const std::string& text) {
    std::int32_t milliseconds = 0;
    try {
        milliseconds = VoyageController::RefreshMilliseconds(text);
    } catch (const VoyageError&) {
        throw VoyageError(messages::DataNotCorrect);
    }
    // A link that never refreshes would leave Google Earth at the first view.
    if (milliseconds <= 0) {
        throw VoyageError(messages::DataNotCorrect);
    }
    return milliseconds / 1000;
}

std::string GoogleEarthLinkFile::Render(const std::filesystem::path& viewFile,
                                        std::int32_t refreshSeconds) {
    // UTF-8 everywhere, also where the system's own paths are not.
    const std::u8string path = std::filesystem::absolute(viewFile).generic_u8string();
    const QUrl link = QUrl::fromLocalFile(QString::fromUtf8(
        reinterpret_cast<const char*>(path.data()), static_cast<qsizetype>(path.size())));

    KmlStream kml;
    QXmlStreamWriter& xml = kml.Xml();
    xml.writeStartElement(QStringLiteral("NetworkLink"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Tembrel"));
    xml.writeTextElement(QStringLiteral("flyToView"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("Link"));
    xml.writeTextElement(QStringLiteral("href"), link.toString(QUrl::FullyEncoded));
    xml.writeTextElement(QStringLiteral("refreshMode"), QStringLiteral("onInterval"));
    xml.writeTextElement(QStringLiteral("refreshInterval"), QString::number(refreshSeconds));
    return kml.Finish();
}

std::string GoogleEarthLinkFile::RenderLive(std::uint16_t port, std::int32_t refreshSeconds) {
    KmlStream kml;
    QXmlStreamWriter& xml = kml.Xml();
    xml.writeStartElement(QStringLiteral("NetworkLink"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Tembrel"));
    xml.writeTextElement(QStringLiteral("flyToView"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("Link"));
    xml.writeTextElement(QStringLiteral("href"),
                         QStringLiteral("http://127.0.0.1:%1/TembrelData.KML").arg(port));
    xml.writeTextElement(QStringLiteral("refreshMode"), QStringLiteral("onInterval"));
    xml.writeTextElement(QStringLiteral("refreshInterval"), QString::number(refreshSeconds));
    // The view is Tembrel's to choose; Google Earth's moves ask for nothing.
    xml.writeTextElement(QStringLiteral("viewRefreshMode"), QStringLiteral("never"));
    xml.writeTextElement(QStringLiteral("viewFormat"), QLatin1String(ViewFormat));
    return kml.Finish();
}

} // namespace tembrel
