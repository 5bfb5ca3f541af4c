# The browser build with emscripten: C++ exceptions (without them a caught error would stop the
# game), and the host tools that pack the form and compile the levels, built for this machine.

# emscripten drops every catch unless exceptions are on when compiling and when linking.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# WebAssembly SIMD and bulk memory operations, which every browser we target runs (Chromium
# since 91, Firefox since 89). SIMD: the compiler vectorises plain pixel loops, and with -msse2
# the SSE2 paths of the keyed copies and the blends build on it, through intrinsics that map one
# to one onto exact integer SIMD. Bulk memory: memcpy and memset become single instructions
# instead of the C library's word loops and calls out to JavaScript for large copies. With both,
# the frame handler takes about half the time it did (bench/web_frames.mjs); the vectorised pixel
# loops of platform/ and display/ add about 110 KB to the program (33 KB gzipped).
add_compile_options(-msimd128 -msse2 -mbulk-memory)

# formpack and vk_levelc run at build time, so they are built natively from the same source in
# host/ (or taken from VORKALITH_HOST_TOOLS_DIR when another native build already has them).
set(VORKALITH_HOST_TOOLS_DIR "" CACHE PATH "Folder holding native formpack and vk_levelc")
if(VORKALITH_HOST_TOOLS_DIR)
    set(VK_HOST_TOOLS_DIR ${VORKALITH_HOST_TOOLS_DIR})
    add_custom_target(vk_host_tools)
else()
    include(ExternalProject)
    set(VK_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host/tools)
    ExternalProject_Add(vk_host_tools
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/host
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DVORKALITH_TESTS=OFF -DVORKALITH_BENCH=OFF
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target formpack vk_levelc
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${VK_HOST_TOOLS_DIR}/formpack ${VK_HOST_TOOLS_DIR}/levels/vk_levelc)
endif()
set(VK_FORMPACK ${VK_HOST_TOOLS_DIR}/formpack)
set(VK_LEVELC ${VK_HOST_TOOLS_DIR}/levels/vk_levelc)

# Optimised links run emscripten's JavaScript optimiser, which needs Debian's acorn module.
set_property(GLOBAL PROPERTY RULE_LAUNCH_LINK "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs")
