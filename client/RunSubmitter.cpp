#include "client/RunSubmitter.h"

#include "platform/base/ControlEscape.h"
#include "platform/base/Translate.h"
#include "platform/files/RegularFile.h"

#include <chrono>
#include <httplib.h>
#include <iostream>
#include <nlohmann/json.hpp>
#include <thread>

namespace {

using nlohmann::json;
using Result = RunSubmitter::Result;

// The largest demo a server takes.
constexpr std::size_t kMaxDemoBytes = 8u << 20;

Result Failed(std::string reason) {
    Result result;
    result.Reason = std::move(reason);
    return result;
}

// The server's reason in an answer's body, or the status when the body has none.
std::string ErrorOf(const httplib::Result& answer) {
    if (!answer) {
        return httplib::to_string(answer.error());
    }
    const json body = json::parse(answer->body, nullptr, false);
    if (body.is_object() && body.contains("error") && body["error"].is_string()) {
        return "HTTP " + std::to_string(answer->status) + ": " + body["error"].get<std::string>();
    }
    return "HTTP " + std::to_string(answer->status);
}

// `text` with each {key} replaced by its value.
std::string Filled(std::string text, std::initializer_list<std::pair<const char*, std::string>> values) {
    for (const auto& [key, value] : values) {
        const std::string mark = std::string("{") + key + "}";
        if (const std::size_t at = text.find(mark); at != std::string::npos) {
            text.replace(at, mark.size(), value);
        }
    }
    return text;
}

} // namespace

std::string RunSubmitter::QueryEscape(const std::string& text) {
    static const char* kHex = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            escaped += c;
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 15];
        }
    }
    return escaped;
}

Result RunSubmitter::Submit(const Request& request, const std::function<void(int64_t)>& onQueued) {
    std::string why;
    if (!platform::RegularFile::Open(request.DemoPath, why)) {
        return Failed(request.DemoPath + ": " + why);
    }
    const std::optional<std::vector<uint8_t>> bytes = platform::RegularFile::ReadAll(request.DemoPath, kMaxDemoBytes);
    if (!bytes) {
        return Failed(request.DemoPath + ": cannot read it, or it is larger than 8 MB");
    }
    // The server's address without its path, and the path the API lies under (a proxy's prefix).
    const std::size_t scheme = request.ServerUrl.find("://");
    if (scheme == std::string::npos) {
        return Failed(request.ServerUrl + ": not an address (http://HOST:PORT)");
    }
    const std::size_t slash = request.ServerUrl.find('/', scheme + 3);
    const std::string origin = request.ServerUrl.substr(0, slash);
    std::string prefix = slash == std::string::npos ? "" : request.ServerUrl.substr(slash);
    while (!prefix.empty() && prefix.back() == '/') {
        prefix.pop_back();
    }
    httplib::Client client(origin);
    if (!client.is_valid()) {
        return Failed(request.ServerUrl + ": not an address this program can reach (http:// or https://)");
    }
    client.set_connection_timeout(10);
    client.set_read_timeout(30);
    client.set_write_timeout(30);

    std::string path = prefix + "/api/runs?name=" + QueryEscape(request.Name);
    if (request.ClaimedScore) {
        path += "&claimed_score=" + std::to_string(*request.ClaimedScore);
    }
    const httplib::Result posted = client.Post(path.c_str(), reinterpret_cast<const char*>(bytes->data()),
                                               bytes->size(), "application/octet-stream");
    if (!posted || posted->status != 202) {
        return Failed(ErrorOf(posted));
    }
    const json accepted = json::parse(posted->body, nullptr, false);
    if (!accepted.is_object() || !accepted.contains("id") || !accepted["id"].is_number_integer()) {
        return Failed("the server's answer has no run id");
    }
    Result result;
    result.Id = accepted["id"].get<int64_t>();
    result.RunUrl = origin + prefix + "/api/runs/" + std::to_string(result.Id);
    result.State = Result::Outcome::Waiting;
    if (onQueued) {
        onQueued(result.Id);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(request.WaitSeconds);
    const std::string runPath = prefix + "/api/runs/" + std::to_string(result.Id);
    while (std::chrono::steady_clock::now() < until) {
        const httplib::Result answer = client.Get(runPath.c_str());
        if (answer && answer->status == 200) {
            const json run = json::parse(answer->body, nullptr, false);
            const std::string status = run.is_object() ? run.value("status", "") : "";
            if (status == "verified" && run["result"].is_object()) {
                result.State = Result::Outcome::Verified;
                result.Score = run["result"].value("score", int64_t{0});
                result.Level = run["result"].value("level", int64_t{0});
                return result;
            }
            if (status == "rejected") {
                result.State = Result::Outcome::Rejected;
                result.Reason = run.value("reason", "");
                return result;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return result;
}

int RunSubmitter::Command(const Request& request) {
    const Result result = Submit(request, [](int64_t id) {
        std::cout << Filled(Tr("Игра {id} принята и ждёт проверки…"), {{"id", std::to_string(id)}}) << std::endl;
    });
    const std::string id = std::to_string(result.Id);
    switch (result.State) {
    case Result::Outcome::Verified:
        std::cout << Filled(
                         Tr("Игра {id} проверена: {score} очков, уровень {level}."),
                         {{"id", id}, {"score", std::to_string(result.Score)}, {"level", std::to_string(result.Level)}})
                  << '\n';
        return 0;
    case Result::Outcome::Rejected:
        std::cout << Filled(Tr("Игра {id} отклонена: {reason}"),
                            {{"id", id}, {"reason", platform::EscapeControls(result.Reason)}})
                  << '\n';
        return 1;
    case Result::Outcome::Waiting:
        std::cout << Filled(Tr("Игра {id} ещё не проверена; её состояние: {url}"),
                            {{"id", id}, {"url", platform::EscapeControls(result.RunUrl)}})
                  << '\n';
        return 1;
    case Result::Outcome::Failed:
        break;
    }
    std::cerr << "vorkalith: "
              << Filled(Tr("{server}: игра не отправлена: {reason}"),
                        {{"server", platform::EscapeControls(request.ServerUrl)},
                         {"reason", platform::EscapeControls(result.Reason)}})
              << '\n';
    return 1;
}
