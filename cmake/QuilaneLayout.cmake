# The folders' dependency graph, kept by the build.
#
# Every folder spells its includes "folder/header.h". Each library publishes
# an include root of its own under the build tree that holds one entry, a link
# named after its folder, so a target sees a folder's headers only when it
# links that folder's library: a header-only include cannot skip the graph.
# quilane_check_layout() then refuses, at configure time, any link that runs
# against the graph (docs/architecture.md, read below), and any include that
# climbs out of a folder.

# Gives `target` the include root of the folder `folder` (the current source
# folder when omitted): <build>/include-roots/NAME/NAME -> the folder.
function(quilane_include_root target)
  if(ARGC GREATER 1)
    set(folder ${ARGV1})
  else()
    set(folder ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  get_filename_component(name ${folder} NAME)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${name})
  file(MAKE_DIRECTORY ${root})
  if(NOT IS_SYMLINK ${root}/${name})
    file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  elseif(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# The libraries of src/ and the libraries each may link are read from the one
# place the graph is written: the block opened by the line "```layers" in
# docs/architecture.md, one line per library, "quilane_NAME: the libraries it
# may link", each of those on an earlier line, so that the graph runs one way.
# They become QUILANE_LAYOUT_LIBRARIES and QUILANE_MAY_LINK_<library>.
# QUILANE_LAYOUT_GRAPH, set before the include, names another file.
if(NOT DEFINED QUILANE_LAYOUT_GRAPH)
  get_filename_component(QUILANE_LAYOUT_GRAPH ${CMAKE_CURRENT_LIST_DIR}/../docs/architecture.md
                         ABSOLUTE)
endif()

function(quilane_read_layout_graph file)
  set(fault "The folders' dependency graph cannot be read from ${file}")
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${fault}: there is no such file")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} text)
  string(REPLACE "\r" "" text "\n${text}")
  string(FIND "${text}" "\n```layers\n" at)
  if(at EQUAL -1 OR NOT text MATCHES "\n```layers\n([^`]*)```")
    message(FATAL_ERROR "${fault}: it holds no block opened by a line \"```layers\" and "
                        "closed by a line \"```\"")
  endif()
  set(block "${CMAKE_MATCH_1}")
  string(SUBSTRING "${text}" 0 ${at} before)
  string(REGEX MATCHALL "\n" breaks "${before}")
  list(LENGTH breaks number)
  math(EXPR number "${number} + 1")  # the line of "```layers"
  string(REPLACE "\n" ";" lines "${block}")
  set(libraries "")
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(NOT line MATCHES "^(quilane_[a-z0-9_]+):(([ \t]+quilane_[a-z0-9_]+)*)$")
      message(FATAL_ERROR "${fault}: line ${number}, \"${line}\", is not "
                          "\"quilane_NAME: quilane_NAME ...\"")
    endif()
    set(library ${CMAKE_MATCH_1})
    string(REGEX MATCHALL "quilane_[a-z0-9_]+" may "${CMAKE_MATCH_2}")
    if(library IN_LIST libraries)
      message(FATAL_ERROR "${fault}: line ${number} lists ${library} a second time")
    endif()
    foreach(item IN LISTS may)
      if(NOT item IN_LIST libraries)
        message(FATAL_ERROR "${fault}: line ${number}, ${library} may link ${item}, "
                            "which is not listed above it")
      endif()
    endforeach()
    list(APPEND libraries ${library})
    set(QUILANE_MAY_LINK_${library} "${may}" PARENT_SCOPE)
  endforeach()
  if(NOT libraries)
    message(FATAL_ERROR "${fault}: its block lists no library")
  endif()
  set(QUILANE_LAYOUT_LIBRARIES ${libraries} PARENT_SCOPE)
endfunction()

quilane_read_layout_graph(${QUILANE_LAYOUT_GRAPH})

# The quilane_ targets that `target` links, directly or through its interface.
function(quilane_linked_targets target out)
  set(linked "")
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(items ${target} ${property})
    if(items)
      foreach(item IN LISTS items)
        if(item MATCHES "^quilane_")
          list(APPEND linked ${item})
        endif()
      endforeach()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES linked)
  set(${out} ${linked} PARENT_SCOPE)
endfunction()

# The targets defined in the build folders at or below the source folder
# `prefix`, searched from the build folder `dir`.
function(quilane_targets_below prefix dir out)
  set(targets "")
  if(dir STREQUAL prefix OR dir MATCHES "^${prefix}/")
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  endif()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    quilane_targets_below(${prefix} ${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(quilane_check_layout)
  set(faults "")
  # The libraries against the table.
  foreach(library IN LISTS QUILANE_LAYOUT_LIBRARIES)
    if(NOT TARGET ${library})
      continue()
    endif()
    quilane_linked_targets(${library} linked)
    foreach(item IN LISTS linked)
      if(NOT item IN_LIST QUILANE_MAY_LINK_${library})
        list(APPEND faults "${library} links ${item}, against the direction of the folders")
      endif()
    endforeach()
  endforeach()
  # Every library of src/ is in the table.
  quilane_targets_below(${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR} src_targets)
  foreach(target IN LISTS src_targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "LIBRARY$" AND NOT target IN_LIST QUILANE_LAYOUT_LIBRARIES)
      list(APPEND faults "${target} is a library of src/ missing from QUILANE_LAYOUT_LIBRARIES")
    endif()
  endforeach()
  # Nothing in src/ links a target of tools/; nothing in tools/ links app's library.
  if(EXISTS ${PROJECT_SOURCE_DIR}/tools)
    quilane_targets_below(${PROJECT_SOURCE_DIR}/tools ${PROJECT_SOURCE_DIR} tools_targets)
    foreach(target IN LISTS src_targets)
      quilane_linked_targets(${target} linked)
      foreach(item IN LISTS linked)
        if(item IN_LIST tools_targets)
          list(APPEND faults "${target} of src/ links ${item} of tools/")
        endif()
      endforeach()
    endforeach()
    foreach(target IN LISTS tools_targets)
      quilane_linked_targets(${target} linked)
      if("quilane_command_line" IN_LIST linked)
        list(APPEND faults "${target} of tools/ links quilane_command_line of src/app/")
      endif()
    endforeach()
  endif()
  # No include climbs out of its folder's root ("../").
  file(GLOB_RECURSE sources ${PROJECT_SOURCE_DIR}/src/*.h ${PROJECT_SOURCE_DIR}/src/*.cpp
       ${PROJECT_SOURCE_DIR}/tools/*.h ${PROJECT_SOURCE_DIR}/tools/*.cpp
       ${PROJECT_SOURCE_DIR}/web/*.h ${PROJECT_SOURCE_DIR}/web/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} climbing REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
    if(climbing)
      list(APPEND faults "${source} includes through \"../\": ${climbing}")
    endif()
  endforeach()
  if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "The folders' dependency graph is broken:\n  ${text}")
  endif()
endfunction()
