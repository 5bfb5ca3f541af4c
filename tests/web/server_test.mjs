// The leaderboard server's page in headless Chromium, as a visitor sees it: vorkalith-server on
// 127.0.0.1 with the web build beside it; two demos uploaded and verified; the board at / shows
// their rows (a name with markup as text), the "watch" link of a row opens the web build, which
// plays the demo to the state the server's replay gave.
//
//   node server_test.mjs SERVER PAGE_DIR LEVELS_DIR DEMOS_DIR [--shots DIR] [--browser PATH]
import { spawn } from "node:child_process";
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { check, failures, sleep, startChromium } from "./Chromium.mjs";

const usage = "usage: node server_test.mjs SERVER PAGE_DIR LEVELS_DIR DEMOS_DIR [--shots DIR] [--browser PATH]";
const args = process.argv.slice(2);
if (args.length < 4) {
  console.error(usage);
  process.exit(2);
}
const [serverProgram, pageDir, levelsDir, demosDir] = args;
const option = (name, fallback) => (args.includes(name) ? args[args.indexOf(name) + 1] : fallback);
const shots = option("--shots", null);
const browser = option("--browser", "/usr/bin/chromium");
if (shots) mkdirSync(shots, { recursive: true });

const scratch = mkdtempSync(join(tmpdir(), "vk-server-test-"));
const server = spawn(serverProgram, ["--database", join(scratch, "runs.db"), "--listen", "127.0.0.1:0", "--web", pageDir,
                                     "--levels", levelsDir, "--upload-rate", "0", "--request-rate", "0"],
                     { stdio: ["ignore", "pipe", "inherit"] });
const origin = await new Promise((resolve, reject) => {
  let out = "";
  server.stdout.on("data", (d) => {
    out += d;
    const found = out.match(/listening on (http:\/\/127\.0\.0\.1:\d+)\//);
    if (found) resolve(found[1]);
  });
  server.on("exit", () => reject(new Error("vorkalith-server ended before it listened")));
  setTimeout(() => reject(new Error("vorkalith-server did not listen within 20 s")), 20000).unref();
});
const chrome = startChromium(browser);
const finish = () => {
  server.kill("SIGTERM");
  rmSync(scratch, { recursive: true, force: true });
  chrome.close(() => process.exit(failures.length ? 1 : 0));
};
process.on("uncaughtException", (e) => {
  check(false, `the test ran to its end (${e.stack})`);
  finish();
});

async function upload(demo, name) {
  const body = readFileSync(join(demosDir, demo));
  const answer = await fetch(`${origin}/api/runs?name=${encodeURIComponent(name)}`, { method: "POST", body });
  const { id } = await answer.json();
  for (let i = 0; i < 400; ++i) {
    const run = await (await fetch(`${origin}/api/runs/${id}`)).json();
    if (run.status !== "queued") return run;
    await sleep(50);
  }
  return null;
}

async function screenshot(tab, name) {
  if (!shots) return;
  const { data } = await tab.cmd("Page.captureScreenshot", { format: "png" });
  writeFileSync(join(shots, name), Buffer.from(data, "base64"));
}

const energy = await upload("energy.vkd", "Аня <b>жирная</b>");
const mine = await upload("mine.vkd", "Boris");
check(energy?.status === "verified" && mine?.status === "verified", "both demos are verified by the server");

const tab = await chrome.openTab();
await tab.cmd("Page.navigate", { url: `${origin}/` });
await tab.until("document.readyState === 'complete' && document.querySelectorAll('tbody tr').length > 0", 10000,
                "the board shows its rows");
const rows = await tab.eval(`[...document.querySelectorAll("tbody tr")].map((tr) =>
    [...tr.querySelectorAll("td")].slice(0, 3).map((td) => td.textContent))`);
check(rows.length === 2, `the board has a row for each verified run (${JSON.stringify(rows)})`);
check(rows.some((r) => r[1] === "Аня <b>жирная</b>"), "a name with markup shows as its text");
check((await tab.eval("document.querySelectorAll('tbody b').length")) === 0, "the name's markup makes no element");
await screenshot(tab, "server-board.png");

// The energy run's "watch" link: the web build from the same server plays the uploaded demo.
const href = await tab.eval(`[...document.querySelectorAll("tbody tr")]
    .find((tr) => tr.textContent.includes("Аня")).querySelector("a.watch").getAttribute("href")`);
check(href === `/index.html?demo=/api/runs/${energy.id}/demo`, `the watch link opens the web build (${href})`);
await tab.eval(`document.querySelector('a.watch[href="${href}"]').click()`);
if (await tab.until("typeof Module !== 'undefined' && Module.vkDemoEnded === true", 30000, "the demo plays to its end")) {
  const final = JSON.parse(await tab.eval("Module.vkDemoFinal"));
  check(final.Score === energy.result.score_at_end && final.Level === energy.result.level &&
        final.OrbsEaten === energy.result.orbs,
        `the page's replay ends with the server's score, level and orbs (${JSON.stringify(final)})`);
  await screenshot(tab, "server-watch.png");
}
check(tab.errors.length === 0, `no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);

// The game played in the page from the same server: once the game ends (Esc), the page offers to
// send it, and sends nothing until asked; sent, the server replays it and the verdict shows.
const game = await chrome.openTab();
await game.cmd("Page.navigate", { url: `${origin}/index.html` });
if (await game.until("typeof Module !== 'undefined' && Module.vkFrames > 120", 20000, "the game's menu runs")) {
  await game.click(320, 240);
  check((await game.probe(0)) === 1, "a click on the start item starts a game");
  await sleep(1000);
  check(!(await game.eval("document.getElementById('submit').classList.contains('open')")),
        "nothing is offered while the game goes on");
  await game.key("Escape", 27, 100);
  await game.until("document.getElementById('submit').classList.contains('open')", 5000,
                   "the page offers the game just ended");
  const before = (await (await fetch(`${origin}/api/leaderboard?limit=100`)).json()).runs.length;
  check(before === 2, "nothing was sent before the player asked");
  await game.eval("document.getElementById('submit-name').value = 'Веб'; document.getElementById('submit-send').click()");
  await game.until("/проверена/.test(document.getElementById('submit-status').textContent)", 20000,
                   "the server verifies the game sent from the page");
  await screenshot(game, "server-page-submit.png");
  const board = (await (await fetch(`${origin}/api/leaderboard?limit=100`)).json()).runs;
  check(board.some((run) => run.name === "Веб" && run.result.ended === "esc"), "the board lists the page's game");
  check(game.errors.length === 0, `no console errors in the game${game.errors.length ? ": " + game.errors.join(" | ") : ""}`);
}
finish();
