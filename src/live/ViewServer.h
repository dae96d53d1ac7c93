#pragma once

#include "CameraReport.h"
#include "FollowingMonitor.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

class QTcpSocket;

namespace tembrel {

struct HttpRequest;

// What one client may take of the server: Google Earth needs one connection
// and a few hundred bytes a period; a browser page or a stuck program gets
// no more than this.
struct ViewServerLimits {
    int connections = 32;                        // open at once; a new one closes the idlest
    qint64 requestBytes = 8192;                  // request line, headers and any body
    std::chrono::milliseconds requestTime{5000}; // to send a whole request
    qint64 unsentBytes = 65536;                  // replies waiting for a client that does not read
};

// What the listener keeps of one connection; a child of its socket.
class ConnectionWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectionWatch)

public:
    using Clock = std::chrono::steady_clock;

    explicit ConnectionWatch(QTcpSocket* socket);

    qint64 bytes = 0;   // of the request under way
    QByteArray start;   // its first bytes, up to the method and the path's '/'
    QTimer timer;       // the time left to ask
    bool asked = false; // it has sent a whole request
    Clock::time_point lastActive = Clock::now();
};

// The listening socket and its limits: it counts each request's bytes
// before the parser sees them, refuses what is plainly not HTTP, closes a
// connection that takes too long to ask, and closes the idlest when too many
// are open: first one that has never sent a whole request, so that a flood
// of silent connections does not push out a client that asks. A refused or
// closed connection deletes itself.
class BoundedListener final : public QTcpServer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BoundedListener)

public:
    explicit BoundedListener(ViewServerLimits limits, QObject* parent = nullptr);

    int OpenConnections();
    // A response went out: the connection may ask again, with a fresh budget.
    void Answered(QTcpSocket* socket);
    // Answers `status` and closes; nothing more the client sends is read.
    void Refuse(QTcpSocket* socket, unsigned status);
    // Closes at once, whatever is unsent.
    void Drop(QTcpSocket* socket);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void Inspect(QTcpSocket* socket);
    void Prune();

    ViewServerLimits limits_;
    QList<QPointer<QTcpSocket>> sockets_;
};

// Serves the current view over HTTP on 127.0.0.1 only: GET of
// /SECRET/TembrelData.KML answers the bytes the view file was last written
// with; any other path is 404, any other method 405. Only requests addressed
// to 127.0.0.1:PORT or localhost:PORT are answered (others 421, as a page
// reached through DNS rebinding names its own host), and none that a browser
// marks as a page's (Origin, Sec-Fetch-*: 403). The secret in the path is
// known only to the link file Tembrel writes, so a blind request from
// elsewhere cannot pass for Google Earth's. The query Google Earth appends is
// read as a camera report and handed on; no request changes anything else.
class ViewServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ViewServer)

public:
    static constexpr const char* DocumentName = "TembrelData.KML";
    static constexpr const char* ContentType = "application/vnd.google-earth.kml+xml";
    // The secret's length: 128 random bits as lower-case hexadecimal digits.
    static constexpr qsizetype SecretLength = 32;

    // A fetch of the view at the secret path: the report in its query
    // (nothing when there was none or it was not one) and the centre of the
    // view it was handed (nothing before the first view).
    using FetchHandler = std::function<void(const std::optional<CameraReport>& report,
                                            const std::optional<ViewCentre>& served)>;

    explicit ViewServer(ViewServerLimits limits = {}, QObject* parent = nullptr);

    // Listens on 127.0.0.1 at `preferred`, or when that is 0 or taken at
    // another free port. The port, or 0 when none could be had.
    quint16 Listen(quint16 preferred);
    quint16 Port() const { return port_; }

    // A port for a first start: random, below the range systems hand out
    // to outgoing connections, so that it is likely to stay free.
    static quint16 ProposePort();

    // A fresh secret from the system's random source.
    static QByteArray NewSecret();
    // Whether `secret` has the form NewSecret gives.
    static bool ValidSecret(const QByteArray& secret);
    // The secret in the view's path: a fresh one until another is set. An
    // invalid one is ignored (false).
    bool SetSecret(const QByteArray& secret);
    const QByteArray& Secret() const { return secret_; }
    // "/SECRET/TembrelData.KML", the path the live link names.
    QByteArray DocumentPath() const;

    void SetView(QByteArray document, ViewCentre centre);
    void OnFetch(FetchHandler handler) { onFetch_ = std::move(handler); }

    int OpenConnections() { return listener_ ? listener_->OpenConnections() : 0; }

private:
    void Serve(QTcpSocket* socket);
    // False when the connection was closed on it.
    bool Answer(QTcpSocket* socket, const HttpRequest& request);
    bool AddressedHere(const std::string& host) const;

    ViewServerLimits limits_;
    BoundedListener* listener_ = nullptr;
    quint16 port_ = 0;
    QByteArray secret_;
    QByteArray document_;
    std::optional<ViewCentre> centre_;
    FetchHandler onFetch_;
};

} // namespace tembrel
