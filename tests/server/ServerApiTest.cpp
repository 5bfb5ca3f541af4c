// The server's API on SQLite and on PostgreSQL (when the test script started one): the same
// cases on both.
#include "ServerFixture.h"
#include "client/RunSubmitter.h"

#include <random>

namespace {

using nlohmann::json;
using Database = RunningServer::Database;

std::string Demo(const std::string& name) {
    return ReadAll(std::string(VK_TESTS_DIR) + "/demos/" + name + ".vkd");
}

// The best score `vorkalith --verify` gives the demo's first run, from its .runs file.
int64_t VerifiedScore(const std::string& name) {
    const std::string runs = ReadAll(std::string(VK_TESTS_DIR) + "/demos/" + name + ".runs");
    return json::parse(runs.substr(0, runs.find('\n'))).at("BestScore").get<int64_t>();
}

// A name no other test (nor an earlier run of the tests on the same database) uses.
std::string UniqueName(const std::string& stem) {
    static std::mt19937 random(std::random_device{}());
    return stem + std::to_string(random() % 1000000);
}

class ServerApiTest : public ::testing::TestWithParam<Database> {
protected:
    void SetUp() override {
        if (GetParam() == Database::Postgres && RunningServer::PostgresUrl().empty()) {
            GTEST_SKIP() << "no PostgreSQL: VK_TEST_POSTGRES_URL is not set";
        }
    }
    RunningServer Start(const std::string& levels = VK_RUN_DIR) { return RunningServer(GetParam(), levels); }
};

struct DemoCase {
    const char* Demo;
    const char* Levels; // the server's level folder
    bool Verified;
    const char* Reason; // how a rejection starts
};

TEST_P(ServerApiTest, EveryTestDemoIsVerifiedToItsPlaybackScoreOrRejectedWithItsReason) {
    const DemoCase cases[] = {
        {"energy", VK_RUN_DIR, true, ""},
        {"mine", VK_RUN_DIR, true, ""},
        {"level2", VK_RUN_DIR, true, ""},
        {"menu-tour", VK_RUN_DIR, false, "no game in the demo"},
        // Recorded on other level files than the installed ones.
        {"end", VK_RUN_DIR, false, "other level files: demo was recorded with another 1.vrk"},
        {"playtest", VK_RUN_DIR, false, "other level files"},
        // A server on a level set of its own lists the runs replayed on it.
        {"end", VK_SHORT_LEVELS_DIR, true, ""},
        {"playtest", VK_PLAYTEST_LEVELS_DIR, true, ""},
    };
    for (const DemoCase& c : cases) {
        SCOPED_TRACE(std::string(c.Demo) + " on " + c.Levels);
        RunningServer server = Start(c.Levels);
        ASSERT_NE(server.Port(), 0) << server.Log();
        const json run = server.Decided(server.Upload(Demo(c.Demo)));
        if (c.Verified) {
            ASSERT_EQ(run.at("status"), "verified") << run.dump();
            EXPECT_EQ(run.at("result").at("score"), VerifiedScore(c.Demo));
        } else {
            ASSERT_EQ(run.at("status"), "rejected");
            EXPECT_TRUE(run.at("reason").get<std::string>().starts_with(c.Reason)) << run.at("reason");
        }
    }
}

TEST_P(ServerApiTest, AClaimedScoreMustBeWhatTheReplayGives) {
    RunningServer server = Start();
    const std::string demo = Demo("level2");
    const int64_t score = VerifiedScore("level2");
    const json wrong = server.Decided(server.Upload(demo, "?claimed_score=" + std::to_string(score + 1)));
    const json right = server.Decided(server.Upload(demo, "?claimed_score=" + std::to_string(score)));
    EXPECT_EQ(wrong.at("status"), "rejected");
    EXPECT_TRUE(wrong.at("reason").get<std::string>().starts_with("claimed score not what the replay gives"));
    EXPECT_EQ(right.at("status"), "verified");
}

TEST_P(ServerApiTest, ADamagedDemoIsRejectedWithItsLine) {
    RunningServer server = Start();
    std::string demo = Demo("energy");
    demo.replace(demo.find("\nf "), 3, "\nf x");
    const json run = server.Decided(server.Upload(demo));
    EXPECT_EQ(run.at("status"), "rejected");
    EXPECT_TRUE(run.at("reason").get<std::string>().starts_with("damaged at line ")) << run.at("reason");
}

TEST_P(ServerApiTest, AnOversizeBodyIsRefusedWithItsReason) {
    RunningServer server = Start();
    const httplib::Result answer =
        server.Client()->Post("/api/runs", std::string((8u << 20) + 1, 'f'), "application/octet-stream");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 413);
    EXPECT_TRUE(json::parse(answer->body).at("error").get<std::string>().starts_with("over a cap"));
}

TEST_P(ServerApiTest, ANameWithMarkupShowsAsText) {
    RunningServer server = Start();
    const std::string name = "<script>alert(1)</script>";
    const std::string query = "?name=" + httplib::detail::encode_query_param(name.substr(0, 18) + "\"'&");
    const json run = server.Decided(server.Upload(Demo("energy"), query));
    ASSERT_EQ(run.at("status"), "verified");
    const httplib::Result page = server.Client()->Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->body.find("<script>alert"), std::string::npos);
    EXPECT_NE(page->body.find("&lt;script&gt;alert(1)&lt;/&quot;&#39;&amp;"), std::string::npos);
}

TEST_P(ServerApiTest, TheBoardListsEachNamesBestRunInOrder) {
    RunningServer server = Start();
    const std::string ann = UniqueName("ann");
    const std::string bob = UniqueName("bob");
    for (const auto& [demo, name] : {std::pair{"energy", ann}, {"level2", ann}, {"mine", bob}, {"energy", ann}}) {
        ASSERT_EQ(server.Decided(server.Upload(Demo(demo), "?name=" + name)).at("status"), "verified");
    }
    const httplib::Result answer = server.Client()->Get("/api/leaderboard?board=all&limit=100");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200) << answer->body;
    std::vector<std::pair<std::string, int64_t>> rows;
    const json board = json::parse(answer->body);
    for (const json& row : board.at("runs")) {
        if (row.at("name") == ann || row.at("name") == bob) {
            rows.emplace_back(row.at("name"), row.at("result").at("score"));
        }
    }
    const std::vector<std::pair<std::string, int64_t>> expected{{ann, VerifiedScore("level2")}, {bob, 0}};
    EXPECT_EQ(rows, expected);
}

TEST_P(ServerApiTest, TheDemoComesBackAsUploaded) {
    RunningServer server = Start();
    const std::string demo = Demo("mine");
    const int64_t id = server.Upload(demo);
    const httplib::Result answer = server.Client()->Get(("/api/runs/" + std::to_string(id) + "/demo").c_str());
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->body, demo);
}

TEST_P(ServerApiTest, BadParametersAreRefused) {
    RunningServer server = Start();
    EXPECT_EQ(server.Upload(Demo("energy"), "?name=" + std::string(25, 'a')), 0);
    EXPECT_EQ(server.Upload(Demo("energy"), "?name=%01"), 0);
    EXPECT_EQ(server.Upload(Demo("energy"), "?claimed_score=12x"), 0);
    EXPECT_EQ(server.Upload(""), 0);
    auto client = server.Client();
    EXPECT_EQ(client->Get("/api/leaderboard?board=weekly")->status, 400);
    EXPECT_EQ(client->Get("/api/leaderboard?board=daily&date=2024-02-30")->status, 400);
    EXPECT_EQ(client->Get("/api/leaderboard?limit=0")->status, 400);
    EXPECT_EQ(client->Get("/api/runs/999999")->status, 404);
}

INSTANTIATE_TEST_SUITE_P(Databases, ServerApiTest, ::testing::Values(Database::Sqlite, Database::Postgres),
                         [](const auto& info) { return info.param == Database::Sqlite ? "Sqlite" : "Postgres"; });

TEST(ServerLimitsTest, UploadsOverTheRateAreAnswered429) {
    RunningServer server(Database::Sqlite, VK_RUN_DIR, {"--upload-rate", "2"});
    const std::string demo = Demo("energy");
    EXPECT_NE(server.Upload(demo), 0);
    EXPECT_NE(server.Upload(demo), 0);
    const httplib::Result third = server.Client()->Post("/api/runs", demo, "application/octet-stream");
    ASSERT_TRUE(third);
    EXPECT_EQ(third->status, 429);
    EXPECT_TRUE(third->has_header("Retry-After"));
}

// A server started in Russian logs in Russian, while the reasons it keeps and answers, and the
// verifying child's findings they are made of, stay as they are in every language.
TEST(ServerLanguageTest, TheLogFollowsTheLanguageAndTheReasonsStayAsTheyAre) {
    RunningServer server(Database::Sqlite, VK_RUN_DIR, {}, {{"LANGUAGE", "ru"}});
    ASSERT_NE(server.Port(), 0) << server.Log();
    const json levels = server.Decided(server.Upload(Demo("end")));
    const std::string levelsReason = levels.at("reason");
    EXPECT_TRUE(levelsReason.starts_with("other level files: demo was recorded with another 1.vrk, ")) << levelsReason;
    std::string damaged = Demo("energy");
    damaged.replace(damaged.find("\nf "), 3, "\nf x");
    const std::string reason = server.Decided(server.Upload(damaged)).at("reason");
    EXPECT_TRUE(reason.starts_with("damaged at line ") && reason.find(": bad clock step \"x") != std::string::npos)
        << reason;
    EXPECT_NE(server.Log().find(": " + levelsReason + "\n"), std::string::npos) << server.Log();
    EXPECT_EQ(server.Log().find(" rejected: "), std::string::npos) << server.Log();
}

TEST(ServerLanguageTest, HelpAndUsageErrorsAreInTheUsersLanguage) {
    const std::string folder = ::testing::TempDir();
    ChildProcess::Options options;
    options.Env = {{"LANGUAGE", "ru"}};
    options.Stdout = folder + "server-help.out";
    options.Stderr = folder + "server-usage.err";
    ChildProcess help({VK_SERVER, "--help"}, options);
    ASSERT_TRUE(help.Wait(std::chrono::seconds(10)).has_value());
    ChildProcess usage({VK_SERVER, "--workers=x"}, {options.Folder, options.Env, "/dev/null", options.Stderr});
    ASSERT_TRUE(usage.Wait(std::chrono::seconds(10)).has_value());
    EXPECT_TRUE(ReadAll(options.Stdout).starts_with("использование: vorkalith-server")) << ReadAll(options.Stdout);
    EXPECT_TRUE(ReadAll(options.Stderr).starts_with("vorkalith-server: параметру '--workers' нужно целое число"))
        << ReadAll(options.Stderr);
}

} // namespace

namespace {

TEST(RunSubmitterTest, UploadsAndWaitsForTheVerdict) {
    RunningServer server(Database::Sqlite, VK_RUN_DIR);
    RunSubmitter::Request request;
    request.ServerUrl = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
    request.DemoPath = std::string(VK_TESTS_DIR) + "/demos/level2.vkd";
    request.Name = "Аня & Co";
    const RunSubmitter::Result verified = RunSubmitter::Submit(request);
    EXPECT_EQ(verified.State, RunSubmitter::Result::Outcome::Verified) << verified.Reason;
    EXPECT_EQ(verified.Score, VerifiedScore("level2"));
    EXPECT_EQ(server.Decided(verified.Id).at("name"), "Аня & Co");

    request.ClaimedScore = 1;
    const RunSubmitter::Result rejected = RunSubmitter::Submit(request);
    EXPECT_EQ(rejected.State, RunSubmitter::Result::Outcome::Rejected);
    EXPECT_TRUE(rejected.Reason.starts_with("claimed score"));

    request.DemoPath = "/nonexistent.vkd";
    EXPECT_EQ(RunSubmitter::Submit(request).State, RunSubmitter::Result::Outcome::Failed);
    request.DemoPath = std::string(VK_TESTS_DIR) + "/demos/level2.vkd";
    request.ServerUrl = "http://127.0.0.1:1";
    EXPECT_EQ(RunSubmitter::Submit(request).State, RunSubmitter::Result::Outcome::Failed);
}

} // namespace
