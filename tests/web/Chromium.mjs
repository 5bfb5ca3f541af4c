// What the browser test and the browser benchmarks share: a page folder served over HTTP on
// 127.0.0.1, and headless Chromium driven over its DevTools protocol on a pipe (no network port,
// no packages), with tabs that keep every console error.
import { spawn } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, existsSync, statSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join, normalize } from "node:path";
import { gzipSync } from "node:zlib";

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Pass/fail lines as the tests print them; the failures are kept for the exit status.
export const failures = [];
export const check = (ok, what) => {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures.push(what);
};

// What a web server sends compressed: text and the program's code.
const compressed = new Set([".html", ".js", ".mjs", ".wasm", ".json", ".webmanifest", ".vkl", ".vkf"]);
const suffixes = { br: ".br", gzip: ".gz" };

const types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".mjs": "text/javascript",
  ".wasm": "application/wasm", ".json": "application/json", ".webmanifest": "application/manifest+json",
  ".png": "image/png",
};

// Serves pageDir as a web server serves a page: compressed with the first of `encodings` that
// the browser takes, from the file's compressed copy beside it (FILE.br, FILE.gz, as the build
// writes them) or else compressed at gzip's usual level. route(path) may send a request
// elsewhere and change the file on its way out: it answers { path, transform } where transform
// (if given) maps the file's bytes to the body. A file sent as it is carries an ETag, and a
// request that names it is answered 304 without a body, as real servers do. Resolves to the
// server's origin, a close function and `sent`, the bytes of each body sent by path (added up
// over requests).
export async function servePage(pageDir, route = (path) => ({ path }), encodings = ["br", "gzip"]) {
  const sent = {};
  const server = createServer((req, res) => {
    let path = decodeURIComponent(new URL(req.url, "http://x").pathname);
    if (path.endsWith("/")) path += "index.html";
    const routed = route(path);
    const file = normalize(join(pageDir, routed.path));
    if (!file.startsWith(normalize(pageDir)) || !existsSync(file)) {
      res.writeHead(404).end();
      return;
    }
    const headers = { "Content-Type": types[extname(file)] || "application/octet-stream", "Cache-Control": "no-cache" };
    let body = routed.transform ? routed.transform(readFileSync(file)) : null;
    const accepted = (req.headers["accept-encoding"] ?? "").split(/\s*,\s*/);
    const encoding = compressed.has(extname(file)) && encodings.find((e) => accepted.includes(e));
    if (!routed.transform) {
      const { mtimeMs, size } = statSync(file);
      headers["ETag"] = `"${Math.round(mtimeMs).toString(16)}-${size.toString(16)}-${encoding || "identity"}"`;
      if (req.headers["if-none-match"] === headers["ETag"]) {
        res.writeHead(304, { ETag: headers["ETag"] }).end();
        return;
      }
    }
    if (encoding) {
      headers["Content-Encoding"] = encoding;
      headers["Vary"] = "Accept-Encoding";
      if (!body && existsSync(file + suffixes[encoding])) {
        body = readFileSync(file + suffixes[encoding]);
      } else {
        headers["Content-Encoding"] = "gzip";
        body = gzipSync(body ?? readFileSync(file));
      }
    }
    body ??= readFileSync(file);
    sent[path] = (sent[path] ?? 0) + body.length;
    res.writeHead(200, headers).end(body);
  });
  await new Promise((r) => server.listen(0, "127.0.0.1", r));
  const close = () => {
    server.close();
    server.closeAllConnections();
  };
  return { origin: `http://127.0.0.1:${server.address().port}`, close, sent };
}

// Chromium with the DevTools protocol on file descriptors 3 (commands) and 4 (answers), its
// window `windowSize` CSS pixels ("W,H"). WebGL runs on the processor (SwiftShader), said so
// outright instead of through the fallback the browser warns about.
export function startChromium(browser = "/usr/bin/chromium", windowSize = "1280,1024") {
  const profile = mkdtempSync(join(tmpdir(), "vk-chromium-"));
  const chrome = spawn(browser, [
    "--headless", "--no-sandbox", "--disable-gpu", "--enable-unsafe-swiftshader", "--disable-background-networking", "--disable-component-update",
    "--disable-sync", "--no-first-run", "--no-default-browser-check", "--mute-audio", "--remote-debugging-pipe",
    `--user-data-dir=${profile}`, `--window-size=${windowSize}`, "about:blank",
  ], { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
  let log = "";
  chrome.stderr.on("data", (d) => { log += d; });

  let nextId = 1;
  const pending = new Map();
  const listeners = [];
  let buffer = "";
  chrome.stdio[4].on("data", (chunk) => {
    buffer += chunk.toString("utf8");
    let end;
    while ((end = buffer.indexOf("\0")) >= 0) {
      const message = JSON.parse(buffer.slice(0, end));
      buffer = buffer.slice(end + 1);
      if (message.id && pending.has(message.id)) {
        const { resolve, reject } = pending.get(message.id);
        pending.delete(message.id);
        message.error ? reject(new Error(JSON.stringify(message.error))) : resolve(message.result);
      } else if (message.method) {
        listeners.forEach((l) => l(message));
      }
    }
  });
  const send = (method, params = {}, sessionId) =>
    new Promise((resolve, reject) => {
      const id = nextId++;
      pending.set(id, { resolve, reject });
      chrome.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    });

  // Closes the browser, removes its profile, then calls onClosed.
  const close = (onClosed) => {
    chrome.once("exit", () => {
      // The browser's helpers may still be writing into the profile for a moment.
      try {
        rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
      } catch {}
      onClosed();
    });
    send("Browser.close").catch(() => {});
    setTimeout(() => chrome.kill("SIGKILL"), 5000).unref();
  };

  // A fresh tab with its own session; every console error or warning and uncaught exception is kept.
  // `languages` are the browser's languages (navigator.languages), Russian unless said.
  async function openTab(languages = "ru") {
    const { targetId } = await send("Target.createTarget", { url: "about:blank" });
    const { sessionId } = await send("Target.attachToTarget", { targetId, flatten: true });
    const tab = {
      errors: [],
      cmd: (method, params) => send(method, params, sessionId),
      async eval(expression) {
        const r = await this.cmd("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true });
        if (r.exceptionDetails) throw new Error(`${expression}: ${JSON.stringify(r.exceptionDetails)}`);
        return r.result.value;
      },
      async until(expression, timeoutMs, what) {
        const end = Date.now() + timeoutMs;
        while (Date.now() < end) {
          if (await this.eval(expression)) return true;
          await sleep(20);
        }
        check(false, `${what} (waited ${timeoutMs} ms)`);
        return false;
      },
      probe(what) { return this.eval(`Module._vk_probe(${what})`); },
      // The client point over pixel (x, y) of the game's 640x480 screen.
      async at(x, y) {
        return this.eval(`(() => { const r = document.getElementById("screen").getBoundingClientRect();
            return { x: r.left + (${x} + 0.5) * r.width / 640, y: r.top + (${y} + 0.5) * r.height / 480 }; })()`);
      },
      async click(x, y) {
        const p = await this.at(x, y);
        await this.cmd("Input.dispatchMouseEvent", { type: "mouseMoved", x: p.x, y: p.y });
        await sleep(150);
        await this.cmd("Input.dispatchMouseEvent", { type: "mousePressed", x: p.x, y: p.y, button: "left", clickCount: 1 });
        await sleep(150);
        await this.cmd("Input.dispatchMouseEvent", { type: "mouseReleased", x: p.x, y: p.y, button: "left", clickCount: 1 });
        await sleep(100);
      },
      async key(code, keyCode, holdMs) {
        await this.cmd("Input.dispatchKeyEvent", { type: "rawKeyDown", code, key: code, windowsVirtualKeyCode: keyCode });
        await sleep(holdMs);
        await this.cmd("Input.dispatchKeyEvent", { type: "keyUp", code, key: code, windowsVirtualKeyCode: keyCode });
      },
    };
    listeners.push((m) => {
      if (m.sessionId !== sessionId) return;
      if (m.method === "Runtime.consoleAPICalled" && ["error", "assert", "warning"].includes(m.params.type)) {
        tab.errors.push(m.params.args.map((a) => a.value ?? a.description).join(" "));
      } else if (m.method === "Runtime.exceptionThrown") {
        tab.errors.push(m.params.exceptionDetails.exception?.description ?? m.params.exceptionDetails.text);
      } else if (m.method === "Log.entryAdded" && ["error", "warning"].includes(m.params.entry.level)) {
        tab.errors.push(`${m.params.entry.text} ${m.params.entry.url ?? ""}`);
      }
    });
    await tab.cmd("Runtime.enable");
    await tab.cmd("Log.enable");
    await tab.cmd("Page.enable");
    const { userAgent } = await send("Browser.getVersion");
    await tab.cmd("Emulation.setUserAgentOverride", { userAgent, acceptLanguage: languages });
    // The page in front with the keyboard focus, as a player's would be.
    await tab.cmd("Emulation.setFocusEmulationEnabled", { enabled: true });
    return tab;
  }

  return { send, openTab, close, log: () => log, pid: chrome.pid };
}

// The game page's start-up in ms from the navigation, once its first frame is shown: page
// loaded, script running, program code loaded, main entered, main form made, first frame shown.
export async function startupSplit(tab) {
  const times = await tab.eval(`[performance.getEntriesByType("navigation")[0].responseEnd, Module.vkScriptMs,
      performance.getEntriesByType("resource").find((r) => r.name.endsWith(".wasm")).responseEnd,
      Module.vkMainMs, Module.vkFormMs, Module.vkFirstFrameMs].map(Math.round)`);
  return Object.fromEntries(["page", "script", "wasm", "main", "form", "frame"].map((k, i) => [k, times[i]]));
}

// A first visit of the game page in the browser's `languages`, from a server of its own (so that
// nothing of the page is in the browser's cache or service workers yet) that sends `encoding`
// (br or gzip) only. Waits until the game shows its first frame and the service worker has kept
// the page, and a moment more; resolves to the bytes sent by path, or null when the page did not
// get that far.
export async function firstVisit(chrome, pageDir, languages, encoding) {
  const server = await servePage(pageDir, undefined, [encoding]);
  const tab = await chrome.openTab(languages);
  try {
    await tab.cmd("Page.navigate", { url: `${server.origin}/index.html` });
    const ready = await tab.until("typeof Module !== 'undefined' && Module.vkFirstFrameMs !== undefined && " +
                                  "navigator.serviceWorker.controller !== null", 30000,
                                  `a first visit in ${languages} with ${encoding}`);
    await sleep(500);
    return ready ? { ...server.sent } : null;
  } finally {
    await tab.cmd("Page.close").catch(() => {});
    server.close();
  }
}
