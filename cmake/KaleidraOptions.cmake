# Compile settings shared by every target of the project, carried by one
# interface target so that nothing is set globally.
add_library(kaleidra_options INTERFACE)
target_compile_features(kaleidra_options INTERFACE cxx_std_20)
target_compile_options(kaleidra_options INTERFACE -Wall -Wextra -Werror)

set(_kaleidra_sanitizers "")
if(KALEIDRA_ASAN)
    list(APPEND _kaleidra_sanitizers address)
endif()
if(KALEIDRA_UBSAN)
    list(APPEND _kaleidra_sanitizers undefined)
endif()
if(KALEIDRA_TSAN)
    list(APPEND _kaleidra_sanitizers thread)
endif()
if(KALEIDRA_FUZZ)
    list(APPEND _kaleidra_sanitizers fuzzer-no-link)
endif()
if(_kaleidra_sanitizers)
    list(JOIN _kaleidra_sanitizers "," _kaleidra_sanitize)
    target_compile_options(kaleidra_options INTERFACE
        -fsanitize=${_kaleidra_sanitize} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    string(REPLACE "fuzzer-no-link" "" _kaleidra_link_sanitize "${_kaleidra_sanitize}")
    string(REGEX REPLACE ",+" "," _kaleidra_link_sanitize "${_kaleidra_link_sanitize}")
    string(REGEX REPLACE "^,|,$" "" _kaleidra_link_sanitize "${_kaleidra_link_sanitize}")
    if(_kaleidra_link_sanitize)
        target_link_options(kaleidra_options INTERFACE -fsanitize=${_kaleidra_link_sanitize})
    endif()
endif()

# Adds a test executable made of the given sources, linked to GoogleTest and
# the given libraries, registered with CTest under its own name.
function(kaleidra_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main kaleidra_options)
    target_compile_definitions(${name} PRIVATE
        KALEIDRA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name} COMMAND ${name})
endfunction()

# Registers one Qt Test executable per *_test.cpp of the calling folder, named
# <prefix>_<file name>, linked to the given libraries and run offscreen with
# the language bundles built first.
function(kaleidra_add_qt_tests prefix)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Test)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    foreach(source ${sources})
        get_filename_component(name ${source} NAME_WE)
        set(target ${prefix}_${name})
        add_executable(${target} ${source})
        target_link_libraries(${target} PRIVATE ${ARG_LIBS} Qt6::Test kaleidra_options)
        target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
        target_compile_definitions(${target} PRIVATE
            KALEIDRA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
            KALEIDRA_BUNDLE_DIR="${PROJECT_BINARY_DIR}/bin")
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
        if(TARGET kaleidra_bundles)
            add_dependencies(${target} kaleidra_bundles)
        endif()
        add_test(NAME ${target} COMMAND ${target})
        set_tests_properties(${target} PROPERTIES ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
    endforeach()
endfunction()
