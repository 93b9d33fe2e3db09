# rovex_core_library(NAME SOURCES...): a static library of the core layer. The core never
# sees Qt: configuring fails if one of its files includes a Qt header, so the rule holds
# even where a Qt include path happens to be reachable.
function(rovex_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC rovex_common)
  foreach(source IN LISTS ARGN)
    get_filename_component(full "${source}" ABSOLUTE)
    file(STRINGS "${full}" qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/|qt)")
    if(qt_includes)
      message(FATAL_ERROR "core library ${name}: ${source} includes a Qt header: ${qt_includes}")
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY ROVEX_CORE_LIBRARIES ${name})
endfunction()
