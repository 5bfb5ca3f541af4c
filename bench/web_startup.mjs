#!/usr/bin/env node
// Times the game page's start-up in headless Chromium: the page is loaded again and again, each
// time in a fresh tab of one browser, from a local server; every load prints its split (page,
// script, program code, main, main form, first frame, in ms from the navigation), and the end
// the median, least and most time to the first frame beside the target. The first load is the
// browser's cold one.
import { existsSync } from "node:fs";
import { loadavg } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { servePage, startChromium, startupSplit } from "../tests/web/Chromium.mjs";

const top = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const TARGET_MS = 200;
const usage = `usage: bench/web_startup.mjs [--loads N] [--page DIR] [--browser PATH]

Loads the game page N times in headless Chromium and prints the time to its first frame
(median, least, most; target <= ${TARGET_MS} ms) with the split of each load.

  --loads N       loads of the page (default 10)
  --page DIR      the page (default build-web/page)
  --browser PATH  the Chromium to run (default /usr/bin/chromium)
`;

function parseArgs(argv) {
  const options = { loads: 10, page: join(top, "build-web/page"), browser: "/usr/bin/chromium" };
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === "--help") {
      process.stdout.write(usage);
      process.exit(0);
    }
    const key = argv[i].startsWith("--") ? argv[i].slice(2) : "";
    if (!(key in options) || i + 1 >= argv.length) {
      process.stderr.write(usage);
      process.exit(2);
    }
    const value = argv[++i];
    if (key === "loads") {
      if (!/^[1-9][0-9]{0,3}$/.test(value)) {
        process.stderr.write(`web_startup: --loads wants a whole number from 1, not "${value}"\n`);
        process.exit(2);
      }
      options.loads = Number(value);
    } else {
      options[key] = resolve(value);
    }
  }
  return options;
}

const options = parseArgs(process.argv.slice(2));
if (!existsSync(join(options.page, "index.html"))) {
  process.stderr.write(`web_startup: ${options.page}: no index.html (build it with tools/setup.sh web)\n`);
  process.exit(1);
}

const server = await servePage(options.page);
const chrome = startChromium(options.browser);
let status = 0;
try {
  console.log(`load average at start: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
  console.log("load   page  script  wasm  main  form  frame   (ms from the navigation)");
  const frames = [];
  for (let load = 1; load <= options.loads; ++load) {
    const tab = await chrome.openTab();
    await tab.cmd("Page.navigate", { url: `${server.origin}/index.html` });
    if (!(await tab.until("typeof Module !== 'undefined' && Module.vkFirstFrameMs !== undefined", 20000,
                          `first frame of load ${load}`))) {
      status = 1;
      break;
    }
    const split = await startupSplit(tab);
    frames.push(split.frame);
    console.log(`${String(load).padStart(4)} ${Object.values(split).map((v) => String(v).padStart(6)).join("")}`);
    await tab.cmd("Page.close").catch(() => {});
  }
  if (frames.length > 0) {
    const sorted = [...frames].sort((a, b) => a - b);
    const half = sorted.length >> 1;
    const median = sorted.length % 2 ? sorted[half] : (sorted[half - 1] + sorted[half]) / 2;
    console.log(`\nfirst frame over ${frames.length} loads: median ${median} ms, least ${sorted[0]}, ` +
                `most ${sorted[sorted.length - 1]} (target <= ${TARGET_MS}: ${median <= TARGET_MS ? "yes" : "no"})`);
  }
  console.log(`load average at end: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
} catch (e) {
  process.stderr.write(`web_startup: ${e.stack}\n`);
  status = 1;
}
server.close();
chrome.close(() => process.exit(status));
