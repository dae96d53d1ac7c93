#include "ViewServer.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

#include <array>
#include <chrono>
#include <exception>
#include <string_view>
#include <utility>

namespace tembrel {

namespace {

ConnectionWatch* WatchOf(QTcpSocket* socket) {
    return socket->findChild<ConnectionWatch*>(QString(), Qt::FindDirectChildrenOnly);
}

// The methods the HTTP parser knows; anything else it would refuse by
// letting the socket go, so it is refused here first.
constexpr std::array<std::string_view, 9> KnownMethods = {
    "GET", "HEAD", "POST", "PUT", "DELETE", "OPTIONS", "PATCH", "TRACE", "CONNECT"};
constexpr qsizetype StartLength = 9; // "OPTIONS /"

enum class Start { Unsure, Plausible, NotHttp, UnknownMethod };

Start CheckStart(const QByteArray& start) {
    qsizetype i = 0;
    while (i < start.size() && start[i] >= 'A' && start[i] <= 'Z') {
        ++i;
    }
    if (i == start.size()) {
        return i < StartLength ? Start::Unsure : Start::NotHttp;
    }
    if (i == 0 || start[i] != ' ') {
        return Start::NotHttp;
    }
    const std::string_view method(start.constData(), static_cast<std::size_t>(i));
    bool known = false;
    for (const std::string_view name : KnownMethods) {
        known = known || name == method;
    }
    if (!known) {
        return Start::UnknownMethod;
    }
    if (i + 1 == start.size()) {
        return Start::Unsure;
    }
    return start[i + 1] == '/' ? Start::Plausible : Start::NotHttp;
}

// Request lines and headers are printable ASCII; a byte outside it is junk.
bool PrintableHead(const QByteArray& bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (!(u == '\t' || u == '\r' || u == '\n' || (u >= 0x20 && u < 0x7F))) {
            return false;
        }
    }
    return true;
}

constexpr const char* BadRequest = "HTTP/1.1 400 Bad Request\r\n"
                                   "Content-Length: 0\r\nConnection: close\r\n\r\n";
constexpr const char* NotAllowed = "HTTP/1.1 405 Method Not Allowed\r\n"
                                   "Allow: GET\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
constexpr const char* TooLarge = "HTTP/1.1 431 Request Header Fields Too Large\r\n"
                                 "Content-Length: 0\r\nConnection: close\r\n\r\n";

constexpr quint16 LowestProposed = 20000;
constexpr quint16 HighestProposed = 32767;

} // namespace

ConnectionWatch::ConnectionWatch(QTcpSocket* socket) : QObject(socket), timer(this) {
    timer.setSingleShot(true);
}

BoundedListener::BoundedListener(ViewServerLimits limits, QObject* parent)
    : QTcpServer(parent), limits_(limits) {}

void BoundedListener::Prune() {
    sockets_.removeIf([](const QPointer<QTcpSocket>& socket) {
        return socket.isNull() || socket->state() == QAbstractSocket::UnconnectedState;
    });
}

int BoundedListener::OpenConnections() {
    Prune();
    return static_cast<int>(sockets_.size());
}

void BoundedListener::incomingConnection(qintptr descriptor) {
    try {
        Prune();
        if (sockets_.size() >= limits_.connections) {
            // The idlest goes: a client that asks is served even while
            // others hold connections open and say nothing.
            QTcpSocket* idlest = nullptr;
            for (const auto& socket : sockets_) {
                if (idlest == nullptr ||
                    WatchOf(socket)->lastActive < WatchOf(idlest)->lastActive) {
                    idlest = socket;
                }
            }
            Drop(idlest);
            Prune();
        }
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        auto* watch = new ConnectionWatch(socket);
        connect(&watch->timer, &QTimer::timeout, this, [this, socket] { Drop(socket); });
        watch->timer.start(limits_.requestTime);
        // Connected before the HTTP server's own reader, so it runs first.
        watch->reading =
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Inspect(socket); });
        sockets_.append(socket);
        addPendingConnection(socket);
    } catch (const std::exception&) {
        // Out of memory for one connection: it is not taken; the others go on.
    }
}

void BoundedListener::Inspect(QTcpSocket* socket) {
    ConnectionWatch* watch = WatchOf(socket);
    const qint64 fresh = socket->bytesAvailable();
    watch->lastActive = ConnectionWatch::Clock::now();
    watch->bytes += fresh;
    if (watch->bytes > limits_.requestBytes) {
        Refuse(socket, TooLarge);
        return;
    }
    const QByteArray unread = socket->peek(fresh);
    if (!PrintableHead(unread)) {
        Refuse(socket, BadRequest);
        return;
    }
    if (watch->start.size() < StartLength) {
        watch->start += unread.left(StartLength - watch->start.size());
        switch (CheckStart(watch->start)) {
        case Start::NotHttp:
            Refuse(socket, BadRequest);
            return;
        case Start::UnknownMethod:
            Refuse(socket, NotAllowed);
            return;
        case Start::Unsure:
        case Start::Plausible:
            break;
        }
    }
}

void BoundedListener::Refuse(QTcpSocket* socket, const char* response) {
    // Nothing more of it reaches the parser, nor fills memory meanwhile.
    disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
    socket->setReadBufferSize(1);
    socket->write(response);
    socket->disconnectFromHost();
}

void BoundedListener::Drop(QTcpSocket* socket) {
    if (socket == nullptr) {
        return;
    }
    const bool parserLetGo = !WatchOf(socket)->reading;
    socket->abort();
    // The HTTP server deletes the sockets it still watches when they close.
    if (parserLetGo) {
        socket->deleteLater();
    }
}

void BoundedListener::Answered(QTcpSocket* socket) {
    ConnectionWatch* watch = WatchOf(socket);
    if (watch == nullptr) {
        return;
    }
    watch->bytes = 0;
    watch->start.clear();
    watch->lastActive = ConnectionWatch::Clock::now();
    watch->timer.start(limits_.requestTime);
}

ViewServer::ViewServer(ViewServerLimits limits, QObject* parent)
    : QAbstractHttpServer(parent), limits_(limits) {}

quint16 ViewServer::ProposePort() {
    return static_cast<quint16>(
        QRandomGenerator::global()->bounded(int(LowestProposed), int(HighestProposed) + 1));
}

quint16 ViewServer::Listen(quint16 preferred) {
    if (listener_ != nullptr) {
        return port_;
    }
    auto* listener = new BoundedListener(limits_, this);
    bool listening = preferred != 0 && listener->listen(QHostAddress::LocalHost, preferred);
    for (int attempt = 0; !listening && attempt < 8; ++attempt) {
        listening = listener->listen(QHostAddress::LocalHost, ProposePort());
    }
    if (!listening) {
        listening = listener->listen(QHostAddress::LocalHost, 0);
    }
    if (!listening) {
        delete listener;
        return 0;
    }
    bind(listener);
    listener_ = listener;
    port_ = listener->serverPort();
    return port_;
}

void ViewServer::SetView(QByteArray document, ViewCentre centre) {
    document_ = std::move(document);
    centre_ = centre;
}

bool ViewServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    try {
        if (listener_ != nullptr) {
            listener_->Answered(socket);
        }
        QHttpServerResponder responder = makeResponder(request, socket);
        const QUrl url = request.url();
        if (url.path(QUrl::FullyEncoded) != QLatin1String(DocumentPath)) {
            responder.write(QHttpServerResponder::StatusCode::NotFound);
            return true;
        }
        if (request.method() != QHttpServerRequest::Method::Get) {
            responder.write({{"Allow", "GET"}}, QHttpServerResponder::StatusCode::MethodNotAllowed);
            return true;
        }
        // No view written yet in this run.
        if (document_.isEmpty()) {
            responder.write(QHttpServerResponder::StatusCode::NotFound);
            return true;
        }
        responder.write(document_, {{"Content-Type", ContentType}, {"Cache-Control", "no-store"}},
                        QHttpServerResponder::StatusCode::Ok);
        if (onFetch_) {
            const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
            onFetch_(ParseCameraReport(std::string_view(query.constData(),
                                                        static_cast<std::size_t>(query.size()))),
                     centre_);
        }
    } catch (const std::exception&) {
        // Nothing crosses the event loop; the client sees the connection close.
        socket->abort();
    }
    return true;
}

void ViewServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

} // namespace tembrel
