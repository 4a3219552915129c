# The groups page, its dialogs and the membership lists, against the stand-in server in
# process; the page also through the shell's harness.
foreach(groups_test tst_dbuserlist tst_wndgroup tst_dlgeditgroup tst_wizaddgroup)
    ornel_add_qtest(${groups_test} SOURCES ${groups_test}.cpp groupsfixture.h usersfixture.h
        LIBRARIES ornelaccounts ornel-testserver-engine)
    target_include_directories(${groups_test} PRIVATE
        ${PROJECT_SOURCE_DIR}/tests/link/objects ${PROJECT_SOURCE_DIR}/tests/shell)
endforeach()
ornel_add_qtest(tst_groupforms SOURCES tst_groupforms.cpp LIBRARIES ornelaccounts)
