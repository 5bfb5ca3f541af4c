// A recorded demo played in the page: ?demo=URL in the page's address (a path relative to the
// page, or an address on the page's own site) names it, &force=1 plays it even on level files
// other than the recorded ones. The demo is fetched while the program loads and handed to it as
// the file /vorkalith.demo; when it cannot be fetched the reason is left in Module.vkDemoError
// for the program's error box. At the end the program calls Module.vkDemoNote to say so on the page.
(function() {
  if (typeof location === "undefined") {
    return;
  }
  var query = new URLSearchParams(location.search);
  var address = query.get("demo");
  if (address === null) {
    return;
  }
  // Larger than any real recording (an hour of play is a few megabytes), small enough for the page.
  var maxBytes = 64 * 1024 * 1024;
  Module.vkDemoAddress = address;
  Module.vkDemoForce = query.get("force") === "1";
  Module.vkDemoError = "";

  var fetched;
  try {
    var url = new URL(address, location.href);
    // Another site's file would be another site's say over this page.
    if (url.origin !== location.origin) {
      throw new Error(VkText("demoOtherSite"));
    }
    fetched = fetch(url.href)
      .then(function(response) {
        if (!response.ok) {
          throw new Error("HTTP " + response.status);
        }
        if (Number(response.headers.get("Content-Length")) > maxBytes) {
          throw new Error(VkText("demoTooLarge"));
        }
        return response.arrayBuffer();
      })
      .then(function(buffer) {
        if (buffer.byteLength > maxBytes) {
          throw new Error(VkText("demoTooLarge"));
        }
        return new Uint8Array(buffer);
      });
  } catch (e) {
    fetched = Promise.reject(e);
  }
  fetched = fetched.catch(function(e) {
    Module.vkDemoError = VkText("demoFetchError", {address: address, reason: e.message});
    return null;
  });

  Module["preRun"] = Module["preRun"] || [];
  Module["preRun"].push(function() {
    addRunDependency("demo");
    fetched.then(function(bytes) {
      if (bytes !== null) {
        FS.writeFile("/vorkalith.demo", bytes);
      }
      removeRunDependency("demo");
    });
  });

  // What the program asks of the page: 0 the demo's address, 1 the reason it could not be fetched.
  Module.vkDemoText = function(what) {
    return what === 0 ? address : Module.vkDemoError;
  };

  // A line under the held last frame, so that a viewer knows the demo is over and not stuck: `key`
  // names a text of the page's (texts.js) filled in with `values`, or else `text` is shown as it is.
  Module.vkDemoNote = function(text, key, values) {
    if (key) {
      text = VkText(key, values);
    }
    if (typeof document === "undefined") {
      return;
    }
    var note = document.getElementById("demo-note");
    if (note === null) {
      note = document.createElement("div");
      note.id = "demo-note";
      note.style.cssText = "position: fixed; left: 0; right: 0; bottom: 8px; text-align: center; z-index: 5;" +
                           "color: #ccc; font: 14px sans-serif; white-space: pre-line; pointer-events: none;";
      document.body.appendChild(note);
    }
    note.textContent = text;
  };
})();
