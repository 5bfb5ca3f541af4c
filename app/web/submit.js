// When the page is served by a leaderboard server (which names itself in the page's Server-Timing
// header, so that the page asks no other server for anything), a game that has just
// ended is offered for the server's board: the player may send the recorded session, under a name
// of their choice, or not. Nothing is sent unless the player says so. The server replays the
// demo itself and answers with its verdict, shown here.
(function() {
  var panel = document.getElementById("submit");
  if (!panel || location.protocol === "file:") {
    return;
  }
  function byId(id) {
    return document.getElementById(id);
  }
  function show(key, values) {
    byId("submit-status").textContent = VkText(key, values);
  }

  // The game states of play and of the level change; leaving them ends a game.
  function playing(state) {
    return state === 1 || state === 2;
  }
  function watch() {
    var wasPlaying = false;
    setInterval(function() {
      if (typeof Module._vk_probe !== "function" || Module.vkDemoAddress) {
        return;
      }
      var now = playing(Module._vk_probe(0));
      if (wasPlaying && !now && !panel.classList.contains("open")) {
        show("submitOffer");
        byId("submit-send").disabled = false;
        panel.classList.add("open");
      }
      wasPlaying = now;
    }, 250);
  }

  function follow(id) {
    fetch("api/runs/" + id).then(function(r) { return r.json(); }).then(function(run) {
      if (run.status === "queued") {
        show("submitQueued", {id: id});
        setTimeout(function() { follow(id); }, 500);
      } else if (run.status === "verified") {
        show("submitVerified", {id: id, score: run.result.score});
      } else {
        show("submitRejected", {id: id, reason: run.reason});
      }
    }).catch(function(e) { show("submitFailed", {reason: e.message}); });
  }

  byId("submit-send").addEventListener("click", function() {
    if (!Module._vk_session_demo || !Module._vk_session_demo()) {
      show("submitFailed", {reason: "—"});
      return;
    }
    byId("submit-send").disabled = true;
    show("submitSending");
    fetch("api/runs?name=" + encodeURIComponent(byId("submit-name").value), {method: "POST", body: Module.vkSessionDemo})
      .then(function(r) { return r.json().then(function(body) { return {ok: r.ok, body: body}; }); })
      .then(function(answer) {
        if (answer.ok) {
          follow(answer.body.id);
        } else {
          show("submitFailed", {reason: answer.body.error});
        }
      })
      .catch(function(e) { show("submitFailed", {reason: e.message}); });
  });
  byId("submit-close").addEventListener("click", function() {
    panel.classList.remove("open");
    byId("screen").focus();
  });

  var navigation = performance.getEntriesByType ? performance.getEntriesByType("navigation")[0] : null;
  var timings = (navigation && navigation.serverTiming) || [];
  if (timings.some(function(timing) { return timing.name === "vorkalith-leaderboard"; })) {
    watch();
  }
})();
