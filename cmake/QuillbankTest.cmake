# quillbank_add_test(NAME SOURCES... LIBRARIES...)
# One Qt Test binary per unit, registered with CTest and run headless.
function(quillbank_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        QUILLBANK_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}"
        QUILLBANK_SHARED_FIXTURES="${PROJECT_SOURCE_DIR}/../shared/fixtures/diskutil"
        QUILLBANK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
