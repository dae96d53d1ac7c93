#include "ViewServer.h"

#include "HttpMessages.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>
#include <memory>
#include <string_view>
#include <utility>

namespace tembrel {

namespace {

ConnectionWatch* WatchOf(QTcpSocket* socket) {
    return socket->findChild<ConnectionWatch*>(QString(), Qt::FindDirectChildrenOnly);
}

// The methods HTTP/1.1 defines; the view is only for GET, so anything else
// is refused before the parser reads it.
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

constexpr unsigned BadRequest = 400;
constexpr unsigned Forbidden = 403;
constexpr unsigned NotFound = 404;
constexpr unsigned NotAllowed = 405;
constexpr unsigned Misdirected = 421;
constexpr unsigned TooLarge = 431;

const HttpHeaders AllowGet = {{"Allow", "GET"}};

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
            // The idlest of those that never asked goes, else the idlest: a
            // client that asks is served even while others hold connections
            // open and say nothing.
            QTcpSocket* idlest = nullptr;
            for (const auto& socket : sockets_) {
                const ConnectionWatch* watch = WatchOf(socket);
                const ConnectionWatch* worst = idlest != nullptr ? WatchOf(idlest) : nullptr;
                if (worst == nullptr || (worst->asked && !watch->asked) ||
                    (worst->asked == watch->asked && watch->lastActive < worst->lastActive)) {
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
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto* watch = new ConnectionWatch(socket);
        connect(&watch->timer, &QTimer::timeout, this, [this, socket] { Drop(socket); });
        watch->timer.start(limits_.requestTime);
        // Connected before the server's reader, so it runs first.
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

void BoundedListener::Refuse(QTcpSocket* socket, unsigned status) {
    // Nothing more of it reaches the parser, nor fills memory meanwhile.
    disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
    socket->setReadBufferSize(1);
    socket->write(QByteArray::fromStdString(
        ComposeHttpResponse(status, status == NotAllowed ? AllowGet : HttpHeaders{}, {}, true)));
    socket->disconnectFromHost();
}

void BoundedListener::Drop(QTcpSocket* socket) {
    if (socket == nullptr) {
        return;
    }
    socket->abort();
    socket->deleteLater();
}

void BoundedListener::Answered(QTcpSocket* socket) {
    ConnectionWatch* watch = WatchOf(socket);
    if (watch == nullptr) {
        return;
    }
    watch->bytes = 0;
    watch->asked = true;
    watch->start.clear();
    watch->lastActive = ConnectionWatch::Clock::now();
    watch->timer.start(limits_.requestTime);
}

ViewServer::ViewServer(ViewServerLimits limits, QObject* parent)
    : QObject(parent), limits_(limits), secret_(NewSecret()) {}

QByteArray ViewServer::NewSecret() {
    std::array<quint32, SecretLength / 8> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    QByteArray secret;
    for (const quint32 word : words) {
        secret += QByteArray::number(word, 16).rightJustified(8, '0');
    }
    return secret;
}

bool ViewServer::ValidSecret(const QByteArray& secret) {
    return secret.size() == SecretLength && std::all_of(secret.begin(), secret.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

bool ViewServer::SetSecret(const QByteArray& secret) {
    if (!ValidSecret(secret)) {
        return false;
    }
    secret_ = secret;
    return true;
}

QByteArray ViewServer::DocumentPath() const {
    return '/' + secret_ + '/' + DocumentName;
}

bool ViewServer::AddressedHere(const std::string& host) const {
    // The authority the live link names, or the same port by its name; a
    // host name is case-insensitive, the port digits are not padded.
    const QByteArray given = QByteArray::fromStdString(host).toLower();
    const QByteArray port = ':' + QByteArray::number(port_);
    return given == "127.0.0.1" + port || given == "localhost" + port;
}

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
    connect(listener, &QTcpServer::newConnection, this, [this, listener] {
        while (QTcpSocket* socket = listener->nextPendingConnection()) {
            Serve(socket);
        }
    });
    listener_ = listener;
    port_ = listener->serverPort();
    return port_;
}

void ViewServer::SetView(QByteArray document, ViewCentre centre) {
    document_ = std::move(document);
    centre_ = centre;
}

void ViewServer::Serve(QTcpSocket* socket) {
    // Lives as long as the connection: the lambda holding it goes with the
    // socket.
    auto reader =
        std::make_shared<HttpRequestReader>(static_cast<std::size_t>(limits_.requestBytes));
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, reader] {
        try {
            const QByteArray bytes = socket->readAll();
            reader->Append(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            HttpRequest request;
            for (;;) {
                switch (reader->Next(request)) {
                case HttpRequestReader::Outcome::NeedMore:
                    return;
                case HttpRequestReader::Outcome::Request:
                    // Requests sent on and on, replies never read: the
                    // replies would pile up here.
                    if (socket->bytesToWrite() > limits_.unsentBytes) {
                        listener_->Drop(socket);
                        return;
                    }
                    if (!Answer(socket, request) || !request.keepAlive) {
                        return;
                    }
                    break;
                case HttpRequestReader::Outcome::Malformed:
                    listener_->Refuse(socket, BadRequest);
                    return;
                case HttpRequestReader::Outcome::TooLarge:
                    listener_->Refuse(socket, TooLarge);
                    return;
                }
            }
        } catch (const std::exception&) {
            // Nothing crosses the event loop; the client sees the connection close.
            socket->abort();
        }
    });
}

bool ViewServer::Answer(QTcpSocket* socket, const HttpRequest& request) {
    // Not Google Earth's: answered, and the connection closed.
    if (request.hostFields != 1 || !AddressedHere(request.host)) {
        listener_->Refuse(socket, Misdirected);
        return false;
    }
    if (request.fromBrowser) {
        listener_->Refuse(socket, Forbidden);
        return false;
    }
    listener_->Answered(socket);
    const bool close = !request.keepAlive;
    const auto reply = [socket, close](unsigned status, const HttpHeaders& headers,
                                       std::string_view body) {
        socket->write(QByteArray::fromStdString(ComposeHttpResponse(status, headers, body, close)));
        if (close) {
            socket->disconnectFromHost();
        }
    };
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(request.target));
    if (url.path(QUrl::FullyEncoded).toLatin1() != DocumentPath()) {
        reply(NotFound, {}, {});
        return true;
    }
    if (request.method != "GET") {
        reply(NotAllowed, AllowGet, {});
        return true;
    }
    // No view written yet in this run.
    if (document_.isEmpty()) {
        reply(NotFound, {}, {});
        return true;
    }
    reply(200, {{"Content-Type", ContentType}, {"Cache-Control", "no-store"}},
          std::string_view(document_.constData(), static_cast<std::size_t>(document_.size())));
    if (onFetch_) {
        const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
        onFetch_(ParseCameraReport(
                     std::string_view(query.constData(), static_cast<std::size_t>(query.size()))),
                 centre_);
    }
    return true;
}

} // namespace tembrel
