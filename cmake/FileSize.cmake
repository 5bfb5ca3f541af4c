# Writes a header defining NAME as the size in bytes of FILE (NAME_TEXT as a string literal).
#   cmake -DFILE=path -DNAME=macro -DOUT=header -P FileSize.cmake
file(SIZE ${FILE} size)
file(WRITE ${OUT}.tmp "#pragma once\n#define ${NAME} ${size}\n#define ${NAME}_TEXT \"${size}\"\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
