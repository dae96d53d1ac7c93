#include "GoogleEarthLinkFile.h"

#include "KmlStream.h"
#include "Messages.h"
#include "VoyageController.h"
#include "VoyageErrors.h"

#include <QString>
#include <QUrl>
#include <QXmlStreamReader>

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

std::string GoogleEarthLinkFile::RenderLive(std::uint16_t port, const std::string& path,
                                            std::int32_t refreshSeconds) {
    KmlStream kml;
    QXmlStreamWriter& xml = kml.Xml();
    xml.writeStartElement(QStringLiteral("NetworkLink"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Tembrel"));
    xml.writeTextElement(QStringLiteral("flyToView"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("Link"));
    xml.writeTextElement(
        QStringLiteral("href"),
        QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QString::fromStdString(path)));
    xml.writeTextElement(QStringLiteral("refreshMode"), QStringLiteral("onInterval"));
    xml.writeTextElement(QStringLiteral("refreshInterval"), QString::number(refreshSeconds));
    // Under "never" Google Earth leaves the viewFormat out; under onRequest
    // it sends it with every fetch, and the user's moves ask for nothing.
    xml.writeTextElement(QStringLiteral("viewRefreshMode"), QStringLiteral("onRequest"));
    xml.writeTextElement(QStringLiteral("viewFormat"), QLatin1String(ViewFormat));
    return kml.Finish();
}

} // namespace tembrel

namespace tembrel {

bool GoogleEarthLinkFile::IsOutdatedLiveLink(const std::string& document) {
    QXmlStreamReader xml(QByteArray::fromStdString(document));
    QString href;
    QString viewRefreshMode;
    bool inLink = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement &&
            (xml.name() == QLatin1String("Link") || xml.name() == QLatin1String("Url"))) {
            break; // the first link is the one Google Earth follows
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("Link") || xml.name() == QLatin1String("Url")) {
            inLink = true;
        } else if (inLink && xml.name() == QLatin1String("href")) {
            href = xml.readElementText().trimmed();
        } else if (inLink && xml.name() == QLatin1String("viewRefreshMode")) {
            viewRefreshMode = xml.readElementText().trimmed();
        }
    }
    const QUrl url(href, QUrl::StrictMode);
    const bool live = url.scheme() == QLatin1String("http") &&
                      (url.host() == QLatin1String("127.0.0.1") ||
                       url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) &&
                      url.path().endsWith(QLatin1String("/TembrelData.KML"));
    if (!live) {
        return false;
    }
    const bool noCamera = viewRefreshMode.isEmpty() || viewRefreshMode == QLatin1String("never");
    return noCamera || url.path() == QLatin1String("/TembrelData.KML");
}

} // namespace tembrel
