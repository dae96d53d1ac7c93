// Requests read from a connection's bytes however they are cut: split at
// every byte, several in one read, and what ends a connection.
#include "HttpMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using Outcome = HttpRequestReader::Outcome;

constexpr std::size_t Limit = 8192;

// Every request the bytes hold, fed `step` bytes at a time, and how the
// reading ended.
std::vector<HttpRequest> ReadAll(const std::string& bytes, std::size_t step, Outcome& last) {
    HttpRequestReader reader(Limit);
    std::vector<HttpRequest> requests;
    last = Outcome::NeedMore;
    for (std::size_t at = 0;
         at < bytes.size() && last != Outcome::Malformed && last != Outcome::TooLarge; at += step) {
        reader.Append(std::string_view(bytes).substr(at, step));
        HttpRequest request;
        while ((last = reader.Next(request)) == Outcome::Request) {
            requests.push_back(request);
        }
    }
    return requests;
}

TEST(HttpRequestReader, ReadsTheSameRequestsWhereverTheBytesAreCut) {
    const std::string bytes = "GET /TembrelData.KML?lon=1&lat=2 HTTP/1.1\r\nHost: x\r\n\r\n"
                              "POST /a HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello"
                              "GET /b HTTP/1.1\r\nConnection: close\r\n\r\n";
    for (const std::size_t step : {std::size_t{1}, std::size_t{7}, bytes.size()}) {
        Outcome last{};
        const std::vector<HttpRequest> requests = ReadAll(bytes, step, last);
        ASSERT_EQ(requests.size(), 3u) << "step " << step;
        EXPECT_EQ(last, Outcome::NeedMore);
        EXPECT_EQ(requests[0].method, "GET");
        EXPECT_EQ(requests[0].target, "/TembrelData.KML?lon=1&lat=2");
        EXPECT_TRUE(requests[0].keepAlive);
        // The body is read past, not taken for the next request.
        EXPECT_EQ(requests[1].method, "POST");
        EXPECT_EQ(requests[1].target, "/a");
        EXPECT_EQ(requests[2].target, "/b");
        EXPECT_FALSE(requests[2].keepAlive);
    }
}

struct EndCase {
    const char* name;
    std::string bytes;
    Outcome outcome;
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << c.name;
}

class HttpRequestReaderEnds : public testing::TestWithParam<EndCase> {};

TEST_P(HttpRequestReaderEnds, EndsTheConnectionOnlyWhereItMust) {
    Outcome last{};
    ReadAll(GetParam().bytes, 3, last);
    EXPECT_EQ(last, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpRequestReaderEnds,
    testing::Values(
        EndCase{"half a head waits", "GET /TembrelData.KML HTTP/1.1\r\nHost:", Outcome::NeedMore},
        EndCase{"bad version", "GET / HTTP/A.1\r\n\r\n", Outcome::Malformed},
        EndCase{"header without colon", "GET / HTTP/1.1\r\nHost x\r\n\r\n", Outcome::Malformed},
        EndCase{"bad content length", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n",
                Outcome::Malformed},
        EndCase{"head over the limit",
                "GET / HTTP/1.1\r\nX: " + std::string(Limit, 'a') + "\r\n\r\n", Outcome::TooLarge},
        EndCase{"body over the limit",
                "POST / HTTP/1.1\r\nContent-Length: " + std::to_string(Limit + 1) + "\r\n\r\n",
                Outcome::TooLarge},
        EndCase{"endless head", std::string(3 * Limit, 'G'), Outcome::TooLarge}));

TEST(HttpRequestReader, StaysEndedAfterAFault) {
    HttpRequestReader reader(Limit);
    reader.Append("GET / HTTP/A.1\r\n\r\n");
    HttpRequest request;
    EXPECT_EQ(reader.Next(request), Outcome::Malformed);
    reader.Append("GET / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(reader.Next(request), Outcome::Malformed);
}

TEST(HttpResponse, ComposesStatusHeadersLengthAndClose) {
    EXPECT_EQ(ComposeHttpResponse(200, {{"Content-Type", "text/plain"}}, "abc", false),
              "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 3\r\n\r\nabc");
    EXPECT_EQ(ComposeHttpResponse(405, {{"Allow", "GET"}}, {}, true),
              "HTTP/1.1 405 Method Not Allowed\r\nAllow: GET\r\nConnection: close\r\n"
              "Content-Length: 0\r\n\r\n");
}

} // namespace
} // namespace tembrel
