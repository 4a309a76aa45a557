# Windows programs carry a version resource with the project's version, the product name and
# the program's own description, which the file's properties show.
function(vantrell_version_resource target description)
    set(VANTRELL_RC_TARGET ${target})
    set(VANTRELL_RC_FILE_NAME ${target}.exe)
    set(VANTRELL_RC_DESCRIPTION "${description}")
    set(VANTRELL_RC_PATCH 0)
    if(PROJECT_VERSION_PATCH)
        set(VANTRELL_RC_PATCH ${PROJECT_VERSION_PATCH})
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
