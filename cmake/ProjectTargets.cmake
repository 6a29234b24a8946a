# Helpers that give every folder the same shape: one static library made of the folder's sources,
# one test executable made of its *_test.cpp files, registered with CTest under the folder's label.
# (End-to-end tests in tests/ carry the label e2e instead; the sanitizer runs leave them out.)
# Sources are found by globbing, so adding a file pair needs no edit here.

# project_folder(NAME [SUBDIRS ...] [DEPS ...] [PUBLIC_LIBS ...] [TEST_LIBS ...])
# SUBDIRS lists subfolders (such as internal) whose sources belong to the same library.
function(project_folder name)
    cmake_parse_arguments(ARG "" "" "SUBDIRS;DEPS;PUBLIC_LIBS;TEST_LIBS" ${ARGN})
    set(patterns "*.cpp")
    foreach(subdir IN LISTS ARG_SUBDIRS)
        list(APPEND patterns "${subdir}/*.cpp")
    endforeach()
    file(GLOB all_sources CONFIGURE_DEPENDS ${patterns})
    set(library_sources ${all_sources})
    list(FILTER library_sources EXCLUDE REGEX "_test\\.cpp$")
    set(test_sources ${all_sources})
    list(FILTER test_sources INCLUDE REGEX "_test\\.cpp$")

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
    if(test_sources AND NOT PROJECT_FUZZ)
        set(target ${name}_tests)
        add_executable(${target} ${test_sources})
        target_link_libraries(${target} PRIVATE ${name} ${ARG_TEST_LIBS} GTest::gtest_main GTest::gmock)
        gtest_discover_tests(${target}
            DISCOVERY_MODE PRE_TEST
            PROPERTIES LABELS ${name}
            DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
