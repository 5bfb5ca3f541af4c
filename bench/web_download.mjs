#!/usr/bin/env node
// The bytes a visitor downloads on a first visit of the game page, by the page's language and the
// compression the server sends: each visit in a fresh tab from a server of its own, counted by the
// server until the game shows its first frame and the service worker has kept the page (its own
// fetches count too). Prints each file's bytes and the sums.
import { existsSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { firstVisit, startChromium } from "../tests/web/Chromium.mjs";

const top = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const usage = `usage: bench/web_download.mjs [--page DIR] [--browser PATH]

Visits the game page (default build-web/page) for the first time in Russian and in English, served
with gzip and with brotli, and prints the bytes each visit downloads, by file.
`;
const args = process.argv.slice(2);
if (args.includes("--help")) {
  process.stdout.write(usage);
  process.exit(0);
}
const options = { "--page": join(top, "build-web/page"), "--browser": "/usr/bin/chromium" };
for (let i = 0; i < args.length; i += 2) {
  if (!(args[i] in options) || i + 1 >= args.length) {
    process.stderr.write(usage);
    process.exit(2);
  }
  options[args[i]] = resolve(args[i + 1]);
}
const page = options["--page"];
if (!existsSync(join(page, "index.html"))) {
  process.stderr.write(`web_download: ${page}: no index.html (build it with tools/setup.sh web)\n`);
  process.exit(1);
}

const chrome = startChromium(options["--browser"]);
const visits = [["ru", "gzip"], ["ru", "br"], ["en", "gzip"], ["en", "br"]];
const results = [];
let status = 0;
try {
  for (const [language, encoding] of visits) {
    const sent = await firstVisit(chrome, page, language, encoding);
    if (!sent) {
      status = 1;
      break;
    }
    results.push(sent);
  }
  if (status === 0) {
    const files = [...new Set(results.flatMap((r) => Object.keys(r)))].sort();
    const width = Math.max(...files.map((f) => f.length), 8);
    console.log(`${"file".padEnd(width)} ${visits.map(([l, e]) => `${l} ${e}`.padStart(10)).join("")}`);
    for (const file of files) {
      console.log(`${file.padEnd(width)} ${results.map((r) => String(r[file] ?? "-").padStart(10)).join("")}`);
    }
    const sums = results.map((r) => Object.values(r).reduce((a, b) => a + b, 0));
    console.log(`${"total".padEnd(width)} ${sums.map((s) => String(s).padStart(10)).join("")}`);
  }
} catch (e) {
  process.stderr.write(`web_download: ${e.stack}\n`);
  status = 1;
}
chrome.close(() => process.exit(status));
