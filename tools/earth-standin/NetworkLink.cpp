#include "NetworkLink.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QXmlStreamReader>

namespace tembrel::standin {

QString NetworkLink::QueryFormat() const {
    const bool viewBased = viewRefreshMode == QLatin1String("onStop") ||
                           viewRefreshMode == QLatin1String("onRequest") ||
                           viewRefreshMode == QLatin1String("onRegion");
    if (!viewBased) {
        return {};
    }
    if (viewFormat) {
        return *viewFormat;
    }
    if (RefreshesOnStop()) {
        return QStringLiteral("BBOX=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]");
    }
    return {};
}

std::optional<NetworkLink> ParseNetworkLink(const QByteArray& document, const QUrl& base,
                                            QString* error) {
    auto fail = [error](const QString& why) -> std::optional<NetworkLink> {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    QXmlStreamReader xml(document);
    NetworkLink link;
    QString href;
    bool sawKml = false;
    bool sawHref = false;
    bool done = false;
    // The open elements; a NetworkLink's own children are told apart from a
    // nested one's by their depth.
    QStringList open;
    int linkDepth = -1;   // depth of the NetworkLink being read
    int targetDepth = -1; // depth of its Link or Url
    while (!done && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            open.removeLast();
            if (linkDepth >= 0 && open.size() == linkDepth) {
                done = true;
            }
            if (targetDepth >= 0 && open.size() == targetDepth) {
                targetDepth = -2; // only the first Link counts
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const QString name = xml.name().toString();
        const int depth = static_cast<int>(open.size());
        if (!sawKml) {
            if (name != QLatin1String("kml")) {
                return fail(QStringLiteral("root element is not kml"));
            }
            sawKml = true;
        } else if (linkDepth < 0 && name == QLatin1String("NetworkLink")) {
            linkDepth = depth;
        } else if (linkDepth >= 0 && depth == linkDepth + 1) {
            if (name == QLatin1String("flyToView")) {
                const QString text = xml.readElementText().trimmed();
                link.flyToView = text == QLatin1String("1") || text == QLatin1String("true");
                continue;
            }
            if (targetDepth == -1 &&
                (name == QLatin1String("Link") || name == QLatin1String("Url"))) {
                targetDepth = depth;
            }
        } else if (targetDepth >= 0 && depth == targetDepth + 1) {
            const QString text = xml.readElementText();
            if (name == QLatin1String("href")) {
                href = text.trimmed();
                sawHref = true;
            } else if (name == QLatin1String("refreshMode")) {
                link.refreshMode = text.trimmed();
            } else if (name == QLatin1String("refreshInterval")) {
                bool ok = false;
                const double seconds = text.trimmed().toDouble(&ok);
                if (!ok || !(seconds > 0)) {
                    return fail(
                        QStringLiteral("refreshInterval is not a positive number: '%1'").arg(text));
                }
                link.refreshIntervalSeconds = seconds;
            } else if (name == QLatin1String("viewRefreshMode")) {
                link.viewRefreshMode = text.trimmed();
            } else if (name == QLatin1String("viewRefreshTime")) {
                bool ok = false;
                const double seconds = text.trimmed().toDouble(&ok);
                if (!ok || !(seconds >= 0) || seconds > 86400) {
                    return fail(QStringLiteral("viewRefreshTime is not a number of seconds: '%1'")
                                    .arg(text));
                }
                link.viewRefreshTimeSeconds = seconds;
            } else if (name == QLatin1String("viewBoundScale")) {
                bool ok = false;
                const double scale = text.trimmed().toDouble(&ok);
                if (!ok || !(scale > 0) || scale > 1000) {
                    return fail(
                        QStringLiteral("viewBoundScale is not a positive number: '%1'").arg(text));
                }
                link.viewBoundScale = scale;
            } else if (name == QLatin1String("viewFormat")) {
                link.viewFormat = text.trimmed();
            }
            continue; // reading the text consumed the end element
        }
        open.append(name);
    }
    if (xml.hasError() && !done) {
        return fail(QStringLiteral("XML error at line %1: %2")
                        .arg(xml.lineNumber())
                        .arg(xml.errorString()));
    }
    if (!sawKml) {
        return fail(QStringLiteral("no kml element"));
    }
    if (linkDepth < 0) {
        return fail(QStringLiteral("no NetworkLink"));
    }
    if (!sawHref || href.isEmpty()) {
        return fail(QStringLiteral("the NetworkLink has no href"));
    }
    const QUrl url = base.resolved(QUrl(href, QUrl::StrictMode));
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && !url.isLocalFile())) {
        return fail(QStringLiteral("href is neither an http nor a file URL: '%1'").arg(href));
    }
    link.href = url;
    return link;
}

std::optional<NetworkLink> ReadNetworkLink(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    const QByteArray text = file.read(MaxLinkFileBytes + 1);
    if (text.size() > MaxLinkFileBytes) {
        if (error != nullptr) {
            *error = QStringLiteral("link file over %1 bytes").arg(MaxLinkFileBytes);
        }
        return std::nullopt;
    }
    return ParseNetworkLink(text, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), error);
}

} // namespace tembrel::standin
