# Writes the level files given as a JSON object of file name to hex bytes, so that a page gets all
# of them in one request.
#   cmake -DOUT=levels.json -DFILES="a.vrk;b.vrk" -P LevelPack.cmake
set(json "{")
set(separator "")
foreach(file ${FILES})
    get_filename_component(name ${file} NAME)
    file(READ ${file} bytes HEX)
    string(APPEND json "${separator}\n\"${name}\": \"${bytes}\"")
    set(separator ",")
endforeach()
string(APPEND json "\n}\n")
file(WRITE ${OUT} "${json}")
