# What ships is built from what ships.  The test doubles (the stand-in classic
# library in rfclib/, the stand-in NetWeaver library, rfcsim) imitate the
# vendor's side; shipped code built from them would agree with every fault
# they share.  quenmarel_check_shipped(TARGET...) fails the configuration when
# a TARGET, or anything it links, links a test double's target or has a test
# double's folder on its include path.

set(QUENMAREL_TEST_DOUBLE_TARGETS rfc32 rfc32_rfc_ini_at_load rfc_wire_format rfc_transport rfc_call_reply nwrfc_standin rfcsim)
set(QUENMAREL_TEST_DOUBLE_FOLDERS ${PROJECT_SOURCE_DIR}/rfclib ${PROJECT_SOURCE_DIR}/nwrfc-standin
                                  ${PROJECT_SOURCE_DIR}/tools/rfcsim)

# Checks `target`, reached from the shipped `shipped`, and what it links.
function(quenmarel_check_shipped_piece shipped target)
  if(target IN_LIST QUENMAREL_TEST_DOUBLE_TARGETS)
    message(FATAL_ERROR "${shipped} is shipped but is built from the test double ${target}")
  endif()
  get_target_property(type ${target} TYPE)
  set(properties INTERFACE_LINK_LIBRARIES INTERFACE_INCLUDE_DIRECTORIES)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    list(APPEND properties LINK_LIBRARIES INCLUDE_DIRECTORIES)
  endif()
  foreach(property ${properties})
    get_target_property(values ${target} ${property})
    if(NOT values)
      continue()
    endif()
    foreach(value IN LISTS values)
      foreach(folder ${QUENMAREL_TEST_DOUBLE_FOLDERS})
        if(value STREQUAL folder)
          message(FATAL_ERROR "${shipped} is shipped but ${target} has the test double's ${folder} on its path")
        endif()
      endforeach()
      # A static library's private links show as $<LINK_ONLY:name>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" linked "${value}")
      if(property MATCHES "LINK_LIBRARIES" AND TARGET "${linked}")
        quenmarel_check_shipped_piece(${shipped} ${linked})
      endif()
    endforeach()
  endforeach()
endfunction()

function(quenmarel_check_shipped)
  foreach(shipped ${ARGN})
    quenmarel_check_shipped_piece(${shipped} ${shipped})
  endforeach()
endfunction()
