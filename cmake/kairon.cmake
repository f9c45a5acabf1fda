# kairon_hardening(): for the Windows programs of the directory and below:
# overflow checks on the stack and in the string and memory calls (mingw-w64's
# libssp, linked statically with the rest, so an exe stays one file);
# relocatable at a random address, data pages not executable, and no
# terminal-server compatibility shims.  tools/check_exe_headers.sh checks the
# product's exe.
macro(kairon_hardening)
  add_compile_definitions(_FORTIFY_SOURCE=2)
  add_compile_options(-fstack-protector-strong)
  add_link_options(-fstack-protector-strong LINKER:--tsaware LINKER:--dynamicbase LINKER:--nxcompat)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_link_options(LINKER:--high-entropy-va)
  endif()
endmacro()

# kairon_library(NAME DIR [DEPS...]): a static library of every .cpp in DIR.
# Files ending in _win.cpp go into the Windows builds only, _posix.cpp into the
# others, so a folder needs no list of its own when a file is added.
# process_setup.cpp is never one of them: nothing calls into it, so an archive
# would drop it; programs link it whole (kairon_process_setup).
function(kairon_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(picked)
  foreach(f IN LISTS all)
    if(f MATCHES "/process_setup\\.cpp$")
      continue()
    endif()
    if(f MATCHES "_win(_test)?\\.cpp$" AND NOT WIN32)
      continue()
    endif()
    if(f MATCHES "_posix(_test)?\\.cpp$" AND WIN32)
      continue()
    endif()
    list(APPEND picked ${f})
  endforeach()
  set(${out} ${picked} PARENT_SCOPE)
endfunction()

# kairon_process_setup(LIBRARY FILE): every program linking LIBRARY gets FILE's
# start-up effects (static initialisers) linked in whole.
function(kairon_process_setup library file)
  add_library(${library}_process_setup OBJECT ${file})
  target_include_directories(${library}_process_setup PRIVATE $<TARGET_PROPERTY:${library},INTERFACE_INCLUDE_DIRECTORIES>)
  target_link_libraries(${library} INTERFACE $<TARGET_OBJECTS:${library}_process_setup>)
endfunction()

function(kairon_library name dir)
  kairon_sources(srcs ${dir})
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# kairon_test(NAME DIR [DEPS...]): one test executable of every *_test.cpp in
# DIR, registered as one ctest entry (so Wine starts once per folder).  The
# entry passes only when the program's own summary shows its tests passed.
function(kairon_test name dir)
  kairon_sources(srcs ${dir})
  list(FILTER srcs INCLUDE REGEX "_test\\.cpp$")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} kairon_test_support GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  kairon_gtest_entry(${name} $<TARGET_FILE:${name}>)
endfunction()

# kairon_gtest_entry(NAME PROGRAM [ARGS...]): a ctest entry that runs a
# GoogleTest program (under the emulator when cross-compiling) and passes only
# when the program's own summary shows its tests passed.
function(kairon_gtest_entry name program)
  add_test(NAME ${name} COMMAND bash ${PROJECT_SOURCE_DIR}/tools/run-gtest.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                                  ${program} --gtest_color=no ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
