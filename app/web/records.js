// The player's records in the page, kept by the browser in IndexedDB (the database "vorkalith"):
// the table as the desktop's records file holds it (the store "records", key "table") and the
// session demos its runs lie in (the store "demos", by name). Before the program starts, the
// table and the demos are read, the demos into /runs of the program's file system; the program
// (PageRecordsStore) enters each run into its copy at once and hands it to Module.vkRecords.keep,
// which writes behind. Without IndexedDB (storage blocked) the runs last as long as the page.
Module.vkRecords = { text: "", error: "", own: "", db: null };

(function() {
  var records = Module.vkRecords;
  // Names of the session demos as the program gives them; anything else in the store is not read.
  var demoName = /^session-[0-9A-Za-z_-]{1,64}\.vkd$/;
  var folder = "/runs";

  function demosOf(table) {
    try {
      return JSON.parse(table).Runs.map(function(run) { return run.Demo; });
    } catch (e) {
      return [];
    }
  }

  function request(r) {
    return new Promise(function(resolve, reject) {
      r.onsuccess = function() { resolve(r.result); };
      r.onerror = function() { reject(r.error); };
    });
  }

  function open() {
    if (typeof indexedDB === "undefined") {
      return Promise.reject(new Error("no IndexedDB"));
    }
    var r = indexedDB.open("vorkalith", 1);
    r.onupgradeneeded = function() {
      r.result.createObjectStore("records");
      r.result.createObjectStore("demos");
    };
    return request(r);
  }

  // Puts the demos the table names that the program's folder lacks there (not the page's own,
  // which the program writes).
  function loadDemos(names) {
    var wanted = names.filter(function(name) {
      return demoName.test(name) && name !== records.own && !FS.analyzePath(folder + "/" + name).exists;
    });
    if (wanted.length === 0 || !records.db) {
      return Promise.resolve();
    }
    var demos = records.db.transaction("demos", "readonly").objectStore("demos");
    return Promise.all(wanted.map(function(name) {
      return request(demos.get(name)).then(function(bytes) {
        if (bytes instanceof Uint8Array) {
          FS.writeFile(folder + "/" + name, bytes);
        }
      });
    }));
  }

  // Enters `run` (a run of the records as JSON) into the table the browser keeps, with the demo
  // it lies in (`name`, `demo`): in one transaction, so that pages playing at once lose none of
  // each other's runs. The program merges (_vk_records_merge), as the desktop's records file does.
  records.keep = function(run, name, demo) {
    if (!records.db) {
      if (!records.told) {
        records.told = true;
        console.warn("vorkalith: the browser keeps no records here (" + records.error +
                     "); the runs of this visit last until the page is closed");
      }
      return;
    }
    var merged = null;
    var transaction = records.db.transaction(["records", "demos"], "readwrite");
    var table = transaction.objectStore("records"), demos = transaction.objectStore("demos");
    // Callbacks, not promises: the transaction stays open only through its requests' own events.
    table.get("table").onsuccess = function(got) {
      var stored = typeof got.target.result === "string" ? got.target.result : "";
      Module.vkRecordsIn = [stored, run];
      if (Module._vk_records_merge()) {
        table.put(stored, "table.damaged-" + new Date().toISOString());
      }
      merged = Module.vkRecordsOut;
      table.put(merged, "table");
      var kept = demosOf(merged);
      if (kept.indexOf(name) >= 0) {
        demos.put(demo, name);
      }
      demos.getAllKeys().onsuccess = function(names) {
        names.target.result.forEach(function(old) {
          if (kept.indexOf(old) < 0) {
            demos.delete(old);
          }
        });
      };
    };
    transaction.oncomplete = function() {
      records.text = merged;
      loadDemos(demosOf(merged)).catch(function() {});
    };
    transaction.onabort = function() {
      console.warn("vorkalith: the browser did not keep the run (" + (transaction.error || "aborted") + ")");
    };
  };

  if (typeof location === "undefined" || Module.vkDemoAddress !== undefined) {
    return;
  }
  Module["preRun"] = Module["preRun"] || [];
  Module["preRun"].push(function() {
    FS.mkdir(folder);
    addRunDependency("records");
    open().then(function(db) {
      records.db = db;
      var transaction = db.transaction(["records", "demos"], "readonly");
      return request(transaction.objectStore("records").get("table")).then(function(text) {
        records.text = typeof text === "string" ? text : "";
        return loadDemos(demosOf(records.text));
      });
    }).catch(function(e) {
      records.error = String((e && e.message) || e);
    }).then(function() {
      removeRunDependency("records");
    });
  });
})();
