# Helpers that give every folder the same shape: one static library made of the folder's sources,
# one test executable made of its *_test.cpp files, registered with CTest under the folder's label,
# and, when the folder has sources in testing/ folders, a test-only library NAME_testing made of them
# that the folder's tests and the tests of every folder above link.
# (End-to-end tests in tests/ carry the label e2e instead; the sanitizer runs leave them out.)
# A folder's *_e2e_test.cpp files, which start real peers, make a second executable labelled e2e.
# Sources are found by globbing, so adding a file pair needs no edit here.

# project_folder(NAME [SUBDIRS ...] [DEPS ...] [PUBLIC_LIBS ...] [TEST_LIBS ...] [E2E_RESOURCE_LOCK lock])
# SUBDIRS lists subfolders (such as internal) whose sources belong to the same library.
# E2E_RESOURCE_LOCK names a CTest resource that the folder's end-to-end tests hold one at a time
# (fixed addresses that two tests cannot serve at once).
function(project_folder name)
    cmake_parse_arguments(ARG "" "E2E_RESOURCE_LOCK" "SUBDIRS;DEPS;PUBLIC_LIBS;TEST_LIBS" ${ARGN})
    set(patterns "*.cpp" "testing/*.cpp")
    foreach(subdir IN LISTS ARG_SUBDIRS)
        list(APPEND patterns "${subdir}/*.cpp" "${subdir}/testing/*.cpp")
    endforeach()
    file(GLOB all_sources CONFIGURE_DEPENDS ${patterns})
    set(testing_sources ${all_sources})
    list(FILTER testing_sources INCLUDE REGEX "/testing/[^/]*\\.cpp$")
    list(FILTER all_sources EXCLUDE REGEX "/testing/[^/]*\\.cpp$")
    set(library_sources ${all_sources})
    list(FILTER library_sources EXCLUDE REGEX "_test\\.cpp$")
    set(test_sources ${all_sources})
    list(FILTER test_sources INCLUDE REGEX "_test\\.cpp$")
    set(e2e_sources ${test_sources})
    list(FILTER e2e_sources INCLUDE REGEX "_e2e_test\\.cpp$")
    list(FILTER test_sources EXCLUDE REGEX "_e2e_test\\.cpp$")

    if(NOT library_sources)
        # A folder that has only headers so far.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS} ${ARG_PUBLIC_LIBS})
    else()
        add_library(${name} STATIC ${library_sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS} ${ARG_PUBLIC_LIBS})
    endif()
    set_property(GLOBAL APPEND PROPERTY PROJECT_LIBRARIES ${name})

    # The fuzz build makes only libraries (and the fuzz targets).
    if(PROJECT_FUZZ)
        return()
    endif()

    set(testing_libraries "")
    foreach(dep IN LISTS ARG_DEPS)
        if(TARGET ${dep}_testing)
            list(APPEND testing_libraries ${dep}_testing)
        endif()
    endforeach()
    if(testing_sources)
        add_library(${name}_testing STATIC ${testing_sources})
        target_link_libraries(${name}_testing PUBLIC ${name} ${testing_libraries} GTest::gtest)
        set(testing_libraries ${name}_testing)
    endif()

    if(test_sources)
        project_test_executable(${name}_tests "${test_sources}" ${name} ${name} ${testing_libraries} ${ARG_TEST_LIBS})
    endif()
    if(e2e_sources)
        project_test_executable(${name}_e2e_tests "${e2e_sources}" e2e ${name} ${testing_libraries} ${ARG_TEST_LIBS}
            RESOURCE_LOCK ${ARG_E2E_RESOURCE_LOCK})
    endif()
endfunction()

# One GoogleTest executable registered with CTest under the given label; the other arguments are the
# libraries it links, and RESOURCE_LOCK a resource its tests hold.
function(project_test_executable target sources label)
    cmake_parse_arguments(ARG "" "RESOURCE_LOCK" "" ${ARGN})
    set(lock_properties "")
    if(ARG_RESOURCE_LOCK)
        set(lock_properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
    endif()
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_UNPARSED_ARGUMENTS} GTest::gtest_main GTest::gmock)
    # GoogleTest's header is a quarter of what a test file costs to compile; parse it once per target.
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h>)
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${label} TIMEOUT 300 ${lock_properties}
        DISCOVERY_TIMEOUT 60)
endfunction()
