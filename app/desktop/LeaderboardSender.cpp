#include "app/desktop/LeaderboardSender.h"

#include "client/RunSubmitter.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <string>

namespace {
// A server's replay takes milliseconds; a longer wait is a busy server, whose verdict the run's
// page shows later.
constexpr int kWaitSeconds = 15;
} // namespace

std::string LeaderboardSender::Submit(const RunRecord& /*run*/, const std::string& demoFile) {
    RunSubmitter::Request request;
    request.ServerUrl = server_;
    request.DemoPath = demoFile;
    request.WaitSeconds = kWaitSeconds;
    // No claimed score: the server lists the best run of the session demo, which may be another
    // row of the table than the one chosen.
    const RunSubmitter::Result result = RunSubmitter::Submit(request);
    using Outcome = RunSubmitter::Result::Outcome;
    switch (result.State) {
    case Outcome::Verified:
        return Fill(Tr("Сервер проверил игру: {} очков, уровень {}"),
                    {std::to_string(result.Score), std::to_string(result.Level)});
    case Outcome::Rejected:
        return Fill(Tr("Сервер отклонил игру: {}"), {result.Reason});
    case Outcome::Waiting:
        return Fill(Tr("Игра ждёт проверки: {}"), {result.RunUrl});
    case Outcome::Failed:
        break;
    }
    return Fill(Tr("Не отправлено: {}"), {result.Reason});
}
