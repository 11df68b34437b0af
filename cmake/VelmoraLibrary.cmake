# Every .cpp of the current folder and of the named rooms (subfolders that are part of it);
# other subfolders are libraries or test programs of their own.
function(velmora_sources out pattern)
    set(patterns "${CMAKE_CURRENT_SOURCE_DIR}/${pattern}")
    foreach(room ${ARGN})
        list(APPEND patterns "${CMAKE_CURRENT_SOURCE_DIR}/${room}/${pattern}")
    endforeach()
    file(GLOB found CONFIGURE_DEPENDS ${patterns})
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# One static library per subsystem folder: every .cpp of the folder and of its ROOMS.
function(velmora_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;ROOMS" ${ARGN})
    velmora_sources(sources "*.cpp" ${ARG_ROOMS})
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# One GoogleTest executable per test folder: every *_test.cpp of the folder and of its ROOMS.
function(velmora_test name)
    cmake_parse_arguments(ARG "" "" "DEPS;ROOMS" ${ARGN})
    velmora_sources(sources "*_test.cpp" ${ARG_ROOMS})
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} velmora_test_support GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE
        VELMORA_PEERS_DIR="${VELMORA_PEERS_DIR}"
        VELMORA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    # One CTest test per executable: a process per test case costs more than the tests.
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()
