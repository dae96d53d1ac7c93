#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tembrel {

// One request as the view server needs it: the head, never the body.
struct HttpRequest {
    std::string method;
    std::string target; // as sent: path and query, still percent-encoded
    bool keepAlive = true;
    std::string host;   // the Host field's value, empty when there is none
    int hostFields = 0; // how many Host fields came (HTTP allows exactly one)
    // An Origin or a Sec-Fetch-* field: what browsers add to a page's requests.
    bool fromBrowser = false;
};

// Reads HTTP/1 requests from the bytes of one connection as they arrive,
// one after another on a kept connection. Boost.Beast parses them; this
// class only keeps the bytes a request has not used yet.
class HttpRequestReader {
public:
    enum class Outcome {
        NeedMore,  // no whole request yet
        Request,   // one request read; its bytes are gone
        Malformed, // not HTTP/1: the connection has nothing more to say
        TooLarge,  // a request over the limit, head and body together
    };

    explicit HttpRequestReader(std::size_t limitBytes);
    ~HttpRequestReader();
    HttpRequestReader(const HttpRequestReader&) = delete;
    HttpRequestReader& operator=(const HttpRequestReader&) = delete;

    void Append(std::string_view bytes);
    // The next request from what has arrived; after Malformed or TooLarge
    // every later call says the same.
    Outcome Next(HttpRequest& request);

private:
    struct Parser;

    std::size_t limit_;
    std::string pending_;
    std::unique_ptr<Parser> parser_;
    Outcome failed_ = Outcome::NeedMore;
};

using HttpHeaders = std::vector<std::pair<std::string_view, std::string_view>>;

// A whole HTTP/1.1 response: status line with its standard reason, the
// headers given, Content-Length, and "Connection: close" when asked.
std::string ComposeHttpResponse(unsigned status, const HttpHeaders& headers, std::string_view body,
                                bool close);

} // namespace tembrel
