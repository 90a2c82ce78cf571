# Fails when a file under src/ includes a header of a folder it must not.
# Run by CTest with -DSOURCE_ROOT=<src folder>.
cmake_minimum_required(VERSION 3.25)

# The folders of src/, top first. A file may include the headers of its own
# folder and of the folders on the lines below its own; folders on one line
# include nothing of each other. program/ is the top: nothing includes it.
set(FOLDER_ORDER
    "program"
    "mainwindow"
    "dialogs web installer"
    "playback userchannels guide"
    "catalogue"
    "skin"
    "app")

set(rank 0)
set(known "")
foreach(line ${FOLDER_ORDER})
    string(REPLACE " " ";" folders "${line}")
    foreach(folder ${folders})
        set(rank_${folder} ${rank})
        list(APPEND known ${folder})
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

set(failures "")
file(GLOB entries LIST_DIRECTORIES true RELATIVE "${SOURCE_ROOT}" "${SOURCE_ROOT}/*")
foreach(entry ${entries})
    if(IS_DIRECTORY "${SOURCE_ROOT}/${entry}" AND NOT entry IN_LIST known)
        list(APPEND failures "src/${entry}/ has no place in the folder order")
    endif()
endforeach()
foreach(folder ${known})
    if(NOT IS_DIRECTORY "${SOURCE_ROOT}/${folder}")
        list(APPEND failures "the folder order names src/${folder}/, which is not there")
    endif()
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_ROOT}" "${SOURCE_ROOT}/*.h" "${SOURCE_ROOT}/*.cpp")
set(count 0)
foreach(source ${sources})
    string(REGEX MATCH "^[^/]+" folder "${source}")
    if(NOT folder IN_LIST known)
        continue()
    endif()
    file(STRINGS "${SOURCE_ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line ${includes})
        string(REGEX MATCH "\"([^\"/]+)/[^\"]*\"" quoted "${line}")
        set(target "${CMAKE_MATCH_1}")
        if(target STREQUAL folder OR NOT target IN_LIST known)
            continue()
        endif()
        math(EXPR count "${count} + 1")
        if(NOT rank_${target} GREATER rank_${folder})
            list(APPEND failures "src/${source}: ${quoted} (${folder}/ may not include ${target}/)")
        endif()
    endforeach()
endforeach()

if(count EQUAL 0)
    message(FATAL_ERROR "no include of another folder found under ${SOURCE_ROOT}")
endif()
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "includes against the folder order (tests/CheckFolderIncludes.cmake):\n  ${text}")
endif()
message(STATUS "${count} includes of other folders follow the folder order")
