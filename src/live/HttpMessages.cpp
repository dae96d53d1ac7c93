#include "HttpMessages.h"

#include <boost/beast/core/string.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>

#include <sstream>

namespace tembrel {

namespace http = boost::beast::http;

namespace {

// Origin, and the fetch metadata (Sec-Fetch-Site, -Mode, -Dest, -User) that
// browsers send with every request a page makes; names are case-insensitive.
bool FromBrowser(boost::beast::string_view name) {
    constexpr boost::beast::string_view Prefix = "sec-fetch-";
    return boost::beast::iequals(name, "origin") ||
           (name.size() >= Prefix.size() &&
            boost::beast::iequals(name.substr(0, Prefix.size()), Prefix));
}

} // namespace

struct HttpRequestReader::Parser {
    explicit Parser(std::size_t limit) {
        parser.header_limit(static_cast<std::uint32_t>(limit));
        parser.body_limit(limit);
        // Head and body in one call when both have arrived.
        parser.eager(true);
    }

    http::request_parser<http::string_body> parser;
};

HttpRequestReader::HttpRequestReader(std::size_t limitBytes) : limit_(limitBytes) {}

HttpRequestReader::~HttpRequestReader() = default;

void HttpRequestReader::Append(std::string_view bytes) {
    if (failed_ != Outcome::NeedMore) {
        return;
    }
    // A head and a body each at their limit is the most one request can
    // be; what waits beyond that is refused, whatever follows.
    if (pending_.size() + bytes.size() > limit_ + limit_) {
        failed_ = Outcome::TooLarge;
        pending_.clear();
        return;
    }
    pending_.append(bytes);
}

HttpRequestReader::Outcome HttpRequestReader::Next(HttpRequest& request) {
    while (failed_ == Outcome::NeedMore && !pending_.empty()) {
        if (!parser_) {
            parser_ = std::make_unique<Parser>(limit_);
        }
        boost::beast::error_code error;
        const std::size_t used =
            parser_->parser.put(boost::asio::buffer(pending_.data(), pending_.size()), error);
        pending_.erase(0, used);
        if (error == http::error::need_more) {
            return Outcome::NeedMore;
        }
        if (error == http::error::header_limit || error == http::error::body_limit ||
            error == http::error::buffer_overflow) {
            failed_ = Outcome::TooLarge;
        } else if (error) {
            failed_ = Outcome::Malformed;
        } else if (parser_->parser.is_done()) {
            const auto& message = parser_->parser.get();
            request.method = std::string(message.method_string());
            request.target = std::string(message.target());
            request.keepAlive = message.keep_alive();
            request.hostFields = static_cast<int>(message.count(http::field::host));
            const auto host = message.find(http::field::host);
            request.host = host == message.end() ? std::string() : std::string(host->value());
            request.fromBrowser = false;
            for (const auto& field : message) {
                request.fromBrowser = request.fromBrowser || FromBrowser(field.name_string());
            }
            parser_.reset();
            return Outcome::Request;
        } else if (used == 0) {
            return Outcome::NeedMore;
        }
    }
    if (failed_ != Outcome::NeedMore) {
        pending_.clear();
        return failed_;
    }
    return Outcome::NeedMore;
}

std::string ComposeHttpResponse(unsigned status, const HttpHeaders& headers, std::string_view body,
                                bool close) {
    http::response<http::string_body> response{static_cast<http::status>(status), 11};
    for (const auto& [name, value] : headers) {
        response.set(boost::beast::string_view(name.data(), name.size()),
                     boost::beast::string_view(value.data(), value.size()));
    }
    response.body() = std::string(body);
    response.keep_alive(!close);
    response.prepare_payload();
    std::ostringstream out;
    out << response;
    return std::move(out).str();
}

} // namespace tembrel
