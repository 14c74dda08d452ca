# lark_add_test(<source> [TZ <zone>...] [TIMEOUT <s>] [LIBS <lib>...] [LAYER model] [SERIAL])
#
# Builds one Qt Test executable from tests/<folder>/tst_<Thing>.cpp and registers it once per
# time zone (UTC when none is given). Each run gets its own fresh HOME, XDG folders, TMPDIR,
# data directory and instance name through cmake/run-test.sh, so tests never share state.
#
# LAYER model builds the test against the model library and the Core-only part of the test
# support, so a model test cannot lean on anything above model. Other tests link the whole
# program: the shared fakes and temporary stores reach into core and services.
function(lark_add_test source)
    cmake_parse_arguments(ARG "SERIAL" "TIMEOUT;LAYER" "TZ;LIBS" ${ARGN})
    get_filename_component(_name "${source}" NAME_WE)
    if(ARG_LAYER STREQUAL "model")
        add_executable(${_name} "${source}")
        target_link_libraries(${_name} PRIVATE lark_model larktestsupport_model Qt6::Test
                                               ${ARG_LIBS})
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
