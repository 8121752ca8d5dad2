# One static library per source folder; its sources are the folder's *.cpp files, so adding a
# file needs no edit here. Folders without sources yet define no library.
function(kestrin_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  # Sibling libraries join as their folders gain sources; until then they are left out.
  set(deps "")
  foreach(dep ${ARG_DEPS})
    if(TARGET ${dep} OR NOT dep MATCHES "^kestrin_")
      list(APPEND deps ${dep})
    endif()
  endforeach()
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${deps})
endfunction()

# One GoogleTest executable per test folder (tests/ mirrors src/), run under CTest on Qt's
# offscreen platform with the generated test media.
function(kestrin_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  foreach(lib ${ARG_LIBS})
    if(NOT TARGET ${lib})
      return()
    endif()
  endforeach()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kestrin_testsupport GTest::gtest GTest::gmock)
  add_dependencies(${name} test_media)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy"
               TIMEOUT 600)
endfunction()
