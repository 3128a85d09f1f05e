# Shared build rules of both configurations.

option(ZIR_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# The same floating-point code on the host and under Wine: SSE2, never x87.
add_compile_options(-msse2 -mfpmath=sse -Wall -Wextra)

if(ZIR_WIN32)
  # win32: the product (i686). win64: the same sources as x86_64 test copies,
  # for machines that cannot run 32-bit programs.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZIR_WINDOWS_ARCH win64)
    set(ZIR_WINE_LOADER /usr/lib/wine/wine64)
    set(ZIR_FAKE_DSM_NAME twaindsm)
  else()
    set(ZIR_WINDOWS_ARCH win32)
    set(ZIR_WINE_LOADER wine)
    set(ZIR_FAKE_DSM_NAME twain_32)
  endif()
  # The recording source manager of tools/ replaces Wine's own.
  set(ZIR_FAKE_DSM_OVERRIDE "WINEDLLOVERRIDES=${ZIR_FAKE_DSM_NAME}=n")
  # Libgcc, libstdc++ and winpthread linked in: the modules import only system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # GetProcAddress results are cast to their real signatures.
  add_compile_options(-Wno-cast-function-type)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
  # Runs a Windows program of the build from a test script; empty on the host.
  set(ZIR_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
elseif(ZIR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz preset: the host build with clang, every object instrumented for
# libFuzzer; the fuzzers themselves are built by the target fuzz_targets.
option(ZIR_FUZZ "Build the libFuzzer fuzz targets (host build with clang)" OFF)
if(ZIR_FUZZ)
  if(ZIR_WIN32 OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZIR_FUZZ needs the host build with clang (the fuzz preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  # One line per fuzzer, "name inputs...": what tools/fuzz/run-fuzzers.sh runs.
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz_targets.txt "")
endif()
add_custom_target(fuzz_targets)

# The Python of test scripts and numpy references: the first python3 that has
# numpy (a Python of one's own may come first on the path without it).
find_program(ZIR_PYTHON_IN_PATH python3)
foreach(candidate IN ITEMS ${ZIR_PYTHON_IN_PATH} /usr/bin/python3)
  execute_process(COMMAND ${candidate} -c "import numpy" RESULT_VARIABLE no_numpy OUTPUT_QUIET ERROR_QUIET)
  if(no_numpy EQUAL 0)
    set(ZIR_PYTHON ${candidate})
    break()
  endif()
endforeach()
if(NOT ZIR_PYTHON)
  message(FATAL_ERROR "no python3 with numpy found: run deps/setup-machine.sh")
endif()

# Third-party libraries built by deps/build-deps.sh, outside the work tree.
function(zir_find_dependencies)
  if(NOT ZIR_DEPS_DIR)
    if(DEFINED ENV{ZIR_DEPS_DIR})
      set(ZIR_DEPS_DIR $ENV{ZIR_DEPS_DIR})
    else()
      set(ZIR_DEPS_DIR $ENV{HOME}/.cache/zir-deps/current)
    endif()
  endif()
  if(ZIR_WIN32)
    set(root ${ZIR_DEPS_DIR}/${ZIR_WINDOWS_ARCH})
  else()
    set(root ${ZIR_DEPS_DIR}/host)
  endif()
  if(NOT EXISTS ${root}/jpeg8/lib/libjpeg.a)
    message(FATAL_ERROR "Third-party libraries not found under ${root}: run deps/build-deps.sh first")
  endif()
  set(ZIR_DEPS_ROOT ${root} CACHE INTERNAL "")
  foreach(lib jpeg8:jpeg jpeg12:jpeg tiff:tiff png:png16)
    string(REPLACE ":" ";" parts ${lib})
    list(GET parts 0 name)
    list(GET parts 1 file)
    add_library(zir_${name} STATIC IMPORTED GLOBAL)
    set_target_properties(zir_${name} PROPERTIES
      IMPORTED_LOCATION ${root}/${name}/lib/lib${file}.a
      INTERFACE_INCLUDE_DIRECTORIES ${root}/${name}/include)
  endforeach()
  if(ZIR_WIN32)
    add_library(zir_zlib STATIC IMPORTED GLOBAL)
    set_target_properties(zir_zlib PROPERTIES IMPORTED_LOCATION /usr/${ZIR_MINGW_PREFIX}/lib/libz.a)
  else()
    find_package(ZLIB REQUIRED)
    add_library(zir_zlib INTERFACE IMPORTED GLOBAL)
    target_link_libraries(zir_zlib INTERFACE ZLIB::ZLIB)
  endif()
  set_target_properties(zir_tiff PROPERTIES INTERFACE_LINK_LIBRARIES zir_zlib)
  set_target_properties(zir_png PROPERTIES INTERFACE_LINK_LIBRARIES zir_zlib)
  # The 12-bit build's symbols are renamed: include <jpeg12/jpeglib12.h> to reach it.
endfunction()

# zir_module_definition(<out> <template>): the module-definition file of a
# Windows module. The template names stdcall functions as the 32-bit linker
# decorates them (DS_Entry@20); x86_64 has no such decoration, so there the
# argument bytes are dropped. An ordinal (" @1") stays.
function(zir_module_definition out template)
  file(READ ${template} text)
  if(ZIR_WINDOWS_ARCH STREQUAL win64)
    string(REGEX REPLACE "([A-Za-z0-9_])@[0-9]+" "\\1" text "${text}")
  endif()
  file(GENERATE OUTPUT ${out} CONTENT "${text}")
endfunction()

# GoogleTest from Debian's sources, built for the configuration at hand.
function(zir_add_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endfunction()

# zir_add_test(NAME name LABEL folder SOURCES ... [LIBS ...] [DESKTOP] [REAL_PROMPTS])
# One GoogleTest program; ctest runs it (under Wine in the win32 configuration)
# with the folder's name as its label. DESKTOP: the test drives real windows
# (modal dialogs, focus, screenshots), so it never runs beside another such test.
# A prompt that a test of the data source did not answer fails it, unless
# REAL_PROMPTS: the program tests the platform's own dialogs.
function(zir_add_test)
  cmake_parse_arguments(T "DESKTOP;REAL_PROMPTS" "NAME;LABEL" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  # Tests of the data source's libraries: a prompt the test did not answer fails it.
  foreach(lib IN LISTS T_LIBS)
    if(lib IN_LIST ZIR_LAYERS AND TARGET foundation_test_prompts AND NOT T_REAL_PROMPTS)
      target_sources(${T_NAME} PRIVATE $<TARGET_OBJECTS:foundation_test_prompts>)
      break()
    endif()
  endforeach()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL}
    ENVIRONMENT "ZIR_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR};${T_ENVIRONMENT}")
  if(T_DESKTOP)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK zir_desktop)
  endif()
endfunction()

# Each library of a layer links only libraries of its own folder or of the
# folders before it in the layer list; configuring fails on a link upward.
function(zir_check_layer_links layers)
  foreach(layer IN LISTS layers)
    zir_collect_library_targets(${CMAKE_SOURCE_DIR}/${layer} libraries)
    list(FIND layers ${layer} rank)
    foreach(library IN LISTS libraries)
      get_target_property(links ${library} LINK_LIBRARIES)
      foreach(link IN LISTS links)
        if(NOT TARGET ${link})
          continue()
        endif()
        get_target_property(link_dir ${link} SOURCE_DIR)
        file(RELATIVE_PATH link_path ${CMAKE_SOURCE_DIR} ${link_dir})
        string(REGEX REPLACE "/.*" "" link_folder "${link_path}")
        list(FIND layers "${link_folder}" link_rank)
        if(link_rank GREATER rank)
          message(FATAL_ERROR "${library} (layer ${layer}) links ${link} of the higher layer ${link_folder}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()

# The static libraries defined in a folder and its subfolders, tests left out.
function(zir_collect_library_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  set(result)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      list(APPEND result ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    if(NOT subdir MATCHES "/tests$")
      zir_collect_library_targets(${subdir} sub)
      list(APPEND result ${sub})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# zir_add_fuzz_target(NAME name LABEL folder SOURCES ... [LIBS ...] [INPUTS file-or-folder ...])
# A fuzz target: its source defines LLVMFuzzerTestOneInput. With ZIR_FUZZ
# (the fuzz preset: clang and libFuzzer) it becomes the fuzzer <name>_fuzz;
# in every configuration <name>_replay runs the kept inputs through it as a
# test (crash files found by the fuzzer go into the target's folder of INPUTS).
function(zir_add_fuzz_target)
  cmake_parse_arguments(F "" "NAME;LABEL" "SOURCES;LIBS;INPUTS" ${ARGN})
  if(ZIR_FUZZ)
    add_executable(${F_NAME}_fuzz ${F_SOURCES})
    target_link_libraries(${F_NAME}_fuzz PRIVATE ${F_LIBS})
    target_link_options(${F_NAME}_fuzz PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${F_NAME}_fuzz)
    string(JOIN " " inputs ${F_INPUTS})
    file(APPEND ${CMAKE_BINARY_DIR}/fuzz_targets.txt "${F_NAME} ${inputs}\n")
  endif()
  add_executable(${F_NAME}_replay ${F_SOURCES} ${CMAKE_SOURCE_DIR}/tools/fuzz/replay_main.cpp)
  target_link_libraries(${F_NAME}_replay PRIVATE ${F_LIBS})
  add_test(NAME ${F_NAME}_replay COMMAND ${F_NAME}_replay ${F_INPUTS})
  # Its scratch files in the build tree, apart from a fuzzer's run.
  set_tests_properties(${F_NAME}_replay PROPERTIES LABELS "${F_LABEL};fuzz" SKIP_RETURN_CODE 77
                       ENVIRONMENT "TMPDIR=${CMAKE_CURRENT_BINARY_DIR}")
endfunction()
