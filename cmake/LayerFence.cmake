# lark_add_layer_fence(<layer>...)
#
# The include roots (build/layers/<layer>/) and each layer's Qt links stop most includes a layer
# must not make, but two pass the compiler: an include that climbs out of its folder with ".."
# (the file's own folder is always searched), and a Qt header named through its module's folder
# (<QtWidgets/QWidget>), since every Qt module lives under the one include root that QtCore adds.
# A step of the default build reads the includes of every product source and refuses both
# (cmake/CheckLayerFence.cmake). The Qt modules a layer may name are those it links: in its
# headers the ones it passes on to the layers above, in its sources also the ones it keeps.

# The Qt modules (QtCore, QtSql...) that the targets bring, following what each passes on.
function(_lark_qt_modules_of out)
    set(queue ${ARGN})
    set(seen)
    set(modules)
    while(queue)
        list(POP_FRONT queue target)
        if(target IN_LIST seen OR target MATCHES "^\\$<")
            continue()
        endif()
        list(APPEND seen ${target})
        if(target MATCHES "^Qt6?::(.+)$")
            list(APPEND modules Qt${CMAKE_MATCH_1})
        endif()
        if(TARGET ${target})
            get_target_property(passed ${target} INTERFACE_LINK_LIBRARIES)
            if(passed)
                list(APPEND queue ${passed})
            endif()
        endif()
    endwhile()
    list(REMOVE_DUPLICATES modules)
    set(${out} ${modules} PARENT_SCOPE)
endfunction()

function(lark_add_layer_fence)
    get_target_property(_core_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
    set(_qt_modules)
    foreach(dir IN LISTS _core_dirs)
        if(dir MATCHES "^(.*)/QtCore$")
            file(GLOB _found LIST_DIRECTORIES true RELATIVE "${CMAKE_MATCH_1}"
                 "${CMAKE_MATCH_1}/Qt*")
            list(APPEND _qt_modules ${_found})
        endif()
    endforeach()
    set(_rules "set(LARK_FENCE_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")\n")
    string(APPEND _rules "set(LARK_FENCE_QT_MODULES ${_qt_modules})\n")
    string(APPEND _rules "set(LARK_FENCE_LAYERS ${ARGN})\n")
    set(_all_files)
    foreach(layer IN LISTS ARGN)
        get_target_property(_linked lark_${layer} LINK_LIBRARIES)
        get_target_property(_passed lark_${layer} INTERFACE_LINK_LIBRARIES)
        _lark_qt_modules_of(_in_headers ${_passed})
        _lark_qt_modules_of(_in_sources ${_linked})
        get_target_property(_sources lark_${layer} SOURCES)
        list(FILTER _sources INCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${layer}/.*\\.(h|cpp)$")
        list(APPEND _all_files ${_sources})
        string(APPEND _rules "set(LARK_FENCE_${layer}_FILES \"${_sources}\")\n"
                             "set(LARK_FENCE_${layer}_HEADER_MODULES ${_in_headers})\n"
                             "set(LARK_FENCE_${layer}_SOURCE_MODULES ${_in_sources})\n")
    endforeach()
    set(_rules_file "${CMAKE_BINARY_DIR}/layer-fence-rules.cmake")
    file(CONFIGURE OUTPUT "${_rules_file}" CONTENT "${_rules}" @ONLY)
    set(_stamp "${CMAKE_BINARY_DIR}/layer-fence.stamp")
    add_custom_command(
        OUTPUT "${_stamp}"
        COMMAND "${CMAKE_COMMAND}" -DRULES=${_rules_file} -P
                "${PROJECT_SOURCE_DIR}/cmake/CheckLayerFence.cmake"
        COMMAND "${CMAKE_COMMAND}" -E touch "${_stamp}"
        DEPENDS ${_all_files} "${_rules_file}" "${PROJECT_SOURCE_DIR}/cmake/CheckLayerFence.cmake"
        COMMENT "Checking the includes of every layer"
        VERBATIM)
    add_custom_target(layer_fence ALL DEPENDS "${_stamp}")
    # For the fence's own test, which runs the check with these rules over planted files.
    set(LARK_FENCE_RULES "${_rules_file}" PARENT_SCOPE)
endfunction()
