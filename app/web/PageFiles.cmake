# Writes page-files.js: every file of the page with its size, and a version that changes with any
# of them. The loading screen counts the program's and the levels' bytes against these sizes; the
# service worker keeps these files and starts over when the version changes. The files in LATER
# are wanted by some visitors only (the pictures of other languages): the worker keeps them once
# the page has fetched them, and never fetches them itself.
#   cmake -DPAGE=page -DFILES="index.html;vorkalith.wasm;..." [-DLATER="a;b"] -P PageFiles.cmake
set(entries "")
set(digests "")
set(separator "")
foreach(name ${FILES})
    file(SIZE ${PAGE}/${name} size)
    file(SHA256 ${PAGE}/${name} digest)
    string(APPEND entries "${separator}\n    \"${name}\": ${size}")
    string(APPEND digests "${digest}")
    set(separator ",")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 version)
set(later "")
set(separator "")
foreach(name ${LATER})
    string(APPEND later "${separator}\"${name}\"")
    set(separator ", ")
endforeach()
file(WRITE ${PAGE}/page-files.js.tmp
     "// Written by the build: the page's files and sizes, and their version.\n"
     "self.VkPageFiles = {\n  version: \"${version}\",\n  files: {${entries}\n  },\n  later: [${later}]\n};\n")
file(RENAME ${PAGE}/page-files.js.tmp ${PAGE}/page-files.js)
