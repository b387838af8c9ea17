# IDL through widl. Its imports (oaidl.idl) come from Wine's headers and
# importlib("stdole2.tlb") from wine32's library folder.
find_path(WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows /usr/include/wine/windows REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_path(WINE_TLB_DIR stdole2.tlb PATHS /usr/lib/i386-linux-gnu/wine/i386-windows REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# widl_compile(<idl> OUT_DIR <dir>) makes <name>.h, <name>_i.c and <name>.tlb.
function(widl_compile idl)
  cmake_parse_arguments(W "" "OUT_DIR" "" ${ARGN})
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(out ${W_OUT_DIR})
  file(MAKE_DIRECTORY ${out})
  add_custom_command(
    OUTPUT ${out}/${name}.h ${out}/${name}_i.c ${out}/${name}.tlb
    COMMAND ${WIDL_EXECUTABLE} --win32 -I${WINE_IDL_DIR} -L${WINE_TLB_DIR}
            -h -H ${out}/${name}.h -u -U ${out}/${name}_i.c -t -T ${out}/${name}.tlb ${idl_abs}
    DEPENDS ${idl_abs}
    COMMENT "widl ${name}.idl")
endfunction()
