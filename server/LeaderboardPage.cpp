#include "server/LeaderboardPage.h"

#include "server/HtmlText.h"

namespace {

constexpr const char* kHead = R"(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Vorkalith: рекорды</title>
<link rel="icon" href="icons/vorkalith-32.png" type="image/png">
<style>
  body { margin: 0; padding: 24px 16px; background: radial-gradient(circle at 50% 0, #12204a 0, #000 80%) fixed;
         color: #ddd; font: 15px sans-serif; }
  main { max-width: 860px; margin: 0 auto; }
  h1 { margin: 0 0 12px; font: bold 40px sans-serif; color: #c8ffd0; text-shadow: 0 0 8px #3f6, 0 0 22px #1c4; }
  nav a, a { color: #ffd24a; }
  nav { margin-bottom: 16px; }
  nav .current { color: #fff; font-weight: bold; text-decoration: none; }
  table { width: 100%; border-collapse: collapse; background: rgba(10, 16, 40, 0.8); }
  th, td { padding: 6px 10px; border-bottom: 1px solid #2a355c; text-align: left; }
  th { color: #9aa6d0; font-weight: normal; }
  .number { text-align: right; font-variant-numeric: tabular-nums; }
  td.name { max-width: 240px; overflow-wrap: anywhere; }
  .empty { padding: 16px; color: #9aa6d0; }
  form { margin-top: 24px; padding: 12px 16px; background: rgba(10, 16, 40, 0.8); border: 1px solid #2a355c; }
  form label { margin-right: 12px; }
  input, button { font: 14px sans-serif; }
  button { color: #eee; background: #243056; border: 1px solid #6a7bb0; border-radius: 4px; padding: 5px 12px; }
  #upload-status { margin-top: 8px; min-height: 1.2em; white-space: pre-wrap; }
</style>
</head>
<body>
<main>
<h1>Vorkalith</h1>
)";

constexpr const char* kTail = R"(<form id="upload" method="post" action="/api/runs" enctype="multipart/form-data">
<label>Демонстрация (.vkd): <input type="file" name="demo" accept=".vkd" required></label>
<label>Имя: <input type="text" name="name" maxlength="24" placeholder="необязательно"></label>
<button type="submit">Прислать</button>
<div id="upload-status" role="status"></div>
</form>
</main>
<script>
// The upload sends the file as the request's body and follows the run until it is decided.
(function() {
  var form = document.getElementById("upload");
  var status = document.getElementById("upload-status");
  function show(text) { status.textContent = text; }
  function follow(id) {
    fetch("/api/runs/" + id).then(function(r) { return r.json(); }).then(function(run) {
      if (run.status === "queued") {
        show("Игра " + id + " в очереди на проверку…");
        setTimeout(function() { follow(id); }, 500);
      } else if (run.status === "verified") {
        show("Игра " + id + " проверена: " + run.result.score + " очков.");
        setTimeout(function() { location.reload(); }, 1500);
      } else {
        show("Игра " + id + " отклонена: " + run.reason);
      }
    }).catch(function(e) { show("Ошибка: " + e.message); });
  }
  form.addEventListener("submit", function(event) {
    event.preventDefault();
    var file = form.elements.demo.files[0];
    if (!file) {
      return;
    }
    show("Отправка…");
    fetch("/api/runs?name=" + encodeURIComponent(form.elements.name.value), {method: "POST", body: file})
      .then(function(r) { return r.json().then(function(body) { return {ok: r.ok, body: body}; }); })
      .then(function(answer) {
        if (!answer.ok) {
          show("Не принято: " + answer.body.error);
        } else {
          follow(answer.body.id);
        }
      }).catch(function(e) { show("Ошибка: " + e.message); });
  });
})();
</script>
</body>
</html>
)";

std::string Link(const std::string& href, const std::string& text, bool current) {
    return current ? "<a class=\"current\" href=\"" + href + "\" aria-current=\"page\">" + text + "</a>"
                   : "<a href=\"" + href + "\">" + text + "</a>";
}

std::string Row(std::size_t place, const RunRecord& run, bool canWatch) {
    const RunResult result = run.Result.value_or(RunResult{});
    std::string row = "<tr><td class=\"number\">" + std::to_string(place) + "</td><td class=\"name\">" +
                      (run.Name ? EscapeHtml(*run.Name) : "<i>без имени</i>") + "</td><td class=\"number\">" +
                      std::to_string(result.BestScore) + "</td><td class=\"number\">" + std::to_string(result.Level) +
                      "</td><td class=\"number\">" + std::to_string(result.Orbs) + "</td><td class=\"number\">" +
                      LeaderboardPage::PlayTime(result.Frames()) + "</td><td>";
    if (canWatch) {
        const std::string demo = "/api/runs/" + std::to_string(run.Id) + "/demo";
        row += "<a class=\"watch\" href=\"/index.html?demo=" + demo + "\">смотреть</a>";
    }
    return row + "</td></tr>\n";
}

} // namespace

std::string LeaderboardPage::PlayTime(int64_t frames) {
    const int64_t seconds = frames < 0 ? 0 : frames / 60;
    const int64_t part = seconds % 60;
    return std::to_string(seconds / 60) + (part < 10 ? ":0" : ":") + std::to_string(part);
}

std::string LeaderboardPage::Render(const View& view) {
    std::string page = kHead;
    const std::string today = EscapeHtml(view.Today);
    page += "<nav>" + Link("/", "Все игры", !view.DailyDate) + " · " +
            Link("/?board=daily&amp;date=" + today, "Испытание дня " + today,
                 view.DailyDate && *view.DailyDate == view.Today);
    if (view.DailyDate && *view.DailyDate != view.Today) {
        page += " · <span class=\"current\">Испытание дня " + EscapeHtml(*view.DailyDate) + "</span>";
    }
    page += "</nav>\n";
    if (view.Rows.empty()) {
        page += "<div class=\"empty\">Пока ни одной проверенной игры.</div>\n";
    } else {
        page += "<table>\n<thead><tr><th class=\"number\">Место</th><th>Игрок</th><th class=\"number\">Очки</th>"
                "<th class=\"number\">Уровень</th><th class=\"number\">Сферы</th><th class=\"number\">Время</th>"
                "<th></th></tr></thead>\n<tbody>\n";
        for (std::size_t i = 0; i < view.Rows.size(); ++i) {
            page += Row(i + 1, view.Rows[i], view.CanWatch);
        }
        page += "</tbody>\n</table>\n";
    }
    return page + kTail;
}
