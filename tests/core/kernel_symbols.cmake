# The kernel objects are compiled for instruction sets the CPU may lack. The linker keeps
# one copy of every weak (inline or template) function, possibly the copy from a kernel
# object, which would then run before the kernel choice on a CPU without that instruction
# set. So each kernel object may define only its FastStep entry points and local symbols.
# Usage: cmake -DNM=nm -DOBJECTS="a.o|b.o" -P kernel_symbols.cmake
string(REPLACE "|" ";" objects "${OBJECTS}")
set(failures "")
foreach(object IN LISTS objects)
  execute_process(COMMAND ${NM} --defined-only ${object} OUTPUT_VARIABLE symbols
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${object}")
  endif()
  string(REPLACE "\n" ";" lines "${symbols}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F]* ([A-Za-z]) (.+)$")
      set(type "${CMAKE_MATCH_1}")
      set(name "${CMAKE_MATCH_2}")
      if(type MATCHES "^[a-z]$" AND NOT type MATCHES "^[uvw]$")
        continue()  # local to the object
      endif()
      if(type STREQUAL "T" AND name MATCHES "FastStep")
        continue()  # an entry point
      endif()
      string(APPEND failures "  ${object}: ${type} ${name}\n")
    endif()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "kernel objects define symbols the rest of the program could use:\n${failures}")
endif()
message(STATUS "kernel objects define only their entry points")
