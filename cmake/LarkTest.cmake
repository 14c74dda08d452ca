# lark_add_test(<source> [TZ <zone>...] [TIMEOUT <s>] [LIBS <lib>...] [LAYER <layer>] [SERIAL])
#
# Builds one Qt Test executable from tests/<folder>/tst_<Thing>.cpp and registers it once per
# time zone (UTC when none is given). Each run gets its own fresh HOME, XDG folders, TMPDIR,
# data directory and instance name through cmake/run-test.sh, so tests never share state.
#
# LAYER model, storage, platform, core, services or ui builds the test against that layer's
# library and its part of the test support (tests/CMakeLists.txt) alone, so the test cannot lean
# on anything above its layer (ui tests use the services' support). Without LAYER the test links
# the whole program, and an AppState it starts gets the program's services, as at start-up.
set(LARK_TEST_SUPPORT_model larktestsupport_model)
set(LARK_TEST_SUPPORT_storage larktestsupport_storage)
set(LARK_TEST_SUPPORT_platform larktestsupport_platform)
set(LARK_TEST_SUPPORT_core larktestsupport_core)
set(LARK_TEST_SUPPORT_services larktestsupport_services)
set(LARK_TEST_SUPPORT_ui larktestsupport_services)
function(lark_add_test source)
    cmake_parse_arguments(ARG "SERIAL" "TIMEOUT;LAYER" "TZ;LIBS" ${ARGN})
    get_filename_component(_name "${source}" NAME_WE)
    if(ARG_LAYER AND LARK_TEST_SUPPORT_${ARG_LAYER})
        add_executable(${_name} "${source}")
        target_link_libraries(${_name} PRIVATE lark_${ARG_LAYER} ${LARK_TEST_SUPPORT_${ARG_LAYER}}
                                               Qt6::Test ${ARG_LIBS})
    elseif(ARG_LAYER)
        message(FATAL_ERROR "lark_add_test: no test support for layer ${ARG_LAYER}")
    else()
        add_executable(${_name} "${source}"
                                "${PROJECT_SOURCE_DIR}/tests/support/RegisterServices.cpp")
        target_link_libraries(${_name} PRIVATE larkall larktestsupport Qt6::Test ${ARG_LIBS})
    endif()
    if(NOT ARG_TZ)
        set(ARG_TZ UTC)
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    list(LENGTH ARG_TZ _zones)
    foreach(zone IN LISTS ARG_TZ)
        if(_zones EQUAL 1)
            set(_test "${_name}")
        else()
            string(REPLACE "/" "_" _suffix "${zone}")
            set(_test "${_name}@${_suffix}")
        endif()
        add_test(NAME "${_test}"
            COMMAND sh "${PROJECT_SOURCE_DIR}/cmake/run-test.sh" "$<TARGET_FILE:${_name}>")
        set_tests_properties("${_test}" PROPERTIES
            TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=${zone};LC_ALL=C.UTF-8;LANG=C.UTF-8;LARK_SOURCE_DIR=${PROJECT_SOURCE_DIR};LARK_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;LARK_BINARY_DIR=${PROJECT_BINARY_DIR}")
        if(ARG_SERIAL)
            set_tests_properties("${_test}" PROPERTIES RUN_SERIAL TRUE)
        endif()
    endforeach()
endfunction()

# lark_add_layer_probe(<layer> <header>...)
#
# A test per header that passes when a source of the layer cannot include it: the layer does not
# link (or see through the layers below) the Qt module the header belongs to.
function(lark_add_layer_probe layer)
    foreach(header IN LISTS ARGN)
        set(_probe lark_${layer}_probe_${header})
        add_library(${_probe} OBJECT EXCLUDE_FROM_ALL "${PROJECT_SOURCE_DIR}/cmake/LayerProbe.cpp")
        target_link_libraries(${_probe} PRIVATE lark_${layer})
        target_compile_definitions(${_probe} PRIVATE "LARK_PROBE_HEADER=<${header}>")
        add_test(NAME ${layer}_refuses_${header}
                 COMMAND "${CMAKE_COMMAND}" --build "${CMAKE_BINARY_DIR}" --target ${_probe})
        set_tests_properties(${layer}_refuses_${header} PROPERTIES
            PASS_REGULAR_EXPRESSION "${header}: No such file or directory"
            RESOURCE_LOCK lark_build_tree)
    endforeach()
endfunction()
