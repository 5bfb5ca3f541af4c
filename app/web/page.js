// The game's page around the program: checks that the browser can run it, fetches the program's
// code and the level files with the loading screen showing their bytes, and shows any failure
// with the file's address and the reason; then the page's own controls (full screen, whole-
// number scaling, touch, the on-screen pad) and the page shown when the game has ended.
var Module = { canvas: document.getElementById("screen") };

(function() {
  var files = (self.VkPageFiles && self.VkPageFiles.files) || {};
  var programFile = "vorkalith.wasm";
  var levelsFile = "levels.vkl";
  // The pictures with words of the other languages, wanted only by a page in one of them.
  var picturesFile = VkLanguage ? "LanguagePictures.vkf" : null;
  var failed = false;

  function byId(id) {
    return document.getElementById(id);
  }

  document.querySelectorAll("[data-text]").forEach(function(element) {
    element.textContent = VkText(element.getAttribute("data-text"));
  });
  document.querySelectorAll("[data-label]").forEach(function(element) {
    element.setAttribute("aria-label", VkText(element.getAttribute("data-label")));
  });

  // Once failed, the page says why and nothing more happens: the loading screen stays with the
  // message in place of its progress.
  function fail(message) {
    if (failed) {
      return;
    }
    failed = true;
    Module.vkStartFailure = message;
    document.body.classList.add("failed");
    byId("failure-message").textContent = message;
  }
  Module.vkFail = fail;

  function address(name) {
    return new URL(name, location.href).href;
  }

  // Small modules that only validate where the browser has the feature (an i8x16 splat for SIMD,
  // a memory.copy for bulk memory).
  var features = [
    ["simd", [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11]],
    ["bulkMemory", [0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3, 2, 1, 0, 5, 3, 1, 0, 1, 10, 14, 1, 12, 0, 65, 0, 65, 0,
                    65, 0, 252, 10, 0, 0, 11]],
  ];
  if (typeof WebAssembly !== "object" || typeof WebAssembly.validate !== "function") {
    fail(VkText("noWebAssembly"));
    return;
  }
  var missing = features.filter(function(f) { return !WebAssembly.validate(new Uint8Array(f[1])); })
                        .map(function(f) { return VkText(f[0]); });
  if (missing.length > 0) {
    fail(VkText("missingFeatures", {features: missing.join(", ")}));
    return;
  }

  // The bytes fetched so far against the files' sizes, on the loading screen.
  var done = {};
  function progress(name, bytes) {
    done[name] = bytes;
    var got = 0, total = 0;
    [programFile, levelsFile, picturesFile].forEach(function(file) {
      got += done[file] || 0;
      total += files[file] || done[file] || 0;
    });
    byId("progress").value = total > 0 ? Math.min(got / total, 1) : 0;
    byId("progress-bytes").textContent =
        VkText("loadingBytes", {done: Math.round(got / 1024), total: Math.round(total / 1024)});
  }

  // A fetched file's body, counted into the progress as it comes; a failed fetch or an HTTP error
  // rejects with the message naming the file's address.
  function fetchCounted(name) {
    var where = address(name);
    return fetch(name).then(
      function(response) {
        if (!response.ok) {
          throw new Error(VkText("httpError", {address: where, status: response.status}));
        }
        var counted = 0;
        var reader = response.body.getReader();
        var counting = new ReadableStream({
          pull: function(controller) {
            return reader.read().then(function(part) {
              if (part.done) {
                controller.close();
                return;
              }
              counted += part.value.byteLength;
              progress(name, counted);
              controller.enqueue(part.value);
            });
          }
        });
        return new Response(counting, {headers: {"Content-Type": response.headers.get("Content-Type") || ""}});
      },
      function(e) { throw new Error(VkText("fetchError", {address: where, reason: e.message})); });
  }

  // The program's code is compiled while it downloads; the script that runs it loads meanwhile.
  Module.vkCode = fetchCounted(programFile).then(function(response) {
    var bytes = function() { return response.arrayBuffer().then(WebAssembly.compile); };
    // A server that does not call the file application/wasm: compile it from its bytes.
    var compiled = /application\/wasm/.test(response.headers.get("Content-Type")) && WebAssembly.compileStreaming
                       ? WebAssembly.compileStreaming(response) : bytes();
    return compiled.catch(function(e) {
      throw new Error(VkText("damagedProgram", {address: address(programFile), reason: e.message}));
    });
  });
  Module.vkCode.catch(function(e) { fail(e.message); });
  Module.instantiateWasm = function(imports, receive) {
    Module.vkCode.then(function(code) {
      return WebAssembly.instantiate(code, imports).then(function(instance) { receive(instance, code); });
    }).catch(function(e) { fail(VkText("damagedProgram", {address: address(programFile), reason: e.message})); });
    return {};
  };

  Module.vkLevels = fetchCounted(levelsFile).then(function(response) {
    return response.arrayBuffer();
  }).then(function(buffer) {
    try {
      return VkReadLevelPack(buffer);
    } catch (e) {
      throw new Error(VkText("damagedLevels", {address: address(levelsFile), reason: e.message}));
    }
  });
  Module.vkLevels.catch(function(e) { fail(e.message); });
  // The program names a level file by its name alone; in the page it came out of the level pack.
  Module.vkErrorText = function(message) {
    var level = /^([0-9]{1,3}\.vrk): ([^]*)$/.exec(message);
    return level ? VkText("levelInPack", {address: address(levelsFile), file: level[1], reason: level[2]}) : message;
  };

  // Null for a page in the game's own language.
  Module.vkPictures = !picturesFile ? Promise.resolve(null) : fetchCounted(picturesFile).then(function(response) {
    return response.arrayBuffer();
  }).then(function(buffer) {
    return new Uint8Array(buffer);
  });
  Module.vkPictures.catch(function(e) { fail(e.message); });

  var script = document.createElement("script");
  script.async = true;
  script.src = "vorkalith.js";
  script.onerror = function() {
    fail(VkText("scriptFailed", {address: script.src}));
  };
  document.body.appendChild(script);

  Module.vkOnFirstFrame = function() {
    document.body.classList.add("playing");
  };

  if ("serviceWorker" in navigator && location.protocol !== "file:") {
    // The worker keeps the page, the program and the levels for the next visits, offline too.
    navigator.serviceWorker.register("sw.js").catch(function() {});
  }
})();

// The page's controls. The game reads the same keyboard and mouse events the page dispatches
// for touches and on-screen buttons.
(function() {
  function byId(id) {
    return document.getElementById(id);
  }
  var screen = byId("screen");

  function send(type, code) {
    window.dispatchEvent(new KeyboardEvent(type, {code: code, key: code, bubbles: true}));
  }
  // A key pressed for a few frames, long enough for the game to see it held.
  function press(code) {
    send("keydown", code);
    setTimeout(function() { send("keyup", code); }, 120);
  }
  function mouse(type, x, y) {
    document.dispatchEvent(new MouseEvent(type, {clientX: x, clientY: y, button: 0, buttons: type === "mouseup" ? 0 : 1,
                                                 bubbles: true}));
  }

  // Full screen from the button or Alt+Enter, as the desktop game's Alt+Enter.
  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen({navigationUI: "hide"}).catch(function() {});
    }
  }
  byId("fullscreen").addEventListener("click", toggleFullscreen);
  window.addEventListener("keydown", function(e) {
    if (e.altKey && e.code === "Enter" && !e.repeat) {
      e.preventDefault();
      toggleFullscreen();
    }
  }, true);

  // Settings kept by the browser between visits.
  function setting(name, button, apply) {
    var key = "vorkalith." + name;
    var on = false;
    try {
      on = localStorage.getItem(key) === "1";
    } catch (e) {}
    var set = function(value) {
      on = value;
      button.setAttribute("aria-pressed", on ? "true" : "false");
      try {
        localStorage.setItem(key, on ? "1" : "0");
      } catch (e) {}
      apply(on);
    };
    button.addEventListener("click", function() { set(!on); });
    set(on);
  }
  setting("integerScale", byId("integer-scale"), function(on) {
    Module.vkIntegerScale = on;
    // The program lays the picture out again on a resize.
    window.dispatchEvent(new Event("resize"));
  });
  setting("touchPad", byId("touch-pad"), function(on) { document.body.classList.toggle("pad", on); });

  // The on-screen buttons hold their key while pressed.
  document.querySelectorAll("[data-key]").forEach(function(button) {
    var code = button.getAttribute("data-key");
    var held = false;
    var up = function() {
      if (held) {
        held = false;
        send("keyup", code);
      }
    };
    button.addEventListener("pointerdown", function(e) {
      e.preventDefault();
      held = true;
      send("keydown", code);
    });
    ["pointerup", "pointercancel", "pointerleave"].forEach(function(type) { button.addEventListener(type, up); });
  });

  // Touches on the picture: a swipe presses the arrow of its direction (a long swipe that turns
  // presses the next), a tap clicks where it lands, a tap with two fingers is Esc. Nothing
  // scrolls, zooms or selects.
  var swipeCss = 24;
  var gesture = null;
  function onGame(e) {
    return !e.target.closest || !e.target.closest("button, .panel");
  }
  document.addEventListener("touchstart", function(e) {
    if (!onGame(e)) {
      return;
    }
    e.preventDefault();
    document.body.classList.add("touch");
    var t = e.touches[0];
    if (gesture === null) {
      gesture = {x: t.clientX, y: t.clientY, fingers: 0, swiped: false, start: Date.now()};
    }
    gesture.fingers = Math.max(gesture.fingers, e.touches.length);
  }, {passive: false});
  document.addEventListener("touchmove", function(e) {
    if (gesture === null) {
      return;
    }
    e.preventDefault();
    var t = e.touches[0];
    var dx = t.clientX - gesture.x, dy = t.clientY - gesture.y;
    if (gesture.fingers === 1 && Math.max(Math.abs(dx), Math.abs(dy)) >= swipeCss) {
      press(Math.abs(dx) > Math.abs(dy) ? (dx > 0 ? "ArrowRight" : "ArrowLeft") : (dy > 0 ? "ArrowDown" : "ArrowUp"));
      gesture.x = t.clientX;
      gesture.y = t.clientY;
      gesture.swiped = true;
    }
  }, {passive: false});
  document.addEventListener("touchend", function(e) {
    if (gesture === null) {
      return;
    }
    e.preventDefault();
    if (e.touches.length > 0) {
      return;
    }
    var g = gesture;
    gesture = null;
    var t = e.changedTouches[0];
    if (g.swiped || Date.now() - g.start > 500) {
      return;
    }
    if (g.fingers >= 2) {
      press("Escape");
    } else {
      mouse("mousemove", t.clientX, t.clientY);
      mouse("mousedown", t.clientX, t.clientY);
      setTimeout(function() { mouse("mouseup", t.clientX, t.clientY); }, 100);
    }
  }, {passive: false});
  document.addEventListener("touchcancel", function() { gesture = null; });

  // "Выход" ends the game: the title page with a button to play again.
  var ended = new MutationObserver(function() {
    if (document.body.classList.contains("ended")) {
      ended.disconnect();
      if (document.fullscreenElement) {
        document.exitFullscreen().catch(function() {});
      }
      byId("play-again").focus();
    }
  });
  ended.observe(document.body, {attributes: true, attributeFilter: ["class"]});
  byId("play-again").addEventListener("click", function() { location.reload(); });
  screen.setAttribute("tabindex", "-1");
})();
