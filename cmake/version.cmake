# Derives every written form of the version from project(VERSION).
set(RAPPORTA_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(RAPPORTA_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(RAPPORTA_VERSION_REVISION ${PROJECT_VERSION_PATCH})

# Left-pads a number with zeros to the given width.
function(rapporta_zero_pad out value width)
  string(LENGTH "${value}" length)
  set(padded "${value}")
  if(length LESS width)
    math(EXPR missing "${width} - ${length}")
    string(REPEAT "0" ${missing} zeros)
    set(padded "${zeros}${value}")
  endif()
  set(${out} "${padded}" PARENT_SCOPE)
endfunction()

# The resource form pads minor to two and revision to four digits: "0.00.0029".
rapporta_zero_pad(_minor "${RAPPORTA_VERSION_MINOR}" 2)
rapporta_zero_pad(_revision "${RAPPORTA_VERSION_REVISION}" 4)
set(RAPPORTA_VERSION_RESOURCE_TEXT "${RAPPORTA_VERSION_MAJOR}.${_minor}.${_revision}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/version_numbers.h.in
               ${CMAKE_BINARY_DIR}/generated/version_numbers.h @ONLY)
