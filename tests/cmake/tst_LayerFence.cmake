# Plants includes the layer fence must refuse (and some it must let through) in a scratch tree,
# runs the fence's check over it with the build's own rules, and expects it to fail naming each
# refused one, file and line, and nothing else.
#
#   cmake -DRULES=<build>/layer-fence-rules.cmake -DCHECK=<source>/cmake/CheckLayerFence.cmake
#         -DWORK=<scratch folder> -P tst_LayerFence.cmake
cmake_minimum_required(VERSION 3.25)
foreach(var RULES CHECK)
    if(NOT EXISTS "${${var}}")
        message(FATAL_ERROR "tst_LayerFence: ${var} (${${var}}) is not there")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")

# The planted files, one line per entry, and the reason the fence must give for each line it
# refuses ("" where it must let the line through).
set(_model_h
    "#pragma once|"
    "#include \"model/Records.h\"|"
    "#include <QtCore/QString>|"
    "#include <QString>|"
    "#include \"../ui/mainwindow/MainWindow.h\"|climbs out of its folder"
    "#include \"model/../storage/Database.h\"|climbs out of its folder"
    "#include <QtWidgets/QWidget>|the model layer does not link QtWidgets here"
    "#  include <QtSql/QSqlQuery>|the model layer does not link QtSql here"
    "#include <qt6/QtWidgets/QWidget>|names Qt through its install folder"
    "#include <qt6/QtCore/QString>|names Qt through its install folder"
    "#include <x86_64-linux-gnu/qt6/QtCore/QString>|names Qt through its install folder"
    "#include <unistd.h>|calls the system directly"
    "# include <fcntl.h>|calls the system directly"
    "#include <sys/stat.h>|calls the system directly"
    "#include <pwd.h>|calls the system directly"
    "#include <netinet/in.h>|calls the system directly")
# Platform keeps the session bus inside its sources: its headers may not name it.
set(_platform_h
    "#pragma once|"
    "#include <QtDBus/QDBusConnection>|the platform layer does not link QtDBus here")
set(_platform_cpp
    "#include \"platform/Planted.h\"|"
    "#include <QtDBus/QDBusConnection>|"
    "#include <sys/socket.h>|")

set(_expected)
set(_planted)
foreach(plant model/Planted.h:_model_h platform/Planted.h:_platform_h
              platform/Planted.cpp:_platform_cpp)
    string(REPLACE ":" ";" plant "${plant}")
    list(GET plant 0 _file)
    list(GET plant 1 _lines)
    set(_text)
    set(_number 0)
    foreach(entry IN LISTS ${_lines})
        math(EXPR _number "${_number} + 1")
        string(FIND "${entry}" "|" _bar REVERSE)
        string(SUBSTRING "${entry}" 0 ${_bar} _line)
        math(EXPR _bar "${_bar} + 1")
        string(SUBSTRING "${entry}" ${_bar} -1 _why)
        string(APPEND _text "${_line}\n")
        if(_why)
            list(APPEND _expected "${_file}:${_number}: ${_line}: ${_why}")
        endif()
    endforeach()
    file(WRITE "${WORK}/${_file}" "${_text}")
    list(APPEND _planted "${_file}")
endforeach()

# The build's rules (the Qt modules there are and those each layer links), over the planted
# files alone.
file(WRITE "${WORK}/rules.cmake"
     "include(\"${RULES}\")\n"
     "set(LARK_FENCE_SOURCE_DIR \"${WORK}\")\n"
     "set(LARK_FENCE_LAYERS model platform)\n"
     "set(LARK_FENCE_model_FILES \"${WORK}/model/Planted.h\")\n"
     "set(LARK_FENCE_platform_FILES \"${WORK}/platform/Planted.h;${WORK}/platform/Planted.cpp\")\n")
execute_process(COMMAND "${CMAKE_COMMAND}" -DRULES=${WORK}/rules.cmake -P "${CHECK}"
                RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
set(_shown "${_out}${_err}")
# CMake wraps a message's lines: compared with every run of blanks as one space.
string(REGEX REPLACE "[ \t\n]+" " " _said "${_out}${_err}")

set(_faults)
if(_result EQUAL 0)
    list(APPEND _faults "the check passed")
endif()
foreach(expected IN LISTS _expected)
    string(REGEX REPLACE "[ \t]+" " " expected "${expected}")
    string(FIND "${_said}" "${expected}" _at)
    if(_at LESS 0)
        list(APPEND _faults "not refused: ${expected}")
    endif()
endforeach()
# Every line the check refused is one of the planted ones above.
string(REGEX MATCHALL "(model|platform)/Planted\\.(h|cpp):[0-9]+:" _refused "${_said}")
list(LENGTH _refused _refusedCount)
list(LENGTH _expected _expectedCount)
if(NOT _refusedCount EQUAL _expectedCount)
    list(APPEND _faults "${_refusedCount} lines refused, ${_expectedCount} expected")
endif()
if(_faults)
    list(JOIN _faults "\n  " _faults)
    message(FATAL_ERROR "The layer fence let a planted include through or refused a sound one:\n"
                        "  ${_faults}\nIt said:\n${_shown}")
endif()
message(STATUS "The layer fence refused the ${_expectedCount} planted includes, and only those")
