// Writes FILE.br (brotli at its best quality) and FILE.gz beside each file given, for web servers
// that send a file's compressed copy as it is when the browser takes that coding (the page's own
// servers and the ones in docs/web.md). The gzip copy is made by zopfli where it is installed,
// which packs the program some 11% smaller than gzip's best level and any browser reads alike;
// else by gzip at level 9. Each copy is written to a temporary file and renamed over the old one.
//
//   node precompress.mjs FILE...
import { execFileSync } from "node:child_process";
import { readFileSync, renameSync, writeFileSync } from "node:fs";
import { brotliCompressSync, constants, gzipSync } from "node:zlib";

// The gzip stream of `file` by zopfli, or null when zopfli is not installed.
function zopfli(file) {
  try {
    return execFileSync("zopfli", ["-c", file], { maxBuffer: 1 << 30 });
  } catch (e) {
    if (e.code === "ENOENT") {
      return null;
    }
    throw e;
  }
}

const files = process.argv.slice(2);
if (files.length === 0 || files.includes("--help")) {
  (files.length ? process.stdout : process.stderr).write("usage: node precompress.mjs FILE...\n");
  process.exit(files.length ? 0 : 2);
}
for (const file of files) {
  try {
    const bytes = readFileSync(file);
    const copies = {
      br: brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11,
                                                [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } }),
      gz: zopfli(file) ?? gzipSync(bytes, { level: 9 }),
    };
    for (const [suffix, body] of Object.entries(copies)) {
      writeFileSync(`${file}.${suffix}.tmp`, body);
      renameSync(`${file}.${suffix}.tmp`, `${file}.${suffix}`);
    }
  } catch (e) {
    process.stderr.write(`precompress: ${file}: ${e.message}\n`);
    process.exit(1);
  }
}
