#!/usr/bin/env node
// Audits the served game page with Lighthouse (pinned in package.json) in Debian's Chromium, as
// a desktop browser, and checks its scores: Performance >= 90, Accessibility >= 90, Best Practices >= 95. The report is
// kept as an HTML file.
//
//   node audit.mjs URL REPORT.html [--browser PATH]
import { writeFileSync, renameSync } from "node:fs";
import * as chromeLauncher from "chrome-launcher";
import lighthouse from "lighthouse";
import desktopConfig from "lighthouse/core/config/desktop-config.js";

const args = process.argv.slice(2);
if (args.includes("--help")) {
  console.log("usage: node audit.mjs URL REPORT.html [--browser PATH]");
  process.exit(0);
}
if (args.length < 2) {
  console.error("usage: node audit.mjs URL REPORT.html [--browser PATH]");
  process.exit(2);
}
const [url, reportPath] = args;
const browser = args.includes("--browser") ? args[args.indexOf("--browser") + 1] : "/usr/bin/chromium";
const wanted = { performance: 90, accessibility: 90, "best-practices": 95 };

const chrome = await chromeLauncher.launch({
  chromePath: browser,
  chromeFlags: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--no-first-run", "--mute-audio"],
});
let status = 0;
try {
  // The desktop's screen and network: the game is played with a keyboard or a controller on a
  // large screen, and its one-megabyte program is no page for a throttled phone line.
  const result = await lighthouse(url, { port: chrome.port, output: "html", logLevel: "error",
                                         onlyCategories: Object.keys(wanted) }, desktopConfig);
  writeFileSync(`${reportPath}.tmp`, result.report);
  renameSync(`${reportPath}.tmp`, reportPath);
  for (const [name, least] of Object.entries(wanted)) {
    const score = Math.round(result.lhr.categories[name].score * 100);
    const ok = score >= least;
    console.log(`${ok ? "ok  " : "FAIL"} Lighthouse ${name}: ${score} (at least ${least})`);
    if (!ok) {
      status = 1;
      for (const audit of Object.values(result.lhr.audits)) {
        if (audit.score !== null && audit.score < 0.9 && audit.scoreDisplayMode !== "informative") {
          console.log(`       ${audit.id}: ${audit.title} (${audit.displayValue ?? audit.score})`);
        }
      }
    }
  }
  console.log(`report: ${reportPath}`);
} catch (e) {
  console.error(`audit: ${e.stack}`);
  status = 1;
}
await chrome.kill();
process.exit(status);
