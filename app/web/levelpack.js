// The page's level files come as one binary file: a text head "VKLEVELS 1", then a line
// "NAME SIZE" per file and an empty line, then the files' bytes one after the other
// (cmake/LevelPack.cmake writes it). VkReadLevelPack gives the files by name, or throws an Error
// saying what is wrong when the pack is damaged.
function VkReadLevelPack(buffer) {
  var bytes = new Uint8Array(buffer);
  var headEnd = -1;
  for (var i = 1; i < Math.min(bytes.length, 65536); i++) {
    if (bytes[i] === 10 && bytes[i - 1] === 10) {
      headEnd = i + 1;
      break;
    }
  }
  if (headEnd < 0) {
    throw new Error("no head");
  }
  var lines = String.fromCharCode.apply(null, bytes.subarray(0, headEnd - 2)).split("\n");
  if (lines[0] !== "VKLEVELS 1") {
    throw new Error("not a level pack");
  }
  var files = {};
  var at = headEnd;
  for (var n = 1; n < lines.length; n++) {
    var entry = /^([0-9]{1,3}\.vrk) ([0-9]{1,8})$/.exec(lines[n]);
    if (!entry || entry[1] in files) {
      throw new Error("head line " + (n + 1));
    }
    var size = Number(entry[2]);
    if (at + size > bytes.length) {
      throw new Error("cut short");
    }
    files[entry[1]] = bytes.subarray(at, at + size);
    at += size;
  }
  if (n === 1 || at !== bytes.length) {
    throw new Error(n === 1 ? "no levels" : "bytes after the last level");
  }
  return files;
}
