# Shared compile settings for every Sulcan target.
add_library(sulcan_options INTERFACE)
target_compile_options(sulcan_options INTERFACE -Wall -Wextra -Wpedantic)
if(SULCAN_SANITIZE)
  target_compile_options(sulcan_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(sulcan_options INTERFACE -fsanitize=address,undefined)
endif()

# sulcan_library(NAME SOURCES... [LINKS ...]): one static library per subsystem folder,
# included from the project root so "volume/CSulcanDoc.h" style includes work everywhere.
function(sulcan_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC sulcan_options ${ARG_LINKS})
endfunction()
