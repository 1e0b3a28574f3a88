# Fails when the core library calls any heap allocator: the game allocates nothing.
execute_process(COMMAND ${NM} --undefined-only --demangle ${LIB}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
string(REGEX MATCHALL "[^\n]*( malloc| calloc| realloc| free| operator new| operator delete)[^\n]*"
       found "${symbols}")
if(found)
  message(FATAL_ERROR "the core library allocates:\n${found}")
endif()
message(STATUS "no allocator referenced by ${LIB}")
