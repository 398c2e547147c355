# Rules of the Windows tarq.dll, on the final `tarq` target: the exports of
# the .def file made from the export table, and only system DLLs needed at
# run time (the C++ runtime, libgcc and the thread library are linked in).
#   32-bit: __stdcall exports. The .def lists the decorated names
#   (NAME@argument-bytes), so the link fails if an export's argument size
#   drifts from the header; --kill-at exports them undecorated.
#   64-bit: one calling convention and undecorated names already.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TARQ_WIN_ARCH x64)
else()
  set(TARQ_WIN_ARCH x86)
endif()
set(TARQ_DEF ${TARQ_EXPORTS_DIR}/tarq-${TARQ_WIN_ARCH}.def)
target_sources(tarq PRIVATE ${TARQ_DEF})
set_target_properties(tarq PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib"
  OUTPUT_NAME tarq LINK_DEPENDS ${TARQ_DEF})
target_link_options(tarq PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(tarq PRIVATE oleaut32)
if(TARQ_WIN_ARCH STREQUAL "x86")
  target_link_options(tarq PRIVATE -Wl,--kill-at)
  # The linker's import library would carry the killed names too, which a
  # __stdcall caller (who asks for NAME@n) cannot link against. Rebuild it
  # from the .def: symbols NAME@n, imported by the undecorated name.
  find_program(TARQ_DLLTOOL NAMES ${CMAKE_CXX_COMPILER_TARGET}-dlltool i686-w64-mingw32-dlltool dlltool REQUIRED)
  add_custom_command(TARGET tarq POST_BUILD
    COMMAND ${TARQ_DLLTOOL} -d ${TARQ_DEF} -D tarq.dll -k -l $<TARGET_LINKER_FILE:tarq>
    VERBATIM)
endif()

# The library for programs that ship without the DLL (tarq.exe): linked in,
# with the C++ runtime, so that they too need only system DLLs.
add_library(tarq_static STATIC ${TARQ_LAYER_OBJECTS})
set_target_properties(tarq_static PROPERTIES OUTPUT_NAME tarq_static)
target_include_directories(tarq_static PUBLIC ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(tarq_static PUBLIC oleaut32)
target_link_options(tarq_static INTERFACE -static -static-libgcc -static-libstdc++)
