// The view server against a bare loopback exchange, and what a period of a
// voyage costs with and without Google Earth's fetches: the tick (a view file
// write handed to the server) alone, and with ten requests served beside it.
// Client and server share the thread, so a request's figure holds both sides.
// Last, how late a timer fires on the serving loop, idle and while another
// thread floods the server with requests, junk and a thousand connections.
#include "TargetReporter.h"
#include "ViewFileWriter.h"
#include "ViewServer.h"
#include "VoyageState.h"

#include "ScratchDirectory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

namespace tembrel {
namespace {

// The secret every server of the benchmarks serves under.
const QByteArray Secret = "0123456789abcdef0123456789abcdef";

// Google Earth's fetch of the view from the server at `port`.
QByteArray RequestTo(quint16 port) {
    return "GET /" + Secret +
           "/TembrelData.KML?lon=2.2877&lat=48.86&range=250&tilt=0&heading=0"
           "&bbox=2.28,48.85,2.29,48.87&w=1000&h=700 HTTP/1.1\r\nHost: 127.0.0.1:" +
           QByteArray::number(port) + "\r\nUser-Agent: GoogleEarth\r\nAccept: */*\r\n\r\n";
}

// One request on a kept connection, until its whole reply is in.
bool RoundTrip(QTcpSocket& client, const QByteArray& request, qsizetype replyBytes) {
    client.write(request);
    qsizetype received = 0;
    while (received < replyBytes) {
        if (!client.waitForReadyRead(0)) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        received += client.readAll().size();
        if (client.state() != QAbstractSocket::ConnectedState && client.bytesAvailable() == 0 &&
            received < replyBytes) {
            return false;
        }
    }
    return true;
}

bool Connect(QTcpSocket& client, quint16 port) {
    client.connectToHost(QHostAddress::LocalHost, port);
    while (client.state() != QAbstractSocket::ConnectedState) {
        if (client.state() == QAbstractSocket::UnconnectedState) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

VoyageState SomeView() {
    VoyageState state;
    state.CurLat = 48.859111785888671875f;
    state.CurLon = 2.2892415523529052734375f;
    state.Range = 250;
    return state;
}

QByteArray ViewBytes() {
    const std::string document = ViewFileWriter::Render(SomeView(), '.');
    return QByteArray(document.data(), static_cast<qsizetype>(document.size()));
}

// The floor: a bare QTcpServer that answers a fixed reply of the same size
// to every request's last byte, with no parsing at all.
void BM_LoopbackFloor(benchmark::State& state) {
    const QByteArray body = ViewBytes();
    const QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: application/vnd.google-earth.kml+xml"
                             "\r\nCache-Control: no-store\r\nContent-Length: " +
                             QByteArray::number(body.size()) + "\r\n\r\n" + body;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    std::vector<std::unique_ptr<QTcpSocket>> accepted;
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &reply] {
                if (socket->readAll().endsWith("\r\n\r\n")) {
                    socket->write(reply);
                }
            });
        }
    });
    QTcpSocket client;
    if (!Connect(client, server.serverPort())) {
        state.SkipWithError("no connection");
        return;
    }
    const QByteArray request = RequestTo(server.serverPort());
    for (auto _ : state) {
        if (!RoundTrip(client, request, reply.size())) {
            state.SkipWithError("the connection closed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoopbackFloor)->Repetitions(5)->ReportAggregatesOnly(true);

qsizetype ViewReplyBytes(quint16 port) {
    QTcpSocket probe;
    if (!Connect(probe, port)) {
        return -1;
    }
    probe.write(RequestTo(port));
    QByteArray received;
    while (!received.endsWith("</kml>\r\n") && probe.state() == QAbstractSocket::ConnectedState) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        received += probe.readAll();
    }
    return received.size();
}

void BM_ViewServerRequest(benchmark::State& state) {
    ViewServer server;
    const quint16 port = server.Listen(0);
    server.SetSecret(Secret);
    server.SetView(ViewBytes(), {2.2892, 48.8591});
    int fetches = 0;
    server.OnFetch([&fetches](const std::optional<CameraReport>& report,
                              const std::optional<ViewCentre>&) { fetches += report ? 1 : 0; });
    const qsizetype replyBytes = ViewReplyBytes(port);
    QTcpSocket client;
    if (replyBytes <= 0 || !Connect(client, port)) {
        state.SkipWithError("no connection");
        return;
    }
    const QByteArray request = RequestTo(port);
    for (auto _ : state) {
        if (!RoundTrip(client, request, replyBytes)) {
            state.SkipWithError("the connection closed");
            return;
        }
    }
    if (fetches < 1) {
        state.SkipWithError("no report was read");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ViewServerRequest)->Repetitions(5)->ReportAggregatesOnly(true);

// One period of a voyage: the tick's view file write, handed to the server,
// and `requests` fetches served in the same period.
void PeriodWith(benchmark::State& state, int requests) {
    const test::ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    const VoyageState view = SomeView();
    ViewServer server;
    const quint16 port = server.Listen(0);
    server.SetSecret(Secret);
    server.SetView(ViewBytes(), {2.2892, 48.8591});
    const qsizetype replyBytes = ViewReplyBytes(port);
    QTcpSocket client;
    if (replyBytes <= 0 || !Connect(client, port)) {
        state.SkipWithError("no connection");
        return;
    }
    const QByteArray request = RequestTo(port);
    for (auto _ : state) {
        writer.WriteViewFile(view, '.');
        server.SetView(ViewBytes(), {view.CurLon, view.CurLat});
        for (int i = 0; i < requests; ++i) {
            if (!RoundTrip(client, request, replyBytes)) {
                state.SkipWithError("the connection closed");
                return;
            }
        }
    }
}

void BM_TickPeriodIdle(benchmark::State& state) {
    PeriodWith(state, 0);
}
BENCHMARK(BM_TickPeriodIdle)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_TickPeriodTenRequests(benchmark::State& state) {
    PeriodWith(state, 10);
}
BENCHMARK(BM_TickPeriodTenRequests)->Repetitions(5)->ReportAggregatesOnly(true);

// A program beside Tembrel that floods the server from its own thread:
// requests, binary junk and connections held open and silent, as fast as
// it can. Blocking sockets on the client side only.
class Flood {
public:
    explicit Flood(quint16 port) : port_(port), request_(RequestTo(port)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~Flood() {
        stop_ = true;
        thread_.join();
        for (const int fd : held_) {
            ::close(fd);
        }
    }
    Flood(const Flood&) = delete;
    Flood& operator=(const Flood&) = delete;

private:
    int Open() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port_);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    void Run() {
        const timeval wait{0, 200000};
        char junk[1024];
        for (std::size_t i = 0; i < sizeof junk; ++i) {
            junk[i] = static_cast<char>(i * 131 + 7);
        }
        for (unsigned round = 0; !stop_; ++round) {
            const int fd = Open();
            if (fd < 0) {
                continue;
            }
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
            switch (round % 3) {
            case 0: { // a request, read to its end
                ::send(fd, request_.constData(), static_cast<std::size_t>(request_.size()),
                       MSG_NOSIGNAL);
                char reply[2048];
                ::recv(fd, reply, sizeof reply, 0);
                ::close(fd);
                break;
            }
            case 1: // junk
                ::send(fd, junk, sizeof junk, MSG_NOSIGNAL);
                ::close(fd);
                break;
            default: // held open, silent, up to a thousand
                if (held_.size() < 1000) {
                    held_.push_back(fd);
                } else {
                    ::close(fd);
                }
            }
        }
    }

    quint16 port_;
    QByteArray request_;
    std::atomic<bool> stop_{false};
    std::vector<int> held_;
    std::thread thread_;
};

// How late a 5 ms timer fires on the event loop that also serves: idle,
// and under the flood. Manual time: the lateness alone.
void TickLateness(benchmark::State& state, bool flooded) {
    ViewServer server;
    const quint16 port = server.Listen(0);
    server.SetSecret(Secret);
    server.SetView(ViewBytes(), {2.2892, 48.8591});
    std::unique_ptr<Flood> flood = flooded ? std::make_unique<Flood>(port) : nullptr;
    QObject context;
    for (auto _ : state) {
        bool fired = false;
        QElapsedTimer elapsed;
        elapsed.start();
        QTimer::singleShot(5, Qt::PreciseTimer, &context, [&fired] { fired = true; });
        while (!fired) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const double late = static_cast<double>(elapsed.nsecsElapsed()) / 1e9 - 0.005;
        state.SetIterationTime(late > 0 ? late : 0);
    }
    state.counters["open"] = server.OpenConnections();
}

void BM_TickLatenessIdle(benchmark::State& state) {
    TickLateness(state, false);
}
BENCHMARK(BM_TickLatenessIdle)->UseManualTime()->Iterations(400)->Unit(benchmark::kMicrosecond);

void BM_TickLatenessFlooded(benchmark::State& state) {
    TickLateness(state, true);
}
BENCHMARK(BM_TickLatenessFlooded)->UseManualTime()->Iterations(400)->Unit(benchmark::kMicrosecond);

const BenchTarget Targets[] = {
    {"A view request against a bare loopback exchange", "BM_ViewServerRequest", "BM_LoopbackFloor",
     3.0},
    {"A second of a 1 s voyage with 10 fetches against one without", "BM_TickPeriodTenRequests",
     "BM_TickPeriodIdle", 20.0},
    {"A second of a 1 s voyage with 10 fetches (CPU, ns)", "BM_TickPeriodTenRequests", "",
     10000000},
};

} // namespace
} // namespace tembrel

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 1;
    }
    tembrel::TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << '\n';
    reporter.PrintTargets(std::cout, tembrel::Targets);
    benchmark::Shutdown();
    return 0;
}
