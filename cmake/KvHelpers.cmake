include(GNUInstallDirs)
# The installable library (shared and static, linked from the folder
# libraries' own objects, so it costs two link steps and no compiling).
if(KV_SANITIZE OR KV_BUILD_FUZZ)
  set(kv_install_default OFF)
else()
  set(kv_install_default ON)
endif()
option(KV_INSTALL "Build the installable library and its CMake and pkg-config packages" ${kv_install_default})

# Every source folder is one static library made of the files it holds, so
# adding a file needs no change here. A folder without sources yet becomes an
# interface library that only carries its dependencies.
function(kv_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  set(cpp ${srcs})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
  kv_install_folder(${name} "${cpp}" "${ARG_DEPS}" ${srcs})
endfunction()

# --- Installed library (cmake/KvInstall.cmake puts it together) ---------------
# Each folder library records its objects and outside dependencies, and its
# headers are installed under include/vort/ with their paths relative to the
# source root, so installed code includes them as in-tree code does.
function(kv_install_folder name cpp deps)
  if(NOT KV_INSTALL)
    return()
  endif()
  set(headers ${ARGN})
  list(FILTER headers INCLUDE REGEX "\\.h$")
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(headers)
    install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vort/${rel} COMPONENT devel)
  endif()
  set_property(GLOBAL APPEND PROPERTY KV_FOLDER_NAMES ${name})
  if(cpp)
    set_property(GLOBAL APPEND PROPERTY KV_FOLDER_LIBRARIES ${name})
  endif()
  set_property(GLOBAL APPEND PROPERTY KV_FOLDER_DEPS ${deps})
  # Resource files compiled into a static library only register themselves
  # when their object is linked; the installed library names them so that
  # one generated initialiser can pull them in.
  set(qrcs ${ARGN})
  list(FILTER qrcs INCLUDE REGEX "\\.qrc$")
  foreach(qrc IN LISTS qrcs)
    get_filename_component(qrc_name ${qrc} NAME_WE)
    set_property(GLOBAL APPEND PROPERTY KV_RESOURCE_NAMES ${qrc_name})
  endforeach()
endfunction()

# A library of compiled resources (qt_add_resources named `res_name`, made of
# `targets`) that belongs in the installed library.
function(kv_install_resources name res_name targets deps)
  if(NOT KV_INSTALL)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY KV_FOLDER_NAMES ${name})
  set_property(GLOBAL APPEND PROPERTY KV_FOLDER_LIBRARIES ${name})
  set_property(GLOBAL APPEND PROPERTY KV_RESOURCE_TARGETS ${targets})
  set_property(GLOBAL APPEND PROPERTY KV_RESOURCE_NAMES ${res_name})
  set_property(GLOBAL APPEND PROPERTY KV_FOLDER_DEPS ${deps})
endfunction()

# One GoogleTest executable per test folder, registered with CTest as a whole.
# GUI suites run on the offscreen platform so they need no display.
function(kv_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(cpp ${srcs})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(NOT cpp)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE kv_test_support ${ARG_DEPS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KV_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
    TIMEOUT 600)
endfunction()
