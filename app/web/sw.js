// The page's service worker: keeps every file of the page (listed with the build's version in
// page-files.js) so that later visits start from the cache, offline too. A build with another
// version is a new worker: it fetches all the files again while the old one still serves, then
// takes over, so the next load runs the new build; the old build's files are dropped. The worker
// asks for each file again, and the server answers "unchanged" for those the page has just
// fetched, so that a first visit downloads them only once.
importScripts("page-files.js");

var version = self.VkPageFiles.version;
var cacheName = "vorkalith-" + version;
// Files some visitors only want (the pictures of other languages) are kept once the page asks.
var later = self.VkPageFiles.later || [];
var pageFiles = Object.keys(self.VkPageFiles.files).filter(function(file) { return later.indexOf(file) < 0; });

self.addEventListener("install", function(event) {
  event.waitUntil(caches.open(cacheName).then(function(cache) {
    return cache.addAll(["./", "page-files.js"].concat(pageFiles).map(function(file) { return new Request(file, {cache: "no-cache"}); }));
  }).then(function() { return self.skipWaiting(); }));
});

self.addEventListener("activate", function(event) {
  event.waitUntil(caches.keys().then(function(names) {
    return Promise.all(names.filter(function(name) { return name.indexOf("vorkalith-") === 0 && name !== cacheName; })
                            .map(function(name) { return caches.delete(name); }));
  }).then(function() { return self.clients.claim(); }));
});

// The page's own files come from the cache (the page with any query, such as ?demo=, is the
// one page); anything else, a demo for one, from the network.
self.addEventListener("fetch", function(event) {
  var request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) {
    return;
  }
  event.respondWith(caches.open(cacheName).then(function(cache) {
    return cache.match(request, {ignoreSearch: request.mode === "navigate"}).then(function(kept) {
      if (kept) {
        return kept;
      }
      var keep = later.some(function(file) { return new URL(file, location.href).href === request.url; });
      return fetch(request).then(function(response) {
        if (keep && response.ok) {
          cache.put(request, response.clone());
        }
        return response;
      });
    });
  }));
});
