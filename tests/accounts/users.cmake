# The users page, its edit dialog, the account fields and the pickers; the page and the
# dialog against the stand-in server in process, through the shell's harness.
ornel_add_qtest(tst_accountfields SOURCES tst_accountfields.cpp accountrows.h LIBRARIES ornelaccounts)
foreach(users_test tst_wnduser tst_dlgedituser)
    ornel_add_qtest(${users_test} SOURCES ${users_test}.cpp usersfixture.h
        LIBRARIES ornelaccounts ornel-testserver-engine)
    target_include_directories(${users_test} PRIVATE
        ${PROJECT_SOURCE_DIR}/tests/link/objects ${PROJECT_SOURCE_DIR}/tests/shell)
endforeach()
ornel_add_qtest(tst_pickers SOURCES tst_pickers.cpp LIBRARIES ornelaccounts)

# Adding users (the template chooser and the add-user wizard) and importing them from a
# Windows NT domain, against the stand-in server in process.
ornel_add_qtest(tst_dlgchoosetemp SOURCES tst_dlgchoosetemp.cpp LIBRARIES ornelaccounts)
foreach(adding_test tst_wizadduser tst_adduser tst_importusers)
    ornel_add_qtest(${adding_test} SOURCES ${adding_test}.cpp usersfixture.h
        LIBRARIES ornelaccounts ornel-testserver-engine)
    target_include_directories(${adding_test} PRIVATE
        ${PROJECT_SOURCE_DIR}/tests/link/objects ${PROJECT_SOURCE_DIR}/tests/shell)
endforeach()
