# What every library that takes the vendor's RFC library's place has in
# common: the vendor's file name (LIBRFC32.dll, librfc32.so), the seven
# functions and nothing else exported, and on 32-bit Windows the vendor's plain
# export names ("RfcOpen", not "RfcOpen@4"), by which the sensor looks them up.
#
#   quenmarel_rfc_library(TARGET)
#       makes the SHARED library TARGET one that can lie beside the sensor in
#       place of the vendor's.
#   quenmarel_rfc_piece(TARGET SOURCE...)
#       makes TARGET a static library such a library is built from:
#       position-independent, nothing of it exported, its headers found by
#       their bare names in the folder that defines it.
#   quenmarel_rfc_library_beside(TARGET LIBRARY)
#       builds LIBRARY whenever the executable TARGET is built, so that it lies
#       beside it for the tests; TARGET loads whichever library lies there at
#       run time and links none.

# The seven functions, each with the bytes its arguments take on the stack in
# a 32-bit stdcall call: the compiler refers to `RfcOpen` as `_RfcOpen@4`.
set(QUENMAREL_RFC_FUNCTIONS RfcCall@16 RfcClose@4 RfcEnvironment@4 RfcLastError@4 RfcOpen@4 RfcOpenEx@8
                            RfcReceive@16)

set(rfc_exports_dir ${CMAKE_BINARY_DIR}/rfc_exports)
if(WIN32)
  set(QUENMAREL_RFC_DEFINITION_FILE ${rfc_exports_dir}/LIBRFC32.def)
  set(rfc_definition "LIBRARY LIBRFC32.dll\nEXPORTS\n")
  foreach(function ${QUENMAREL_RFC_FUNCTIONS})
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      # 64-bit Windows has one calling convention and no decoration.
      string(REGEX REPLACE "@.*" "" function ${function})
    endif()
    string(APPEND rfc_definition "  ${function}\n")
  endforeach()
  file(CONFIGURE OUTPUT ${QUENMAREL_RFC_DEFINITION_FILE} CONTENT "${rfc_definition}")

  # The linker reads the decorated names from the definition file; --kill-at
  # drops the "@N" from the names the DLL exports.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QUENMAREL_RFC_KILL_AT --kill-at)
  endif()
else()
  # A version script: the static C++ runtime inside the library would otherwise
  # export hundreds of its own symbols alongside the seven.
  set(QUENMAREL_RFC_VERSION_SCRIPT ${rfc_exports_dir}/librfc32.map)
  set(rfc_version "{\n  global:\n")
  foreach(function ${QUENMAREL_RFC_FUNCTIONS})
    string(REGEX REPLACE "@.*" "" function ${function})
    string(APPEND rfc_version "    ${function};\n")
  endforeach()
  string(APPEND rfc_version "  local:\n    *;\n};\n")
  file(CONFIGURE OUTPUT ${QUENMAREL_RFC_VERSION_SCRIPT} CONTENT "${rfc_version}")
endif()

function(quenmarel_rfc_library target)
  target_link_libraries(${target} PRIVATE rfc_interface)
  target_compile_definitions(${target} PRIVATE QUENMAREL_BUILDING_RFC_LIBRARY)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME LIBRFC32 PREFIX "")
    target_sources(${target} PRIVATE ${QUENMAREL_RFC_DEFINITION_FILE})
    if(QUENMAREL_RFC_KILL_AT)
      target_link_options(${target} PRIVATE -Wl,${QUENMAREL_RFC_KILL_AT})
    endif()
  else()
    set_target_properties(${target} PROPERTIES OUTPUT_NAME rfc32 PREFIX lib
                                               LINK_DEPENDS ${QUENMAREL_RFC_VERSION_SCRIPT})
    target_link_options(${target} PRIVATE -Wl,--version-script=${QUENMAREL_RFC_VERSION_SCRIPT})
  endif()
endfunction()

function(quenmarel_rfc_piece target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
endfunction()

function(quenmarel_rfc_library_beside target library)
  add_dependencies(${target} ${library})
endfunction()
