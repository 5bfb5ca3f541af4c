#!/usr/bin/env node
// Measures the processor time the game page costs, against the native game, in one run: each
// page is played in headless Chromium with a 640x480 window, 10 s in the menu and 10 s in play,
// and the processor time of all the browser's processes is summed from /proc; the native game
// runs the same under Xvfb at 640x480 (bench/xvfb_game.py). Prints percent of one core per page
// and phase, the ratio to the native game (target <= 2), and the median time of the page's frame
// step in the menu (target <= 0.5 ms).
import { spawnSync } from "node:child_process";
import { existsSync, readdirSync, readFileSync } from "node:fs";
import { loadavg } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { servePage, sleep, startChromium } from "../tests/web/Chromium.mjs";

const top = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const usage = `usage: bench/web_cpu.mjs [--seconds S] [--page DIR]... [--query Q]... [--no-native] [--browser PATH]

Plays each page (default build-web/page) in headless Chromium, menu and play, and prints the
processor use of all the browser's processes beside the native game's under Xvfb.

  --seconds S     measuring time per phase (default 10)
  --page DIR      a page to measure; given again, each is measured in turn
  --query Q       the page's address query (for example present=2d); given again, one run per query
  --no-native     leave out the native game
  --browser PATH  the Chromium to run (default /usr/bin/chromium)
`;
const TICKS = 100;

function parseArgs(argv) {
  const options = { seconds: 10, page: [], query: [], native: true, browser: "/usr/bin/chromium" };
  for (let i = 0; i < argv.length; ++i) {
    const arg = argv[i];
    if (arg === "--help") {
      process.stdout.write(usage);
      process.exit(0);
    } else if (arg === "--no-native") {
      options.native = false;
    } else if (["--seconds", "--page", "--query", "--browser"].includes(arg) && i + 1 < argv.length) {
      const value = argv[++i];
      if (arg === "--seconds") {
        if (!/^[1-9][0-9]{0,2}$/.test(value)) {
          process.stderr.write(`web_cpu: --seconds wants a whole number from 1, not "${value}"\n`);
          process.exit(2);
        }
        options.seconds = Number(value);
      } else if (arg === "--page") {
        options.page.push(resolve(value));
      } else if (arg === "--query") {
        options.query.push(value);
      } else {
        options.browser = value;
      }
    } else {
      process.stderr.write(usage);
      process.exit(2);
    }
  }
  if (options.page.length === 0) options.page.push(join(top, "build-web/page"));
  if (options.query.length === 0) options.query.push("");
  return options;
}

// Processor seconds of `root` and every process below it.
function treeCpuSeconds(root) {
  const parent = new Map(), cpu = new Map();
  for (const name of readdirSync("/proc")) {
    if (!/^[0-9]+$/.test(name)) continue;
    try {
      const fields = readFileSync(`/proc/${name}/stat`, "latin1").split(") ")[1].split(" ");
      parent.set(Number(name), Number(fields[1]));
      cpu.set(Number(name), (Number(fields[11]) + Number(fields[12])) / TICKS);
    } catch {}
  }
  let sum = 0;
  for (const [pid, seconds] of cpu) {
    for (let p = pid; p > 1; p = parent.get(p)) {
      if (p === root) {
        sum += seconds;
        break;
      }
    }
  }
  return sum;
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted.length ? sorted[sorted.length >> 1] : NaN;
};

async function measurePage(page, query, seconds, browser) {
  const server = await servePage(page);
  const chrome = startChromium(browser, "640,480");
  try {
    const tab = await chrome.openTab();
    await tab.cmd("Page.navigate", { url: `${server.origin}/index.html${query ? "?" + query : ""}` });
    if (!(await tab.until("typeof Module !== 'undefined' && Module.vkFrames > 0 && Module._vk_probe(4) === 1", 30000,
                          "menu in place"))) {
      return null;
    }
    const phase = async () => {
      await sleep(1000);
      const cpu0 = treeCpuSeconds(chrome.pid), t0 = Date.now();
      const f0 = await tab.eval("Module.vkFrames");
      await sleep(seconds * 1000);
      const cpu1 = treeCpuSeconds(chrome.pid), t1 = Date.now();
      const f1 = await tab.eval("Module.vkFrames");
      const steps = await tab.eval("Array.from(Module.vkSteps || [])");
      return { cpu: (100 * (cpu1 - cpu0) * 1000) / (t1 - t0), fps: ((f1 - f0) * 1000) / (t1 - t0),
               step: median(steps) };
    };
    const menu = await phase();
    await tab.click(320, 240);
    const play = await phase();
    return { menu, play, presenter: await tab.eval("Module.vkPresenter || '2d (before)'") };
  } finally {
    server.close();
    await new Promise((r) => chrome.close(r));
  }
}

function measureNative(seconds) {
  const run = spawnSync("python3", [join(top, "bench/xvfb_game.py"), "--seconds", String(seconds), "--sizes", "640x480"],
                        { encoding: "utf8" });
  const line = (run.stdout || "").split("\n").find((l) => l.startsWith("640x480"));
  if (!line) {
    process.stderr.write(`web_cpu: the native game could not be measured\n${run.stderr}`);
    return null;
  }
  const f = line.trim().split(/\s+/).map(Number);
  return { menu: { fps: f[2], cpu: f[3] }, play: { fps: f[4], cpu: f[5] } };
}

const options = parseArgs(process.argv.slice(2));
for (const page of options.page) {
  if (!existsSync(join(page, "index.html"))) {
    process.stderr.write(`web_cpu: ${page}: no index.html (build it with tools/setup.sh web)\n`);
    process.exit(1);
  }
}
console.log(`load average at start: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
const native = options.native ? measureNative(options.seconds) : null;
if (native) {
  console.log(`native under Xvfb:  menu ${native.menu.cpu.toFixed(1)}% at ${native.menu.fps.toFixed(1)} fps, ` +
              `play ${native.play.cpu.toFixed(1)}% at ${native.play.fps.toFixed(1)} fps`);
}
let status = 0;
for (const page of options.page) {
  for (const query of options.query) {
    const r = await measurePage(page, query, options.seconds, options.browser);
    if (!r) {
      status = 1;
      continue;
    }
    const ratio = (phase) => (native ? ` (${(r[phase].cpu / native[phase].cpu).toFixed(2)}x native)` : "");
    const step = Number.isFinite(r.menu.step) ? `, menu step median ${r.menu.step.toFixed(3)} ms` : "";
    console.log(`${page}${query ? "?" + query : ""} [${r.presenter}]: ` +
                `menu ${r.menu.cpu.toFixed(1)}%${ratio("menu")} at ${r.menu.fps.toFixed(1)} fps, ` +
                `play ${r.play.cpu.toFixed(1)}%${ratio("play")} at ${r.play.fps.toFixed(1)} fps${step}`);
  }
}
console.log(`load average at end: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
process.exit(status);
