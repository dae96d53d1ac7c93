#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace tembrel::standin {

// What Google Earth takes from a link file's first NetworkLink.
struct NetworkLink {
    QUrl href;                                         // made absolute against the link file
    QString refreshMode = QStringLiteral("onChange");  // KML's default: fetched once
    double refreshIntervalSeconds = 4;                 // KML's default
    QString viewRefreshMode = QStringLiteral("never"); // KML's default
    double viewRefreshTimeSeconds = 4;                 // KML's default
    double viewBoundScale = 1;                         // KML's default
    std::optional<QString> viewFormat;                 // absent, or the text (maybe empty)
    bool flyToView = false;                            // KML's default

    bool Periodic() const { return refreshMode == QLatin1String("onInterval"); }
    bool IsLocalFile() const { return href.isLocalFile(); }
    // Fetched again viewRefreshTime seconds after the camera stops.
    bool RefreshesOnStop() const { return viewRefreshMode == QLatin1String("onStop"); }
    // The text appended to each request: nothing under "never" (or a mode
    // Google Earth does not know), else the viewFormat, or its own "BBOX=..."
    // for a link refreshed on camera stops that gives none.
    QString QueryFormat() const;
};

// Largest link file read: a link file is a few hundred bytes.
inline constexpr qint64 MaxLinkFileBytes = 1024 * 1024;

// Reads a link file's text as Google Earth does: any KML namespace, the
// first NetworkLink anywhere in the document, its Link (or the older Url).
// base is the link file's own URL, against which a relative href resolves.
// The link, or std::nullopt with the reason in *error.
std::optional<NetworkLink> ParseNetworkLink(const QByteArray& document, const QUrl& base,
                                            QString* error);

// The same from a file, read up to MaxLinkFileBytes.
std::optional<NetworkLink> ReadNetworkLink(const QString& path, QString* error);

} // namespace tembrel::standin
