# One interface target that carries the language standard, warnings and strict Qt flags;
# every target of the project links it.
add_library(rovex_common INTERFACE)
target_compile_features(rovex_common INTERFACE cxx_std_20)
target_compile_options(rovex_common INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wunused -Woverloaded-virtual -Wconversion -Wsign-conversion -Wnull-dereference
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
  # clang (the sanitizer build), unlike g++, warns when an aggregate initializer leaves out
  # members that have default member initializers, which the project does on purpose.
  $<$<CXX_COMPILER_ID:Clang>:-Wno-missing-field-initializers>)
target_compile_definitions(rovex_common INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CONTEXTLESS_CONNECT QT_USE_QSTRINGBUILDER
  QT_NO_KEYWORDS)
target_include_directories(rovex_common INTERFACE ${PROJECT_SOURCE_DIR}/src)
set(CMAKE_CXX_EXTENSIONS OFF)
