#pragma once

#include "server/RateLimiter.h"
#include "server/StorePool.h"
#include "server/WebFiles.h"

#include <memory>
#include <string>

namespace httplib {
class Server;
class Request;
class Response;
class ContentReader;
} // namespace httplib

// What the HTTP front needs besides its connections.
struct FrontSettings {
    std::string WebDir; // the web build's page, served beside the board; none when empty
    double UploadsPerMinute = 12;
    double RequestsPerSecond = 50;
    bool BehindProxy = false;
};

// The HTTP front: the API (uploads, runs, demos, boards), the board page at / and the web build's
// files. Each request is answered from the database alone; verification happens elsewhere.
class HttpFront {
public:
    // The largest demo taken, as the verifier's cap.
    static const std::size_t kMaxDemoBytes;

    HttpFront(StorePool& stores, FrontSettings settings);
    ~HttpFront();
    HttpFront(const HttpFront&) = delete;
    HttpFront& operator=(const HttpFront&) = delete;

    // Binds to the address; returns the port taken (the one asked for, or a free one for 0), or -1.
    int Bind(const std::string& host, int port);
    // Answers requests until Stop.
    void Listen();
    void Stop();

private:
    void Routes();
    void Upload(const httplib::Request& request, httplib::Response& response, const httplib::ContentReader& read);
    void ShowRun(const httplib::Request& request, httplib::Response& response);
    void SendDemo(const httplib::Request& request, httplib::Response& response);
    void SendBoard(const httplib::Request& request, httplib::Response& response);
    void SendPage(const httplib::Request& request, httplib::Response& response);
    void SendFile(const httplib::Request& request, httplib::Response& response);
    // The client's address: the connection's, or the proxy's word for it.
    std::string ClientOf(const httplib::Request& request) const;
    // False (with the answer 429 made) when the client is over its limit.
    bool WithinLimits(const httplib::Request& request, httplib::Response& response);

    StorePool& stores_;
    FrontSettings settings_;
    WebFiles files_;
    RateLimiter uploads_;
    RateLimiter requests_;
    std::unique_ptr<httplib::Server> http_;
};
