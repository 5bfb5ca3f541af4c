#!/usr/bin/env node
// Times the game page's start-up in headless Chromium: the page is loaded again and again, each
// time in a fresh tab of one browser with its cache off (a first visit), from a local server that
// compresses as web servers do; every load prints its split (page, script, program code, main,
// main form, first frame, in ms from the navigation) and the bytes transferred, and the end the
// median, least and most time to the first frame beside the target. Given several pages (builds
// to compare), their loads take turns, so that they share the machine's load alike.
import { existsSync } from "node:fs";
import { loadavg } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { servePage, startChromium, startupSplit } from "../tests/web/Chromium.mjs";

const top = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const TARGET_MS = 200;
const usage = `usage: bench/web_startup.mjs [--loads N] [--page DIR]... [--encoding br|gzip] [--browser PATH]

Loads the game page N times in headless Chromium and prints the time to its first frame
(median, least, most; target <= ${TARGET_MS} ms) and the bytes transferred, with the split of
each load.

  --loads N       loads of each page (default 10)
  --page DIR      a page (default build-web/page); given again, the pages' loads take turns
  --encoding E    the compression the server sends, br or gzip (default: br where asked, else gzip)
  --browser PATH  the Chromium to run (default /usr/bin/chromium)
`;

function parseArgs(argv) {
  const options = { loads: 10, page: [], encoding: null, browser: "/usr/bin/chromium" };
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
    } else if (key === "encoding") {
      if (value !== "br" && value !== "gzip") {
        process.stderr.write(`web_startup: --encoding wants br or gzip, not "${value}"\n`);
        process.exit(2);
      }
      options.encoding = value;
    } else if (key === "page") {
      options.page.push(resolve(value));
    } else {
      options[key] = resolve(value);
    }
  }
  if (options.page.length === 0) options.page.push(join(top, "build-web/page"));
  return options;
}

const options = parseArgs(process.argv.slice(2));
for (const page of options.page) {
  if (!existsSync(join(page, "index.html"))) {
    process.stderr.write(`web_startup: ${page}: no index.html (build it with tools/setup.sh web)\n`);
    process.exit(1);
  }
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const half = sorted.length >> 1;
  return sorted.length % 2 ? sorted[half] : (sorted[half - 1] + sorted[half]) / 2;
};

const encodings = options.encoding ? [options.encoding] : undefined;
const servers = await Promise.all(options.page.map((page) => servePage(page, undefined, encodings)));
const chrome = startChromium(options.browser);
let status = 0;
try {
  console.log(`load average at start: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
  console.log("page load   page  script  wasm  main  form  frame   bytes   (ms from the navigation)");
  const frames = options.page.map(() => []);
  const bytes = options.page.map(() => 0);
  for (let load = 1; load <= options.loads && status === 0; ++load) {
    for (let p = 0; p < options.page.length; ++p) {
      const tab = await chrome.openTab();
      await tab.cmd("Network.enable");
      await tab.cmd("Network.setCacheDisabled", { cacheDisabled: true });
      await tab.cmd("Page.navigate", { url: `${servers[p].origin}/index.html` });
      if (!(await tab.until("typeof Module !== 'undefined' && Module.vkFirstFrameMs !== undefined", 20000,
                            `first frame of load ${load} of ${options.page[p]}`))) {
        status = 1;
        break;
      }
      const split = await startupSplit(tab);
      // What came over the wire: every response's body as sent (compressed).
      bytes[p] = await tab.eval(`[...performance.getEntriesByType("navigation"),
          ...performance.getEntriesByType("resource")].reduce((sum, e) => sum + e.encodedBodySize, 0)`);
      frames[p].push(split.frame);
      console.log(`${String(p + 1).padStart(4)} ${String(load).padStart(4)} ` +
                  `${Object.values(split).map((v) => String(v).padStart(6)).join("")} ${String(bytes[p]).padStart(8)}`);
      await tab.cmd("Page.close").catch(() => {});
    }
  }
  console.log("");
  options.page.forEach((page, p) => {
    if (frames[p].length === 0) return;
    const m = median(frames[p]);
    console.log(`${page}: first frame over ${frames[p].length} loads: median ${m} ms, ` +
                `least ${Math.min(...frames[p])}, most ${Math.max(...frames[p])} ` +
                `(target <= ${TARGET_MS}: ${m <= TARGET_MS ? "yes" : "no"}); ${bytes[p]} bytes transferred`);
  });
  console.log(`load average at end: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
} catch (e) {
  process.stderr.write(`web_startup: ${e.stack}\n`);
  status = 1;
}
servers.forEach((server) => server.close());
chrome.close(() => process.exit(status));
