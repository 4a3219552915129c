# The users page with its edit dialog, the account fields the user and template dialogs
# share, and the user and group pickers.
target_sources(ornelaccounts PRIVATE
    wnduser.h wnduser.cpp
    dlgedituser.h dlgedituser.cpp
    accountfields.h accountfields.cpp
    pickerselection.h pickerselection.cpp
    dlgadduser.h dlgadduser.cpp
    dlgaddgroup.h dlgaddgroup.cpp)

# The subsystem's pages join the page table when the module is loaded. Nothing refers to
# the registration, so it is an object of the module itself, not a member of the archive
# the linker would leave out.
add_library(ornelaccountpages OBJECT accountpages.cpp)
target_link_libraries(ornelaccountpages PRIVATE ornelaccounts)
ornel_warnings(ornelaccountpages)
target_link_libraries(ornelcon PRIVATE ornelaccountpages)

# Adding users through the template chooser and the add-user wizard, and importing them
# from a Windows NT domain.
target_sources(ornelaccounts PRIVATE
    wizadduser.h wizadduser.cpp
    dlgchoosetemp.h dlgchoosetemp.cpp
    dlgimport.h dlgimport.cpp
    dlgimport2.h dlgimport2.cpp
    qimport2item.h qimport2item.cpp
    newusers.h newusers.cpp)
