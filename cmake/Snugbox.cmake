# snugbox_library(<name> [DEPENDS <targets>...] [PRIVATE_DEPENDS <targets>...])
# One static library per source folder, made of every .cpp in that folder.
function(snugbox_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A folder that holds headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${SNUGBOX_ROOT})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${SNUGBOX_ROOT})
  if(ARG_DEPENDS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  endif()
  if(ARG_PRIVATE_DEPENDS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_DEPENDS})
  endif()
endfunction()

# snugbox_test(<name> SOURCES_DIR <dir> DEPENDS <targets>...)
# One test program per tests/ folder; every test case becomes its own ctest entry.
function(snugbox_test name)
  cmake_parse_arguments(ARG "" "SOURCES_DIR" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_SOURCES_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE SNUGBOX_DATA_DIR="${SNUGBOX_DATA_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    # A dialog left open by a broken case would otherwise wait for input until CI gives up.
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
