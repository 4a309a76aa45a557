# The Windows build (MinGW-w64), included by the top-level CMakeLists.txt in place of the Linux
# package look-ups. Debian has no MinGW builds of SQLite, pugixml or GoogleTest, so they are
# compiled here from Debian's sources (scripts/fetch-windows-sources.sh fetches them).
enable_language(C)
enable_language(RC)
include(${CMAKE_CURRENT_LIST_DIR}/VersionResource.cmake)

# Wide-character Windows API throughout; Windows 7 is the oldest system supported.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# -O2 as in the Linux CI build: at -O3 GCC 12 reports false -Wrestrict overlaps inside
# std::string.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
# Static linking: the programs need only the DLLs that Windows itself ships. Release builds are
# stripped.
add_link_options(-static $<$<CONFIG:Release>:-s>)

set(VANTRELL_WINDOWS_SOURCES "${PROJECT_SOURCE_DIR}/build/windows-sources" CACHE PATH
    "Folder with the sqlite3/ and pugixml/ sources (scripts/fetch-windows-sources.sh)")
set(VANTRELL_GOOGLETEST_SOURCES "/usr/src/googletest" CACHE PATH
    "Sources of Debian's googletest package")

foreach(required sqlite3/sqlite3.c pugixml/src/pugixml.cpp)
    if(NOT EXISTS "${VANTRELL_WINDOWS_SOURCES}/${required}")
        message(FATAL_ERROR "${VANTRELL_WINDOWS_SOURCES}/${required} is missing: run "
                            "scripts/fetch-windows-sources.sh ${VANTRELL_WINDOWS_SOURCES}")
    endif()
endforeach()

# SQLite with the options of Debian's own build that change what SQL does, so that both
# systems run the same statements the same way.
add_library(vantrell_sqlite3 STATIC "${VANTRELL_WINDOWS_SOURCES}/sqlite3/sqlite3.c")
target_include_directories(vantrell_sqlite3 SYSTEM PUBLIC "${VANTRELL_WINDOWS_SOURCES}/sqlite3")
target_compile_definitions(vantrell_sqlite3 PRIVATE
    SQLITE_THREADSAFE=1 SQLITE_SECURE_DELETE SQLITE_ENABLE_COLUMN_METADATA
    SQLITE_LIKE_DOESNT_MATCH_BLOBS SQLITE_USE_URI=1 SQLITE_MAX_SCHEMA_RETRY=25
    SQLITE_ALLOW_ROWID_IN_VIEW SQLITE_MAX_VARIABLE_NUMBER=250000 SQLITE_OMIT_LOAD_EXTENSION)
# The same target names as the Linux package look-ups give.
add_library(PkgConfig::SQLITE3 ALIAS vantrell_sqlite3)

add_library(vantrell_pugixml STATIC "${VANTRELL_WINDOWS_SOURCES}/pugixml/src/pugixml.cpp")
target_include_directories(vantrell_pugixml SYSTEM PUBLIC "${VANTRELL_WINDOWS_SOURCES}/pugixml/src")
add_library(pugixml::pugixml ALIAS vantrell_pugixml)

# GoogleTest from Debian's sources; tests are listed at test time, under Wine, rather than
# right after each build.
macro(vantrell_windows_googletest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory("${VANTRELL_GOOGLETEST_SOURCES}" "${PROJECT_BINARY_DIR}/googletest"
                     EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
    set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endmacro()
