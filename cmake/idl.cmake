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
    # Wine's IDL files, and its stdole2.tlb for importlib.
    add_custom_command(OUTPUT ${outputs}
      COMMAND ${RAPPORTA_WIDL} -I/usr/include/wine/wine/windows
              -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
              -h -H ${out}/${name}.h -u -U ${out}/${name}_i.c -t -T ${out}/${name}.tlb ${idl}
      DEPENDS ${idl} VERBATIM)
  endif()
  add_library(${target} STATIC ${out}/${name}_i.c ${out}/${name}.h)
  target_include_directories(${target} PUBLIC ${out})
  target_link_libraries(${target} PUBLIC ole32 oleaut32 uuid)
endfunction()
