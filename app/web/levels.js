// Puts the level files, fetched and read by the page (Module.vkLevels, a promise of the files by
// name), and the pictures of the page's language where it has its own (Module.vkPictures, a
// promise of the file's bytes or null), into the program's file system before the program starts.
// Until they are there the program does not start: a page whose files cannot be had shows why and
// stays so.
Module.vkScriptMs = performance.now();

Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function() {
  addRunDependency("levels");
  Promise.all([Module.vkLevels, Module.vkPictures]).then(function(got) {
    Object.keys(got[0]).forEach(function(name) {
      FS.writeFile("/" + name, got[0][name]);
    });
    if (got[1]) {
      FS.writeFile("/LanguagePictures.vkf", got[1]);
    }
    removeRunDependency("levels");
  }, function() {});
});
