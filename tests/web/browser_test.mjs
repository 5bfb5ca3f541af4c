// Plays the web build in headless Chromium and checks it as a player would see it: the first
// frame, 60 frames a second, starting a game from the menu, steering, Esc back to the menu,
// the exit item stopping the loop, no console errors, and a damaged level file reported in the
// error overlay while the game goes on, and (given the native headless menu screen) the menu
// equal to it pixel for pixel outside the frame-rate text. Then demos played in the page
// (?demo=URL): one to its end in the state the native player reaches, and those that are
// refused (damaged, recorded on other level files, not found, on another site) in the overlay.
//
//   node browser_test.mjs PAGE_DIR [--menu-frame PPM] [--menu-frame-en PPM] [--browser PATH]
//
import { readFileSync, existsSync, mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { check, failures, servePage, sleep, startChromium, startupSplit } from "./Chromium.mjs";

const usage = "usage: node browser_test.mjs PAGE_DIR [--menu-frame PPM] [--menu-frame-en PPM] [--shots DIR] [--browser PATH]";
const args = process.argv.slice(2);
if (args.includes("--help")) {
  console.log(usage);
  process.exit(0);
}
if (args.length < 1) {
  console.error(usage);
  process.exit(2);
}
const pageDir = args[0];
const option = (name, fallback) => (args.includes(name) ? args[args.indexOf(name) + 1] : fallback);
const browser = option("--browser", "/usr/bin/chromium");
const menuFrame = option("--menu-frame", null);
const menuFrameEn = option("--menu-frame-en", null);
const shots = option("--shots", null);
if (shots) mkdirSync(shots, { recursive: true });
if (!existsSync(join(pageDir, "index.html"))) {
  console.error(`browser_test: ${pageDir}: no index.html`);
  process.exit(2);
}

// The page over HTTP on 127.0.0.1. Under /broken/ level 1 in the level pack is cut short to 100
// bytes, as a damaged file is; under /badpack/ the pack itself is cut short; under /nowasm/,
// /nolevels/ and /nopictures/ the program, the level pack or the English pictures are missing.
const cutLevelOne = (bytes) => {
  const headEnd = bytes.indexOf("\n\n") + 2;
  const lines = bytes.toString("latin1", 0, headEnd - 2).split("\n");
  let at = headEnd;
  const parts = [];
  const head = [lines[0]];
  for (const line of lines.slice(1)) {
    const [name, size] = line.split(" ");
    const kept = name === "1.vrk" ? 100 : Number(size);
    parts.push(bytes.subarray(at, at + kept));
    head.push(`${name} ${kept}`);
    at += Number(size);
  }
  return Buffer.concat([Buffer.from(head.join("\n") + "\n\n", "latin1"), ...parts]);
};
// Under /demos/ the recorded demos of tests/demos (their bytes sent in place of a page file's):
// bad.vkd is energy.vkd with a damaged frame line 8, other-level.vkd says it was recorded on
// another level 1.
const demosDir = fileURLToPath(new URL("../demos/", import.meta.url));
const energyDemo = () => readFileSync(join(demosDir, "energy.vkd"), "latin1");
const demoBodies = {
  "bad.vkd": () => energyDemo().split("\n").map((line, i) => (i === 7 ? "f 17 m320;240" : line)).join("\n"),
  "other-level.vkd": () => energyDemo().replace(/^level 1\.vrk 352 [0-9a-f]+$/gm, "level 1.vrk 352 0123456789abcdef"),
};
const serveDemo = (name) => {
  const body = demoBodies[name] ?? (existsSync(join(demosDir, name)) && (() => readFileSync(join(demosDir, name))));
  return body ? { path: "/index.html", transform: () => Buffer.from(body(), "latin1") } : { path: "/no-such-file" };
};
const server = await servePage(pageDir, (path) => {
  if (path.startsWith("/demos/")) return serveDemo(path.slice("/demos/".length));
  const [, folder, inner] = path.match(/^\/(broken|badpack|nowasm|nolevels|nopictures)(\/.*)$/) ?? [];
  if (!folder) return { path };
  if (folder === "broken") return { path: inner, transform: inner === "/levels.vkl" ? cutLevelOne : null };
  if (folder === "badpack") return { path: inner, transform: inner === "/levels.vkl" ? (b) => b.subarray(0, 1000) : null };
  const missing = { nowasm: "/vorkalith.wasm", nolevels: "/levels.vkl", nopictures: "/LanguagePictures.vkf" }[folder];
  return { path: inner === missing ? "/no-such-file" : inner };
});
const origin = server.origin;
const chrome = startChromium(browser);
const openTab = chrome.openTab;
const send = chrome.send;

const done = (code) => {
  server.close();
  chrome.close(() => process.exit(code));
};
const deadline = setTimeout(() => {
  console.error("browser_test: timed out\n" + chrome.log().slice(-2000));
  done(1);
}, 200000);

async function shot(tab, name) {
  const { data } = await tab.cmd("Page.captureScreenshot", { format: "png" });
  writeFileSync(join(shots, name), Buffer.from(data, "base64"));
}

async function loadGame(tab, path) {
  await tab.cmd("Page.navigate", { url: origin + path });
  if (!(await tab.until("typeof Module !== 'undefined' && Module.vkFirstFrameMs !== undefined", 20000, "first frame"))) {
    return false;
  }
  return tab.until("Module._vk_probe(4) === 1", 10000, "menu in place");
}

// The canvas against a binary PPM of the same size, pixel for pixel, except the frame-rate text's
// box at the top left and the title's hint line at the bottom, which the player's game shows (their
// font is the browser's there).
async function sameMenu(tab, ppm, tolerance = 0) {
  const header = ppm.toString("latin1", 0, 20).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error(`${menuFrame}: not a binary PPM`);
  const [width, height] = [Number(header[1]), Number(header[2])];
  const reference = ppm.subarray(header[0].length);
  const shown = Buffer.from(await tab.eval(`(() => {
      const d = Module.vkScreen.rgb();
      let s = "";
      for (let i = 0; i < d.length; i++) s += String.fromCharCode(d[i]);
      return btoa(s); })()`), "base64");
  if (shown.length !== reference.length) {
    console.log(`canvas holds ${shown.length / 3} pixels, the reference ${width}x${height}`);
    return false;
  }
  let differing = 0, first = null;
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      if ((x < 120 && y < 24) || y >= 448) continue;
      const i = (y * width + x) * 3;
      if ([0, 1, 2].some((c) => Math.abs(shown[i + c] - reference[i + c]) > tolerance)) {
        differing++;
        first ??= [x, y, [...shown.subarray(i, i + 3)], [...reference.subarray(i, i + 3)]];
      }
    }
  }
  if (differing) console.log(`${differing} pixels differ, the first ${JSON.stringify(first)}`);
  return differing === 0;
}

// The final-state line of a demo played in the page against the native player's. The screen hash
// is left out: the page's text (the frame rate, the score) is drawn by the browser's fonts.
const withoutScreen = (line) => {
  const state = JSON.parse(line);
  delete state.ScreenHash;
  return JSON.stringify(state);
};

// Plays energy.vkd (137 frames: a game started from the menu that runs out of energy) while
// the player presses keys and clicks the exit item, which must not reach the game; `force`
// plays the copy that names another level 1, the page naming the file (`warning`) while it plays.
async function playDemo(query, what, warning = null) {
  const expected = readFileSync(join(demosDir, "energy.expected"), "utf8").trim().split("\n").pop();
  const tab = await openTab();
  await tab.cmd("Page.navigate", { url: `${origin}/index.html?${query}` });
  if (!(await tab.until("typeof Module !== 'undefined' && Module.vkFrames > 0", 20000, `${what}: first frame`))) {
    return;
  }
  if (warning) {
    const note = await tab.eval("document.getElementById('demo-note')?.textContent ?? ''");
    check(note.includes(warning), `${what}: the page names the differing file ("${note}")`);
  }
  await tab.key("ArrowLeft", 37, 200);
  await tab.click(320, 360);
  if (!(await tab.until("Module.vkDemoEnded === true", 20000, `${what} comes to its end`))) return;
  const final = await tab.eval("Module.vkDemoFinal");
  check(withoutScreen(final) === withoutScreen(expected), `${what} ends as the native player does (${final})`);
  check((await tab.eval("Module.vkDemoEndedEarly")) === false, `${what} is not cut short by the game`);
  const f0 = await tab.eval("Module.vkFrames");
  await sleep(300);
  check((await tab.eval("Module.vkFrames")) === f0, `${what}: no frames run after the end`);
  const held = await tab.eval(`getComputedStyle(document.getElementById("screen")).display !== "none" &&
      Module.vkScreen.rgb().some((v) => v !== 0)`);
  check(held, `${what}: the last frame stays on the screen`);
  const note = await tab.eval("document.getElementById('demo-note')?.textContent ?? ''");
  check(note.includes("Демонстрация окончена: 137 кадров."), `${what}: the page says it is over ("${note}")`);
  check(tab.errors.length === 0, `${what}: no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);
}

// A demo that is not played: its reason in the error overlay, no frame run, nothing thrown.
async function refusedDemo(query, reasons, what) {
  const tab = await openTab();
  await tab.cmd("Page.navigate", { url: `${origin}/index.html?${query}` });
  if (!(await tab.until("typeof Module !== 'undefined' && Module.vkErrorOpen === true", 20000,
                        `${what} opens the error overlay`))) {
    return;
  }
  const message = await tab.eval("document.getElementById('error-message').textContent");
  check(reasons.every((r) => message.includes(r)), `${what}: the overlay says why ("${message}")`);
  await sleep(200);
  check((await tab.eval("Module.vkFrames === undefined && Module.vkDemoEnded === undefined")) === true,
        `${what}: nothing is played`);
  // The browser logs the failed fetch of a missing demo; anything else is a fault.
  const errors = tab.errors.filter((e) => !/Failed to load resource.*404/.test(e));
  check(errors.length === 0, `${what}: no console errors${errors.length ? ": " + errors.join(" | ") : ""}`);
}

// A start that cannot happen: the loading screen names the file and the reason, and no frame runs.
// `setup` runs in the page before its scripts.
async function refusedStart(path, expected, what, setup = null) {
  const tab = await openTab();
  if (setup) await tab.cmd("Page.addScriptToEvaluateOnNewDocument", { source: setup });
  await tab.cmd("Page.navigate", { url: origin + path });
  if (!(await tab.until("document.body !== null && document.body.classList.contains('failed')", 20000,
                        `${what}: the page says it cannot start`))) {
    return;
  }
  const message = await tab.eval("document.getElementById('failure-message').textContent");
  check(expected.every((e) => message.includes(e)), `${what}: the page says why ("${message}")`);
  check(await tab.eval("getComputedStyle(document.getElementById('failure')).display !== 'none'"),
        `${what}: the message is shown`);
  await sleep(300);
  check(await tab.eval("Module.vkFrames === undefined"), `${what}: the game does not start`);
  const errors = tab.errors.filter((e) => !/Failed to load resource.*404/.test(e));
  check(errors.length === 0, `${what}: no console errors${errors.length ? ": " + errors.join(" | ") : ""}`);
  if (shots && path.startsWith("/nowasm/")) await shot(tab, "failure.png");
}

async function startChecks() {
  await refusedStart("/nowasm/index.html", [`${origin}/nowasm/vorkalith.wasm`, "HTTP 404"], "a missing program");
  await refusedStart("/nolevels/index.html", [`${origin}/nolevels/levels.vkl`, "HTTP 404"], "a missing level pack");
  await refusedStart("/nopictures/index.html?lang=en", [`${origin}/nopictures/LanguagePictures.vkf`, "HTTP 404"],
                     "missing English pictures");
  await refusedStart("/badpack/index.html", [`${origin}/badpack/levels.vkl`, "повреждён"], "a damaged level pack");
  // A browser without WebAssembly SIMD: every module with a SIMD instruction (prefix 0xfd) fails.
  const noSimd = `(() => { const validate = WebAssembly.validate;
      WebAssembly.validate = (b) => !new Uint8Array(b.buffer ?? b).includes(0xfd) && validate(b); })();`;
  await refusedStart("/index.html", ["SIMD"], "a browser without SIMD", noSimd);
}

// A controller in the standard layout as the Gamepad API gives it, with the buttons `held` pressed.
const padJs = (held) => `{ connected: true, mapping: "standard", axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, (_, i) => ({ pressed: ${JSON.stringify(held)}.includes(i), value: 0 })) }`;

async function touch(tab, type, points) {
  await tab.cmd("Input.dispatchTouchEvent", { type, touchPoints: points.map((p, id) => ({ x: p.x, y: p.y, id })) });
}

// Touch, a controller, Tab and the full-screen button, in a page of their own.
async function controlChecks() {
  const tab = await openTab();
  if (!(await loadGame(tab, "/index.html"))) return;
  await tab.key("Tab", 9, 50);
  check((await tab.eval("document.activeElement.tagName")) === "BUTTON", "Tab moves the focus to the page's buttons");
  await tab.eval("document.activeElement.blur()");

  const start = await tab.at(320, 240);
  await touch(tab, "touchStart", [start]);
  await sleep(50);
  await touch(tab, "touchEnd", []);
  await sleep(400);
  check((await tab.probe(0)) === 1, "a tap on the start item starts a game");
  for (const [dx, dy, heading, name] of [[60, 0, 2, "right"], [0, 60, 3, "down"]]) {
    const from = await tab.at(320, 300);
    await touch(tab, "touchStart", [from]);
    for (let step = 1; step <= 3; step++) {
      await touch(tab, "touchMove", [{ x: from.x + (dx * step) / 3, y: from.y + (dy * step) / 3 }]);
      await sleep(16);
    }
    await touch(tab, "touchEnd", []);
    await sleep(200);
    check((await tab.probe(3)) === heading, `a swipe ${name} turns the ship ${name}`);
  }
  await touch(tab, "touchStart", [start, { x: start.x + 50, y: start.y }]);
  await sleep(50);
  await touch(tab, "touchEnd", []);
  await sleep(400);
  check((await tab.probe(0)) === 0, "a tap with two fingers is Esc: back to the menu");

  await tab.until("Module._vk_probe(4) === 1", 5000, "menu in place for the controller");
  // The controller's pointer starts at the screen's middle, over the start item; A clicks.
  await tab.eval(`Module.vkPadSource = () => [${padJs([0])}]`);
  await sleep(200);
  await tab.eval(`Module.vkPadSource = () => [${padJs([])}]`);
  await sleep(300);
  check((await tab.probe(0)) === 1, "A on a controller starts a game");
  await tab.eval(`Module.vkPadSource = () => [${padJs([1])}]`);
  await sleep(200);
  await tab.eval("Module.vkPadSource = () => []");
  await sleep(300);
  check((await tab.probe(0)) === 0, "B on a controller is Esc");

  const button = await tab.eval(`(() => { const r = document.getElementById("fullscreen").getBoundingClientRect();
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()`);
  for (const type of ["mouseMoved", "mousePressed", "mouseReleased"]) {
    await tab.cmd("Input.dispatchMouseEvent", { type, x: button.x, y: button.y, button: "left", clickCount: 1 });
  }
  check(await tab.until("document.fullscreenElement !== null", 3000, "the full-screen button"),
        "the full-screen button puts the page in full screen");
  check(tab.errors.length === 0, `controls: no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);
}

// The records kept by the browser: a short game played, the page loaded again, and R in the menu
// lists the run, which Enter watches. A server of its own gives the page a site with no records yet.
async function recordsCheck() {
  const own = await servePage(pageDir);
  const tab = await openTab();
  await tab.cmd("Page.navigate", { url: own.origin + "/index.html" });
  if (!(await tab.until("typeof Module !== 'undefined' && Module.vkFirstFrameMs !== undefined && Module._vk_probe(4) === 1", 20000, "records: menu"))) {
    own.close();
    return;
  }
  await tab.key("KeyR", 82, 100);
  check(await tab.until("Module._vk_probe(5) === 0", 3000, "records: R opens an empty table"),
        "R in the menu opens the records screen, empty on a first visit");
  await tab.key("Escape", 27, 100);
  check(await tab.until("Module._vk_probe(5) === -1", 3000, "records: Esc closes"), "Esc closes the records screen");
  await tab.click(320, 240);
  check((await tab.probe(0)) === 1, "records: a game starts");
  await tab.key("ArrowRight", 39, 1500);
  await tab.key("Escape", 27, 100);
  await tab.until("Module._vk_probe(0) === 0 && Module._vk_probe(4) === 1", 5000, "records: back in the menu");
  // The browser writes the run behind; the table in IndexedDB shows when it is there.
  const kept = `new Promise((done) => { const r = indexedDB.open("vorkalith", 1);
      r.onsuccess = () => { const g = r.result.transaction("records").objectStore("records").get("table");
        g.onsuccess = () => { r.result.close(); done(typeof g.result === "string" && g.result.includes('"Demo"')); };
        g.onerror = () => done(false); };
      r.onerror = () => done(false); })`;
  check(await tab.until(kept, 5000, "records: the run kept by the browser"), "the run played is kept in IndexedDB");

  await tab.cmd("Page.navigate", { url: own.origin + "/index.html" });
  if (await tab.until("typeof Module !== 'undefined' && Module.vkFirstFrameMs !== undefined && Module._vk_probe(4) === 1", 20000, "records: menu again")) {
    await tab.key("KeyR", 82, 100);
    check(await tab.until("Module._vk_probe(5) === 1", 3000, "records: the run listed after a reload"),
          "after a reload the records screen lists the run played");
    await sleep(300);
    if (shots) await shot(tab, "records.png");
    await tab.key("Enter", 13, 100);
    check(await tab.until("Module._vk_probe(6) === 1", 2000, "records: the watch"), "Enter watches the run");
    await sleep(400);
    if (shots) await shot(tab, "records-watch.png");
    await tab.key("Escape", 27, 100);
    check(await tab.until("Module._vk_probe(6) === 0 && Module._vk_probe(5) === 1", 2000, "records: watch stopped"),
          "Esc stops the watch, back on the records screen");
    // The game reads the keys once a frame: a release and a press within one frame are not seen.
    await sleep(100);
    await tab.key("Escape", 27, 100);
    check(await tab.until("Module._vk_probe(5) === -1", 3000, "records: closed after the watch"),
          "Esc stops the watch and Esc closes the screen");
  }
  check(tab.errors.length === 0, `records: no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);
  own.close();
}

// The loading screen as a visitor on a slow line sees it (400 KB/s): its picture in the shots.
async function loadingShot() {
  const own = await servePage(pageDir);
  const tab = await openTab();
  await tab.cmd("Network.enable");
  await tab.cmd("Network.emulateNetworkConditions", { offline: false, latency: 100, downloadThroughput: 400 * 1024,
                                                     uploadThroughput: 100 * 1024 });
  await tab.cmd("Page.navigate", { url: own.origin + "/index.html" });
  const shown = await tab.until(`document.getElementById("progress") !== null &&
      document.getElementById("progress").value > 0.2`, 20000, "the loading screen's progress");
  if (shown) await shot(tab, "loading.png");
  check(shown && (await tab.eval("Module.vkFirstFrameMs === undefined")), "a slow load shows its progress");
  await tab.cmd("Page.close").catch(() => {});
  own.close();
}

// A second visit with the server gone starts from the service worker's cache.
async function offlineCheck() {
  const own = await servePage(pageDir);
  const tab = await openTab();
  await tab.cmd("Page.navigate", { url: own.origin + "/index.html" });
  const ready = await tab.until("navigator.serviceWorker.controller !== null && Module.vkFirstFrameMs !== undefined",
                                20000, "the service worker takes the page");
  own.close();
  if (!ready) return;
  await tab.eval("window.vkOldPage = true");
  await tab.cmd("Page.navigate", { url: own.origin + "/index.html" });
  const started = await tab.until("window.vkOldPage === undefined && typeof Module !== 'undefined' && " +
                                  "Module.vkFirstFrameMs !== undefined && Module._vk_probe(4) === 1", 20000,
                                  "the menu with the network off");
  check(started, "a second visit with the network off starts from the service worker's cache");
  check(tab.errors.length === 0, `offline: no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);
}

// The menu shown through WebGL (asked for outright: this browser draws WebGL on the processor)
// as the native one.
async function webglMenuCheck() {
  const tab = await openTab();
  if (!(await loadGame(tab, "/index.html?present=webgl"))) return;
  check((await tab.eval("Module.vkPresenter")) === "webgl", "?present=webgl presents through WebGL");
  await tab.until("Module.vkFrames >= 300", 10000, "300 frames of the menu through WebGL");
  // WebGL widens 5 and 6 bits to 8 by rounding c * 255 / 31 (or 63), the program by repeating
  // the top bits: some levels differ by one.
  check(await sameMenu(tab, readFileSync(menuFrame), 1),
        "the menu through WebGL equals the native headless menu screen within one level");
  // The processor's WebGL warns that reading the screen back stalls it; nothing else may appear.
  const errors = tab.errors.filter((e) => !/GPU stall due to ReadPixels/.test(e));
  check(errors.length === 0, `WebGL: no console errors${errors.length ? ": " + errors.join(" | ") : ""}`);
}

// A browser whose language is English shows the page and the game in English: the menu equals
// the native menu screen in English. ?lang= in the address outweighs the browser's language.
async function languageChecks() {
  const tab = await openTab("en-GB,en");
  if (!(await loadGame(tab, "/index.html"))) return;
  check((await tab.eval("navigator.languages[0]")) === "en-GB", "the browser's language is English");
  check(await tab.eval(`performance.getEntriesByType("resource").some((e) => e.name.endsWith("LanguagePictures.vkf"))`),
        "an English page fetches the English pictures");
  check((await tab.eval("document.documentElement.lang")) === "en" &&
        (await tab.eval("document.getElementById('fullscreen').textContent")) === "Full screen",
        "an English browser gets the page's own texts in English");
  if (menuFrameEn) {
    await tab.until("Module.vkFrames >= 300", 10000, "300 frames of the English menu");
    check(await sameMenu(tab, readFileSync(menuFrameEn)), "an English browser shows the English menu");
  }
  if (shots) await shot(tab, "menu-en.png");
  check(tab.errors.length === 0, `English: no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);

  const demo = await openTab("en-GB,en");
  await demo.cmd("Page.navigate", { url: `${origin}/index.html?demo=demos/energy.vkd` });
  if (await demo.until("typeof Module !== 'undefined' && Module.vkDemoEnded === true", 20000, "an English demo ends")) {
    const note = await demo.eval("document.getElementById('demo-note').textContent");
    check(note === "The demo is over: 137 frames.", `an English page says the demo is over in English ("${note}")`);
  }

  const russian = await openTab("en-GB,en");
  if (!(await loadGame(russian, "/index.html?lang=ru"))) return;
  check((await russian.eval("document.documentElement.lang")) === "ru" &&
        (await russian.eval("document.getElementById('fullscreen').textContent")) === "Во весь экран",
        "?lang=ru shows the page in Russian in an English browser");
  if (menuFrame) {
    await russian.until("Module.vkFrames >= 300", 10000, "300 frames of the menu with ?lang=ru");
    check(await sameMenu(russian, readFileSync(menuFrame)), "?lang=ru shows the Russian menu");
  }
}

async function demoChecks() {
  await playDemo("demo=demos/energy.vkd", "the demo energy.vkd");
  await refusedDemo("demo=demos/bad.vkd", ["demos/bad.vkd:8: "], "a damaged demo");
  await refusedDemo("demo=demos/other-level.vkd", ["демонстрация записана с другим файлом 1.vrk", "отклонено"],
                    "a demo recorded on another level 1");
  await playDemo("demo=demos/other-level.vkd&force=1", "the demo on another level 1 with &force=1",
                 "демонстрация записана с другим файлом 1.vrk");
  await refusedDemo("demo=demos/none.vkd", ["demos/none.vkd: демонстрация не загружается (HTTP 404)"], "a missing demo");
  await refusedDemo("demo=http://example.invalid/energy.vkd", ["только демонстрации с сайта этой страницы"],
                    "a demo on another site");
}

const measures = {};
try {
  await send("Target.setDiscoverTargets", { discover: false });
  const tab = await openTab();
  // Whether the loading screen is up when the page's content is there, before any frame.
  await tab.cmd("Page.addScriptToEvaluateOnNewDocument", { source: `document.addEventListener("DOMContentLoaded", () => {
      const loading = document.getElementById("loading");
      window.vkLoadingSeen = loading !== null && getComputedStyle(loading).display !== "none" &&
                             document.getElementById("loading").textContent.includes("Загрузка") &&
                             (typeof Module === "undefined" || Module.vkFirstFrameMs === undefined); });` });
  if (await loadGame(tab, "/index.html")) {
    check((await tab.eval("window.vkLoadingSeen")) === true, "the loading screen is up before the first frame");
    check(await tab.eval("getComputedStyle(document.getElementById('loading')).display === 'none'"),
          "the loading screen is gone once the game shows");
    const wasm = await tab.eval(`(() => { const e = performance.getEntriesByType("resource").find((r) => r.name.endsWith(".wasm"));
        return [e.encodedBodySize, e.decodedBodySize]; })()`);
    check(wasm[0] > 0 && wasm[0] < wasm[1] * 0.5, `the program comes compressed (${wasm[0]} of ${wasm[1]} bytes)`);
    check(await tab.eval(`!performance.getEntriesByType("resource").some((e) => e.name.endsWith("LanguagePictures.vkf"))`),
          "a Russian page does not fetch the pictures of other languages");
    measures.startup = await startupSplit(tab);
    measures.firstFrameMs = measures.startup.frame;
    check(measures.firstFrameMs <= 1000, `first frame after ${measures.firstFrameMs} ms`);

    const rate = async (ms) => {
      const a = await tab.eval("[Module.vkFrames, performance.now(), Module.vkHandlerMs]");
      await sleep(ms);
      const b = await tab.eval("[Module.vkFrames, performance.now(), Module.vkHandlerMs]");
      return { fps: ((b[0] - a[0]) * 1000) / (b[1] - a[1]), handlerMs: (b[2] - a[2]) / Math.max(b[0] - a[0], 1) };
    };
    const menu = await rate(5000);
    measures.menuFps = menu.fps.toFixed(1);
    measures.menuHandlerMs = menu.handlerMs.toFixed(2);
    check(Math.abs(menu.fps - 60) <= 2, `menu at ${measures.menuFps} frames/s`);

    if (menuFrame) {
      await tab.until("Module.vkFrames >= 300", 10000, "300 frames of the menu");
      check(await sameMenu(tab, readFileSync(menuFrame)), "the menu equals the native headless menu screen");
    }
    if (shots) await shot(tab, "menu.png");

    await tab.click(320, 240);
    check((await tab.probe(0)) === 1, "a click on the start item starts a game");

    // Each arrow turns the ship its way and it moves that way (the field's top-left is open).
    const arrows = [["ArrowRight", 39, 2, 1, 0], ["ArrowDown", 40, 3, 0, 1], ["ArrowLeft", 37, 4, -1, 0], ["ArrowUp", 38, 1, 0, -1]];
    for (const [code, keyCode, heading, dx, dy] of arrows) {
      await tab.key(code, keyCode, 100);
      const x0 = await tab.probe(1), y0 = await tab.probe(2);
      await sleep(200);
      const x1 = await tab.probe(1), y1 = await tab.probe(2);
      const moved = (x1 - x0) * dx + (y1 - y0) * dy;
      const across = dx !== 0 ? y1 - y0 : x1 - x0;
      check((await tab.probe(3)) === heading && moved > 0 && across === 0,
            `${code} moves the ship its way (${x0},${y0} to ${x1},${y1})`);
    }
    const play = await rate(3000);
    measures.playFps = play.fps.toFixed(1);
    measures.playHandlerMs = play.handlerMs.toFixed(2);
    check(Math.abs(play.fps - 60) <= 2, `play at ${measures.playFps} frames/s`);
    if (shots) await shot(tab, "play.png");

    await tab.key("Escape", 27, 100);
    await sleep(200);
    check((await tab.probe(0)) === 0, "Esc returns to the menu");

    await tab.until("Module._vk_probe(4) === 1", 5000, "menu in place again");
    await tab.click(320, 360);
    const stopped = await tab.until("Module.vkEnded === true", 2000, "the exit item ends the game");
    if (stopped) {
      const f0 = await tab.eval("Module.vkFrames");
      await sleep(300);
      check((await tab.eval("Module.vkFrames")) === f0, "no frames run after the exit item");
      check(await tab.eval(`getComputedStyle(document.getElementById("ended")).display !== "none" &&
          document.activeElement.id === "play-again"`), "the exit item shows the title page with its play-again button");
      if (shots) await shot(tab, "ended.png");
    }
    check(tab.errors.length === 0, `no console errors${tab.errors.length ? ": " + tab.errors.join(" | ") : ""}`);
  }

  // A damaged level 1: read at start-up and again when a game starts, each time reported in the
  // overlay; the loop holds until OK, then the game goes on.
  const broken = await openTab();
  await broken.cmd("Page.navigate", { url: origin + "/broken/index.html" });
  const closeOverlay = async (when) => {
    if (!(await broken.until("typeof Module !== 'undefined' && Module.vkErrorOpen === true", 20000,
                             `the damaged level file opens the error overlay ${when}`))) {
      return false;
    }
    const message = await broken.eval("document.getElementById('error-message').textContent");
    check(message.startsWith(`${origin}/broken/levels.vkl, уровень 1.vrk: `) && message.length > 60,
          `the overlay ${when} names the level pack, the level and the error ("${message}")`);
    const f0 = await broken.eval("Module.vkFrames");
    await sleep(300);
    check((await broken.eval("Module.vkFrames")) === f0, `frames hold while the overlay ${when} is open`);
    const ok = await broken.eval(`(() => { const r = document.getElementById("error-ok").getBoundingClientRect();
        return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()`);
    for (const type of ["mouseMoved", "mousePressed", "mouseReleased"]) {
      await broken.cmd("Input.dispatchMouseEvent", { type, x: ok.x, y: ok.y, button: "left", clickCount: 1 });
    }
    await sleep(100);
    check((await broken.eval("Module.vkErrorOpen")) === false, `OK closes the overlay ${when}`);
    const f1 = await broken.eval("Module.vkFrames");
    await sleep(300);
    check((await broken.eval("Module.vkFrames")) > f1, `frames go on after OK ${when}`);
    return true;
  };
  if (await closeOverlay("at start-up")) {
    await broken.until("Module._vk_probe(4) === 1", 10000, "menu in place with the damaged file");
    await broken.click(320, 240);
    if (await closeOverlay("at the start of a game")) {
      check((await broken.probe(0)) === 1, "the game is in play after the report");
    }
  }
  // The program's own report of the file on its error output (a console warning) is expected.
  const brokenErrors = broken.errors.filter((e) => !/^vorkalith: 1\.vrk: /.test(e));
  check(brokenErrors.length === 0, `no console errors with the damaged file${brokenErrors.length ? ": " + brokenErrors.join(" | ") : ""}`);

  await demoChecks();
  await languageChecks();
  if (menuFrame) await webglMenuCheck();
  await startChecks();
  await controlChecks();
  if (shots) await loadingShot();
  await recordsCheck();
  await offlineCheck();
} catch (e) {
  check(false, `test stopped: ${e.stack}`);
}
clearTimeout(deadline);
console.log("measured " + JSON.stringify(measures));
console.log(failures.length ? `browser_test: ${failures.length} check(s) failed` : "browser_test: all checks passed");
done(failures.length ? 1 : 0);
