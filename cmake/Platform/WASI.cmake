# What CMake 3.25 does not know about WASI: static libraries only, programs ending in .wasm.
set(UNIX 1)
set(CMAKE_EXECUTABLE_SUFFIX ".wasm")
set(CMAKE_STATIC_LIBRARY_PREFIX "lib")
set(CMAKE_STATIC_LIBRARY_SUFFIX ".a")
set(CMAKE_FIND_LIBRARY_PREFIXES "lib")
set(CMAKE_FIND_LIBRARY_SUFFIXES ".a")
set(CMAKE_C_OUTPUT_EXTENSION ".o")
set(CMAKE_CXX_OUTPUT_EXTENSION ".o")
set_property(GLOBAL PROPERTY TARGET_SUPPORTS_SHARED_LIBS FALSE)
# Each root of CMAKE_FIND_ROOT_PATH is an installation prefix (include/, lib/, lib/cmake/).
set(CMAKE_SYSTEM_PREFIX_PATH /)
