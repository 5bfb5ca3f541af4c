// The page's service worker: keeps every file of the page (listed with the build's version in
// page-files.js) so that later visits start from the cache, offline too. A build with another
// version is a new worker: it fetches all the files again while the old one still serves, then
// takes over, so the next load runs the new build; the old build's files are dropped.
importScripts("page-files.js");

var version = self.VkPageFiles.version;
var cacheName = "vorkalith-" + version;
var pageFiles = Object.keys(self.VkPageFiles.files);

self.addEventListener("install", function(event) {
  event.waitUntil(caches.open(cacheName).then(function(cache) {
    return cache.addAll(["./", "page-files.js"].concat(pageFiles).map(function(file) { return new Request(file, {cache: "reload"}); }));
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
      return kept || fetch(request);
    });
  }));
});
