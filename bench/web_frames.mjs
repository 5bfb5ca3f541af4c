#!/usr/bin/env node
// Times the game's frame handler natively and in headless Chromium in one run: the native
// frame_time program and the same source built for the browser (build-web/bench-page) run the
// same scripted frames, menu and play, in interleaved rounds, so that the load of a shared
// machine falls on both alike. Prints each round, then the median per-frame times and the median
// of the rounds' ratios browser / native, beside the target ratio.
import { spawnSync } from "node:child_process";
import { existsSync } from "node:fs";
import { loadavg } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { servePage, startChromium } from "../tests/web/Chromium.mjs";

const top = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const usage = `usage: bench/web_frames.mjs [--rounds N] [--frames N] [--native PATH] [--levels DIR] [--page DIR]
                            [--browser PATH]

Times the frame handler (menu and play) natively and in headless Chromium in interleaved
rounds and prints the median times and the median ratio browser / native (target <= ${2.5}).

  --rounds N      rounds to take the median of (default 5)
  --frames N      timed frames per side, screen and round (default 2000)
  --native PATH   the native frame_time (default build/bench/frame_time)
  --levels DIR    the folder it runs in, holding the level files (default build/run)
  --page DIR      the browser's page (default build-web/bench-page)
  --browser PATH  the Chromium to run (default /usr/bin/chromium)
`;
const TARGET = 2.5;

function fail(message, status) {
  process.stderr.write(`web_frames: ${message}\n`);
  process.exit(status);
}

function parseArgs(argv) {
  const options = {
    rounds: 5, frames: 2000, native: join(top, "build/bench/frame_time"), levels: join(top, "build/run"),
    page: join(top, "build-web/bench-page"), browser: "/usr/bin/chromium",
  };
  for (let i = 0; i < argv.length; ++i) {
    const name = argv[i];
    if (name === "--help") {
      process.stdout.write(usage);
      process.exit(0);
    }
    const key = name.startsWith("--") ? name.slice(2) : "";
    if (!(key in options) || i + 1 >= argv.length) {
      process.stderr.write(usage);
      process.exit(2);
    }
    const value = argv[++i];
    if (key === "rounds" || key === "frames") {
      // Whole positive numbers only: a typo must not become a zero-frame round.
      if (!/^[1-9][0-9]{0,6}$/.test(value)) fail(`--${key} wants a whole number from 1, not "${value}"`, 2);
      options[key] = Number(value);
    } else {
      options[key] = resolve(value);
    }
  }
  return options;
}

// One native round: the program times both screens and prints "menu frame X us", "play frame Y us".
function nativeRound({ native, levels, frames }) {
  const run = spawnSync(native, [String(frames)], { cwd: levels, encoding: "utf8" });
  if (run.status !== 0) fail(`${native} failed (${run.status ?? run.signal}): ${run.stderr}`, 1);
  const time = (screen) => {
    const m = run.stdout.match(new RegExp(`^${screen} frame ([0-9.]+) us$`, "m"));
    if (!m) fail(`${native} printed no ${screen} time:\n${run.stdout}`, 1);
    return Number(m[1]);
  };
  return { menu: time("menu"), play: time("play") };
}

// One browser round in the page loaded once: each call makes a fresh game, as the native run does.
async function browserRound(tab, frames) {
  const time = (play) => tab.eval(`Module._vk_frame_time(${frames}, ${play})`);
  return { menu: await time(0), play: await time(1) };
}

const median = (values) => {
  const s = [...values].sort((a, b) => a - b);
  const h = s.length >> 1;
  return s.length % 2 ? s[h] : (s[h - 1] + s[h]) / 2;
};

async function main() {
  const options = parseArgs(process.argv.slice(2));
  if (!existsSync(options.native)) fail(`${options.native}: no such program; build the benchmarks first`, 1);
  if (!existsSync(join(options.page, "frame_time.wasm"))) {
    fail(`${options.page}: no bench page; build it first (tools/setup.sh web)`, 1);
  }
  const load = () => loadavg().map((l) => l.toFixed(2)).join(" ");
  console.log(`load average at start: ${load()}`);

  const server = await servePage(options.page);
  const chrome = startChromium(options.browser);
  const rounds = [];
  let status = 0;
  try {
    const tab = await chrome.openTab();
    await tab.cmd("Page.navigate", { url: `${server.origin}/` });
    if (!(await tab.until("typeof vkReady !== 'undefined' && vkReady", 20000, "the bench page starts"))) {
      throw new Error(`the bench page did not start: ${tab.errors.join("; ")}`);
    }
    // A first browser round untimed: the engine compiles its optimised code while it runs, which
    // takes some hundreds of frames whatever the rounds' length.
    await browserRound(tab, Math.max(500, options.frames >> 2));
    console.log("round  native menu  browser menu  ratio   native play  browser play  ratio   (us per frame)");
    for (let r = 0; r < options.rounds; ++r) {
      // The side that goes first alternates, so neither always meets a warmer or a busier machine.
      let native, browser;
      if (r % 2 === 0) {
        native = nativeRound(options);
        browser = await browserRound(tab, options.frames);
      } else {
        browser = await browserRound(tab, options.frames);
        native = nativeRound(options);
      }
      const round = { native, browser, menu: browser.menu / native.menu, play: browser.play / native.play };
      rounds.push(round);
      console.log(`${String(r + 1).padStart(5)}  ${native.menu.toFixed(1).padStart(11)}  ${browser.menu.toFixed(1).padStart(12)}` +
                  `  ${round.menu.toFixed(2).padStart(5)}   ${native.play.toFixed(1).padStart(11)}  ` +
                  `${browser.play.toFixed(1).padStart(12)}  ${round.play.toFixed(2).padStart(5)}`);
    }
    if (tab.errors.length) throw new Error(`the bench page reported errors: ${tab.errors.join("; ")}`);
  } catch (e) {
    process.stderr.write(`web_frames: ${e.message}\n`);
    status = 1;
  } finally {
    server.close();
    await new Promise((r) => chrome.close(r));
  }
  if (status) process.exit(status);

  console.log(`\nmedian of ${rounds.length} rounds of ${options.frames} frames     native us  browser us  ratio  target`);
  for (const screen of ["menu", "play"]) {
    const ratio = median(rounds.map((r) => r[screen]));
    console.log(`${screen} frame${" ".repeat(33)}${median(rounds.map((r) => r.native[screen])).toFixed(1).padStart(9)}` +
                `  ${median(rounds.map((r) => r.browser[screen])).toFixed(1).padStart(10)}  ${ratio.toFixed(2).padStart(5)}` +
                `  <=${TARGET.toFixed(1)} ${ratio <= TARGET ? "yes" : "NO"}`);
  }
  console.log(`load average at end: ${load()}`);
}

main();
