// Puts the level files, fetched and read by the page (Module.vkLevels, a promise of the files by
// name), into the working folder of the program's file system before the program starts. Until
// they are there the program does not start: a page whose level files cannot be had shows why
// and stays so.
Module.vkScriptMs = performance.now();

Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function() {
  addRunDependency("levels");
  Module.vkLevels.then(function(files) {
    Object.keys(files).forEach(function(name) {
      FS.writeFile("/" + name, files[name]);
    });
    removeRunDependency("levels");
  }, function() {});
});
