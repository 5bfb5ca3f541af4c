// Writes FILE.br (brotli at its best quality) and FILE.gz (gzip at level 9) beside each file
// given, for web servers that send a file's compressed copy as it is when the browser takes
// that coding (the page's own servers and the ones in docs/web.md). Each copy is written to a
// temporary file and renamed over the old one.
//
//   node precompress.mjs FILE...
import { readFileSync, renameSync, writeFileSync } from "node:fs";
import { brotliCompressSync, constants, gzipSync } from "node:zlib";

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
      gz: gzipSync(bytes, { level: 9 }),
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
