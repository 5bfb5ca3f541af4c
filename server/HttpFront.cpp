#include "server/HttpFront.h"

#include "demo/DemoVerifier.h"
#include "game/DailyChallenge.h"
#include "server/BoardRequest.h"
#include "server/LeaderboardPage.h"
#include "server/PlayerName.h"
#include "server/RunJson.h"

#include <charconv>
#include <chrono>
#include <httplib.h>
#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

// What a multipart upload may carry besides the demo: the parts' headers and small fields.
constexpr std::size_t kFormBytes = 64 * 1024;

void SendJson(httplib::Response& response, int status, const json& body) {
    response.status = status;
    response.set_content(body.dump(), "application/json");
}

void SendError(httplib::Response& response, int status, const std::string& message) {
    SendJson(response, status, json{{"error", message}});
}

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::optional<int64_t> ParseInteger(const std::string& text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

int64_t IdOf(const httplib::Request& request) {
    return ParseInteger(request.matches[1]).value_or(0);
}

} // namespace

const std::size_t HttpFront::kMaxDemoBytes = DemoVerifier::kMaxFileBytes;

HttpFront::HttpFront(StorePool& stores, FrontSettings settings)
    : stores_(stores), settings_(std::move(settings)), files_(settings_.WebDir),
      uploads_(settings_.UploadsPerMinute, std::max(settings_.UploadsPerMinute, 1.0)),
      requests_(settings_.RequestsPerSecond * 60, settings_.RequestsPerSecond * 2),
      http_(std::make_unique<httplib::Server>()) {
    Routes();
}

HttpFront::~HttpFront() = default;

int HttpFront::Bind(const std::string& host, int port) {
    if (port == 0) {
        return http_->bind_to_any_port(host);
    }
    return http_->bind_to_port(host, port) ? port : -1;
}

void HttpFront::Listen() {
    http_->listen_after_bind();
}

void HttpFront::Stop() {
    http_->stop();
}

void HttpFront::Routes() {
    httplib::Server& http = *http_;
    // A multipart upload carries the demo and a few small fields around it.
    http.set_payload_max_length(kMaxDemoBytes + kFormBytes);
    http.set_read_timeout(10);
    http.set_write_timeout(10);
    http.set_keep_alive_timeout(5);
    http.set_keep_alive_max_count(1000);
    http.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        return WithinLimits(request, response) ? httplib::Server::HandlerResponse::Unhandled
                                               : httplib::Server::HandlerResponse::Handled;
    });
    // Answers the library makes itself (413 for a body over the cap, 404) carry a JSON reason;
    // answers with a body of their own keep it.
    http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) {
            return;
        }
        if (response.status == 413) {
            SendError(response, 413, "over a cap: the body is larger than " + std::to_string(kMaxDemoBytes) + " bytes");
        } else if (response.status == 404) {
            SendError(response, 404, "not found");
        } else {
            SendError(response, response.status, "the request cannot be answered");
        }
    });
    http.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const SqlError&) {
            SendError(response, 503, "the database cannot be reached; try again later");
        } catch (const std::exception&) {
            SendError(response, 500, "the server failed");
        }
    });
    http.Get("/api/", [](const httplib::Request&, httplib::Response& response) {
        SendJson(response, 200, json{{"leaderboard", true}, {"max_demo_bytes", kMaxDemoBytes}});
    });
    // The body is read by the handler: the library would otherwise parse a body sent as a form
    // (curl's default type) as form fields, and refuse one over a few kilobytes.
    http.Post("/api/runs", [this](const httplib::Request& q, httplib::Response& r, const httplib::ContentReader& read) {
        Upload(q, r, read);
    });
    http.Get(R"(/api/runs/(\d{1,18}))", [this](const httplib::Request& q, httplib::Response& r) { ShowRun(q, r); });
    http.Get(R"(/api/runs/(\d{1,18})/demo)",
             [this](const httplib::Request& q, httplib::Response& r) { SendDemo(q, r); });
    http.Get("/api/leaderboard", [this](const httplib::Request& q, httplib::Response& r) { SendBoard(q, r); });
    http.Get("/", [this](const httplib::Request& q, httplib::Response& r) { SendPage(q, r); });
    http.Get("/(.+)", [this](const httplib::Request& q, httplib::Response& r) { SendFile(q, r); });
}

std::string HttpFront::ClientOf(const httplib::Request& request) const {
    if (settings_.BehindProxy && request.has_header("X-Forwarded-For")) {
        // The proxy appends the address it saw; anything before it is the client's own word.
        const std::string forwarded = request.get_header_value("X-Forwarded-For");
        std::string last = forwarded.substr(forwarded.rfind(',') == std::string::npos ? 0 : forwarded.rfind(',') + 1);
        last.erase(0, last.find_first_not_of(' '));
        if (!last.empty()) {
            return last;
        }
    }
    return request.remote_addr;
}

bool HttpFront::WithinLimits(const httplib::Request& request, httplib::Response& response) {
    const std::string client = ClientOf(request);
    RateLimiter& limiter = request.method == "POST" ? uploads_ : requests_;
    if (limiter.Allow(client)) {
        return true;
    }
    const int wait = std::max(limiter.SecondsToWait(client), 1);
    response.set_header("Retry-After", std::to_string(wait));
    SendError(response, 429, "too many requests from this address; try again in " + std::to_string(wait) + " s");
    return false;
}

void HttpFront::Upload(const httplib::Request& request, httplib::Response& response,
                       const httplib::ContentReader& read) {
    NewRun run;
    std::string name = request.get_param_value("name");
    std::string claimed = request.get_param_value("claimed_score");
    // A body announced over the cap is refused before any of it is read.
    bool over = ParseInteger(request.get_header_value("Content-Length")).value_or(0) >
                static_cast<int64_t>(kMaxDemoBytes + kFormBytes);
    if (!over && request.is_multipart_form_data()) {
        // The form's parts: the file "demo" and the fields "name" and "claimed_score".
        std::string* part = nullptr;
        std::size_t fieldBytes = 0;
        read(
            [&](const httplib::MultipartFormData& header) {
                part = header.name == "demo"            ? &run.Demo
                       : header.name == "name"          ? &name
                       : header.name == "claimed_score" ? &claimed
                                                        : nullptr;
                if (part) {
                    part->clear();
                }
                return true;
            },
            [&](const char* data, std::size_t length) {
                fieldBytes += part == &run.Demo ? 0 : length;
                if (part == nullptr) {
                    return true;
                }
                if (run.Demo.size() + length > kMaxDemoBytes || fieldBytes > kFormBytes) {
                    over = true;
                    return false;
                }
                part->append(data, length);
                return true;
            });
    } else if (!over) {
        read([&](const char* data, std::size_t length) {
            if (run.Demo.size() + length > kMaxDemoBytes) {
                over = true;
                return false;
            }
            run.Demo.append(data, length);
            return true;
        });
    }
    if (over) {
        SendError(response, 413, "over a cap: the demo is larger than " + std::to_string(kMaxDemoBytes) + " bytes");
        return;
    }
    if (run.Demo.empty()) {
        SendError(response, 400, "no demo: send the demo file as the request's body");
        return;
    }
    std::string reason;
    if (!PlayerName::Clean(name, run.Name, reason)) {
        SendError(response, 400, reason);
        return;
    }
    if (!claimed.empty()) {
        run.ClaimedScore = ParseInteger(claimed);
        if (!run.ClaimedScore) {
            SendError(response, 400, "claimed_score must be a whole number");
            return;
        }
    }
    run.Client = ClientOf(request);
    run.UploadedMs = NowMs();
    const int64_t id = stores_.Borrow()->Add(run);
    response.set_header("Location", "/api/runs/" + std::to_string(id));
    SendJson(response, 202, json{{"id", id}, {"status", "queued"}});
}

void HttpFront::ShowRun(const httplib::Request& request, httplib::Response& response) {
    const std::optional<RunRecord> run = stores_.Borrow()->Find(IdOf(request));
    if (!run) {
        SendError(response, 404, "no such run");
        return;
    }
    SendJson(response, 200, RunJson::Of(*run));
}

void HttpFront::SendDemo(const httplib::Request& request, httplib::Response& response) {
    const int64_t id = IdOf(request);
    std::optional<std::string> demo = stores_.Borrow()->Demo(id);
    if (!demo) {
        SendError(response, 404, "no such run");
        return;
    }
    response.set_header("Content-Disposition", "inline; filename=\"run-" + std::to_string(id) + ".vkd\"");
    response.set_content(std::move(*demo), "text/plain; charset=utf-8");
}

void HttpFront::SendBoard(const httplib::Request& request, httplib::Response& response) {
    BoardQuery query;
    std::string error;
    if (!BoardRequest::Parse(request.get_param_value("board"), request.get_param_value("date"),
                             request.get_param_value("limit"), query, error)) {
        SendError(response, 400, error);
        return;
    }
    const std::vector<RunRecord> rows = stores_.Borrow()->Board(query);
    SendJson(response, 200, RunJson::Board(rows, query));
}

void HttpFront::SendPage(const httplib::Request& request, httplib::Response& response) {
    BoardQuery query;
    std::string error;
    if (!BoardRequest::Parse(request.get_param_value("board"), request.get_param_value("date"), "", query, error)) {
        query = BoardQuery{};
    }
    LeaderboardPage::View view;
    view.Rows = stores_.Borrow()->Board(query);
    view.DailyDate = query.DailyDate;
    view.Today = BoardRequest::Today();
    view.CanWatch = !settings_.WebDir.empty();
    response.set_header("Cache-Control", "no-cache");
    response.set_content(LeaderboardPage::Render(view), "text/html; charset=utf-8");
}

void HttpFront::SendFile(const httplib::Request& request, httplib::Response& response) {
    std::optional<WebFiles::File> file = files_.Find(request.path, request.get_header_value("Accept-Encoding"));
    if (!file) {
        SendError(response, 404, "not found");
        return;
    }
    response.set_header("Cache-Control", "no-cache");
    response.set_header("Vary", "Accept-Encoding");
    // The page learns from this that it may offer a game to this server (app/web/submit.js).
    response.set_header("Server-Timing", "vorkalith-leaderboard");
    if (file->Encoding.empty()) {
        response.set_content(std::move(file->Body), file->Type.c_str());
        return;
    }
    // Sent as it is: a body given with its length is not compressed again by the library.
    response.set_header("Content-Encoding", file->Encoding);
    auto body = std::make_shared<std::string>(std::move(file->Body));
    response.set_content_provider(body->size(), file->Type.c_str(),
                                  [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                      sink.write(body->data() + offset, length);
                                      return true;
                                  });
}
