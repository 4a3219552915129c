# The user templates page and its edit dialog against the stand-in server in process,
# through the shell's harness.
foreach(templates_test tst_wndtemplate tst_dlgedittemplate)
    ornel_add_qtest(${templates_test} SOURCES ${templates_test}.cpp templatesfixture.h usersfixture.h
        LIBRARIES ornelaccounts ornel-testserver-engine)
    target_include_directories(${templates_test} PRIVATE
        ${PROJECT_SOURCE_DIR}/tests/link/objects ${PROJECT_SOURCE_DIR}/tests/shell)
endforeach()
