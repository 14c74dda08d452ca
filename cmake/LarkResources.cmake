# Embeds resources/ (fonts with their licences, icons, styles, SQL migrations) and the translations into a target.
# Files are picked up by folder so that adding a migration or a style needs no list edit here.
# For a static library Qt builds the resources into object libraries that travel with the
# target to everything linking it (the executable and each test), so no Q_INIT_RESOURCE.
function(lark_add_resources target)
    set(_root "${PROJECT_SOURCE_DIR}/resources")
    file(GLOB_RECURSE _files CONFIGURE_DEPENDS
        "${_root}/fonts/*.ttf" "${_root}/fonts/*.otf" "${_root}/fonts/*.txt"
        "${_root}/icons/*.png" "${_root}/icons/*.svg"
        "${_root}/styles/*.qss")
    qt_add_resources(${target} "lark_resources"
        PREFIX "/"
        BASE "${_root}"
        FILES ${_files})

    # The migration scripts live under the "/sql" prefix: ":/sql/sql/migrations/<file>".
    file(GLOB_RECURSE _sql CONFIGURE_DEPENDS "${_root}/sql/*.sql")
    if(_sql)
        qt_add_resources(${target} "lark_sql"
            PREFIX "/sql"
            BASE "${_root}"
            FILES ${_sql})
    endif()

    file(GLOB _ts CONFIGURE_DEPENDS "${_root}/i18n/*.ts")
    if(_ts)
        # The catalogues hold the texts of every layer, though they are embedded into the bottom
        # one: lupdate must scan them all, or update_translations drops what it did not see.
        set(_tr_sources)
        foreach(_layer model storage platform core services ui app)
            file(GLOB_RECURSE _layer_sources CONFIGURE_DEPENDS
                "${PROJECT_SOURCE_DIR}/${_layer}/*.cpp" "${PROJECT_SOURCE_DIR}/${_layer}/*.h")
            list(APPEND _tr_sources ${_layer_sources})
        endforeach()
        qt_add_translations(${target}
            TS_FILES ${_ts}
            SOURCES ${_tr_sources}
            INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR}"
            RESOURCE_PREFIX "/i18n"
            LUPDATE_OPTIONS -no-obsolete)
    endif()
endfunction()
