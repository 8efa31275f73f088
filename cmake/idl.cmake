# Wine's IDL files, and its stdole2.tlb for importlib.
set(RAPPORTA_WIDL_FLAGS -I/usr/include/wine/wine/windows
    -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows)

# rapporta_compile_idl(<target> <file.idl>)
# Compiles an IDL file into a header, its GUID definitions and a type library
# in the current binary folder, and makes <target>: a static library holding
# the GUIDs, with the header on its include path. The type library is
# <binary folder>/<name>.tlb, for a resource script to embed.
function(rapporta_compile_idl target idl)
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  set(outputs ${out}/${name}.h ${out}/${name}_i.c ${out}/${name}.tlb)
  if(MSVC)
    add_custom_command(OUTPUT ${outputs}
      COMMAND midl /nologo /h ${name}.h /iid ${name}_i.c /tlb ${name}.tlb ${idl}
      WORKING_DIRECTORY ${out} DEPENDS ${idl} VERBATIM)
  else()
    add_custom_command(OUTPUT ${outputs}
      COMMAND ${RAPPORTA_WIDL} ${RAPPORTA_WIDL_FLAGS}
              -h -H ${out}/${name}.h -u -U ${out}/${name}_i.c -t -T ${out}/${name}.tlb ${idl}
      DEPENDS ${idl} VERBATIM)
  endif()
  add_library(${target} STATIC ${out}/${name}_i.c ${out}/${name}.h)
  target_include_directories(${target} PUBLIC ${out})
  target_link_libraries(${target} PUBLIC ole32 oleaut32 uuid)
endfunction()

# rapporta_compile_type_library(<out.tlb> <file.idl> <macro>)
# Only the type library of an IDL file, with <macro> defined: a variant of a
# library whose header and GUIDs come from the plain compile.
function(rapporta_compile_type_library tlb idl macro)
  get_filename_component(idl ${idl} ABSOLUTE)
  if(MSVC)
    add_custom_command(OUTPUT ${tlb}
      COMMAND midl /nologo /D ${macro} /tlb ${tlb} ${idl}
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DEPENDS ${idl} VERBATIM)
  else()
    add_custom_command(OUTPUT ${tlb}
      COMMAND ${RAPPORTA_WIDL} ${RAPPORTA_WIDL_FLAGS} -D${macro} -t -T ${tlb} ${idl}
      DEPENDS ${idl} VERBATIM)
  endif()
endfunction()
