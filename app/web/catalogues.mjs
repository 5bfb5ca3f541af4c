// Converts the translations (po/LANG.po) into what the page reads: catalogues.js, one table per
// language from source text to translation, for the page's own texts and the game's alike (the
// browser has no gettext). Fuzzy and untranslated entries are left out, as gettext leaves them, and
// so are the texts that only programs the page does not hold show (the editor, the servers, the
// tools, the desktop's command line), and Russian, the source language, which needs no table:
// every visitor downloads the catalogues.
//
//   node catalogues.mjs OUTPUT PO...
import {readFileSync, renameSync, writeFileSync} from "node:fs";
import {basename} from "node:path";

const escapes = {n: "\n", t: "\t", r: "\r", '"': '"', "\\": "\\"};

// The text of a quoted .po string with its escapes undone.
function unquote(quoted, where) {
  const inner = /^"(.*)"$/.exec(quoted.trim());
  if (!inner) {
    throw new Error(`${where}: not a quoted string: ${quoted}`);
  }
  return inner[1].replace(/\\(.)/g, (whole, c) => {
    if (!(c in escapes)) {
      throw new Error(`${where}: unknown escape ${whole}`);
    }
    return escapes[c];
  });
}

// Source folders whose texts the page never shows.
const notInPage = ["app/desktop/", "app/edit/", "app/server/", "app/sim/", "client/", "level/", "server/",
                   "settings/", "tools/"];

// Whether an entry whose source places are `places` (from its "#:" lines) may show in the page:
// one that names none is kept.
export function shownInPage(places) {
  return places.length === 0 || places.some(place => !notInPage.some(folder => place.startsWith(folder)));
}

export function readPo(text, name) {
  const table = {};
  for (const [at, entry] of text.split(/\n\s*\n/).entries()) {
    const where = `${name}, entry ${at + 1}`;
    let fuzzy = false;
    const places = [];
    let field = null;
    const fields = {};
    for (const line of entry.split("\n")) {
      if (line.startsWith("#,") && /\bfuzzy\b/.test(line)) {
        fuzzy = true;
      } else if (line.startsWith("#:")) {
        places.push(...line.slice(2).trim().split(/\s+/));
      } else if (line.startsWith("#") || line.trim() === "") {
        continue;
      } else if (line.startsWith('"')) {
        if (field === null) {
          throw new Error(`${where}: a string outside any field`);
        }
        fields[field] += unquote(line, where);
      } else {
        const head = /^(msgctxt|msgid|msgid_plural|msgstr(?:\[\d+\])?)\s+(".*")$/.exec(line);
        if (!head) {
          throw new Error(`${where}: cannot read: ${line}`);
        }
        field = head[1];
        fields[field] = unquote(head[2], where);
      }
    }
    if (!fuzzy && fields.msgid && fields.msgstr && !("msgctxt" in fields) && shownInPage(places)) {
      table[fields.msgid] = fields.msgstr;
    }
  }
  return table;
}

if (process.argv[1] && import.meta.url.endsWith(basename(process.argv[1]))) {
  const [output, ...files] = process.argv.slice(2);
  const catalogues = {};
  for (const file of files) {
    const language = basename(file, ".po");
    if (language !== "ru") {
      catalogues[language] = readPo(readFileSync(file, "utf8"), file);
    }
  }
  writeFileSync(output + ".tmp", "// Written by the build from the translations (po/): source text to translation.\n" +
                                     `self.VkCatalogues = ${JSON.stringify(catalogues, null, 1)};\n`);
  renameSync(output + ".tmp", output);
}
